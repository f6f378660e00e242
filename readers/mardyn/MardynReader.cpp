#include "MardynReader.h"

#include <cstring>
#include <string_view>
#include <utility>

namespace {

// Record codes of the first byte, and the second bytes that the reader knows.
enum : uint8_t {
  kMB = 0xE0, kME = 0xE1, kAS = 0xE2, kSB = 0xE5, kNI = 0xE8, kNX = 0xE9, kAD = 0xEC,
  kLD = 0xED, kNN = 0xF0, kAT = 0xF1, kRE = 0xF7, kBB = 0xF8, kBE = 0xF9,
  kASG = 0xC7, kASN = 0xCE, kASP = 0xD0, kASW = 0xD7, kATI = 0xC9, kATN = 0xCE,
};
enum : uint16_t { kWordATI = 0xF1C9, kWordATN = 0xF1CE, kWordASI = 0xE2C9, kWordASN = 0xE2CE };

// Nested ATN items could otherwise recurse as deep as the file is long.
constexpr int kMaxAttributeNesting = 16;
constexpr uint32_t kMaxRepeatedBytes = 65280;
constexpr int32_t kToolWithPlainExit = 117;
constexpr int kBlockStackWarning = 10;

int ProcessorCode(std::string_view name) {
  if (name == "8051") return 0;
  if (name == "80C552") return 1;
  for (std::string_view m68k : {"68000", "68008", "68010", "68012", "68020", "68030", "68040"})
    if (name == m68k) return 2;
  if (name == "64180") return 3;
  if (name == "Z80") return 4;
  if (name == "68HC05") return 5;
  return -1;
}

// The register that holds the frame of automatic variables (area, base), by processor code.
std::pair<int16_t, int32_t> FrameRegister(int processor) {
  if (processor == 2) return {255, 14};
  if (processor == 4) return {255, 11};
  if (processor == 5) return {255, 6};
  return {0, 0};
}

constexpr std::array<uint8_t, 38> kRegisterMap = {0,  1,  2,  3,  4,  5, 6, 0, 7, 8, 13, 14, 15, 16, 17, 18, 0, 19, 20,
                                                  10, 11, 12, 27, 28, 0, 0, 0, 0, 25, 0, 0, 0, 21, 22, 23, 24, 0, 12};

uint32_t MapRegister(uint32_t r) { return r < kRegisterMap.size() ? 0x100u + kRegisterMap[r] : 0; }

}  // namespace

TMardynReader::~TMardynReader() { Close(); }

void TMardynReader::Reset() {
  path_.clear();
  finished_ = false;
  types_.Reset();
  processorCode_ = -1;
  toolNumber_ = -1;
  loadAddress_ = 0;
  blockType_ = 0;
  blockStack_.fill(0);
  blockDepth_ = 0;
  moduleCounter_ = -1;
  currentScope_ = -1;
  lineScopeSearch_ = -1;
  lineAddress_ = 0;
  value_ = 0;
  name_.fill(0);
  nameLength_ = 0;
  slots_ = {};
  code_ = {};
  errorText_.clear();
  result_ = {};
}

void TMardynReader::Open(const char* path, TModuleEntry* modules, TScopeEntry* scopes, TLineEntry* lines,
                         uint8_t* types) {
  Close();
  Reset();
  path_ = path ? path : "";
  stream_ = path ? std::fopen(path, "rb") : nullptr;
  input_.Attach(stream_);
  tables_.Attach(modules, scopes, lines, types);
}

int TMardynReader::Close() {
  input_.Attach(nullptr);
  if (!stream_) return 0;
  int result = std::fclose(stream_);
  stream_ = nullptr;
  return result;
}

const char* TMardynReader::ExitProcName() const { return toolNumber_ == kToolWithPlainExit ? "exit" : "_exit"; }

const TReaderResult* TMardynReader::Deliver(TReaderResultKind kind, uint64_t payload) {
  result_.Kind = kind;
  result_.Payload = payload;
  return &result_;
}

const TReaderResult* TMardynReader::Parse() {
  if (finished_) return Deliver(PR_END, 0);
  if (!input_.Attached()) {
    finished_ = true;
    errorText_ = "Cannot open file \"" + path_ + "\"";
    return Deliver(PR_ERROR, reinterpret_cast<uintptr_t>(errorText_.c_str()));
  }
  for (;;) {
    long start = input_.Position();
    TResult kind;
    try {
      kind = ReadRecord(start);
    } catch (const TIeeeFault&) {
      finished_ = true;
      MakeErrorRecord(start);
      return Deliver(PR_ERROR, reinterpret_cast<uintptr_t>(errorText_.c_str()));
    }
    if (!kind) continue;
    switch (*kind) {
      case PR_END:
        finished_ = true;
        return Deliver(PR_END, 0);
      case PR_CODE:
        return Deliver(PR_CODE, reinterpret_cast<uintptr_t>(&code_));
      case PR_VALUE:
        return Deliver(PR_VALUE, value_);
      default:
        return Deliver(*kind, reinterpret_cast<uintptr_t>(slots_.data()));
    }
  }
}

void TMardynReader::MakeErrorRecord(long offset) {
  char text[64];
  std::snprintf(text, sizeof text, "Unimplemented block at [%ld]\n\nDump:", offset);
  errorText_ = text;
  for (int i = 0; i < 32; ++i) {
    if (i == 0 || i == 16) errorText_ += '\n';
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(input_.RawByteAt(offset + i)));
    errorText_ += text;
  }
}

void TMardynReader::ExpectWord(uint16_t word) {
  if (input_.ReadWord() != word) throw TIeeeFault{};
}

TMardynReader::TResult TMardynReader::ReadRecord(long start) {
  switch (input_.ReadByte()) {
    case kMB:
      nameLength_ = input_.ReadName(name_.data(), name_.size());
      processorCode_ = ProcessorCode(std::string_view(name_.data(), nameLength_));
      input_.SkipName();
      return {};
    case kME:
      return PR_END;
    case kAS:
      return ReadAssignment();
    case kSB:
      input_.ReadNumber();
      return {};
    case kNI:
      return ReadPublicName();
    case kNX:
      input_.ReadNumber();
      input_.SkipName();
      return {};
    case kAD:
      input_.SkipNumbers(2);
      if (uint8_t next = input_.PeekByte(); next == 0xCC || next == 0xCD) input_.ReadByte();
      return {};
    case kLD:
      return ReadCode();
    case kNN:
      return ReadVariableName();
    case kAT:
      return ReadAttributeRecord();
    case kRE:
      return ReadRepeatedCode();
    case kBB:
      ReadBlockBegin(start);
      return {};
    case kBE:
      ReadBlockEnd();
      return {};
    default:
      throw TIeeeFault{};
  }
}

TMardynReader::TResult TMardynReader::ReadAssignment() {
  switch (input_.ReadByte()) {
    case kASG:
      input_.ReadByte();
      input_.ReadNumber();
      input_.ReadByte();
      return {};
    case kASN:
      input_.ReadExpression();
      return {};
    case kASP:
      input_.ReadNumber();
      loadAddress_ = input_.ReadNumber();
      return {};
    case kASW: {
      uint8_t part = input_.ReadByte();
      long offset = input_.ReadNumber();
      if (part == 1) {
        long back = input_.Position();
        ReadEnvironmentPart(offset);
        input_.SeekTo(back);
      } else if (part == 3) {
        // Only forward: an offset back into what was read would read it again for ever.
        if (offset < input_.Position()) throw TIeeeFault{};
        input_.SeekTo(offset);
      } else if (part > 7) {
        throw TIeeeFault{};
      }
      return {};
    }
    default:
      throw TIeeeFault{};
  }
}

void TMardynReader::ReadEnvironmentPart(long offset) {
  input_.SeekTo(offset);
  if (input_.ReadByte() != kNN) return;
  input_.ReadNumber();
  input_.SkipName();
  bool toolRead = false;
  while (!toolRead && input_.ReadWord() == kWordATN) {
    input_.SkipNumbers(2);
    switch (input_.ReadNumber()) {
      case 50: input_.SkipNumbers(6); break;
      case 51:
      case 55: input_.SkipName(); break;
      case 52:
      case 53: input_.ReadNumber(); break;
      case 54:
        toolNumber_ = static_cast<int32_t>(input_.ReadNumber());
        toolRead = true;
        break;
      default: break;
    }
  }
}

void TMardynReader::PrepareSymbol() {
  TSymbolSlot& slot = slots_[0];
  slot.Kind = 0;
  slot.FrameArea = 0;
  slot.FrameBase = 0;
  slot.ScopeLow = 0;
  slot.ScopeHigh = -1;
}

TMardynReader::TResult TMardynReader::ReadPublicName() {
  TSymbolSlot& slot = slots_[0];
  PrepareSymbol();
  input_.ReadNumber();
  slot.NameLength = static_cast<uint8_t>(input_.ReadName(slot.Name, sizeof slot.Name));
  ExpectWord(kWordATI);
  input_.ReadNumber();
  bool deliver = false;
  switch (input_.ReadNumber()) {
    case 0:
    case 15:
      slot.Attributes = 1;
      deliver = true;
      break;
    case 3: case 5: case 7: case 10: case 11: case 12:
      break;
    default:
      throw TIeeeFault{};
  }
  input_.ReadNumber();
  if (input_.PeekByte() < 0x90) input_.ReadNumber();
  ExpectWord(kWordASI);
  input_.ReadNumber();
  slot.Value = input_.ReadNumber();
  slot.TypeIndex = 14;
  slots_[1].Name[0] = '\0';
  return deliver ? TResult(PR_SYMBOLS) : TResult();
}

TMardynReader::TResult TMardynReader::ReadVariableName() {
  input_.ReadNumber();
  nameLength_ = input_.ReadName(name_.data(), name_.size());
  switch (blockType_) {
    case 0:
    case 5:
      return {};
    case 1:
    case 2:
      types_.ReadDefinition(input_, tables_);
      return {};
    default:
      ExpectWord(kWordATN);
      return ReadAttribute(0);
  }
}

TMardynReader::TResult TMardynReader::ReadAttributeRecord() {
  switch (input_.ReadByte()) {
    case kATI: {
      input_.ReadNumber();
      uint32_t d = input_.ReadNumber();
      input_.ReadNumber();
      if (d != 0) input_.ReadNumber();
      ExpectWord(kWordASI);
      input_.ReadExpression();
      return {};
    }
    case kATN:
      return ReadAttribute(0);
    default:
      return {};
  }
}

TMardynReader::TResult TMardynReader::Value(uint32_t value) {
  value_ = value;
  return PR_VALUE;
}

TMardynReader::TResult TMardynReader::ReadAttribute(int depth) {
  if (depth >= kMaxAttributeNesting) throw TIeeeFault{};
  input_.ReadNumber();
  int16_t type = static_cast<int16_t>(types_.Map(input_.ReadNumber()));
  uint32_t attribute = input_.ReadNumber();

  TSymbolSlot& slot = slots_[0];
  auto named = [&] {
    std::memcpy(slot.Name, name_.data(), nameLength_ + 1);
    slot.NameLength = static_cast<uint8_t>(nameLength_);
    slot.TypeIndex = type;
    slots_[1].Name[0] = '\0';
  };
  auto scoped = [&] {
    slot.ScopeLow = static_cast<uint32_t>(currentScope_ + 1);
    slot.ScopeHigh = 0;
  };
  auto skipNameIfPresent = [&] {
    if (uint8_t next = input_.PeekByte(); next < 0x80 || next == 0xDE || next == 0xDF) input_.SkipName();
  };
  auto registerVariable = [&] {
    named();
    slot.Kind = 8;
    slot.Attributes = 0;
    slot.Value = MapRegister(input_.ReadNumber());
    scoped();
  };

  switch (attribute) {
    case 1: {
      named();
      slot.Kind = 32;
      slot.Attributes = 2;
      slot.Value = input_.ReadNumber();
      auto [area, base] = FrameRegister(processorCode_);
      slot.FrameArea = area;
      slot.FrameBase = base;
      scoped();
      return PR_SYMBOLS;
    }
    case 2:
      registerVariable();
      return PR_SYMBOLS;
    case 3:
      ExpectWord(kWordASN);
      return Value(input_.ReadExpression());
    case 4:
      return {};
    case 5:
      named();
      PrepareSymbol();
      slot.Attributes = 0;
      slot.Value = 0;
      return PR_EXTERN;
    case 7:
      ReadLineNumber();
      return {};
    case 8: {
      ExpectWord(kWordASN);
      uint32_t value = input_.ReadExpression();
      named();
      slot.Kind = 0;
      slot.Attributes = 2;
      slot.Value = value;
      slot.ScopeLow = 0;
      slot.ScopeHigh = -1;
      return PR_SYMBOLS;
    }
    case 10:
      registerVariable();
      if (input_.PeekByte() < 0x90) input_.ReadNumber();
      return PR_SYMBOLS;
    case 12:
      input_.SkipNumbers(5);
      ExpectWord(kWordASN);
      return Value(input_.ReadExpression());
    case 16:
      input_.ReadNumber();
      if (input_.PeekByte() < 0x89) {
        input_.ReadByte();
        if (input_.PeekByte() == 0x80)
          input_.ReadByte();
        else
          input_.ReadNumber();
        skipNameIfPresent();
      }
      return {};
    case 19: {
      uint32_t count = input_.ReadNumber();
      if (input_.PeekByte() < 0x90) input_.ReadNumber();
      TResult result;
      for (uint32_t i = 0; i < count; ++i) {
        ExpectWord(kWordASN);
        result = Value(input_.ReadExpression());
      }
      return result;
    }
    case 62: {
      input_.ReadNumber();
      uint32_t count = input_.ReadNumber();
      skipNameIfPresent();
      TResult result;
      for (uint32_t i = 0; i < count; ++i) {
        uint16_t word = input_.ReadWord();
        if (word == kWordASN)
          result = Value(input_.ReadExpression());
        else if (word == kWordATN)
          result = ReadAttribute(depth + 1);
        else
          throw TIeeeFault{};
      }
      return result;
    }
    case 63:
      input_.ReadNumber();
      if (input_.ReadNumber() != 0) throw TIeeeFault{};
      return {};
    case 64:
      if (blockType_ == 3) {
        if (input_.ReadByte() != '2') throw TIeeeFault{};
        uint32_t count = input_.ReadNumber();
        skipNameIfPresent();
        for (uint32_t i = 0; i < count; ++i) {
          uint16_t word = input_.ReadWord();
          if (word == kWordASN) {
            input_.SkipNumbers(2);
          } else if (word == kWordATN) {
            input_.ReadNumber();
            ExpectWord(0x0041);
            input_.SkipName();
          } else {
            throw TIeeeFault{};
          }
        }
        return {};
      } else {
        input_.ReadNumber();
        uint32_t count = input_.ReadNumber();
        input_.SkipName();
        TResult result;
        for (uint32_t i = 0; i < count; ++i) {
          ExpectWord(kWordASN);
          result = Value(input_.ReadExpression());
        }
        return result;
      }
    case 65:
      input_.SkipName();
      return {};
    default:
      throw TIeeeFault{};
  }
}

void TMardynReader::ReadLineNumber() {
  uint32_t line = input_.ReadNumber();
  input_.ReadNumber();
  ExpectWord(kWordASN);
  input_.ReadNumber();
  lineAddress_ = input_.ReadNumber();

  // A line before any function has no scope to belong to.
  if (tables_.ScopeCount() == 0) return;
  int at = lineScopeSearch_ < 0 ? 0 : lineScopeSearch_;
  while (at + 1 < tables_.ScopeCount() && tables_.Scope(at + 1).ModuleNumber != SCOPE_END_MODULE &&
         tables_.Scope(at + 1).StartAddress <= lineAddress_)
    ++at;
  lineScopeSearch_ = at;
  TScopeEntry& scope = tables_.Scope(at);

  uint32_t before = line == 0 ? 0 : line - 1;
  if (scope.FirstLine == 0 && scope.LastLine == 0) {
    bool atStart = scope.StartAddress < lineAddress_;
    if (!tables_.LinesFit(atStart ? 2 : 1)) throw TIeeeFault{};
    scope.FirstLineEntry = static_cast<uint32_t>(tables_.LineCount());
    scope.FirstLine = line;
    if (atStart) {
      tables_.AddLine(scope.StartAddress, before);
      scope.FirstLine = before;
    }
  } else if (line <= scope.LastLine) {
    return;
  } else if (!tables_.LinesFit(1)) {
    throw TIeeeFault{};
  }
  scope.LastLine = line;
  scope.EndAddress = lineAddress_;
  tables_.AddLine(lineAddress_, line);
}

void TMardynReader::PushBlock(uint8_t type) {
  if (blockDepth_ >= kBlockStackWarning) std::fputs("\nbtstack overflow", stdout);
  blockStack_[blockDepth_++] = type;
  blockType_ = type;
}

void TMardynReader::ReadBlockBegin(long recordStart) {
  uint8_t type = input_.ReadByte();
  switch (type) {
    case 1:
      types_.BeginModuleTypes();
      input_.ReadNumber();
      input_.SkipName();
      break;
    case 2:
      input_.ReadNumber();
      input_.SkipName();
      break;
    case 3:
      NewModule();
      break;
    case 4:
    case 6:
      NewScope();
      break;
    case 5:
      ReadSourceFile();
      if (input_.PeekByte() < 0x90) input_.SkipNumbers(6);
      break;
    case 10:
    case 11: {
      long end = recordStart + static_cast<long>(input_.ReadNumber());
      // A size that does not reach past the header would read this block again.
      if (end < input_.Position()) throw TIeeeFault{};
      input_.SeekTo(end);
      return;
    }
    default:
      throw TIeeeFault{};
  }
  PushBlock(type);
}

void TMardynReader::ReadBlockEnd() {
  uint8_t type = blockStack_[--blockDepth_];
  if (type == 4 || type == 6) input_.ReadNumber();
  if (type == 5) lineScopeSearch_ = -1;
}

void TMardynReader::NewModule() {
  ++moduleCounter_;
  input_.ReadNumber();
  char name[sizeof(TModuleEntry::ModuleName)];
  input_.ReadCharacters(input_.ReadByte(), name, sizeof name);
  tables_.AddModule(name, moduleCounter_);
}

void TMardynReader::NewScope() {
  input_.ReadNumber();
  input_.SkipName();
  input_.SkipNumbers(2);
  uint32_t start = input_.ReadNumber();
  // Outside any module the scope would carry the module number that ends the
  // scope table, and hide every scope behind it.
  if (moduleCounter_ < 0) return;
  tables_.AddScope(moduleCounter_, start);
  currentScope_ = tables_.ScopeCount() - 1;
}

void TMardynReader::ReadSourceFile() {
  input_.ReadNumber();
  uint8_t length = input_.ReadByte();
  bool insideSourceFile = blockDepth_ != 0 && blockStack_[blockDepth_ - 1] == 5;
  // Without a module there is no entry to name the source of.
  if (insideSourceFile || tables_.ModuleCount() == 0) {
    input_.Skip(length);
    return;
  }
  char name[sizeof(TModuleEntry::SourceFile)];
  input_.ReadCharacters(length, name, sizeof name);
  tables_.SetSourceFile(tables_.ModuleCount() - 1, name);
}

TMardynReader::TResult TMardynReader::ReadCode() {
  uint16_t count = static_cast<uint16_t>(input_.ReadNumber());
  input_.ReadBytes(data_.data(), count);
  return DeliverCode(count);
}

TMardynReader::TResult TMardynReader::ReadRepeatedCode() {
  uint32_t repeat = input_.ReadNumber();
  if (input_.ReadByte() != kLD) throw TIeeeFault{};
  uint32_t size = input_.ReadNumber();
  uint64_t total = uint64_t{repeat} * size;
  if (total > kMaxRepeatedBytes) throw TIeeeFault{};
  // A repeat count of 0 delivers nothing, so its bytes need not fit the buffer.
  if (repeat == 0) {
    input_.Skip(size);
    return DeliverCode(0);
  }
  input_.ReadBytes(data_.data(), size);
  // Bounded by the bytes delivered, not by the count: a repeat count near 2^32
  // of no bytes would otherwise loop four billion times for nothing.
  for (uint64_t at = size; at < total; at += size) std::memcpy(data_.data() + at, data_.data(), size);
  return DeliverCode(static_cast<uint32_t>(total));
}

TMardynReader::TResult TMardynReader::DeliverCode(uint32_t count) {
  code_.Area = MARDYN_CODE_AREA;
  code_.Address = loadAddress_;
  code_.Count = static_cast<uint16_t>(count);
  code_.Data = data_.data();
  loadAddress_ += count;
  return PR_CODE;
}
