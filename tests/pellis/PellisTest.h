#pragma once
#include <gtest/gtest.h>

#include "PackedValue.h"
#include "PellisHarness.h"

using Kinds = std::vector<int>;

class PellisTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(h.Loaded()) << "Pellis.so not found in TARVIK_BIN_DIR"; }

  // The kinds of the results, in order.
  static Kinds KindsOf(const std::vector<TParsed>& results) {
    Kinds kinds;
    for (const TParsed& r : results) kinds.push_back(r.Kind);
    return kinds;
  }

  TPellisHarness h;
};
