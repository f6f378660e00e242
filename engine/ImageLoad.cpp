#include "ImageLoad.h"

#include <array>
#include <cstring>

#include "Configuration.h"
#include "ImageBinding.h"
#include "KeyState.h"
#include "MainFormMessages.h"
#include "MessageBox.h"
#include "Protocol.h"
#include "RunGatherer.h"
#include "Symbols.h"
#include "TickCount.h"

namespace {

constexpr uint32_t ProgressInterval = 500;

std::string ProgressText(uint32_t bytes, uint32_t symbols) {
  return "Loading program\r\n[" + std::to_string(bytes) + "] Bytes, [" + std::to_string(symbols) +
         "] Symbols read\r\nPress <H> to quit load";
}

void BadFormat() { MessageBox("Bad file format!", "Error", MB_ICONSTOP); }

bool IsSymbol(uint16_t type) { return type >= IR_SYMBOL && type <= IR_SYMBOL6; }
bool IsData(uint16_t type) { return type == IR_DATA || type == IR_DATA_WIDE; }

// True when the symbol was not stored yet and is now.
bool AddSymbol(const TImageRecord& record) {
  TSymbolRecord slot{};
  const std::size_t length = strnlen(record.Text, SYMBOL_MAX_NAME);
  std::memcpy(slot.Name, record.Text, length);
  if (TheSymbols->FindExact(record.Area, record.Address, slot.Name)) return false;
  slot.Attributes = record.Area;
  slot.Value = record.Address;
  slot.ScopeHigh = -1;
  slot.NameLength = static_cast<uint8_t>(length);
  TheSymbols->Add(&slot);
  return true;
}

}  // namespace

TImageLoadResult LoadProgramImage(const std::string& fileName, int format, bool loadCode) {
  TImageBinding* brenlow = ProgramImageLibrary(IMAGE_READS);
  if (!brenlow) return TImageLoadResult::NotBound;
  return LoadProgramImage(*brenlow, fileName, format, loadCode);
}

TImageLoadResult LoadProgramImage(TImageBinding& brenlow, const std::string& fileName, int format, bool loadCode) {
  std::array<char, IMAGE_TEXT_SIZE> text{};
  brenlow.SetFormat(format);
  if (brenlow.Open(fileName.c_str(), 0) == 0) {
    MessageBox("File not found!", "Error", MB_ICONSTOP);
    return TImageLoadResult::FileNotFound;
  }

  uint32_t bytes = 0;
  uint32_t symbols = 0;
  uint32_t deadline = GetTickCount() + ProgressInterval;
  SendBeginBusy(ProgressText(bytes, symbols));
  const int abortKey = VkKeyScan('h');
  GetAsyncKeyState(abortKey);  // a press from before the load does not count
  THexGatherer gatherer([](uint8_t area, uint32_t address, const char* hex, uint8_t count) {
    TheProtocol->WriteMemoryHex(area, address, count, hex);
  });
  bool aborted = false;
  for (;;) {
    TImageRecord record{0, 0, 0, 0, text.data()};
    text[0] = '\0';
    if (brenlow.GetData(&record) == -1) {
      BadFormat();
      break;
    }
    if (record.Type == IR_END) break;
    if (IsSymbol(record.Type)) {
      if (AddSymbol(record)) ++symbols;
    } else if (IsData(record.Type) && loadCode) {
      // A record whose bytes its text does not hold, two digits a byte (so at
      // most 128 in the 256-byte text), is one the library could not read.
      if (record.Count > strnlen(text.data(), text.size()) / 2) {
        BadFormat();
        break;
      }
      gatherer.Add(record.Area, record.Address, text.data(), record.Count);
      bytes += record.Count;
    }
    if (GetAsyncKeyState(abortKey) & 0x8001) {
      aborted = true;
      break;
    }
    if (static_cast<int32_t>(GetTickCount() - deadline) >= 0) {
      SendStatusText(ProgressText(bytes, symbols));
      deadline = GetTickCount() + ProgressInterval;
    }
  }
  // An aborted load drops the bytes gathered since the last full piece.
  if (!aborted) {
    SendStatusText(ProgressText(bytes, symbols));
    gatherer.Flush();
  }
  SendToMainForm(UM_ENDBUSY);
  brenlow.Close();
  return TImageLoadResult::Loaded;
}
