// The desktop program's command line: help and version need no display; a bad argument is
// refused with one line and status 2 once the toolkit has taken its own options.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pellark_process.h"

namespace pellark {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

const std::vector<std::string> kDisplayVariables{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};

RunResult RunWithoutDisplay(const std::vector<std::string>& arguments) {
  return RunExecutable(PELLARK_PATH, arguments, EnvironmentWithout(kDisplayVariables));
}

TEST(DesktopCommandLine, HelpAndVersionNeedNoDisplay) {
  for (const char* flag : {"--help", "-h"}) {
    const RunResult help = RunWithoutDisplay({flag, "game.ch8"});
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_EQ(help.err, "");
    EXPECT_THAT(help.out, StartsWith("Plays CHIP-8"));
    EXPECT_THAT(help.out, HasSubstr("[PROGRAM]"));
    EXPECT_THAT(help.out, HasSubstr("--version"));
  }
  // Qt's options before it are not taken for the program or refused.
  const RunResult version = RunWithoutDisplay({"-platform", "offscreen", "--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.OutLines(), std::vector<std::string>{"pellark (Pellark) " PELLARK_VERSION});
}

TEST(DesktopCommandLine, ABadArgumentGetsOneLineAndStatus2AfterQtTookItsOwn) {
  const ScratchFolder runtime;  // Qt warns without a runtime folder of its own
  std::vector<std::string> environment = EnvironmentWithout(kDisplayVariables);
  environment.push_back("XDG_RUNTIME_DIR=" + runtime.Path().string());
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"-platform", "offscreen", "--bogus"},
        std::vector<std::string>{"-platform", "offscreen", "-style", "fusion", "one.ch8",
                                 "two.ch8"},
        std::vector<std::string>{"--platform", "offscreen", "-x"}}) {
    const RunResult result = RunExecutable(PELLARK_PATH, arguments, environment);
    EXPECT_EQ(result.status, 2) << arguments.back();
    EXPECT_EQ(result.out, "");
    ASSERT_EQ(result.ErrLines().size(), 1u) << result.err;
    EXPECT_THAT(result.err, StartsWith("pellark: "));
  }
}

}  // namespace
}  // namespace pellark
