#pragma once

#include <cstdint>

#include "files/key_recording.h"
#include "platform/keyboard.h"

namespace pellark {

// The keyboard of a replayed run: before each pass it holds the PC keys of the keypad keys the
// recording says the machine read in that pass.
class KeyReplay final : public KeyboardService {
 public:
  explicit KeyReplay(KeyRecording recording) : recording_(std::move(recording)) {}

  const KeyRecording& Recording() const { return recording_; }
  // The pass about to run, counted from 1.
  void BeginPass(std::uint64_t pass);
  // Every recorded pass has begun.
  bool Ended() const { return pass_ >= recording_.passes; }
  std::uint64_t Pass() const { return pass_; }

  bool SnapshotKeyboard() override {
    StoreSnapshot(snapshot_);
    return true;
  }

 private:
  KeyRecording recording_;
  std::uint64_t pass_ = 0;
  // The change in force, and the next one to come.
  std::size_t nextChange_ = 0;
  Snapshot snapshot_{};
};

}  // namespace pellark
