#include "pellark-run/run_options.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <iostream>
#include <string_view>

#include "core/machine.h"
#include "files/program_database.h"
#include "platform/text.h"

namespace pellark {
namespace {

// The database decides by the program, as "Automatic" does in the menu.
constexpr std::string_view kAutomaticProfileName = "auto";

constexpr std::string_view kFooter =
    R"(Keypad keys are the hexadecimal digits 0 to F. Instructions are numbered from 1
as they execute; the timers count down every 25 of them (with frame timing, once
every frame of cycles-per-frame instructions), so a run does the same whatever
the speed. A key wait (Fx0A) with no key held starts the next --press at once;
with none left the run ends there, printing the wait's address on standard
error, and the outputs show the machine as it was when the wait began. In the
platform profiles the wait ends when its key is let go; each frame it waits
for that counts as a frame of instructions for the presses. A --break ends the
run as the end of -n does, then says "break at $ADDR" on standard error; a
--watch ends it before the instruction, which has not run, and says "watch at",
the instruction's trace line and the value it would change, old and new.
A --replay runs the passes of a key file (instructions and rounds of key
waits), with the keypad the window's machine read in each, under its rules:
the run ends as the recorded one did.

Profiles: "designed" is the machine exactly as designed; "chip8" (COSMAC VIP),
"modern", "schip10" (CHIP-48 / SUPER-CHIP 1.0), "schip" (SUPER-CHIP 1.1) and
"xochip" (or "octo") are the platforms of the CHIP-8 database: they run in
frames and take switches (shift, increment, memory, jump, clip, vblank, logic).
"auto" runs a program the CHIP-8 database knows by its platform, its own quirks
and its tick rate, anything else as designed. A run not as designed says its
rules in one line on standard error. A program that ends itself (00FD) ends the
run. The database is read from $XDG_DATA_HOME/pellark/chip-8-database (default
~/.local/share/pellark/chip-8-database) when it is there, else from the copy
installed with pellark-run.

Output order: trace lines as they come, then --state, each --memory line, then
--screen. Exit status: 0 after a run, 1 when an output cannot be written (a
closed output ends the run), 2 for bad input or a program or boot image that
cannot be read.

Examples:
  pellark-run -n 500000 --press 5@1000+200 --screen game.ch8
  pellark-run --trace -n 1000 game.ch8 > game.trace
  pellark-run --benchmark -n 100000000 loop.ch8)";

// A decimal number without sign; false for anything else, overflow included.
bool ParseDecimal(std::string_view text, std::uint64_t& value) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

[[noreturn]] void FailWith(const std::string& text, const std::string& message) {
  throw CLI::ValidationError("\"" + text + "\": " + message);
}

std::uint64_t ParseCount(const std::string& text) {
  std::uint64_t count = 0;
  if (!ParseDecimal(text, count))
    FailWith(text, "the instruction count must be a number from 0 on");
  return count;
}

std::int32_t ParseSpeed(const std::string& text) {
  std::uint64_t speed = 0;
  if (!ParseDecimal(text, speed) || speed > 100)
    FailWith(text, "the speed must be a percentage, 0 to 100");
  return static_cast<std::int32_t>(speed);
}

std::int32_t ParseCyclesPerFrame(const std::string& text) {
  std::uint64_t cycles = 0;
  if (!ParseDecimal(text, cycles) || cycles == 0 || cycles > 1'000'000) {
    FailWith(text, "the cycles per frame must be a number from 1 to 1000000");
  }
  return static_cast<std::int32_t>(cycles);
}

// An empty name would otherwise read as the option's absence.
std::string ParseFileName(const std::string& text) {
  if (text.empty()) FailWith(text, "the file name is empty");
  return text;
}

// "auto, designed, chip8, modern, schip10, schip or xochip".
std::string ProfileNameList() {
  std::string list(kAutomaticProfileName);
  for (std::size_t i = 0; i < kProfileTable.size(); ++i) {
    list += i + 1 < kProfileTable.size() ? ", " : " or ";
    list += kProfileTable[i].commandLineName;
  }
  return list;
}

}  // namespace

std::optional<Profile> ParseProfile(const std::string& text) {
  if (text == kAutomaticProfileName) return std::nullopt;
  const std::optional<Profile> profile = ProfileNamed(text);
  if (!profile) FailWith(text, "the profile must be " + ProfileNameList());
  return profile;
}

Switches ParseQuirks(const std::string& text) {
  const std::optional<Switches> switches = SwitchesNamed(text);
  if (!switches)
    FailWith(text, "the switches are shift, increment, memory, jump, clip, vblank and logic");
  return *switches;
}

KeyPress ParseKeyPress(const std::string& text) {
  const std::string_view view = text;
  const std::size_t at = view.find('@');
  if (at == std::string_view::npos) FailWith(text, "expected K@N or K@N+D");
  const std::optional<std::uint32_t> key =
      at == 1 ? ParseHexDigits(view.substr(0, 1)) : std::nullopt;
  if (!key) FailWith(text, "the key must be one hexadecimal digit, 0 to F");
  const std::string_view timing = view.substr(at + 1);
  const std::size_t plus = timing.find('+');
  KeyPress press{static_cast<int>(*key), 0, 1000};
  if (!ParseDecimal(timing.substr(0, plus), press.first) || press.first == 0) {
    FailWith(text, "the first instruction must be a number from 1 on");
  }
  if (plus != std::string_view::npos &&
      (!ParseDecimal(timing.substr(plus + 1), press.count) || press.count == 0)) {
    FailWith(text, "the duration must be a number of instructions from 1 on");
  }
  return press;
}

// Options are read before any machine exists: they take addresses up to XO-CHIP's last; in the
// smaller memory of the other profiles the cells past its end read as empty.
constexpr std::int32_t kLastAddress = kXoChipMemoryCells - 1;

const std::string& AddressRangeProblem() {
  static const std::string problem =
      "the address must be hexadecimal, 0 to " + HexText(kLastAddress);
  return problem;
}

MemoryRange ParseMemoryRange(const std::string& text) {
  const std::string_view view = text;
  const std::size_t colon = view.find(':');
  if (colon == std::string_view::npos) FailWith(text, "expected A:N");
  // Addresses may be written as the trace writes them, or in C notation.
  const std::optional<std::int32_t> address = ParseAddress(view.substr(0, colon), kLastAddress);
  if (!address) FailWith(text, AddressRangeProblem());
  std::uint64_t count = 0;
  if (!ParseDecimal(view.substr(colon + 1), count) || count == 0) {
    FailWith(text, "the cell count must be a number from 1 on");
  }
  if (count > static_cast<std::uint64_t>(kLastAddress + 1 - *address)) {
    FailWith(text, "memory ends at " + HexText(kLastAddress));
  }
  return {*address, static_cast<std::int32_t>(count)};
}

MemoryPoke ParseMemoryPoke(const std::string& text) {
  const std::string_view view = text;
  const std::size_t equals = view.find('=');
  if (equals == std::string_view::npos) FailWith(text, "expected A=V");
  const std::optional<std::int32_t> address = ParseAddress(view.substr(0, equals), kLastAddress);
  if (!address) FailWith(text, AddressRangeProblem());
  const std::string_view digits = view.substr(equals + 1);
  const std::optional<std::uint32_t> value =
      digits.size() <= 2 ? ParseHexDigits(digits) : std::nullopt;
  if (!value) FailWith(text, "the value must be a hexadecimal byte, 0 to FF");
  return {*address, static_cast<std::int32_t>(*value)};
}

std::int32_t ParseBreakAddress(const std::string& text) {
  const std::optional<std::int32_t> address = ParseAddress(text, kLastAddress);
  if (!address) FailWith(text, AddressRangeProblem());
  return *address;
}

Watchpoint ParseWatch(const std::string& text) {
  const std::optional<Watchpoint> watch = ParseWatchpoint(text);
  if (!watch) {
    FailWith(text,
             "expected a hexadecimal address with a cell count within memory (A or A:N), "
             "a register V0 to VF, or I");
  }
  return *watch;
}

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv) {
  RunOptions options;
  CLI::App app(
      "Runs a CHIP-8 or SUPER-CHIP program with no window: for testing, tracing and\n"
      "benchmarking programs. Deterministic: a fixed random seed, and timers and keys\n"
      "counted in instructions.",
      "pellark-run");
  app.set_version_flag("--version", [] {
    return "pellark-run (Pellark) " PELLARK_VERSION "\n" +
           ProgramDatabaseSummary(InstalledProgramDatabase());
  });
  app.footer(std::string(kFooter));
  app.get_formatter()->column_width(22);

  // Values are converted here rather than by the parser, which would wrap a negative count
  // around. Each option takes one value, so that the program after an option stays the program;
  // given twice, the last value counts.
  const auto option = [&app](const std::string& names, const std::string& typeName,
                             const std::string& description) {
    return app.add_option(names, description)
        ->type_name(typeName)
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  };
  option("PROGRAM", "",
         "program file to load at 0x200; without it the boot program\n"
         "runs from 0x100")
      ->each([&options](const std::string& text) { options.program = text; });
  option("--boot", "FILE",
         "boot image to load at address 0 (default: Chip8.rom beside\n"
         "pellark-run, or else in ../share/pellark/ from there)")
      ->each([&options](const std::string& text) { options.bootImage = ParseFileName(text); });
  option("-n,--instructions", "N", "stop after N executed instructions (default: 100000)")
      ->each([&options](const std::string& text) { options.instructionLimit = ParseCount(text); });
  option("--press", "K@N[+D]",
         "hold keypad key K while the instructions N to N+D-1 execute\n"
         "(D defaults to 1000); repeatable")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      ->each(
          [&options](const std::string& text) { options.presses.push_back(ParseKeyPress(text)); });
  option("--poke", "A=V",
         "store the byte V at hexadecimal address A once the program\n"
         "is loaded (a test's choice at 1FF, say); repeatable")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      ->each(
          [&options](const std::string& text) { options.pokes.push_back(ParseMemoryPoke(text)); });
  option("--speed", "P",
         "busy-wait after every instruction as at speed P percent,\n"
         "0 to 100 (default: none)")
      ->each([&options](const std::string& text) { options.speedPercent = ParseSpeed(text); });
  app.add_flag("--trace", options.trace, "print every trace line as it is added");
  app.add_flag("--screen", options.screen,
               "at the end print the display, # lit and . dark (+ and @ for\n"
               "XO-CHIP's second plane alone and both planes)");
  app.add_flag("--state", options.state, "at the end print PC, I, SP, the timers and V0 to VF");
  option("--memory", "A:N",
         "at the end print the N cells from hexadecimal address A,\n"
         "_ for an empty cell; repeatable")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      ->each([&options](const std::string& text) {
        options.memory.push_back(ParseMemoryRange(text));
      });
  option("--png", "FILE", "at the end write the display as a PNG, 4 x 4 pixels each")
      ->each([&options](const std::string& text) { options.png = ParseFileName(text); });
  option("--wav", "FILE",
         "at the end write the run's sound as a 16-bit mono WAV at\n"
         "48000 Hz, 800 samples a frame (as designed: silence, a\n"
         "frame every 25 instructions)")
      ->each([&options](const std::string& text) { options.wav = ParseFileName(text); });
  option("--gif", "FILE",
         "write the displayed frames as an animated GIF, 4 x 4 pixels\n"
         "each, at the machine's frame rate")
      ->each([&options](const std::string& text) { options.gif = ParseFileName(text); });
  option("--profile", "NAME",
         "the rules to run by: auto (default: the program database\n"
         "decides), designed, chip8, modern, schip10, schip or xochip")
      ->each([&options](const std::string& text) { options.profile = ParseProfile(text); });
  option("--quirks", "LIST",
         "turn on exactly these switches, comma-separated (shift,\n"
         "increment, memory, jump, clip, vblank, logic); \"\" turns all\n"
         "off")
      ->each([&options](const std::string& text) { options.quirks = ParseQuirks(text); });
  option("--cycles-per-frame", "N",
         "run in frames of N instructions, the timers stepping once a\n"
         "frame")
      ->each([&options](const std::string& text) {
        options.cyclesPerFrame = ParseCyclesPerFrame(text);
      });
  option("--break", "ADDR",
         "end the run before the first instruction fetched at\n"
         "hexadecimal address ADDR ($200, 200 or 0x200); repeatable")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      ->each([&options](const std::string& text) {
        options.breaks.push_back(ParseBreakAddress(text));
      });
  option("--watch", "ADDR[:N]|Vx|I",
         "end the run before the first instruction that writes one of\n"
         "the N cells (default 1) from hexadecimal address ADDR, or\n"
         "changes register Vx or I; repeatable")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      ->each([&options](const std::string& text) { options.watches.push_back(ParseWatch(text)); });
  CLI::Option* replay =
      option("--replay", "FILE",
             "run PROGRAM with the keys, rules and length of a key file\n"
             "recorded in the window (Emulation > Record keys...)")
          ->each([&options](const std::string& text) { options.replay = ParseFileName(text); })
          ->needs("PROGRAM");
  for (const char* name : {"--press", "--profile", "--quirks", "--cycles-per-frame", "-n"}) {
    replay->excludes(app.get_option(name));
  }
  app.add_flag("--info", options.info,
               "print what the program database says of PROGRAM, and the\n"
               "rules it would run by, instead of running it")
      ->needs("PROGRAM");
  app.add_flag("--benchmark", options.benchmark,
               "at the end print the instructions executed, the seconds and\n"
               "the instructions per second on standard error");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    return {std::nullopt, app.exit(help)};
  } catch (const CLI::CallForVersion& version) {
    return {std::nullopt, app.exit(version)};
  } catch (const CLI::ParseError& error) {
    std::cerr << "pellark-run: " << error.what() << std::endl;
    return {std::nullopt, 2};
  }
  return {std::move(options), 0};
}

}  // namespace pellark
