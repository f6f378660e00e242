#include "IarObjectWriter.h"

#include <fstream>

TIarObjectWriter& TIarObjectWriter::Byte(uint8_t value) {
  bytes_.push_back(value);
  return *this;
}

TIarObjectWriter& TIarObjectWriter::Be16(uint16_t value) {
  return Byte(static_cast<uint8_t>(value >> 8)).Byte(static_cast<uint8_t>(value));
}

TIarObjectWriter& TIarObjectWriter::Be32(uint32_t value) {
  return Be16(static_cast<uint16_t>(value >> 16)).Be16(static_cast<uint16_t>(value));
}

TIarObjectWriter& TIarObjectWriter::Raw(const std::vector<uint8_t>& bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

TIarObjectWriter& TIarObjectWriter::Zeros(std::size_t count) {
  bytes_.insert(bytes_.end(), count, 0);
  return *this;
}

TIarObjectWriter& TIarObjectWriter::Name(const std::string& name) {
  Byte(static_cast<uint8_t>(name.size()));
  bytes_.insert(bytes_.end(), name.begin(), name.end());
  return *this;
}

TIarObjectWriter& TIarObjectWriter::ModuleHeader(uint8_t flag, uint8_t format, const std::string& name, uint8_t tag) {
  return Byte(tag).Byte(0).Byte(flag).Byte(format).Zeros(3).Name(name);
}

TIarObjectWriter& TIarObjectWriter::TargetInfo(uint8_t a, uint8_t b, uint8_t c,
                                               const std::vector<std::pair<uint8_t, uint8_t>>& lengths) {
  Byte(189).Byte(a).Byte(b).Byte(c).Byte(static_cast<uint8_t>(lengths.size()));
  for (auto [tag, length] : lengths) Byte(tag).Byte(length);
  return *this;
}

TIarObjectWriter& TIarObjectWriter::Segment(uint8_t segment, uint32_t address) {
  return Byte(81).Byte(segment).Be32(address);
}

TIarObjectWriter& TIarObjectWriter::Code(const std::vector<uint8_t>& bytes) {
  return Byte(57).Byte(static_cast<uint8_t>(bytes.size())).Raw(bytes);
}

TIarObjectWriter& TIarObjectWriter::Line(uint16_t line, uint8_t kind) {
  return Byte(71).Be16(line).Zeros(6).Byte(kind);
}

TIarObjectWriter& TIarObjectWriter::SourceFile(const std::string& name, const std::vector<std::string>& blocks) {
  Byte(70).Be16(static_cast<uint16_t>(blocks.size())).Name(name);
  for (const std::string& block : blocks) {
    Be16(static_cast<uint16_t>(block.size()));
    bytes_.insert(bytes_.end(), block.begin(), block.end());
  }
  return *this;
}

TIarObjectWriter& TIarObjectWriter::SourceName(const std::string& name) {
  Byte(185).Zeros(2).Be16(static_cast<uint16_t>(name.size()));
  bytes_.insert(bytes_.end(), name.begin(), name.end());
  return Zeros(6);
}

TIarObjectWriter& TIarObjectWriter::EndScope() { return Byte(73); }

void TIarObjectWriter::SymbolFields(const TIarSymbol& symbol, bool extra) {
  Byte(symbol.Kind).Be16(symbol.Attributes).Be32(symbol.Value).Name(symbol.Name).Be16(symbol.TypeIndex);
  if (extra) Be16(symbol.ExtraItems).Zeros(symbol.ExtraItems * 13u);
}

TIarObjectWriter& TIarObjectWriter::Symbol(const TIarSymbol& symbol) {
  Byte(76);
  SymbolFields(symbol, false);
  return Name("segment");
}

TIarObjectWriter& TIarObjectWriter::SymbolWithExtra(const TIarSymbol& symbol) {
  Byte(166);
  SymbolFields(symbol, true);
  return Name("segment");
}

TIarObjectWriter& TIarObjectWriter::SymbolList(const std::vector<TIarSymbol>& symbols) {
  Byte(72).Be16(static_cast<uint16_t>(symbols.size()));
  for (const TIarSymbol& symbol : symbols) SymbolFields(symbol, false);
  return *this;
}

TIarObjectWriter& TIarObjectWriter::NamedSymbolList(const std::vector<TIarSymbol>& symbols) {
  Byte(80).Name("list").Zeros(8).Be16(static_cast<uint16_t>(symbols.size()));
  for (const TIarSymbol& symbol : symbols) SymbolFields(symbol, false);
  return *this;
}

TIarObjectWriter& TIarObjectWriter::SymbolListWithExtra(const std::vector<TIarSymbol>& symbols) {
  Byte(167).Name("list").Zeros(8).Be16(static_cast<uint16_t>(symbols.size()));
  for (const TIarSymbol& symbol : symbols) SymbolFields(symbol, true);
  return *this;
}

TIarObjectWriter& TIarObjectWriter::TypeDefinition(uint16_t index, uint8_t kind, const std::vector<uint8_t>& body) {
  return Byte(74).Be16(index).Byte(kind).Raw(body);
}

TIarObjectWriter& TIarObjectWriter::End() { return Byte(255); }

bool TIarObjectWriter::Save(const std::string& path) const {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes_.data()), static_cast<std::streamsize>(bytes_.size()));
  return static_cast<bool>(file);
}
