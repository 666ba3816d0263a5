// libFuzzer target: every input is a program file, loaded as the Load command loads one, run
// with random keys in every profile, and turned into every output pellark-run makes of a
// machine.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/instruction_pass.h"
#include "core/keypad_map.h"
#include "core/machine.h"
#include "core/machine_host.h"
#include "files/program_file.h"
#include "pellark-run/machine_report.h"
#include "platform/keyboard.h"
#include "platform/png_file.h"
#include "trace/trace_log.h"

namespace pellark {
namespace {

constexpr int kInstructionLimit = 20000;

// A broken rule is a crash, which is what the fuzzer reports.
void Check(bool holds, const char* rule) {
  if (holds) return;
  std::fprintf(stderr, "broken: %s\n", rule);
  std::abort();
}

// Where the input and the PNG are written, removed when the fuzzer ends.
const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "pellark-fuzz-XXXXXX").string();
    Check(mkdtemp(pattern.data()) != nullptr, "a scratch folder can be created");
    std::atexit([] { std::filesystem::remove_all(ScratchFolder()); });
    return std::filesystem::path(pattern);
  }();
  return folder;
}

// No window: trace lines are built and dropped, key waits are answered by the keyboard.
class SilentHost final : public MachineHost, public TraceLog {
 public:
  void AddTraceLine(std::string_view) override {}
};

// Now and then a new random set of keypad keys is held, so that key tests go both ways and
// every key wait soon ends. Seeded from the input, so that a crash can be replayed.
class RandomKeys final : public KeyboardService {
 public:
  explicit RandomKeys(std::uint32_t seed) : random_(seed) {}

  bool SnapshotKeyboard() override {
    if (random_() % 64 != 0) return true;
    Snapshot held{};
    for (const KeypadKey& entry : kKeypadMap) {
      held[static_cast<std::size_t>(entry.scanCode)] = random_() % 8 == 0 ? 0x80 : 0;
    }
    StoreSnapshot(held);
    return true;
  }

 private:
  std::minstd_rand random_;
};

std::uint32_t SeedOf(std::span<const std::uint8_t> input) {
  std::uint32_t hash = 2166136261u;
  for (const std::uint8_t byte : input) hash = (hash ^ byte) * 16777619u;
  return hash;
}

// Loads the program into the started machine as Load does: a program too large for memory is
// refused with memory as it was, any other is stored byte by byte from 0x200.
void LoadAsLoadDoes(Machine& machine, std::span<const std::uint8_t> program) {
  const std::filesystem::path path = ScratchFolder() / "program.ch8";
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(program.data()),
             static_cast<std::streamsize>(program.size()));
  const auto before = machine.MemoryCells;
  const FileBytes report = ReadProgramFile(path.string(), ProgramCapacity(machine));
  machine.LoadProgram(report.bytes);
  Check(machine.PC == kProgramStart, "a load leaves PC at 0x200");
  if (program.size() > static_cast<std::size_t>(ProgramCapacity(machine))) {
    Check(report.failure == ReadFailure::TooLarge, "an oversize program is refused");
    Check(machine.MemoryCells == before, "a refused program leaves memory as it was");
    return;
  }
  Check(report.failure == ReadFailure::None, "a program that fits is loaded");
  for (std::size_t k = 0; k < program.size(); ++k) {
    Check(machine.Cell(kProgramStart + static_cast<std::int32_t>(k)) == ToHexByte(program[k]),
          "every program byte is stored as its cell text");
  }
}

// Runs the loaded machine for up to kInstructionLimit instructions with random keys (fewer
// when the program ends itself), then
// builds every output: the trace lines as it goes, the state, all of memory, the screen and
// the PNG.
void RunLoadedMachine(Machine& machine, TraceLog& trace) {
  machine.SetTrace(&trace);
  for (int executed = 0; executed < kInstructionLimit && machine.Running == 1; ++executed) {
    RunInstructionPass(machine, kNoPacing);
  }
  const std::string state = StateLine(machine);
  const std::string memory = MemoryLine(machine, {0, machine.LastCell() + 1});
  const std::string screen = ScreenText(machine);
  Check(state.starts_with("PC=") && memory.size() > static_cast<std::size_t>(machine.LastCell()),
        "the state and memory lines");
  // "PLANE=n PITCH=n PATTERN=" and 32 digits.
  if (machine.Rules.xoChip) {
    const std::string xoChipState = XoChipStateLine(machine);
    Check(xoChipState.starts_with("PLANE=") &&
              xoChipState.find(" PATTERN=") + 9 + 32 == xoChipState.size(),
          "XO-CHIP's state line");
  }
  Check(screen.size() ==
            static_cast<std::size_t>((machine.ScreenWidth() + 1) * machine.ScreenHeight()),
        "the screen text has a line per display row");
  const std::string error =
      WritePng(GreyPicture(machine), kPictureBlock, (ScratchFolder() / "screen.png").string());
  Check(error.empty(), "the PNG can be written");
}

}  // namespace
}  // namespace pellark

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  static const std::optional<std::vector<std::uint8_t>> bootImage =
      []() -> std::optional<std::vector<std::uint8_t>> {
    pellark::FileBytes read =
        pellark::ReadBootImage(pellark::DefaultBootImagePath(), pellark::kDesignedMemoryCells);
    if (!read.Read()) return std::nullopt;
    return std::move(read.bytes);
  }();
  for (const pellark::ProfileEntry& profile : pellark::kProfileTable) {
    pellark::SilentHost host;
    pellark::RandomKeys keys(pellark::SeedOf(input));
    pellark::Machine machine(host, keys);
    machine.BootImage = bootImage;
    machine.StartUp();
    machine.UseRules(profile.rules);
    pellark::LoadAsLoadDoes(machine, input);
    pellark::RunLoadedMachine(machine, host);
  }
  return 0;
}
