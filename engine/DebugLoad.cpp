// TDebug::LoadProgram: an object file through its reader plug-in into the
// target, the symbol table and the debug tables.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "Configuration.h"
#include "Debug.h"
#include "InputQuery.h"
#include "KeyState.h"
#include "MainFormMessages.h"
#include "MessageBox.h"
#include "Protocol.h"
#include "ReaderBinding.h"
#include "RunGatherer.h"
#include "Symbols.h"
#include "Tgtz80.h"
#include "TickCount.h"
#include "Utility.h"

namespace {

constexpr uint8_t kFormatMardyn = 9;
constexpr uint32_t kProgressInterval = 500;
constexpr uint8_t kIceDummyProcessor = 6;
constexpr uint8_t kDroppedKind = 9;

// The bank of the last block for which the bank prompt ran; bits 16-31 all
// ones: no bank yet.
uint32_t LastBankAddress = 0xFFFF0000;
// The last answer to the bank prompt, offered again the next time.
std::string BankAnswer;

#pragma pack(push, 1)
struct TBankWrite {
  uint8_t Area;
  uint32_t Address;
  uint8_t Value;
};
#pragma pack(pop)

// The file's modification time as a packed DOS date and time; -1 when there
// is no such file.
int32_t FileTimeStamp(const std::string& file) {
  struct stat info;
  if (stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  std::tm t{};
  localtime_r(&info.st_mtime, &t);
  uint32_t year = t.tm_year >= 80 ? static_cast<uint32_t>(t.tm_year - 80) : 0;
  return static_cast<int32_t>(year << 25 | static_cast<uint32_t>(t.tm_mon + 1) << 21 |
                              static_cast<uint32_t>(t.tm_mday) << 16 | static_cast<uint32_t>(t.tm_hour) << 11 |
                              static_cast<uint32_t>(t.tm_min) << 5 | static_cast<uint32_t>(t.tm_sec / 2));
}

std::string ProgressText(uint32_t bytes, uint16_t symbols) {
  return "Loading program: [" + std::to_string(bytes) + "] Bytes, [" + std::to_string(symbols) +
         "] Symbols read\r\n\r\nPress <Ctrl + Break> to stop";
}

bool IsLocal(const TSymbolRecord& s) { return s.ScopeLow != 0 || s.ScopeHigh != -1; }

// Adds the symbols of one PR_SYMBOLS array; returns how many slots it held.
uint16_t AddSymbols(const TSymbolRecord* slots, const uint8_t* processorInfo) {
  uint16_t seen = 0;
  for (const TSymbolRecord* slot = slots; slot->Name[0] != '\0'; ++slot, ++seen) {
    TSymbolRecord s = *slot;
    if (processorInfo[0] == kIceDummyProcessor && std::strcmp(s.Name, "_ICE_DUMMY_") == 0) s.Kind = kDroppedKind;
    if (s.Kind == kDroppedKind) continue;
    if (IsLocal(s) || !TheSymbols->FindExact(s.Attributes, s.Value, s.Name)) TheSymbols->Add(&s);
  }
  return seen;
}

// An external declaration takes the area and address of its definition, which
// the compiler stored under the name with a leading underscore. Returns 1 when
// it was stored.
uint16_t AddExternal(const TSymbolRecord& slot) {
  if (TheSymbols->FindExact(slot.Attributes, slot.Value, slot.Name)) return 0;
  std::size_t length = std::min<std::size_t>({slot.NameLength, strnlen(slot.Name, sizeof slot.Name), SYMBOL_MAX_NAME});
  std::string key = "_" + std::string(slot.Name, length);
  const TSymbolRecord* definition = TheSymbols->FindByName(key.c_str(), false);
  if (!definition) return 0;
  TSymbolRecord s = slot;
  s.Attributes = definition->Attributes;
  s.Value = definition->Value;
  TheSymbols->Add(&s);
  return 1;
}

}  // namespace

void TDebug::LoadProgram(const std::string& file, uint8_t loadCode, uint8_t format) {
  if (Loaded == 1) ClearTables();
  int32_t age = FileTimeStamp(file);
  FileAge = age;
  if (age == -1) {
    MessageBox("File not found", "Error", MB_ICONSTOP);
    return;
  }
  // Bound before anything is cleared, so a missing reader leaves the symbols
  // of an earlier load in place.
  TReaderBinding reader;
  const std::string library = format == kFormatMardyn ? MARDYN_FILE : PELLIS_FILE;
  if (!ReportBinding(reader.Bind(library), library)) return;

  FileName = file;
  LoadCode = loadCode;
  FileFormat = format;
  LastBankAddress = 0xFFFF0000;
  TheSymbols->Clear();

  uint16_t symbols = 0;
  TCodeGatherer gatherer([this](uint8_t area, uint32_t address, const uint8_t* bytes, uint8_t count) {
    WriteLoadedBlock(area, address, bytes, count);
  });
  uint32_t deadline = GetTickCount() + kProgressInterval;
  std::string text = ProgressText(0, 0);
  SendBeginBusy(text);

  const TDebugTables tables = Tables();
  reader.Open(FileName.c_str(), 0, tables.Modules, tables.Scopes, tables.Lines, tables.Types);
  bool gathering = true;
  uint8_t kind;
  do {
    if (GetAsyncKeyState(VK_CANCEL) != 0) gathering = false;
    const TReaderResult* r = reader.Parse();
    kind = r->Kind;
    switch (kind) {
      case PR_MODULEFLAG:
        ByteOrder = static_cast<uint8_t>(r->Payload);
        TheCpu->LittleEndian = ByteOrder != 0 ? 1 : 0;
        break;
      case PR_CODE:
        if (gathering) {
          auto block = reinterpret_cast<const TCodeBlock*>(r->Payload);
          gatherer.Add(block->Area, block->Address, block->Data, block->Count);
        }
        break;
      case PR_SYMBOLS:
        symbols = static_cast<uint16_t>(symbols + AddSymbols(reinterpret_cast<const TSymbolRecord*>(r->Payload), ProcessorInfo));
        break;
      case PR_TARGETINFO:
        std::memcpy(ProcessorInfo, reinterpret_cast<const uint8_t*>(r->Payload), 4);
        break;
      case PR_EXTERN:
        symbols = static_cast<uint16_t>(symbols + AddExternal(*reinterpret_cast<const TSymbolRecord*>(r->Payload)));
        break;
      case PR_ERROR:
        MessageBox(reinterpret_cast<const char*>(r->Payload), "Error", MB_ICONSTOP);
        kind = PR_END;
        break;
      default:
        break;
    }
    if (static_cast<int32_t>(GetTickCount() - deadline) >= 0) {
      text = ProgressText(gatherer.BytesWritten(), symbols);
      SendStatusText(text);
      deadline = GetTickCount() + kProgressInterval;
    }
  } while (kind != PR_END);
  gatherer.Flush();

  reader.Close();
  SendToMainForm(UM_ENDBUSY, 0, 0);
  Loaded = 1;
  MainProcName = reader.MainProcName();
  ExitProcName = reader.ExitProcName();
  reader.Free();
  ResolveSymbolScopes();
  // One walk along every type record now, while the load runs anyway: the
  // watch then finds each type at once, however large the buffer.
  FindType(0);
}

void TDebug::WriteLoadedBlock(uint8_t area, uint32_t address, const uint8_t* bytes, uint8_t count) {
  if (LoadCode != 1) return;
  uint32_t window = address & 0xFFFF;
  if (BankMode != 0xFF && (address >> 16) != (LastBankAddress >> 16) && window >= BankWindowLow &&
      window <= BankWindowHigh) {
    LastBankAddress = address;
    char caption[32];
    std::snprintf(caption, sizeof caption, "Change to bank %02Xh", static_cast<unsigned>(address >> 16));
    // The user may write any number of single bytes (a bank-select register,
    // say) before the block goes out; Cancel goes on with the block.
    while (InputQuery(caption, "Address,Value:", BankAnswer, 1)) {
      TBankWrite write{};
      if (ParseArgs("A,B", BankAnswer.c_str(), &write, sizeof write) == 0)
        TheProtocol->WriteMemory(write.Area, write.Address, 1, &write.Value);
    }
  }
  TheProtocol->WriteMemory(static_cast<uint8_t>(area | 0x80), address, count, bytes);
}
