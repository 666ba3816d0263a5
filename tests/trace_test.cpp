#include "machine_fixture.h"

namespace pellark {
namespace {

struct TraceCase {
  int address;
  std::vector<int> bytes;
  const char* line;
};

class TraceLineTest : public MachineTest, public ::testing::WithParamInterface<TraceCase> {};

TEST_P(TraceLineTest, ShowsTheAddressAndTheMnemonic) {
  const TraceCase& c = GetParam();
  machine.SetTrace(&trace);
  for (std::size_t i = 0; i < c.bytes.size(); ++i) {
    machine.SetCell(c.address + static_cast<int>(i), ToHexByte(c.bytes[i]));
  }
  machine.PC = c.address;
  machine.I = 0x300;
  machine.Registers[4] = 0x1B;
  machine.PendingKey = 3;
  machine.ExecuteInstruction();
  ASSERT_EQ(trace.lines.size(), 1u);
  EXPECT_EQ(trace.lines[0], c.line);
}

INSTANTIATE_TEST_SUITE_P(
    Mnemonics, TraceLineTest,
    ::testing::Values(TraceCase{0x200, {0x00, 0xE0}, "$200: Cls"},
                      TraceCase{0x2A4, {0x12, 0x05}, "$2A4: Jmp ,$205"},
                      TraceCase{0x200, {0x2A, 0xBC}, "$200: Jsr $ABC"},
                      TraceCase{0x200, {0x00, 0x00}, "$200: Nop"},
                      TraceCase{0x200, {0x00, 0xC7}, "$200: Scdown 7"},
                      TraceCase{0x200, {0x00, 0xEE}, "$200: Rts"},
                      TraceCase{0x200, {0x00, 0xFB}, "$200: Scright"},
                      TraceCase{0x200, {0x00, 0xFC}, "$200: Scleft"},
                      TraceCase{0x200, {0x00, 0xFE}, "$200: Low"},
                      TraceCase{0x200, {0x00, 0xFF}, "$200: High"},
                      TraceCase{0x200, {0x34, 0x05}, "$200: Skeq V4,$5"},
                      TraceCase{0x200, {0x4E, 0xA2}, "$200: Skne VE,$A2"},
                      TraceCase{0x200, {0x53, 0x40}, "$200: Skeqr V3,V4"},
                      TraceCase{0x200, {0x60, 0x05}, "$200: Mov V0,$5"},
                      TraceCase{0x200, {0x6A, 0xFF}, "$200: Mov VA,$FF"},
                      TraceCase{0x200, {0x7A, 0x0F}, "$200: Add VA,$F"},
                      TraceCase{0x200, {0x81, 0x20}, "$200: Mov V1,V2"},
                      TraceCase{0x200, {0x81, 0x21}, "$200: Or V1,V2"},
                      TraceCase{0x200, {0x81, 0x22}, "$200: And V1,V2"},
                      TraceCase{0x200, {0x81, 0x23}, "$200: Xor V1,V2"},
                      TraceCase{0x200, {0x81, 0x24}, "$200: Add V1,V2"},
                      TraceCase{0x200, {0x8A, 0x05}, "$200: Sub VA,V0"},
                      TraceCase{0x200, {0x81, 0x26}, "$200: Shr V1"},
                      TraceCase{0x200, {0x81, 0x27}, "$200: Rsb V1,V2"},
                      TraceCase{0x200, {0x81, 0x2E}, "$200: Shl V1"},
                      TraceCase{0x200, {0x91, 0x20}, "$200: Skne V1,V2"},
                      TraceCase{0x200, {0xA2, 0x05}, "$200: Mvi $205"},
                      TraceCase{0x200, {0xB3, 0x00}, "$200: Jmi $300"},
                      TraceCase{0x200, {0xC1, 0x0F}, "$200: Rnd V1,$F"},
                      TraceCase{0x200, {0xD0, 0x1F}, "$200: Drw V0,V1,15"},
                      TraceCase{0x200, {0xD0, 0x10}, "$200: XDrw V0,V1,0"},
                      TraceCase{0x200, {0xE5, 0x9E}, "$200: Skpr 3"},
                      TraceCase{0x200, {0xE5, 0xA1}, "$200: Skup 3"},
                      TraceCase{0x200, {0xF1, 0x07}, "$200: GDelay V1"},
                      TraceCase{0x200, {0xF1, 0x15}, "$200: SDelay V1"},
                      TraceCase{0x200, {0xF4, 0x18}, "$200: SSound V1B"},
                      TraceCase{0x200, {0xF1, 0x1E}, "$200: Addi V1"},
                      TraceCase{0x200, {0xF1, 0x29}, "$200: Font V1"},
                      TraceCase{0x200, {0xF1, 0x30}, "$200: Xfont V1"},
                      TraceCase{0x200, {0xF1, 0x33}, "$200: Bcd V1"},
                      TraceCase{0x200, {0xF3, 0x55}, "$200: Str V3"},
                      TraceCase{0x200, {0xF3, 0x65}, "$200: Ldr V3"},
                      TraceCase{0x200, {0xF3, 0x75}, "$200: Ld R,Vx"},
                      TraceCase{0x200, {0xF3, 0x85}, "$200: Ld Vx,R"},
                      // A one-character first cell shows its character as the register digit.
                      TraceCase{0x200, {0x06, 0x12}, "$200: Mov V6,$12"},
                      TraceCase{0xFFE, {0x1F, 0xFE}, "$FFE: Jmp ,$FFE"}));

TEST_F(MachineTest, SpritesAtOrBelow200ShowTheFiveRowsTheyDraw) {
  machine.SetTrace(&trace);
  machine.I = 0x200;
  Store(0x400, {0xD0, 0x1F});
  machine.PC = 0x400;
  Run();
  EXPECT_EQ(trace.lines.back(), "$400: Drw V0,V1,5");
}

TEST_F(MachineTest, KeyWaitTracesBeforeWaiting) {
  machine.SetTrace(&trace);
  Store(0x200, {0xF2, 0x0A});
  std::size_t linesWhileWaiting = 0;
  host.onPollEvents = [&] {
    linesWhileWaiting = trace.lines.size();
    keyboard.Hold(kScan1);
  };
  Run();
  EXPECT_EQ(linesWhileWaiting, 1u);
  EXPECT_EQ(trace.lines, std::vector<std::string>{"$200: Key V2"});
}

TEST_F(MachineTest, NothingIsTracedWhenTheTraceIsOffOrTheInstructionHasNoHandler) {
  Store(0x200, {0x60, 0x01, 0x81, 0x28});
  Run(2);
  EXPECT_TRUE(trace.lines.empty());
  machine.SetTrace(&trace);
  Store(0x204, {0x81, 0x2F, 0xE1, 0x00, 0xF1, 0x00});
  Run(3);
  EXPECT_TRUE(trace.lines.empty());
}

TEST_F(MachineTest, TransfersTraceTheirOwnAddress) {
  machine.SetTrace(&trace);
  Store(0x200, {0x23, 0x00});
  Store(0x300, {0x00, 0xEE});
  Run(2);
  EXPECT_EQ(trace.lines, (std::vector<std::string>{"$200: Jsr $300", "$300: Rts"}));
}

}  // namespace
}  // namespace pellark
