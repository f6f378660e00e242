#include "PellisReader.h"

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <limits>

#include "PellisSymbol.h"
#include "TypeDefinition.h"

namespace {

// Entries of the length table, by which records without a handler are passed over.
constexpr uint16_t LENGTH_UNKNOWN = 0xFFFF;
constexpr uint16_t LENGTH_BYTE = 253;
constexpr uint16_t LENGTH_BE16 = 254;
constexpr uint16_t LENGTH_BE32 = 255;

constexpr uint8_t LINE_KIND_NEW_SCOPE = 14;
constexpr std::size_t DUMP_BYTES = 32;
constexpr std::size_t DUMP_BYTES_PER_LINE = 16;

// Area attribute of a segment: program code unless the segment byte names a data area.
uint8_t SegmentArea(uint8_t segment) {
  if ((segment & 0x60) == 0) return 0x81;
  return static_cast<uint8_t>((segment & 0x1F) | 0x40);
}

}  // namespace

std::array<uint16_t, 256> TPellisReader::Unknown() {
  std::array<uint16_t, 256> lengths;
  lengths.fill(LENGTH_UNKNOWN);
  return lengths;
}

void TPellisReader::Open(const char* path, TModuleEntry* modules, TScopeEntry* scopes, TLineEntry* lines,
                         uint8_t* types) {
  file_.Close();
  state_ = TState{};
  state_.path = path ? path : "";
  tables_.Attach(modules, scopes, lines, types);
  if (path) file_.Open(path);
}

const TReaderResult* TPellisReader::Parse() {
  if (state_.finished) return Result(PR_END, 0);
  if (!file_.IsOpen()) return Error("Cannot open file \"" + state_.path + "\"");
  try {
    if (state_.listLeft > 0) return SymbolPiece();
    for (;;) {
      state_.recordStart = file_.Tell();
      if (const TReaderResult* result = Record(file_.Byte())) return result;
    }
  } catch (const TRecordFault&) {
    return Error(BadRecordText());
  }
}

const TReaderResult* TPellisReader::Record(uint8_t tag) {
  switch (tag) {
    case 0:
    case 1:
      return ModuleHeader();
    case 57:
      return Code();
    case 61:
      file_.Skip(8);
      return nullptr;
    case 63:
      state_.currentScope.reset();
      file_.Skip(2);
      return nullptr;
    case 70:
      SourceFile();
      return nullptr;
    case 71:
      Line();
      return nullptr;
    case 72:
      return StartSymbolList(false);
    case 73:
      state_.currentScope.reset();
      return nullptr;
    case 74:
      TypeDefinition();
      return nullptr;
    case 76:
      return OneSymbol(false);
    case 77:
      file_.Skip(3);
      return nullptr;
    case 78:
      file_.SkipName();
      file_.Skip(file_.Be16());
      return nullptr;
    case 79:
    case 83:
      file_.Skip(2);
      return nullptr;
    case 80:
      file_.SkipName();
      file_.Skip(8);
      return StartSymbolList(false);
    case 81:
      SetArea();
      return nullptr;
    case 82:
      file_.Skip(1);
      return nullptr;
    case 84:
      file_.Skip(2);
      file_.SkipName();
      return nullptr;
    case 165:
      file_.Skip(6);
      return nullptr;
    case 166:
      return OneSymbol(true);
    case 167:
      file_.SkipName();
      file_.Skip(8);
      return StartSymbolList(true);
    case 168:
      SkipItems(7, 2, 13);
      return nullptr;
    case 185:
      SourceName();
      return nullptr;
    case 189:
      return TargetInfo();
    case 192:
      file_.Skip(4);
      SkipItems(5, 0, 8);
      return nullptr;
    case 255:
      state_.finished = true;
      return Result(PR_END, 0);
    default:
      PassOver(tag);
      return nullptr;
  }
}

const TReaderResult* TPellisReader::ModuleHeader() {
  file_.Skip(1);
  uint8_t flag = file_.Byte();
  uint8_t format = file_.Byte();
  file_.Skip(3);
  char name[sizeof(TModuleEntry::ModuleName)] = {};
  file_.Name(name, sizeof name);
  // The module number must stay clear of the scope table's end marker.
  if (state_.moduleCounter == std::numeric_limits<int16_t>::max()) throw TRecordFault{};

  TModuleEntry& entry = tables_.AppendModule();
  entry = TModuleEntry{};
  std::memcpy(entry.ModuleName, name, sizeof name);
  entry.ModuleNumber = static_cast<int16_t>(state_.moduleCounter + 1);
  ++state_.moduleCounter;
  state_.lineKinds = (format & 0xF0) == 0x10;
  state_.data[0] = flag;
  return Result(PR_MODULEFLAG, flag);
}

const TReaderResult* TPellisReader::Code() {
  uint8_t count = file_.Byte();
  file_.Read(state_.data.data(), count);
  state_.code = TCodeBlock{0, state_.area, state_.address, count, state_.data.data()};
  state_.address += count;
  return Pointer(PR_CODE, &state_.code);
}

const TReaderResult* TPellisReader::TargetInfo() {
  state_.data[0] = 1;
  file_.Read(&state_.data[1], 3);
  uint8_t entries = file_.Byte();
  for (uint8_t i = 0; i < entries; ++i) {
    uint8_t tag = file_.Byte();
    state_.lengths[tag] = file_.Byte();
  }
  return Pointer(PR_TARGETINFO, state_.data.data());
}

void TPellisReader::SourceFile() {
  uint16_t blocks = file_.Be16();
  char name[sizeof(TModuleEntry::SourceFile)] = {};
  file_.Name(name, sizeof name);
  for (uint16_t i = 0; i < blocks; ++i) file_.Skip(file_.Be16());

  // Before any module header there is no entry to describe.
  TModuleEntry* entry = tables_.LastModule();
  if (!entry) return;
  entry->FirstLinePtr = tables_.LineCount();
  entry->SourceBlockCount = blocks;
  std::memcpy(entry->SourceFile, name, sizeof name);
  entry->Reserved177 = 0;
  entry->Reserved169 = 0;
}

void TPellisReader::SourceName() {
  file_.Skip(2);
  uint16_t length = file_.Be16();
  TModuleEntry* entry = tables_.LastModule();
  if (entry && entry->SourceFile[0] == '\0') {
    std::size_t kept = std::min<std::size_t>(length, sizeof entry->SourceFile - 1);
    char name[sizeof(TModuleEntry::SourceFile)] = {};
    file_.Read(reinterpret_cast<uint8_t*>(name), kept);
    file_.Skip(length - kept);
    std::memcpy(entry->SourceFile, name, sizeof name);
  } else {
    file_.Skip(length);
  }
  file_.Skip(6);
}

void TPellisReader::Line() {
  uint16_t line = file_.Be16();
  file_.Skip(6);
  uint8_t kind = file_.Byte();
  if (!state_.lineKinds) kind = LINE_KIND_NONE;
  // Lines before any module header would give a scope the number that ends the scope table.
  if (state_.moduleCounter < 0) return;

  bool newScope = kind == LINE_KIND_NEW_SCOPE || !state_.currentScope;
  if ((newScope && tables_.ScopeTableFull()) || tables_.LineTableFull()) throw TRecordFault{};
  if (newScope) {
    TScopeEntry scope{};
    scope.ModuleNumber = state_.moduleCounter;
    scope.StartAddress = state_.address;
    scope.FirstLine = line;
    scope.FirstLineEntry = tables_.LineCount();
    state_.currentScope = tables_.AppendScope(scope);
  }
  TScopeEntry& scope = tables_.Scope(*state_.currentScope);
  scope.EndAddress = state_.address;
  scope.LastLine = line;
  tables_.AppendLine(TLineEntry{state_.area, state_.address, line, kind});
}

void TPellisReader::TypeDefinition() {
  std::vector<uint8_t> record = ReadTypeDefinition(file_);
  tables_.AppendType(record);
}

void TPellisReader::SetArea() {
  state_.area = SegmentArea(file_.Byte());
  state_.address = file_.Be32();
}

const TReaderResult* TPellisReader::OneSymbol(bool extra) {
  TSymbolSlot& slot = state_.slots[0];
  ReadSymbol(file_, slot, extra);
  file_.SkipName();
  if (state_.currentScope) {
    slot.ScopeLow = *state_.currentScope + 1;
    slot.ScopeHigh = 0;
  } else {
    slot.ScopeLow = 0;
    slot.ScopeHigh = -1;
  }
  state_.slots[1].Name[0] = '\0';
  return Pointer(PR_SYMBOLS, state_.slots.data());
}

const TReaderResult* TPellisReader::StartSymbolList(bool extra) {
  state_.listLeft = file_.Be16();
  state_.listExtra = extra;
  state_.listScopeLow = state_.currentScope ? *state_.currentScope + 1 : 0;
  return SymbolPiece();
}

const TReaderResult* TPellisReader::SymbolPiece() {
  uint32_t count = std::min<uint32_t>(state_.listLeft, SLOT_COUNT - 1);
  for (uint32_t i = 0; i < count; ++i) {
    TSymbolSlot& slot = state_.slots[i];
    ReadSymbol(file_, slot, state_.listExtra);
    slot.ScopeLow = state_.listScopeLow;
    slot.ScopeHigh = 0;
    --state_.listLeft;
  }
  state_.slots[count].Name[0] = '\0';
  return Pointer(PR_SYMBOLS, state_.slots.data());
}

void TPellisReader::PassOver(uint8_t tag) {
  switch (uint16_t length = state_.lengths[tag]) {
    case LENGTH_UNKNOWN:
      throw TRecordFault{};
    case LENGTH_BYTE:
      file_.Skip(file_.Byte());
      break;
    case LENGTH_BE16:
      file_.Skip(file_.Be16());
      break;
    case LENGTH_BE32:
      file_.Skip(file_.Be32());
      break;
    default:
      file_.Skip(length);
      break;
  }
}

void TPellisReader::SkipItems(uint32_t head, uint32_t tail, uint32_t elementSize) {
  uint16_t items = file_.Be16();
  for (uint16_t i = 0; i < items; ++i) {
    file_.Skip(head);
    file_.SkipName();
    file_.Skip(tail);
    file_.Skip(uint64_t{file_.Be16()} * elementSize);
  }
}

const TReaderResult* TPellisReader::Result(uint8_t kind, uint64_t payload) {
  state_.result = TReaderResult{kind, payload};
  return &state_.result;
}

const TReaderResult* TPellisReader::Pointer(uint8_t kind, const void* payload) {
  return Result(kind, reinterpret_cast<uintptr_t>(payload));
}

const TReaderResult* TPellisReader::Error(std::string text) {
  state_.finished = true;
  state_.errorText = std::move(text);
  return Pointer(PR_ERROR, state_.errorText.c_str());
}

std::string TPellisReader::BadRecordText() {
  char piece[64];
  std::snprintf(piece, sizeof piece, "Unimplemented block at [%ld]\n\nDump:", state_.recordStart);
  std::string text = piece;
  int bytes[DUMP_BYTES];
  file_.Peek(state_.recordStart, bytes, DUMP_BYTES);
  for (std::size_t i = 0; i < DUMP_BYTES; ++i) {
    if (i % DUMP_BYTES_PER_LINE == 0) text += '\n';
    // A byte past the end is the C runtime's -1, which prints as eight F.
    std::snprintf(piece, sizeof piece, "%02X", static_cast<unsigned>(bytes[i]));
    text += piece;
  }
  return text;
}
