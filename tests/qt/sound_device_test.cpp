// The desktop's sound device when there is no sound server to play on.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/qt/qt_sound.h"

namespace pellark {
namespace {

TEST(SoundDevice, WithoutASoundServerIsUnavailableAndSaysNothingOnTheConsole) {
  setenv("PULSE_SERVER", "unix:/nonexistent/pellark-no-sound-server", 1);
  std::FILE* console = std::tmpfile();
  ASSERT_NE(console, nullptr);
  std::fflush(stderr);
  const int standardError = dup(STDERR_FILENO);
  dup2(fileno(console), STDERR_FILENO);
  const auto sound = CreateQtSound();
  std::fflush(stderr);
  dup2(standardError, STDERR_FILENO);
  close(standardError);

  EXPECT_FALSE(sound->Available());
  std::string said(4096, '\0');
  std::rewind(console);
  said.resize(std::fread(said.data(), 1, said.size(), console));
  std::fclose(console);
  EXPECT_EQ(said, "");
  // Frames and silences go nowhere.
  const std::int16_t frame[4] = {1, 2, 3, 4};
  sound->PlayFrame(frame);
  sound->Silence();
  EXPECT_EQ(sound->Underruns(), 0u);
}

}  // namespace
}  // namespace pellark
