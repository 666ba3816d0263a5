#include "core/hex_byte.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace pellark {
namespace {

TEST(HexByteTest, ToHexByteKeepsTheLastTwoDigitsWithoutPadding) {
  EXPECT_EQ(ToHexByte(0).Text(), "0");
  EXPECT_EQ(ToHexByte(10).Text(), "A");
  EXPECT_EQ(ToHexByte(0x10).Text(), "10");
  EXPECT_EQ(ToHexByte(255).Text(), "FF");
  EXPECT_EQ(ToHexByte(-1).Text(), "FF");
  EXPECT_EQ(ToHexByte(-128).Text(), "80");
  EXPECT_EQ(ToHexByte(256).Text(), "00");
  EXPECT_EQ(ToHexByte(0x1FE).Text(), "FE");
}

TEST(HexByteTest, HexToNumberReadsDigitsAndRepeatsTheDigitBeforeAnyOtherCharacter) {
  EXPECT_EQ(HexToNumber(""), 0);
  EXPECT_EQ(HexToNumber("0"), 0);
  EXPECT_EQ(HexToNumber("A"), 10);
  EXPECT_EQ(HexToNumber("ff"), 255);
  EXPECT_EQ(HexToNumber("FFF"), 4095);
  EXPECT_EQ(HexToNumber("123"), 0x123);
  EXPECT_EQ(HexToNumber("G"), 0);
  EXPECT_EQ(HexToNumber("1G"), 17);
  EXPECT_EQ(HexToNumber("G1"), 1);
  EXPECT_EQ(HexToNumber("FFFFFFF"), 0xFFFFFFF);
}

TEST(HexByteTest, EveryByteSurvivesTheRoundTripThroughItsText) {
  for (int byte = 0; byte < 256; ++byte) {
    const HexByte text = ToHexByte(byte);
    EXPECT_EQ(HexToNumber(text.Text()), byte);
    // A cell never holds a padded text.
    EXPECT_TRUE(text.Text().size() == 1 || text.Text()[0] != '0') << byte;
  }
}

TEST(HexByteTest, EmptyAndZeroCellsDiffer) {
  EXPECT_TRUE(HexByte().IsEmpty());
  EXPECT_NE(HexByte(), ToHexByte(0));
  EXPECT_EQ(HexByte("A2"), ToHexByte(0xA2));
}

TEST(TextTest, HexAndDecimalTextsHaveNoPadding) {
  EXPECT_EQ(HexText(5), "5");
  EXPECT_EQ(HexText(162), "A2");
  EXPECT_EQ(HexText(4095), "FFF");
  EXPECT_EQ(HexText(-1), "FFFFFFFF");
  EXPECT_EQ(HexText(-128), "FFFFFF80");
  EXPECT_EQ(DecimalText(15), "15");
  EXPECT_EQ(DecimalText(0), "0");
  EXPECT_EQ(DecimalText(-3), "-3");
  EXPECT_EQ(DecimalText(-2147483647 - 1), "-2147483648");
}

TEST(TextTest, PartsClampToTheText) {
  EXPECT_EQ(RightPart("A", 2), "A");
  EXPECT_EQ(RightPart("A2", 1), "2");
  EXPECT_EQ(RightPart("A2", 0), "");
  EXPECT_EQ(LeftPart("", 1), "");
  EXPECT_EQ(LeftPart("A2", 1), "A");
  EXPECT_EQ(LeftPart("A2", -1), "");
}

}  // namespace
}  // namespace pellark
