// Instructions are decoded once per address and kept until a cell under them is written:
// programs that write over their own code must run what the cells hold now.
#include "machine_fixture.h"

namespace pellark {
namespace {

struct SelfModifyingProgram {
  const char* what;
  std::vector<int> bytes;
  int steps;
  std::vector<std::string> trace;
};

// Failures name the program, not its bytes.
void PrintTo(const SelfModifyingProgram& program, std::ostream* out) {
  *out << program.what;
}

const SelfModifyingProgram kPrograms[] = {
    {"Str over an instruction run before",
     {0xA2, 0x0C, 0x60, 0x6A, 0x61, 0x2B, 0x22, 0x0C, 0xF1, 0x55, 0x22, 0x0C, 0x63, 0x05, 0x00,
      0xEE},
     10,
     {"$200: Mvi $20C", "$202: Mov V0,$6A", "$204: Mov V1,$2B", "$206: Jsr $20C", "$20C: Mov V3,$5",
      "$20E: Rts", "$208: Str V1", "$20A: Jsr $20C", "$20C: Mov VA,$2B", "$20E: Rts"}},
    {"Bcd over the second cell of a jump run before",
     {0x12, 0x0A, 0, 0, 0, 0, 0, 0, 0, 0, 0xA2, 0x01, 0x60, 0x35, 0xF0, 0x33, 0x12, 0x00},
     6,
     {"$200: Jmp ,$20A", "$20A: Mvi $201", "$20C: Mov V0,$35", "$20E: Bcd V0", "$210: Jmp ,$200",
      "$200: Jmp ,$200"}},
    {"Str over the first cell only",
     {0x60, 0x72, 0xA2, 0x0A, 0x22, 0x0A, 0xF0, 0x55, 0x22, 0x0A, 0x71, 0x01, 0x00, 0xEE},
     9,
     {"$200: Mov V0,$72", "$202: Mvi $20A", "$204: Jsr $20A", "$20A: Add V1,$1", "$20C: Rts",
      "$206: Str V0", "$208: Jsr $20A", "$20A: Add V2,$1", "$20C: Rts"}},
};

class DecodeCacheTest : public MachineTest,
                        public ::testing::WithParamInterface<SelfModifyingProgram> {};

TEST_P(DecodeCacheTest, RunsWhatTheCellsHoldNow) {
  const SelfModifyingProgram& program = GetParam();
  machine.SetTrace(&trace);
  for (std::size_t i = 0; i < program.bytes.size(); ++i)
    Store(0x200 + static_cast<int>(i), {program.bytes[i]});
  Run(program.steps);
  EXPECT_EQ(trace.lines, program.trace) << program.what;
}

INSTANTIATE_TEST_SUITE_P(Programs, DecodeCacheTest, ::testing::ValuesIn(kPrograms),
                         [](const ::testing::TestParamInfo<SelfModifyingProgram>& info) {
                           return "case" + std::to_string(info.index);
                         });

TEST_F(DecodeCacheTest, AResetAt200KeepsTheDecodedProgramAndAFullResetForgetsIt) {
  machine.SetTrace(&trace);
  Store(0x200, {0x60, 0x07, 0x12, 0x00});
  Run(2);
  machine.ResetMachine();
  Run(1);
  EXPECT_EQ(trace.lines.back(), "$200: Mov V0,$7");
  // The full reset empties memory and loads the boot image, which ends before 0x200.
  machine.ResetAddress = kBootStart;
  machine.ResetMachine();
  machine.PC = 0x200;
  const std::size_t lines = trace.lines.size();
  Run(1);
  EXPECT_EQ(trace.lines.size(), lines);
  EXPECT_EQ(machine.PC, 0x200);
}

// A memory of any size: the last cell reads as the end of an instruction there, and a write
// to either cell of an instruction is seen by its next fetch.
TEST(TextMemoryTest, AnySizeDecodesToItsLastCellAndForgetsWrittenInstructions) {
  for (const std::size_t cells : {std::size_t{kDesignedMemoryCells}, std::size_t{65536}}) {
    TextMemory memory(cells);
    const std::int32_t last = memory.LastAddress();
    EXPECT_EQ(last, static_cast<std::int32_t>(cells) - 1);
    memory.Set(static_cast<std::size_t>(last), ToHexByte(0x12));
    EXPECT_EQ(memory.InstructionAt(last).operation, Operation::Jmp) << cells;
    EXPECT_EQ(memory.InstructionAt(last + 1).kind, Instruction::Kind::NoHandler) << cells;
    const auto first = static_cast<std::size_t>(last - 1);
    memory.Set(first, ToHexByte(0x60));
    EXPECT_EQ(memory.InstructionAt(last - 1).operation, Operation::MovByte) << cells;
    memory.Set(first + 1, ToHexByte(0x70));
    EXPECT_EQ(memory.InstructionAt(last - 1).kk, 0x70) << cells;
  }
}

}  // namespace
}  // namespace pellark
