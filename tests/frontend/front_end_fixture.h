#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frontend/front_end.h"
#include "headless/headless_window_system.h"
#include "headless/recorded_sound.h"
#include "shared_folder.h"

namespace pellark {

// The shared CHIP-8 database, read once for all tests.
inline const DatabaseRead& SharedDatabase() {
  static const DatabaseRead read = ProgramDatabase::Read(SharedPath("chip-8-database"));
  return read;
}

// A started front end on the headless window system, with a small boot image of its own: a
// jump to itself at 0x100.
class FrontEndTest : public ::testing::Test {
 protected:
  FrontEndTest() {
    std::filesystem::create_directories(folder);
    std::vector<unsigned char> boot(0x102, 0);
    boot[0x100] = 0x11;
    WriteFile("Chip8.rom", boot);
    frontEnd.BootImagePath = folder / "Chip8.rom";
    // Not the user's copy, nor the one beside the tests: the one they were written against.
    frontEnd.UseProgramDatabase(SharedDatabase());
  }
  ~FrontEndTest() override { std::filesystem::remove_all(folder); }

  Machine& machine() { return frontEnd.machine(); }

  // One folder per test and process: the cases of a parameterised test (whose names hold a
  // "/") run side by side under ctest.
  static std::filesystem::path ScratchFolderName() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "-" + test->name();
    std::replace(name.begin(), name.end(), '/', '-');
    return std::filesystem::temp_directory_path() /
           ("pellark-front-end-" + name + "-" + std::to_string(::getpid()));
  }

  std::string WriteFile(const std::string& name, const std::vector<unsigned char>& bytes) {
    const auto path = folder / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }
  void Select(MenuId id) {
    window.QueueMenuSelection(static_cast<int>(id));
    frontEnd.PollEvents();
  }
  bool Marked(MenuId id) const { return window.GetItemCheck(static_cast<int>(id)); }
  // Writes a program at 0x200 and starts it there.
  void StartProgram(std::initializer_list<int> bytes) {
    std::int32_t address = kProgramStart;
    for (const int byte : bytes) machine().SetCell(address++, ToHexByte(byte));
    Select(MenuId::ResetAt200);
  }
  int BelowMenu() const { return window.ClientHeight() - HeadlessWindowSystem::kMenuHeight; }

  std::filesystem::path folder = ScratchFolderName();
  HeadlessWindowSystem window;
  RecordedSound sound;
  FrontEnd frontEnd{window, window, window, sound};
};

// The same, started.
class StartedFrontEndTest : public FrontEndTest {
 protected:
  StartedFrontEndTest() { started = frontEnd.StartUp(); }
  bool started = false;
};

}  // namespace pellark
