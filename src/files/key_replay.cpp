#include "files/key_replay.h"

#include "core/keypad_map.h"

namespace pellark {

void KeyReplay::BeginPass(std::uint64_t pass) {
  pass_ = pass;
  const std::vector<KeyRecording::Change>& changes = recording_.changes;
  if (nextChange_ >= changes.size() || changes[nextChange_].pass > pass) return;
  while (nextChange_ + 1 < changes.size() && changes[nextChange_ + 1].pass <= pass) ++nextChange_;
  const std::uint16_t keys = changes[nextChange_++].keys;
  for (int key = 0; key < 16; ++key) {
    snapshot_[static_cast<std::size_t>(ScanCodeOfKeypadKey(key))] =
        (keys >> key & 1) != 0 ? 0x80 : 0;
  }
}

}  // namespace pellark
