// The front end's copy of the trace list follows the list control's life.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace pellark
