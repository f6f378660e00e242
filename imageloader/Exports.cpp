// The entry points of Brenlow.so; everything else in the library is hidden.
#include <strings.h>

#include <cstring>
#include <type_traits>

#include "FormatTable.h"
#include "ImageRecord.h"
#include "LoaderState.h"

#define BRENLOW_EXPORT extern "C" __attribute__((visibility("default")))

BRENLOW_EXPORT const char* Version() { return "1"; }

BRENLOW_EXPORT int32_t FindFormat(const char* name) {
  if (name == nullptr) return 0;
  for (const TFormatEntry* entry = FormatTable; entry->Id != 0; ++entry)
    if (strcasecmp(name, entry->Description) == 0 || strcasecmp(name, entry->Key) == 0) return entry->Id;
  return 0;
}

BRENLOW_EXPORT int32_t GetFormat(int32_t number, char* description) {
  if (number == 0) number = State().CurrentFormat;
  const TFormatEntry* entry = FormatByNumber(number);
  if (entry == nullptr) return 0;
  if (description != nullptr) std::strcpy(description, entry->Description);
  return number;
}

BRENLOW_EXPORT int32_t SetFormat(int32_t number) {
  if (FormatByNumber(number) == nullptr) return 0;
  State().CurrentFormat = number;
  return 1;
}

BRENLOW_EXPORT int32_t Open(const char* path, int32_t mode) {
  TLoaderState& state = State();
  state.ResetForFile(path != nullptr ? path : "");
  state.File.Close();
  return path != nullptr && state.File.Open(path, mode) ? 1 : 0;
}

BRENLOW_EXPORT int32_t GetData(TImageRecord* record) {
  if (record == nullptr || record->Text == nullptr) return -1;
  return FormatByNumber(State().CurrentFormat)->Reader(*record);
}

BRENLOW_EXPORT int32_t PutData(TImageRecord* record) {
  if (record == nullptr) return -1;
  return FormatByNumber(State().CurrentFormat)->Writer(*record);
}

BRENLOW_EXPORT int32_t Close() {
  TLoaderState& state = State();
  if (!state.File.IsOpen()) return 0;
  const char* endLine = FormatByNumber(state.CurrentFormat)->EndLine;
  // A file the disk could not take whole must not pass for a complete image.
  bool written = state.File.Mode() != 1 || endLine == nullptr || state.File.Write(endLine, std::strlen(endLine)) >= 0;
  written = state.File.Close() && written;
  state.Lines.Reset();
  return written ? 1 : 0;
}

static_assert(std::is_same_v<decltype(&Version), TBrenlowVersion>);
static_assert(std::is_same_v<decltype(&FindFormat), TBrenlowFindFormat>);
static_assert(std::is_same_v<decltype(&GetFormat), TBrenlowGetFormat>);
static_assert(std::is_same_v<decltype(&SetFormat), TBrenlowSetFormat>);
static_assert(std::is_same_v<decltype(&Open), TBrenlowOpen>);
static_assert(std::is_same_v<decltype(&GetData), TBrenlowGetData>);
static_assert(std::is_same_v<decltype(&PutData), TBrenlowPutData>);
static_assert(std::is_same_v<decltype(&Close), TBrenlowClose>);
