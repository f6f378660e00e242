// A fatal failure ends the program with a failure code, never as a success.
// This program replaces the array allocation so that the symbol pool can be
// refused its next block; it runs apart from the window tests for that reason.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "Configuration.h"
#include "MainFormMessages.h"
#include "MessageBoxRecorder.h"
#include "Symbols.h"

namespace {
bool refusePoolBlocks = false;
constexpr std::size_t PoolBlock = 0x10000;
}  // namespace

void* operator new[](std::size_t size) {
  if (refusePoolBlocks && size == PoolBlock) throw std::bad_alloc();
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  throw std::bad_alloc();
}
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

TEST(FatalExit, SymbolPoolExhaustedQuitsWithAFailureCode) {
  TConfiguration holder;
  TMessageBoxRecorder boxes;
  std::vector<int> quitCodes;
  TQuitHandler previous = SetQuitHandler([&quitCodes](int code) { quitCodes.push_back(code); });

  refusePoolBlocks = true;
  TSymbolRecord slot{};
  std::memset(slot.Name, 'n', 200);
  for (int i = 0; i < 1000 && boxes.Messages.empty(); ++i) {
    std::snprintf(slot.Name, 8, "s%05d", i);
    slot.Name[6] = 'n';
    slot.Value = static_cast<std::uint32_t>(i);
    TheSymbols->Add(&slot);
  }
  refusePoolBlocks = false;
  SetQuitHandler(std::move(previous));

  ASSERT_EQ(boxes.Messages.size(), 1u);
  EXPECT_EQ(boxes.Messages[0].Text, "No more free memory space to store symbols");
  EXPECT_EQ(boxes.Messages[0].Caption, "FATAL ERROR");
  EXPECT_EQ(quitCodes, std::vector<int>({1}));
  // Nothing more is stored once the pool is out.
  const int stored = TheSymbols->Count();
  TheSymbols->Add(&slot);
  EXPECT_EQ(TheSymbols->Count(), stored);
  EXPECT_EQ(boxes.Messages.size(), 1u);
}

}  // namespace
