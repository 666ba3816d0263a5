// The front end's copy of the trace list follows the list control's life.
#include <gtest/gtest.h>

#include <string>

#include "frontend/trace_buffer.h"

namespace pellark {
namespace {

TEST(TraceBufferTest, KeepsOnlyTheLinesOfTheCurrentList) {
  TraceBuffer buffer;
  buffer.Append("$200: Cls");
  EXPECT_EQ(buffer.Lines().Size(), 0u) << "no list yet";
  buffer.Restart();
  buffer.Append("$200: Cls");
  buffer.Append("$202: Rts");
  ASSERT_EQ(buffer.Lines().Size(), 2u);
  EXPECT_EQ(buffer.Lines().Line(1), "$202: Rts");
  buffer.Restart();
  buffer.Append("$204: Jmp $204");
  ASSERT_EQ(buffer.Lines().Size(), 1u);
  EXPECT_EQ(buffer.Lines().Line(0), "$204: Jmp $204");
}

TEST(TraceBufferTest, PastCapacityKeepsTheNewestLines) {
  TraceBuffer buffer;
  buffer.Restart();
  for (std::size_t i = 0; i < LineStore::kCapacity + 3; ++i) buffer.Append(std::to_string(i));
  EXPECT_EQ(buffer.Lines().Size(), LineStore::kCapacity);
  EXPECT_EQ(buffer.Lines().Dropped(), 3u);
  EXPECT_EQ(buffer.Lines().Line(0), "3");
  buffer.Restart();
  EXPECT_EQ(buffer.Lines().Dropped(), 0u) << "a new list has dropped nothing";
}

}  // namespace
}  // namespace pellark
