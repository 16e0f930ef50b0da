#include <gtest/gtest.h>

#include "random/random.h"

namespace {

TEST(CreateRandom, MakesBothSourceTypes) {
  for (const std::int32_t type : {kRandomMersenneTwister, kRandomCrypt}) {
    IRandom* source = nullptr;
    ASSERT_EQ(CreateRandom(type, source), S_OK) << type;
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->Seed(1), S_OK) << type;
    source->Release();
  }
}

TEST(CreateRandom, RefusesUnknownTypesWithANullSource) {
  int placeholder = 0;
  for (const std::int32_t type : {0, 3, -1}) {
    auto* source = reinterpret_cast<IRandom*>(&placeholder);
    EXPECT_EQ(CreateRandom(type, source), E_INVALIDARG) << type;
    EXPECT_EQ(source, nullptr) << type;
  }
}

}  // namespace
