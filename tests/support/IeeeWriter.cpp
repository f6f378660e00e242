#include "IeeeWriter.h"

#include <cstdio>
#include <memory>

namespace {
enum : uint8_t { kMB = 0xE0, kME = 0xE1, kAS = 0xE2, kSB = 0xE5, kNI = 0xE8, kNX = 0xE9, kAD = 0xEC, kLD = 0xED,
                 kNN = 0xF0, kAT = 0xF1, kTY = 0xF2, kRE = 0xF7, kBB = 0xF8, kBE = 0xF9 };
enum : uint8_t { kASP = 0xD0, kASW = 0xD7, kATI = 0xC9, kATN = 0xCE };
}  // namespace

bool TIeeeWriter::SaveTo(const std::string& path) const {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
  return file && (bytes_.empty() || std::fwrite(bytes_.data(), 1, bytes_.size(), file.get()) == bytes_.size());
}

void TIeeeWriter::Append(const void* data, std::size_t size) {
  if (size == 0) return;
  auto p = static_cast<const uint8_t*>(data);
  bytes_.insert(bytes_.end(), p, p + size);
}

TIeeeWriter& TIeeeWriter::Byte(uint8_t b) {
  bytes_.push_back(b);
  return *this;
}

TIeeeWriter& TIeeeWriter::Word(uint16_t w) { return Byte(w >> 8).Byte(w & 0xFF); }

TIeeeWriter& TIeeeWriter::Number(uint32_t v) {
  if (v < 0x80) return Byte(static_cast<uint8_t>(v));
  int length = v > 0xFFFFFF ? 4 : v > 0xFFFF ? 3 : v > 0xFF ? 2 : 1;
  Byte(static_cast<uint8_t>(0x80 + length));
  for (int i = length - 1; i >= 0; --i) Byte(static_cast<uint8_t>(v >> (8 * i)));
  return *this;
}

TIeeeWriter& TIeeeWriter::Name(std::string_view name) {
  if (name.size() > 0xFF)
    Byte(0xDF).Word(static_cast<uint16_t>(name.size()));
  else if (name.size() >= 0x80)
    Byte(0xDE).Byte(static_cast<uint8_t>(name.size()));
  else
    Byte(static_cast<uint8_t>(name.size()));
  Append(name.data(), name.size());
  return *this;
}

TIeeeWriter& TIeeeWriter::ShortName(std::string_view name) {
  Byte(static_cast<uint8_t>(name.size()));
  Append(name.data(), name.size() & 0xFF);
  return *this;
}

TIeeeWriter& TIeeeWriter::Raw(std::span<const uint8_t> bytes) {
  Append(bytes.data(), bytes.size());
  return *this;
}

TIeeeWriter& TIeeeWriter::Expression(uint32_t value) {
  Number(0);
  if (value < 0x80) return Byte(static_cast<uint8_t>(value));
  return Byte(0x84).Word(static_cast<uint16_t>(value >> 16)).Word(static_cast<uint16_t>(value));
}

TIeeeWriter& TIeeeWriter::ModuleBegin(std::string_view processor, std::string_view module) {
  return Byte(kMB).Name(processor).Name(module);
}

TIeeeWriter& TIeeeWriter::ModuleEnd() { return Byte(kME); }

TIeeeWriter& TIeeeWriter::AddressDescription(uint32_t bitsPerUnit, uint32_t unitsPerAddress) {
  return Byte(kAD).Number(bitsPerUnit).Number(unitsPerAddress).Byte(0xCC);
}

std::size_t TIeeeWriter::PartOffset(uint8_t part) {
  Byte(kAS).Byte(kASW).Byte(part);
  std::size_t at = Position();
  Byte(0x84).Word(0).Word(0);
  return at;
}

void TIeeeWriter::PatchPartOffset(std::size_t at, uint32_t offset) {
  for (int i = 0; i < 4; ++i) bytes_.at(at + 1 + i) = static_cast<uint8_t>(offset >> (24 - 8 * i));
}

TIeeeWriter& TIeeeWriter::Environment(uint32_t toolNumber) {
  VariableName(0, "environment");
  Word(0xF1CE).Number(0).Number(0).Number(50);
  for (uint32_t v : {2026u, 12u, 8u, 20u, 0u, 0u}) Number(v);
  Word(0xF1CE).Number(0).Number(0).Number(51).Name("tarvik");
  return Word(0xF1CE).Number(0).Number(0).Number(54).Number(toolNumber);
}

TIeeeWriter& TIeeeWriter::SectionBegin(uint32_t section) {
  section_ = section;
  return Byte(kSB).Number(section);
}

TIeeeWriter& TIeeeWriter::LoadAddress(uint32_t address) { return Byte(kAS).Byte(kASP).Number(section_).Number(address); }

TIeeeWriter& TIeeeWriter::Data(std::span<const uint8_t> bytes) {
  return Byte(kLD).Number(static_cast<uint32_t>(bytes.size())).Raw(bytes);
}

TIeeeWriter& TIeeeWriter::Repeat(uint32_t count, std::span<const uint8_t> bytes) {
  return Byte(kRE).Number(count).Data(bytes);
}

TIeeeWriter& TIeeeWriter::PublicName(uint32_t index, std::string_view name, uint32_t value, uint32_t kind) {
  Byte(kNI).Number(index).Name(name);
  Word(0xF1C9).Number(index).Number(kind).Number(0);
  return Word(0xE2C9).Number(index).Number(value);
}

TIeeeWriter& TIeeeWriter::ExternalReference(uint32_t index, std::string_view name) {
  return Byte(kNX).Number(index).Name(name);
}

TIeeeWriter& TIeeeWriter::VariableName(uint32_t index, std::string_view name) {
  return Byte(kNN).Number(index).Name(name);
}

TIeeeWriter& TIeeeWriter::Attribute(uint32_t index, uint32_t type, uint32_t attribute) {
  return Byte(kAT).Byte(kATN).Number(index).Number(type).Number(attribute);
}

TIeeeWriter& TIeeeWriter::Automatic(std::string_view name, uint32_t type, uint32_t frameOffset) {
  return VariableName(0, name).Attribute(0, type, 1).Number(frameOffset);
}

TIeeeWriter& TIeeeWriter::RegisterVariable(std::string_view name, uint32_t type, uint32_t reg) {
  return VariableName(0, name).Attribute(0, type, 2).Number(reg);
}

TIeeeWriter& TIeeeWriter::Static(std::string_view name, uint32_t type, uint32_t address) {
  return VariableName(0, name).Attribute(0, type, 8).Word(0xE2CE).Expression(address);
}

TIeeeWriter& TIeeeWriter::External(std::string_view name, uint32_t type) {
  return VariableName(0, name).Attribute(0, type, 5);
}

TIeeeWriter& TIeeeWriter::Line(uint32_t line, uint32_t column, uint32_t address) {
  return Attribute(0, 0, 7).Number(line).Number(column).Word(0xE2CE).Number(0).Number(address);
}

TIeeeWriter& TIeeeWriter::ModuleTypes(std::string_view name) { return Byte(kBB).Byte(1).Number(0).Name(name); }

TIeeeWriter& TIeeeWriter::GlobalTypes(std::string_view name) { return Byte(kBB).Byte(2).Number(0).Name(name); }

TIeeeWriter& TIeeeWriter::Module(std::string_view name) { return Byte(kBB).Byte(3).Number(0).ShortName(name); }

TIeeeWriter& TIeeeWriter::SourceFile(std::string_view name) {
  Byte(kBB).Byte(5).Number(0).ShortName(name);
  for (uint32_t v : {2026u, 12u, 8u, 20u, 0u, 0u}) Number(v);
  return *this;
}

TIeeeWriter& TIeeeWriter::Function(std::string_view name, uint32_t start, uint8_t blockType) {
  return Byte(kBB).Byte(blockType).Number(0).Name(name).Number(0).Number(0).Number(start);
}

TIeeeWriter& TIeeeWriter::FunctionEnd(uint32_t end) { return Byte(kBE).Number(end); }

TIeeeWriter& TIeeeWriter::BlockEnd() { return Byte(kBE); }

TIeeeWriter& TIeeeWriter::SkippedBlock(uint8_t blockType, std::span<const uint8_t> contents) {
  // The size counts from the block record's first byte: two code bytes, the
  // four-byte size number, then the contents.
  Byte(kBB).Byte(blockType);
  uint32_t size = static_cast<uint32_t>(2 + 5 + contents.size());
  Byte(0x84).Word(static_cast<uint16_t>(size >> 16)).Word(static_cast<uint16_t>(size));
  return Raw(contents);
}

TIeeeWriter& TIeeeWriter::TypeHead(uint32_t index, std::string_view name, char letter) {
  VariableName(index, name);
  return Byte(kTY).Number(index).Byte(0xCE).Number(index).Byte(static_cast<uint8_t>(letter));
}

TIeeeWriter& TIeeeWriter::Pointer(uint32_t index, std::string_view name, uint32_t target, bool far) {
  return TypeHead(index, name, far ? 'P' : 'O').Number(target);
}

TIeeeWriter& TIeeeWriter::Array(uint32_t index, std::string_view name, uint32_t element, uint32_t highBound) {
  return TypeHead(index, name, 'Z').Number(element).Number(highBound);
}

TIeeeWriter& TIeeeWriter::Typedef(uint32_t index, std::string_view name, uint32_t type) {
  return TypeHead(index, name, 'T').Number(type);
}

TIeeeWriter& TIeeeWriter::Struct(uint32_t index, std::string_view name, uint32_t size,
                                 const std::vector<TMember>& members) {
  TypeHead(index, name, 'S').Number(size);
  for (const TMember& member : members) ShortName(member.Name).Number(member.Type).Number(member.Offset);
  return *this;
}

TIeeeWriter& TIeeeWriter::Union(uint32_t index, std::string_view name, uint32_t size,
                                const std::vector<TMember>& members) {
  TypeHead(index, name, 'U').Number(size);
  for (const TMember& member : members) ShortName(member.Name).Number(0).Number(member.Type);
  return *this;
}

TIeeeWriter& TIeeeWriter::Enumeration(uint32_t index, std::string_view name, const std::vector<std::string>& names) {
  TypeHead(index, name, 'N');
  for (std::size_t i = 0; i < names.size(); ++i) Name(names[i]).Number(static_cast<uint32_t>(i));
  return *this;
}
