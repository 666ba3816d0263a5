// Creates the window system once; prints the error as the program does and ends with status 1
// when it cannot.
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/qt/qt_window_system.h"

int main(int argc, char** argv) {
  std::string error;
  if (pellark::CreateQtWindowSystem(argc, argv, error) == nullptr) {
    const std::string name = std::filesystem::path(argv[0]).filename().string();
    std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
    return 1;
  }
  return 0;
}
