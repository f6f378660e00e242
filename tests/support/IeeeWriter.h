#pragma once
// Builds IEEE-695 object files, record by record, in the shapes the reader
// plug-in understands: for tests, the benchmark and the sample program.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TIeeeWriter {
 public:
  struct TMember {
    std::string Name;
    uint32_t Type;
    uint32_t Offset;  // structures only
  };

  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  std::size_t Position() const { return bytes_.size(); }
  bool SaveTo(const std::string& path) const;

  // Encodings.
  TIeeeWriter& Byte(uint8_t b);
  TIeeeWriter& Word(uint16_t w);  // high byte first
  TIeeeWriter& Number(uint32_t v);
  TIeeeWriter& Name(std::string_view name);  // 0xDE/0xDF forms for long names
  TIeeeWriter& ShortName(std::string_view name);  // one length byte, no long forms
  TIeeeWriter& Raw(std::span<const uint8_t> bytes);
  TIeeeWriter& Expression(uint32_t value);

  // Header, parts and trailer.
  TIeeeWriter& ModuleBegin(std::string_view processor, std::string_view module);
  TIeeeWriter& ModuleEnd();
  TIeeeWriter& AddressDescription(uint32_t bitsPerUnit, uint32_t unitsPerAddress);
  // An ASW record whose offset is filled in later with PatchPartOffset.
  std::size_t PartOffset(uint8_t part);
  void PatchPartOffset(std::size_t at, uint32_t offset);
  TIeeeWriter& Environment(uint32_t toolNumber);

  // Code.
  TIeeeWriter& SectionBegin(uint32_t section);
  TIeeeWriter& LoadAddress(uint32_t address);
  TIeeeWriter& Data(std::span<const uint8_t> bytes);
  TIeeeWriter& Repeat(uint32_t count, std::span<const uint8_t> bytes);

  // Public and external names.
  TIeeeWriter& PublicName(uint32_t index, std::string_view name, uint32_t value, uint32_t kind = 0);
  TIeeeWriter& ExternalReference(uint32_t index, std::string_view name);

  // Debug information: variables and their attributes.
  TIeeeWriter& VariableName(uint32_t index, std::string_view name);
  TIeeeWriter& Attribute(uint32_t index, uint32_t type, uint32_t attribute);
  TIeeeWriter& Automatic(std::string_view name, uint32_t type, uint32_t frameOffset);
  TIeeeWriter& RegisterVariable(std::string_view name, uint32_t type, uint32_t reg);
  TIeeeWriter& Static(std::string_view name, uint32_t type, uint32_t address);
  TIeeeWriter& External(std::string_view name, uint32_t type);
  TIeeeWriter& Line(uint32_t line, uint32_t column, uint32_t address);

  // Blocks.
  TIeeeWriter& ModuleTypes(std::string_view name);
  TIeeeWriter& GlobalTypes(std::string_view name);
  TIeeeWriter& Module(std::string_view name);
  TIeeeWriter& SourceFile(std::string_view name);
  TIeeeWriter& Function(std::string_view name, uint32_t start, uint8_t blockType = 6);
  TIeeeWriter& FunctionEnd(uint32_t end);
  TIeeeWriter& BlockEnd();
  TIeeeWriter& SkippedBlock(uint8_t blockType, std::span<const uint8_t> contents);

  // Type definitions (inside ModuleTypes or GlobalTypes).
  TIeeeWriter& Pointer(uint32_t index, std::string_view name, uint32_t target, bool far = false);
  TIeeeWriter& Array(uint32_t index, std::string_view name, uint32_t element, uint32_t highBound);
  TIeeeWriter& Typedef(uint32_t index, std::string_view name, uint32_t type);
  TIeeeWriter& Struct(uint32_t index, std::string_view name, uint32_t size, const std::vector<TMember>& members);
  TIeeeWriter& Union(uint32_t index, std::string_view name, uint32_t size, const std::vector<TMember>& members);
  TIeeeWriter& Enumeration(uint32_t index, std::string_view name, const std::vector<std::string>& names);

 private:
  TIeeeWriter& TypeHead(uint32_t index, std::string_view name, char letter);
  void Append(const void* data, std::size_t size);

  std::vector<uint8_t> bytes_;
  uint32_t section_ = 0;
};
