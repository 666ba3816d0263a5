#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "files/key_recording.h"

namespace pellark {

// A recording in progress: the keypad the machine read in each pass, kept as its changes, for
// the file named when it began.
class KeyRecorder {
 public:
  KeyRecorder(std::string path, std::string programSha1, const MachineRules& rules)
      : path_(std::move(path)) {
    recording_.programSha1 = std::move(programSha1);
    recording_.rules = rules;
  }

  const std::string& Path() const { return path_; }
  const KeyRecording& Recording() const { return recording_; }
  // After each pass, the keypad the machine read in it.
  void AfterPass(std::uint16_t keys) {
    recording_.passes += 1;
    if (keys == keys_) return;
    keys_ = keys;
    recording_.changes.push_back({recording_.passes, keys});
  }

 private:
  std::string path_;
  KeyRecording recording_;
  // None held before the first pass, as a replay begins.
  std::uint16_t keys_ = 0;
};

}  // namespace pellark
