// Code blocks of a load reach the target in runs of consecutive addresses,
// cut into pieces of at most 254 bytes.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "RunGatherer.h"

namespace {

struct TBlock {
  uint8_t Area;
  uint32_t Address;
  uint32_t Count;
};

struct TWrite {
  uint8_t Area;
  uint32_t Address;
  uint32_t Count;
  uint8_t First;  // the first byte, to follow where the bytes went
  bool operator==(const TWrite&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TWrite& w) {
  return out << "{" << int(w.Area) << ", " << std::hex << w.Address << std::dec << ", " << w.Count << ", "
             << int(w.First) << "}";
}

struct TGatherCase {
  const char* Name;
  std::vector<TBlock> Blocks;
  std::vector<TWrite> Writes;
};

// Every block's bytes count on from where the previous block stopped, so the
// first byte of a write tells which byte of the input it starts with.
std::vector<TWrite> Gather(const std::vector<TBlock>& blocks) {
  std::vector<TWrite> writes;
  TCodeGatherer gatherer([&](uint8_t area, uint32_t address, const uint8_t* bytes, uint8_t count) {
    writes.push_back({area, address, count, bytes[0]});
  });
  uint8_t next = 0;
  for (const TBlock& block : blocks) {
    std::vector<uint8_t> bytes(block.Count);
    for (uint8_t& b : bytes) b = next++;
    gatherer.Add(block.Area, block.Address, bytes.data(), block.Count);
  }
  gatherer.Flush();
  uint32_t total = 0;
  for (const TWrite& w : writes) total += w.Count;
  EXPECT_EQ(gatherer.BytesWritten(), total);
  return writes;
}

class CodeGathering : public ::testing::TestWithParam<TGatherCase> {};

TEST_P(CodeGathering, WritesRunsInPiecesOfAtMost254Bytes) { EXPECT_EQ(Gather(GetParam().Blocks), GetParam().Writes); }

INSTANTIATE_TEST_SUITE_P(
    Blocks, CodeGathering,
    ::testing::Values(
        TGatherCase{"ConsecutiveBlocksJoin", {{0x81, 0x100, 200}, {0x81, 0x1C8, 100}},
                    {{0x81, 0x100, 254, 0}, {0x81, 0x1FE, 46, 254}}},
        TGatherCase{"Exactly254", {{0x81, 0x100, 254}}, {{0x81, 0x100, 254, 0}}},
        TGatherCase{"LongRunIsCut", {{0x81, 0x0, 600}}, {{0x81, 0, 254, 0}, {0x81, 254, 254, 254}, {0x81, 508, 92, 252}}},
        TGatherCase{"OtherAreaFlushes", {{0x81, 0x100, 10}, {0x82, 0x10A, 10}}, {{0x81, 0x100, 10, 0}, {0x82, 0x10A, 10, 10}}},
        TGatherCase{"GapFlushes", {{0x81, 0x100, 10}, {0x81, 0x10B, 10}}, {{0x81, 0x100, 10, 0}, {0x81, 0x10B, 10, 10}}},
        TGatherCase{"NothingGatheredWritesNothing", {}, {}},
        TGatherCase{"EmptyBlockContinuesTheRun", {{0x81, 0x100, 10}, {0x81, 0x10A, 0}, {0x81, 0x10A, 5}},
                    {{0x81, 0x100, 15, 0}}}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
