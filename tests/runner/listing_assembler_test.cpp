// The assembler of the boot image listing: items, labels used before and after their
// definition, gaps, the size limit, and errors that name their line.
#include "listing_assembler.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pellark {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

AssembledImage Assemble(std::string_view listing, int limit = 0x200) {
  return AssembleListing(listing, limit);
}

void ExpectErrorOnLine(std::string_view listing, int line, const std::string& words) {
  const AssembledImage image = Assemble(listing);
  ASSERT_TRUE(image.error.has_value()) << listing;
  EXPECT_EQ(image.error->line, line) << image.error->message;
  EXPECT_THAT(image.error->message, HasSubstr(words));
}

TEST(ListingAssembler, ReadsBytesWordsAndPixelRows) {
  const AssembledImage image = Assemble(
      "  F0 0a        ; two bytes\n"
      "  00E0 12Ab    ; two words, high byte first\n"
      "  #..#.### ........\n");
  ASSERT_FALSE(image.error) << image.error->message;
  EXPECT_THAT(image.bytes, ElementsAre(0xF0, 0x0A, 0x00, 0xE0, 0x12, 0xAB, 0x97, 0x00));
}

TEST(ListingAssembler, ResolvesLabelsDefinedBeforeAndAfterTheirUse) {
  const AssembledImage image = Assemble(
      "start:\n"
      "  Annn sprite   ; I = sprite, defined below\n"
      "loop: 1nnn loop ; a label shares its line with what it names\n"
      "  2nnn start\n"
      "sprite:\n"
      "  FF\n");
  ASSERT_FALSE(image.error) << image.error->message;
  EXPECT_THAT(image.bytes, ElementsAre(0xA0, 0x06, 0x10, 0x02, 0x20, 0x00, 0xFF));
  EXPECT_EQ(image.labels.at("start"), 0);
  EXPECT_EQ(image.labels.at("loop"), 2);
  EXPECT_EQ(image.labels.at("sprite"), 6);
}

TEST(ListingAssembler, OrgFillsTheGapWithZerosAndLabelsTheNewAddress) {
  const AssembledImage image = Assemble(
      "  11\n"
      "  org 004\n"
      "here: 22\n"
      "there: org 006\n"
      "  1nnn there\n");
  ASSERT_FALSE(image.error) << image.error->message;
  EXPECT_THAT(image.bytes, ElementsAre(0x11, 0, 0, 0, 0x22, 0, 0x10, 0x06));
  EXPECT_EQ(image.labels.at("here"), 4);
  EXPECT_EQ(image.labels.at("there"), 6);
}

TEST(ListingAssembler, LabelsAddressesBeyondAByteInTwelveBits) {
  const AssembledImage image = Assemble("org 1F0\ntarget:\n  Bnnn target\n");
  ASSERT_FALSE(image.error) << image.error->message;
  EXPECT_EQ(image.bytes[0x1F0], 0xB1);
  EXPECT_EQ(image.bytes[0x1F1], 0xF0);
}

TEST(ListingAssembler, NamesTheLineOfEachError) {
  ExpectErrorOnLine("FF\n  1nnn nowhere\n", 2, "\"nowhere\" is not a known label");
  ExpectErrorOnLine("a:\nFF\na: EE\n", 3, "\"a\" is defined twice");
  ExpectErrorOnLine("FF\n\n  F0 F\n", 3, "\"F\" cannot be read");
  ExpectErrorOnLine("  #..#.##.\n  #..#.#\n", 2, "\"#..#.#\" cannot be read");
  ExpectErrorOnLine("  Annn\n", 1, "\"Annn\" needs a label name");
  ExpectErrorOnLine("  Annn 123\n", 1, "needs a label name");
  ExpectErrorOnLine("1x: FF\n", 1, "\"1x\" is not a label name");
  ExpectErrorOnLine("org 010\nFF\norg 008\n", 3, "org 008 lies before the current address 011");
  ExpectErrorOnLine("org 1000\n", 1, "org needs one hexadecimal address");
  ExpectErrorOnLine("org\n", 1, "org needs one hexadecimal address");
}

TEST(ListingAssembler, RefusesAnImageThatReachesTheLimit) {
  ExpectErrorOnLine("org 1FE\n  FF FF\n  FF\n", 3, "the image would reach address 200");
  ExpectErrorOnLine("org 1FF\n  00E0\n", 2, "the image would reach address 200");
  ExpectErrorOnLine("org 201\n", 1, "org 201 lies beyond 200");
  const AssembledImage full = Assemble("org 1FE\n  FF FF\n");
  ASSERT_FALSE(full.error);
  EXPECT_EQ(full.bytes.size(), 0x200u);
}

}  // namespace
}  // namespace pellark
