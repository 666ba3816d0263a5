#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "core/text_memory.h"
#include "platform/byte_file.h"
#include "platform/image.h"
#include "platform/inspector_snapshot.h"
#include "platform/line_store.h"
#include "platform/random.h"
#include "platform/text.h"

namespace pellark {
namespace {

std::vector<int> Draws(std::uint32_t seed, int max, int count) {
  RandomGenerator random;
  random.SeedRandom(seed);
  std::vector<int> values;
  for (int i = 0; i < count; ++i) values.push_back(random.RandomUpTo(max));
  return values;
}

TEST(RandomTest, SeedOneGivesTheKnownSequence) {
  EXPECT_EQ(Draws(1, 255, 8), (std::vector<int>{184, 46, 155, 233, 0, 30, 129, 74}));
  EXPECT_EQ(Draws(1, 15, 8), (std::vector<int>{11, 2, 9, 14, 0, 1, 8, 4}));
}

TEST(RandomTest, RangeIsInclusiveAndNegativeMaximaGiveTheSmallestInteger) {
  for (const int value : Draws(7, 0, 100)) EXPECT_EQ(value, 0);
  bool sawMax = false;
  for (const int value : Draws(3, 1, 200)) {
    EXPECT_TRUE(value == 0 || value == 1);
    sawMax = sawMax || value == 1;
  }
  EXPECT_TRUE(sawMax);
  RandomGenerator random;
  random.SeedRandom(1);
  EXPECT_EQ(random.RandomUpTo(-1), -2147483647 - 1);
}

class ByteFileTest : public ::testing::Test {
 protected:
  std::filesystem::path Write(const std::string& name, const std::vector<unsigned char>& bytes) {
    const auto path = folder / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::filesystem::path folder = [] {
    auto path =
        std::filesystem::temp_directory_path() /
        ("pellark-bytes-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(path);
    return path;
  }();
};

TEST_F(ByteFileTest, ReadsBytesSignExtendedUntilTheEnd) {
  ByteFile file;
  ASSERT_TRUE(file.OpenFileForReading(Write("bytes", {0xC8, 0x00, 0x7F}).string()));
  std::vector<int> read;
  while (!file.AtEndOfFile()) read.push_back(file.ReadFileByte());
  EXPECT_EQ(read, (std::vector<int>{-56, 0, 127}));
  EXPECT_TRUE(file.AtEndOfFile());
  EXPECT_FALSE(file.ReadFailed());
}

TEST_F(ByteFileTest, OnlyRegularFilesCanBeOpened) {
  const auto fifo = folder / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  ByteFile file;
  EXPECT_FALSE(file.OpenFileForReading((folder / "missing").string()));
  EXPECT_FALSE(file.OpenFileForReading(folder.string()));
  EXPECT_FALSE(file.OpenFileForReading(fifo.string()));
  EXPECT_FALSE(file.OpenFileForReading(""));
  EXPECT_TRUE(file.AtEndOfFile());
}

TEST_F(ByteFileTest, PlainNamesAreFoundBesideTheProgramWhateverTheWorkingFolder) {
  const std::string name = "pellark-beside-test.bin";
  std::ofstream(ProgramFolder() / name) << "x";
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  ByteFile file;
  const bool opened = file.OpenFileForReading(name);
  file.CloseFileSlot();
  std::filesystem::current_path(previous);
  std::filesystem::remove(ProgramFolder() / name);
  EXPECT_TRUE(opened);
}

TEST_F(ByteFileTest, WritesLowBytesAndReportsAFailedWrite) {
  const auto path = (folder / "written").string();
  ByteFile file;
  ASSERT_TRUE(file.CreateFileForWriting(path));
  file.WriteFileByte(0x1A2);
  file.WriteFileByte(-1);
  EXPECT_TRUE(file.CloseFileSlot());
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "\xA2\xFF");

  EXPECT_FALSE(file.CreateFileForWriting((folder / "no-such-folder" / "file").string()));
  ASSERT_TRUE(file.CreateFileForWriting("/dev/full"));
  for (int i = 0; i < 10000; ++i) file.WriteFileByte(i);
  EXPECT_FALSE(file.CloseFileSlot());
}

TEST(TextTest, AddressesAreReadInTheTraceFormCNotationOrBare) {
  const std::vector<std::pair<std::string_view, std::optional<std::int32_t>>> cases{
      {"$2A4", 0x2A4}, {"0x2a4", 0x2A4}, {"2A4", 0x2A4}, {"0X1000", 0x1000}, {"$0", 0},
      {"1001", {}},    {"", {}},         {"$", {}},      {"0x", {}},         {"2G", {}},
      {"-1", {}},      {"$0x2", {}},     {" 200", {}},   {"000000200", {}},  {"00000200", 0x200}};
  for (const auto& [text, address] : cases) EXPECT_EQ(ParseAddress(text, 0x1000), address) << text;
}

TEST(HexDigitsTest, OneToEightDigitsInEitherCase) {
  const std::vector<std::pair<std::string_view, std::optional<std::uint32_t>>> cases{
      {"f", 0xF},        {"FFFFFFFF", 0xFFFFFFFF},
      {"100000000", {}}, {"", {}},
      {"+1", {}},        {"1 ", {}},
      {"0x1", {}},       {"aB", 0xAB}};
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseHexDigits(text), value) << text;
}

TEST(InspectorTextTest, MemoryRowsShowEveryCellAsTheTextItHolds) {
  InspectorSnapshot snapshot;
  snapshot.memory.resize(kDesignedMemoryCells);
  snapshot.memory[0x200] = {'A', '2'};
  snapshot.memory[0x201] = {'5', '\0'};
  snapshot.memory[0x202] = {'0', '\0'};
  const std::string row = MemoryRowText(snapshot, 0x20);
  EXPECT_TRUE(row.starts_with(" $200 A2 5  0  \u00B7  \u00B7 ")) << row;
  EXPECT_EQ(row.substr(static_cast<std::size_t>(MemoryCellColumn(1)), 1), "5");
  EXPECT_EQ(MemoryRowText(snapshot, 1).substr(0, 6), " $010 ");
  // The last row holds only the last cell.
  EXPECT_EQ(MemoryRowText(snapshot, MemoryRows(snapshot) - 1), "$1000 \u00B7 ");
}

TEST(InspectorTextTest, TheStateShowsRegistersInHexAndDecimalAndWhereTheMachineStopped) {
  InspectorSnapshot snapshot;
  snapshot.registers[0xA] = 0x2B;
  snapshot.registers[0x3] = 7;
  snapshot.stack[1] = 0x206;
  snapshot.breakpointStop = 0x204;
  const std::string text = StateText(snapshot);
  EXPECT_NE(text.find("\nV3   $07   7      VB   $00   0\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nV2   $00   0      VA   $2B   43\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nStack  0 $0       1 $206"), std::string::npos) << text;
  EXPECT_NE(text.find("\n      12 $0      13 $0"), std::string::npos) << text;
  EXPECT_TRUE(text.ends_with("\nStopped at breakpoint $204\n")) << text;
}

TEST(InspectorTextTest, XoChipsMemoryShowsEveryRowAndItsStateThePlanesPitchAndPattern) {
  InspectorSnapshot snapshot;
  snapshot.memory.resize(kXoChipMemoryCells);
  EXPECT_EQ(MemoryRows(snapshot), 4096);
  EXPECT_EQ(MemoryRowText(snapshot, 4095).substr(0, 6), "$FFF0 ");
  EXPECT_EQ(StateText(snapshot).find("Pattern"), std::string::npos);
  snapshot.xoChip = true;
  snapshot.planeMask = 3;
  snapshot.pitch = 128;
  snapshot.audioPattern.fill(0xF0);
  snapshot.audioPattern[15] = 0x0A;
  const std::string text = StateText(snapshot);
  EXPECT_NE(text.find("\nPlanes 3  Pitch 128\nPattern F0F0F0F0F0F0F0F0F0F0F0F0F0F0F00A\n"),
            std::string::npos)
      << text;
}

TEST(ImageTest, NewImagesAreBlackAndOutsideReadsAllBitsSet) {
  Image image;
  image.NewImage(64, 32);
  EXPECT_EQ(image.ReadPixel(0, 0), Black);
  EXPECT_EQ(image.ReadPixel(63, 31), Black);
  EXPECT_EQ(image.ReadPixel(64, 0), OutsideImage);
  EXPECT_EQ(image.ReadPixel(0, -1), OutsideImage);
  EXPECT_EQ(BlueOf(image.ReadPixel(64, 0)), 255);
  image.PutPixel(3, 4, White);
  image.PutPixel(64, 4, White);
  EXPECT_EQ(BlueOf(image.ReadPixel(3, 4)), 255);
  image.NewImage(64, 32);
  EXPECT_EQ(image.ReadPixel(3, 4), Black);
}

TEST(ImageTest, FillBoxIsClippedToTheImage) {
  Image image;
  image.NewImage(8, 4);
  image.FillBox(6, 2, 10, 10, White);
  EXPECT_EQ(image.ReadPixel(5, 3), Black);
  EXPECT_EQ(image.ReadPixel(6, 2), White);
  EXPECT_EQ(image.ReadPixel(7, 3), White);
  EXPECT_EQ(image.ReadPixel(6, 1), Black);
}

TEST(ImageTest, FillBoxFillsOnlyWhatLiesOnTheImage) {
  const struct {
    int x, y, width, height, lit;
  } boxes[] = {
      {6, 2, 10, 10, 4}, {-3, -1, 5, 3, 4},                    // over the edges
      {10, 0, 5, 2, 0},  {-9, 0, 5, 2, 0},  {0, 4, 8, 2, 0},   // beside the image
      {2, 1, 0, 3, 0},   {2, 1, -4, 3, 0},  {2, 1, 3, -1, 0},  // empty
  };
  for (const auto& box : boxes) {
    Image image;
    image.NewImage(8, 4);
    image.FillBox(box.x, box.y, box.width, box.height, White);
    int lit = 0;
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 8; ++x) lit += image.ReadPixel(x, y) == White ? 1 : 0;
    }
    EXPECT_EQ(lit, box.lit) << box.x << "," << box.y << " " << box.width << "x" << box.height;
  }
}

TEST(ImageTest, BlitAtAnOffsetDropsWhatFallsOutside) {
  Image source;
  source.NewImage(64, 32);
  source.FillBox(0, 0, 64, 32, White);
  Image target;
  target.NewImage(64, 32);
  target.BlitImage(source, 0, -6);
  EXPECT_EQ(target.ReadPixel(10, 25), White);
  EXPECT_EQ(target.ReadPixel(10, 26), Black);
  target.NewImage(64, 32);
  target.BlitImage(source, 60, 0);
  EXPECT_EQ(target.ReadPixel(59, 0), Black);
  EXPECT_EQ(target.ReadPixel(60, 0), White);
}

TEST(ImageTest, StretchedBlitMakesSolidBlocks) {
  Image source;
  source.NewImage(64, 32);
  source.PutPixel(1, 2, White);
  Image target;
  target.NewImage(256, 128);
  target.BlitImage(source, 0, 0, 256, 128);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 12; ++x) {
      EXPECT_EQ(target.ReadPixel(x, y), x >= 4 && x < 8 && y >= 8 && y < 12 ? White : Black)
          << x << "," << y;
    }
  }
}

TEST(ImageTest, DuplicatesAreIndependent) {
  Image source;
  source.NewImage(4, 4);
  source.PutPixel(1, 1, White);
  Image copy;
  copy.DuplicateImage(source);
  source.NewImage(2, 2);
  EXPECT_EQ(copy.Width(), 4);
  EXPECT_EQ(copy.ReadPixel(1, 1), White);
}

TEST(LineStoreTest, KeepsLinesInOrderAndCutsLongOnes) {
  LineStore store;
  store.Append("$200: Cls");
  store.Append(std::string(100, 'x'));
  EXPECT_EQ(store.Line(0), "$200: Cls");
  EXPECT_EQ(store.Line(1).size(), LineStore::kMaxLineLength);
  EXPECT_EQ(store.Line(2), "");
  EXPECT_EQ(store.Dropped(), 0u);
}

// Past its capacity the store drops its oldest lines, across the boundaries of its buffers, and
// keeps the newest ones in order.
class LineStoreDropTest : public ::testing::TestWithParam<std::size_t> {
 protected:
  static std::string NumberedLine(std::size_t number) {
    std::string line = "$";
    line += std::to_string(number);
    return line;
  }
};

TEST_P(LineStoreDropTest, DropsTheOldestLinesPastCapacity) {
  const std::size_t extra = GetParam();
  LineStore store;
  const std::size_t total = LineStore::kCapacity + extra;
  for (std::size_t i = 0; i < total; ++i) store.Append(NumberedLine(i));
  EXPECT_EQ(store.Size(), LineStore::kCapacity);
  EXPECT_EQ(store.Dropped(), extra);
  EXPECT_EQ(store.Line(0), NumberedLine(extra));
  EXPECT_EQ(store.Line(LineStore::kCapacity / 2), NumberedLine(extra + LineStore::kCapacity / 2));
  EXPECT_EQ(store.Line(LineStore::kCapacity - 1), NumberedLine(total - 1));
  EXPECT_EQ(store.Line(LineStore::kCapacity), "");
}

INSTANTIATE_TEST_SUITE_P(Overflows, LineStoreDropTest,
                         ::testing::Values(0u, 1u, 4095u, 4096u, 4097u, 1'000'001u));

}  // namespace
}  // namespace pellark
