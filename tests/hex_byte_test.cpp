#include "core/hex_byte.h"

#include <gtest/gtest.h>

namespace pellark {
namespace {

TEST(HexByteTest, ToHexByteKeepsTheLastTwoDigitsWithoutPadding) {
  EXPECT_EQ(ToHexByte(0).Text(), "0");
  EXPECT_EQ(ToHexByte(10).Text(), "A");
  EXPECT_EQ(ToHexByte(255).Text(), "FF");
  EXPECT_EQ(ToHexByte(-1).Text(), "FF");
  EXPECT_EQ(ToHexByte(-128).Text(), "80");
  EXPECT_EQ(ToHexByte(256).Text(), "00");
  EXPECT_EQ(ToHexByte(0x1FE).Text(), "FE");
}

}  // namespace
}  // namespace pellark
