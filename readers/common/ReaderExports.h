#pragma once
// The exports of a reader plug-in. Only the readers include this header; the
// program binds the same entries by name through ReaderInterface.h.
#include <type_traits>

#include "ReaderInterface.h"

#define TARVIK_READER_EXPORT extern "C" __attribute__((visibility("default")))

TARVIK_READER_EXPORT void Open(const char* path, uint32_t reserved, TModuleEntry* moduleTable,
                               TScopeEntry* scopeTable, TLineEntry* lineTable, uint8_t* typeBuffer);
TARVIK_READER_EXPORT const TReaderResult* Parse();
TARVIK_READER_EXPORT int Close();
TARVIK_READER_EXPORT const char* GetMainProcName();
TARVIK_READER_EXPORT const char* GetExitProcName();
TARVIK_READER_EXPORT const char* Version();

static_assert(std::is_same_v<decltype(&Open), TReaderOpenProc>);
static_assert(std::is_same_v<decltype(&Parse), TReaderParseProc>);
static_assert(std::is_same_v<decltype(&Close), TReaderCloseProc>);
static_assert(std::is_same_v<decltype(&GetMainProcName), TReaderNameProc>);
static_assert(std::is_same_v<decltype(&GetExitProcName), TReaderNameProc>);
static_assert(std::is_same_v<decltype(&Version), TReaderNameProc>);
