#include "DumpTransfer.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "Configuration.h"
#include "ImageBinding.h"
#include "ImageRecord.h"
#include "KeyState.h"
#include "MainFormMessages.h"
#include "MessageBox.h"
#include "Protocol.h"
#include "TickCount.h"

namespace {

constexpr uint32_t ProgressInterval = 500;
// Bytes of one saved record, and of one read from the target while saving.
constexpr uint32_t SaveRecordBytes = 16;
constexpr uint8_t SaveReadBytes = 128;

void Error(const char* text) { MessageBox(text, "Error", MB_OK | MB_ICONSTOP); }

// The abort key, polled at the progress deadlines only.
class TProgress {
 public:
  TProgress() : Deadline(GetTickCount() + ProgressInterval), AbortKey(VkKeyScan('h')) {}
  // A press from before the operation does not count.
  void ForgetKey() { GetAsyncKeyState(AbortKey); }
  // At a deadline: true when <H> was pressed; otherwise the text goes to the
  // status line and the next deadline is set.
  bool Aborted(const std::string& text) {
    if (static_cast<int32_t>(GetTickCount() - Deadline) < 0) return false;
    if (GetAsyncKeyState(AbortKey) & 0x8001) return true;
    SendStatusText(text);
    Deadline = GetTickCount() + ProgressInterval;
    return false;
  }

 private:
  uint32_t Deadline;
  int AbortKey;
};

std::string LoadText(uint32_t total, const char* tail) {
  return "Loading program\r\n[" + std::to_string(total) + "] Bytes" + tail + ". Press <H> to quit load";
}

std::string SaveText(uint32_t total) {
  return "Saving data\r\n[" + std::to_string(total) + "] Bytes. Press <H> to quit save";
}

// The library in format with fileName open, for reading or else for writing
// (created or emptied); nullptr after a message.
TImageBinding* OpenImage(unsigned needs, const std::string& fileName, int format, const char* failure) {
  TImageBinding* brenlow = ProgramImageLibrary(needs);
  if (!brenlow) return nullptr;
  brenlow->SetFormat(format);
  if (brenlow->Open(fileName.c_str(), needs == IMAGE_WRITES ? 1 : 0) == 0) {
    Error(failure);
    return nullptr;
  }
  return brenlow;
}

}  // namespace

TRecordSlice SliceRecord(uint32_t address, uint32_t count, std::size_t textLength, uint32_t first,
                         uint32_t blockCount) {
  // A record never carries more bytes than its text holds.
  const uint64_t start = address;
  const uint64_t end = start + std::min<uint64_t>(count, textLength / 2);
  const uint64_t blockStart = first;
  const uint64_t blockEnd = blockStart + blockCount;
  const uint64_t from = std::max(start, blockStart);
  const uint64_t to = std::min(end, blockEnd);
  if (from >= to) return {};
  return {static_cast<uint32_t>(from - start), static_cast<uint32_t>(to - from)};
}

void LoadBlock(const std::string& fileName, int format, _LoadAreaType& block) {
  TImageBinding* brenlow = OpenImage(IMAGE_READS, fileName, format, "File not found!");
  if (!brenlow) return;
  std::string text(IMAGE_TEXT_SIZE, '\0');
  uint32_t total = 0;
  TProgress progress;
  SendBeginBusy(LoadText(total, ""));
  progress.ForgetKey();
  const uint32_t delta = block.MemoryAddress - block.FileAddress;
  for (;;) {
    TImageRecord record{0, 0, 0, 0, text.data()};
    std::fill(text.begin(), text.end(), '\0');
    if (brenlow->GetData(&record) == -1) {
      Error("Bad file format!");
      break;
    }
    if (record.Type == IR_END) break;
    if (record.Type == IR_DATA || record.Type == IR_DATA_WIDE) {
      const std::size_t digits = strnlen(text.data(), text.size());
      const TRecordSlice slice = SliceRecord(record.Address, record.Count, digits, block.FileAddress, block.Count);
      if (slice.Count != 0) {
        TheProtocol->WriteMemoryHex(block.Area, record.Address + slice.Skip + delta,
                                    static_cast<uint8_t>(slice.Count), text.data() + 2 * slice.Skip);
        total += slice.Count;
      } else {
        total += record.Count;
      }
    }
    if (progress.Aborted(LoadText(total, " read"))) break;
  }
  SendToMainForm(UM_ENDBUSY);
  brenlow->Close();
}

void SaveBlock(const std::string& fileName, int format, _SaveAreaType& block) {
  TImageBinding* brenlow = OpenImage(IMAGE_WRITES, fileName, format, "Cannot create file!");
  if (!brenlow) return;
  std::string text(IMAGE_TEXT_SIZE, '\0');
  uint32_t total = 0;
  TProgress progress;
  SendBeginBusy(SaveText(total));
  progress.ForgetKey();
  const uint32_t delta = block.FileAddress - block.MemoryAddress;
  // The memory read ahead as hex digits, and where the next record's start.
  char hex[2 * SaveReadBytes];
  std::size_t next = sizeof hex;
  bool written = true;
  while (block.Count != 0) {
    if (sizeof hex - next < 2 * SaveRecordBytes + 1) {
      TheProtocol->ReadMemoryHex(block.Area, block.MemoryAddress, SaveReadBytes, hex);
      next = 0;
    }
    const uint32_t count = std::min(SaveRecordBytes, uint32_t{block.Count});
    std::fill(text.begin(), text.end(), '\0');
    std::memcpy(text.data(), hex + next, 2 * SaveRecordBytes);
    next += 2 * SaveRecordBytes;
    TImageRecord record{IR_DATA, block.Area, block.MemoryAddress + delta, static_cast<uint16_t>(count), text.data()};
    written = brenlow->PutData(&record) != -1;
    if (!written) {
      Error("Cannot write file!");
      break;
    }
    block.MemoryAddress += count;
    block.Count -= count;
    total += count;
    if (progress.Aborted(SaveText(total))) break;
  }
  SendToMainForm(UM_ENDBUSY);
  // The end line and the last bytes reach the disk only now; a failed record has said so already.
  if (brenlow->Close() == 0 && written) Error("Cannot write file!");
}
