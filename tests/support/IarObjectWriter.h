#pragma once
// Builds object files in IAR's universal binary relocatable format, record by
// record, for tests of the Pellis reader. Multi-byte fields are big-endian.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct TIarSymbol {
  uint8_t Kind = 0;
  uint16_t Attributes = 0;
  uint32_t Value = 0;
  std::string Name;
  uint16_t TypeIndex = 0;
  uint16_t ExtraItems = 0;  // 13-byte items of the records that carry them
};

class TIarObjectWriter {
 public:
  // Raw fields.
  TIarObjectWriter& Byte(uint8_t value);
  TIarObjectWriter& Be16(uint16_t value);
  TIarObjectWriter& Be32(uint32_t value);
  TIarObjectWriter& Raw(const std::vector<uint8_t>& bytes);
  TIarObjectWriter& Zeros(std::size_t count);
  TIarObjectWriter& Name(const std::string& name);  // length byte and characters

  // Records, by tag.
  TIarObjectWriter& ModuleHeader(uint8_t flag, uint8_t format, const std::string& name, uint8_t tag = 1);
  TIarObjectWriter& TargetInfo(uint8_t a, uint8_t b, uint8_t c,
                               const std::vector<std::pair<uint8_t, uint8_t>>& lengths = {});
  TIarObjectWriter& Segment(uint8_t segment, uint32_t address);  // tag 81
  TIarObjectWriter& Code(const std::vector<uint8_t>& bytes);     // tag 57
  TIarObjectWriter& Line(uint16_t line, uint8_t kind);           // tag 71
  TIarObjectWriter& SourceFile(const std::string& name, const std::vector<std::string>& blocks = {});  // tag 70
  TIarObjectWriter& SourceName(const std::string& name);         // tag 185
  TIarObjectWriter& EndScope();                                  // tag 73
  TIarObjectWriter& Symbol(const TIarSymbol& symbol);            // tag 76
  TIarObjectWriter& SymbolWithExtra(const TIarSymbol& symbol);   // tag 166
  TIarObjectWriter& SymbolList(const std::vector<TIarSymbol>& symbols);           // tag 72
  TIarObjectWriter& NamedSymbolList(const std::vector<TIarSymbol>& symbols);      // tag 80
  TIarObjectWriter& SymbolListWithExtra(const std::vector<TIarSymbol>& symbols);  // tag 167
  TIarObjectWriter& TypeDefinition(uint16_t index, uint8_t kind, const std::vector<uint8_t>& body);  // tag 74
  TIarObjectWriter& End();                                       // tag 255

  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  // Writes the file; false when it cannot be written.
  bool Save(const std::string& path) const;

 private:
  void SymbolFields(const TIarSymbol& symbol, bool extra);
  std::vector<uint8_t> bytes_;
};
