#pragma once
// Makes the engine objects afresh for every test, as the program makes them
// at start-up.
#include <gtest/gtest.h>

#include <memory>

#include "Configuration.h"

class EngineFixture : public ::testing::Test {
 protected:
  void SetUp() override { Holder = std::make_unique<TConfiguration>(); }
  void TearDown() override { Holder.reset(); }

  std::unique_ptr<TConfiguration> Holder;
};
