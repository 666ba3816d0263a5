// Step, breakpoints, the Inspector's snapshots and Save trace, through the whole front end.
#include <fstream>
#include <sstream>

#include "front_end_fixture.h"

namespace pellark {
namespace {

using Kind = WindowEvent::Kind;

class InspectorTest : public StartedFrontEndTest {
 protected:
  void Send(WindowEvent event) {
    window.QueueEvent(event);
    frontEnd.PollEvents();
  }
  const InspectorSnapshot& Inspect() {
    Send({Kind::InspectorDue});
    return *window.Inspected();
  }
  std::vector<std::string> TraceLines() const {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < window.List()->lines.Size(); ++i)
      lines.emplace_back(window.List()->lines.Line(i));
    return lines;
  }
  void Passes(int count) {
    for (int i = 0; i < count; ++i) frontEnd.RunPass();
  }
};

struct StepCase {
  const char* name;
  std::vector<int> program;
  int steps;
  std::vector<std::string> lines;
  std::int32_t nextFetch;
};

// Failures name the case, not its bytes.
void PrintTo(const StepCase& step, std::ostream* out) {
  *out << step.name;
}

class StepTest : public InspectorTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(StepTest, RunsExactlyOnePassOfAStoppedMachine) {
  const StepCase& step = GetParam();
  Select(MenuId::Debugger);
  for (std::size_t i = 0; i < step.program.size(); ++i)
    machine().SetCell(kProgramStart + static_cast<int>(i), ToHexByte(step.program[i]));
  Select(MenuId::ResetAt200);
  Select(MenuId::Stop);
  for (int i = 0; i < step.steps; ++i) Select(MenuId::Step);
  EXPECT_EQ(TraceLines(), step.lines);
  EXPECT_EQ(machine().NextFetchAddress(), step.nextFetch);
  EXPECT_EQ(machine().InstructionCount, static_cast<std::uint64_t>(step.steps));
  // The timers step as in a running pass; the machine stays stopped.
  EXPECT_EQ(machine().TimerTick, step.steps);
  EXPECT_FALSE(machine().Running);
  EXPECT_TRUE(Marked(MenuId::Stop));
}

const std::vector<int> kSkipProgram{0x30, 0x00, 0x6A, 0x2B, 0x6B, 0x01};

INSTANTIATE_TEST_SUITE_P(
    Steps, StepTest,
    ::testing::Values(
        StepCase{"OneInstruction", {0x6A, 0x2B, 0x12, 0x02}, 1, {"$200: Mov VA,$2B"}, 0x202},
        StepCase{"AJump", {0x12, 0x06}, 1, {"$200: Jmp ,$206"}, 0x206},
        StepCase{"ATrueSkip", kSkipProgram, 1, {"$200: Skeq V0,$0"}, 0x202},
        // The skipped instruction takes a step of its own and shows no line.
        StepCase{"TheSkippedInstruction", kSkipProgram, 2, {"$200: Skeq V0,$0"}, 0x204},
        StepCase{"PastTheSkip", kSkipProgram, 3, {"$200: Skeq V0,$0", "$204: Mov VB,$1"}, 0x206}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InspectorTest, StepDoesNothingWhileRunning) {
  StartProgram({0x12, 0x00});
  Select(MenuId::Step);
  EXPECT_EQ(machine().InstructionCount, 0u);
}

TEST_F(InspectorTest, AStepIntoAKeyWaitWaitsWhileTheCommandsWork) {
  StartProgram({0xF3, 0x0A, 0x60, 0x05});
  Select(MenuId::Stop);
  // Polled while it waits: a second step must not start; Run and Stop work; Quit ends it.
  const std::initializer_list<MenuId> commands = {MenuId::Step, MenuId::Run, MenuId::Stop,
                                                  MenuId::Quit};
  for (const MenuId id : commands) window.QueueMenuSelection(static_cast<int>(id));
  frontEnd.RunCommand(MenuId::Step);
  for (std::size_t pass = 0; pass < commands.size(); ++pass) {
    EXPECT_TRUE(machine().WaitingForKey());
    frontEnd.RunPass();
  }
  EXPECT_FALSE(machine().WaitingForKey());
  EXPECT_EQ(window.PendingEvents(), 0u);
  EXPECT_EQ(machine().InstructionCount, 1u);
  EXPECT_EQ(machine().Registers[3], 15);
  EXPECT_FALSE(machine().Running);
  EXPECT_TRUE(Marked(MenuId::Stop));

  // A reset ends the wait too, and starts the machine at its address.
  Select(MenuId::ResetAt200);
  Select(MenuId::Stop);
  window.QueueMenuSelection(static_cast<int>(MenuId::Reset));
  frontEnd.RunCommand(MenuId::Step);
  frontEnd.RunPass();
  EXPECT_EQ(machine().PC, 0x100);
  EXPECT_TRUE(machine().Running);
}

TEST_F(InspectorTest, WithFrameTimingAStepCountsTowardTheFrameAndShowsItsEnd) {
  Select(MenuId::ProfileXoChip);
  Select(MenuId::Cycles7);
  StartProgram({0x60, 0x05, 0xF0, 0x15, 0x12, 0x04});
  Select(MenuId::Stop);
  const int pictures = window.PictureCount();
  for (int i = 0; i < 7; ++i) Select(MenuId::Step);
  // DT was set to 5 by the second step; the seventh ended the frame.
  EXPECT_EQ(machine().FrameCycle, 0);
  EXPECT_EQ(machine().DelayTimer, 4);
  // Every step shows the display; the frame's end once more.
  EXPECT_EQ(window.PictureCount(), pictures + 8);
}

TEST_F(InspectorTest, BreakpointsStopBeforeTheInstructionAndRunOnFromIt) {
  StartProgram({0x60, 0x01, 0x61, 0x02, 0x62, 0x03, 0x12, 0x06});
  Send({Kind::BreakpointToggle, 0, 0x204});
  Send({Kind::BreakpointToggle, 0, 0x206});
  Passes(5);
  EXPECT_FALSE(machine().Running);
  EXPECT_TRUE(Marked(MenuId::Stop));
  EXPECT_FALSE(Marked(MenuId::Run));
  EXPECT_EQ(machine().NextFetchAddress(), 0x204);
  EXPECT_EQ(machine().Registers[2], 0);
  EXPECT_EQ(machine().InstructionCount, 2u);
  EXPECT_EQ(Inspect().breakpointStop, 0x204);
  EXPECT_EQ(Inspect().breakpoints, (std::vector<std::int32_t>{0x204, 0x206}));

  // Run goes on from the breakpoint, to the next one.
  Select(MenuId::Run);
  Passes(3);
  EXPECT_EQ(machine().Registers[2], 3);
  EXPECT_EQ(machine().NextFetchAddress(), 0x206);
  EXPECT_FALSE(machine().Running);
  // The jump to itself reaches its breakpoint anew after one pass.
  Select(MenuId::Run);
  Passes(3);
  EXPECT_EQ(machine().InstructionCount, 4u);
  EXPECT_FALSE(machine().Running);

  // Removed and toggled off, they stop nothing.
  Send({Kind::BreakpointRemove, 0, 0x206});
  Send({Kind::BreakpointToggle, 0, 0x204});
  EXPECT_TRUE(Inspect().breakpoints.empty());
  Select(MenuId::Run);
  Passes(3);
  EXPECT_EQ(machine().InstructionCount, 7u);
  EXPECT_TRUE(machine().Running);
}

TEST_F(InspectorTest, WatchpointsStopBeforeTheChangeAndRunOnFromIt) {
  // V2 = 3, I = 300, V2 = 3 again, then V2 += 1 and a jump back to it.
  StartProgram({0x62, 0x03, 0xA3, 0x00, 0x62, 0x03, 0x72, 0x01, 0x12, 0x06});
  Send({.kind = Kind::WatchpointToggle, .text = "V2"});
  Send({.kind = Kind::WatchpointToggle, .text = "i"});
  EXPECT_EQ(Inspect().watchpoints, (std::vector<std::string>{"V2", "I"}));
  Passes(3);
  EXPECT_FALSE(machine().Running);
  EXPECT_EQ(machine().InstructionCount, 0u);
  EXPECT_EQ(Inspect().watchStop, "$200: Mov V2,$3: V2 $00 -> $03");
  EXPECT_NE(StateText(Inspect()).find("Stopped at watchpoint: $200: Mov V2,$3"), std::string::npos);

  Select(MenuId::Run);
  Passes(3);
  EXPECT_EQ(machine().Registers[2], 3);
  EXPECT_EQ(Inspect().watchStop, "$202: Mvi $300: I $1 -> $300");
  // Storing the value V2 already holds changes nothing: the add is the next stop.
  Select(MenuId::Run);
  Passes(4);
  EXPECT_EQ(machine().InstructionCount, 3u);
  EXPECT_EQ(Inspect().watchStop, "$206: Add V2,$1: V2 $03 -> $04");
  // A step runs the instruction and leaves no stop to show.
  Select(MenuId::Step);
  EXPECT_EQ(machine().Registers[2], 4);
  EXPECT_EQ(Inspect().watchStop, "");

  Send({.kind = Kind::WatchpointRemove, .text = "V2"});
  Send({.kind = Kind::WatchpointToggle, .text = "I"});
  EXPECT_TRUE(Inspect().watchpoints.empty());
  Select(MenuId::Run);
  Passes(6);
  EXPECT_TRUE(machine().Running);
}

TEST_F(InspectorTest, AWatchpointStopsAtTheInstructionABreakpointStoppedBefore) {
  StartProgram({0x60, 0x01, 0x61, 0x02, 0x12, 0x04});
  Send({Kind::BreakpointToggle, 0, 0x202});
  Send({.kind = Kind::WatchpointToggle, .text = "V1"});
  Passes(3);
  EXPECT_EQ(Inspect().breakpointStop, 0x202);
  Select(MenuId::Run);
  Passes(2);
  EXPECT_FALSE(machine().Running);
  EXPECT_EQ(machine().Registers[1], 0);
  EXPECT_EQ(Inspect().watchStop, "$202: Mov V1,$2: V1 $00 -> $02");
}

TEST_F(InspectorTest, AWatchpointThatNamesNothingIsRefusedWithAMessage) {
  Send({.kind = Kind::WatchpointToggle, .text = "V3:2"});
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_NE(window.Messages()[0].text.find("\"V3:2\" is no watchpoint"), std::string::npos);
  EXPECT_TRUE(Inspect().watchpoints.empty());
}

TEST_F(InspectorTest, AResetStopsAtABreakpointOnTheFirstInstruction) {
  Send({Kind::BreakpointToggle, 0, 0x200});
  StartProgram({0x60, 0x01});
  frontEnd.RunPass();
  EXPECT_FALSE(machine().Running);
  EXPECT_EQ(machine().InstructionCount, 0u);
}

TEST_F(InspectorTest, F4OpensAndClosesTheInspectorAndItsCloseBoxClearsTheMark) {
  Select(MenuId::Inspector);
  EXPECT_TRUE(window.InspectorOpen());
  EXPECT_TRUE(Marked(MenuId::Inspector));
  Select(MenuId::Inspector);
  EXPECT_FALSE(window.InspectorOpen());
  Select(MenuId::Inspector);
  Send({Kind::InspectorClosed});
  EXPECT_FALSE(Marked(MenuId::Inspector));
}

TEST_F(InspectorTest, SnapshotsShowTheMachineAndTheViewsChoices) {
  StartProgram({0x6A, 0x2B, 0xA3, 0x21, 0x23, 0x00});
  machine().SetCell(0x300, ToHexByte(0x12));
  machine().SetCell(0x301, ToHexByte(0x05));
  Passes(3);
  Select(MenuId::Stop);
  const InspectorSnapshot& shown = Inspect();
  // After the call: PC at its target, the next fetch there too, the return address in slot 1.
  EXPECT_EQ(shown.nextFetch, 0x300);
  EXPECT_EQ(shown.stack[1], 0x206);
  EXPECT_EQ(std::string(shown.memory[0x200].data(), 2), "6A");
  EXPECT_EQ(std::string(shown.memory[0x301].data(), 2), std::string("5\0", 2));
  EXPECT_EQ(shown.instructionCount, 3u);
  EXPECT_EQ(shown.pace, "Speed: 75%");

  // Go to is carried out once and ends following PC; following can be asked for again.
  Send({Kind::MemoryGoTo, 0, 0x800});
  EXPECT_EQ(Inspect().goTo, 0x800);
  EXPECT_FALSE(Inspect().followPc);
  EXPECT_EQ(Inspect().goTo, -1);
  Send({Kind::FollowPc, 0, 0, true});
  EXPECT_TRUE(Inspect().followPc);

  Select(MenuId::ProfileSuperChip);
  Select(MenuId::Cycles30);
  EXPECT_EQ(Inspect().pace, "Profile: SUPER-CHIP 1.1, 30 cycles per frame");
}

TEST_F(InspectorTest, SaveTraceWritesTheListsLinesOrSaysItCannot) {
  Select(MenuId::Debugger);
  StartProgram({0x60, 0x01, 0x12, 0x02});
  Passes(2);
  const auto path = folder / "trace.txt";
  window.QueueSaveAnswer(path.string());
  Select(MenuId::SaveTrace);
  std::ostringstream saved;
  saved << std::ifstream(path).rdbuf();
  EXPECT_EQ(saved.str(), "$200: Mov V0,$1\n$202: Jmp ,$202\n");
  EXPECT_TRUE(window.Messages().empty());

  // A folder in the way cannot be replaced; it stays, and nothing is left beside it.
  std::filesystem::create_directory(folder / "taken");
  window.QueueSaveAnswer((folder / "taken").string());
  Select(MenuId::SaveTrace);
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_EQ(window.Messages()[0].text, "Error: Can't write the file");
  EXPECT_TRUE(std::filesystem::is_directory(folder / "taken"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 3);
}

}  // namespace
}  // namespace pellark
