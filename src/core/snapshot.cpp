#include "core/snapshot.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <type_traits>

#include "core/machine.h"
#include "core/machine_host.h"
#include "platform/keyboard.h"

namespace pellark {
namespace {

// Fields become little-endian integers; containers are preceded by their length.
class SnapshotWriter {
 public:
  explicit SnapshotWriter(Snapshot& bytes) : bytes_(bytes) {}

  template <typename Integer>
  requires std::is_integral_v<Integer>
  void operator()(const Integer& value) {
    const auto bits = static_cast<std::uint64_t>(value);
    for (std::size_t i = 0; i < sizeof(Integer); ++i) {
      bytes_.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    }
  }
  void operator()(double value) { (*this)(std::bit_cast<std::uint64_t>(value)); }
  template <typename Element, std::size_t N>
  void operator()(const std::array<Element, N>& values) {
    for (const Element& value : values) (*this)(value);
  }
  void operator()(const MachineRules& rules) {
    for (const RuleFlag& flag : kRuleFlags) (*this)(rules.*flag.field);
    (*this)(rules.flagRegisterCount);
    (*this)(rules.cyclesPerFrame);
    for (const SwitchName& name : kSwitchNames) (*this)(rules.switches.*name.field);
  }
  void operator()(const TextMemory& memory) {
    (*this)(static_cast<std::uint32_t>(memory.Size()));
    // Three bytes a cell, its length and both characters (zero when unused), so that snapshots
    // of one memory line up byte for byte and differ only where cells do; written through a
    // pointer, as the main loop takes snapshots as it runs.
    const std::size_t start = bytes_.size();
    bytes_.resize(start + 3 * memory.Size());
    std::uint8_t* out = bytes_.data() + start;
    for (std::size_t address = 0; address < memory.Size(); ++address) {
      // A copy: the text views the cell it comes from.
      const HexByte cell = memory[address];
      const std::string_view text = cell.Text();
      out[0] = static_cast<std::uint8_t>(text.size());
      out[1] = static_cast<std::uint8_t>(text.size() > 0 ? text[0] : 0);
      out[2] = static_cast<std::uint8_t>(text.size() > 1 ? text[1] : 0);
      out += 3;
    }
  }
  void operator()(const DisplayPlane& plane) {
    (*this)(plane.Width());
    (*this)(plane.Height());
    // Eight pixels to a byte.
    const std::vector<std::uint8_t>& pixels = plane.Pixels();
    for (std::size_t i = 0; i < pixels.size(); i += 8) {
      std::uint8_t packed = 0;
      for (std::size_t bit = 0; bit < 8 && i + bit < pixels.size(); ++bit) {
        if (pixels[i + bit] != 0) packed |= static_cast<std::uint8_t>(1u << bit);
      }
      bytes_.push_back(packed);
    }
  }
  void operator()(const PassPacing& pacing) {
    (*this)(pacing.spinCount);
    (*this)(static_cast<std::uint8_t>(pacing.framePacing));
  }
  void operator()(const RandomGenerator& random) {
    const RandomGenerator::State state = random.GetState();
    (*this)(state.words);
    (*this)(state.p);
    (*this)(state.q);
  }
  void operator()(const std::vector<KeypadKey>& keys) {
    (*this)(static_cast<std::uint32_t>(keys.size()));
    for (const KeypadKey& key : keys) {
      (*this)(key.scanCode);
      (*this)(key.key);
    }
  }

 private:
  Snapshot& bytes_;
};

// Reads what SnapshotWriter wrote; once a read runs past the end or finds a value no machine
// can hold, every further read is refused and Failed tells.
class SnapshotReader {
 public:
  explicit SnapshotReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool Failed() const { return failed_; }
  bool AtEnd() const { return position_ == bytes_.size(); }

  template <typename Integer>
  requires std::is_integral_v<Integer>
  void operator()(Integer& value) {
    if (!Take(sizeof(Integer))) return;
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < sizeof(Integer); ++i) {
      bits |= std::uint64_t{bytes_[position_ - sizeof(Integer) + i]} << (8 * i);
    }
    if constexpr (std::is_same_v<Integer, bool>) {
      Check(bits <= 1);
      value = bits != 0;
    } else {
      value = static_cast<Integer>(bits);
    }
  }
  // The position in the audio pattern: a bit from 0 up to the pattern's end.
  void operator()(double& value) {
    std::uint64_t bits = 0;
    (*this)(bits);
    value = std::bit_cast<double>(bits);
    Check(value >= 0 && value < kPatternBits);
  }
  template <typename Element, std::size_t N>
  void operator()(std::array<Element, N>& values) {
    for (Element& value : values) (*this)(value);
  }
  void operator()(MachineRules& rules) {
    for (const RuleFlag& flag : kRuleFlags) (*this)(rules.*flag.field);
    (*this)(rules.flagRegisterCount);
    (*this)(rules.cyclesPerFrame);
    for (const SwitchName& name : kSwitchNames) (*this)(rules.switches.*name.field);
    Check(rules.flagRegisterCount >= 0 && rules.flagRegisterCount <= 16);
    Check(!rules.frameTiming || rules.cyclesPerFrame > 0);
    xoChip_ = rules.xoChip;
  }
  void operator()(TextMemory& memory) {
    std::uint32_t size = 0;
    (*this)(size);
    if (!Check(size == (xoChip_ ? kXoChipMemoryCells : kDesignedMemoryCells))) return;
    memory.Reshape(size, xoChip_);
    for (std::size_t address = 0; address < size && !failed_; ++address) {
      std::uint8_t length = 0;
      std::array<char, 2> text{};
      (*this)(length);
      (*this)(text);
      // The unused characters are zero, as written.
      if (!Check(length <= 2 && (length > 1 || text[1] == 0) && (length > 0 || text[0] == 0)))
        return;
      memory.Set(address, HexByte(std::string_view(text.data(), length)));
    }
  }
  void operator()(DisplayPlane& plane) {
    int width = 0;
    int height = 0;
    (*this)(width);
    (*this)(height);
    if (!Check((width == 64 && height == 32) || (width == 128 && height == 64))) return;
    const auto count = static_cast<std::size_t>(width * height);
    if (!Take(count / 8)) return;
    std::vector<std::uint8_t> pixels(count);
    const std::uint8_t* packed = bytes_.data() + position_ - count / 8;
    for (std::size_t i = 0; i < count; ++i) pixels[i] = (packed[i / 8] >> (i % 8)) & 1;
    plane.Assign(width, height, std::move(pixels));
  }
  void operator()(PassPacing& pacing) {
    std::uint8_t framePacing = 0;
    (*this)(pacing.spinCount);
    (*this)(framePacing);
    Check(framePacing <= static_cast<std::uint8_t>(FramePacing::Immediate));
    pacing.framePacing = static_cast<FramePacing>(framePacing);
  }
  void operator()(RandomGenerator& random) {
    RandomGenerator::State state;
    (*this)(state.words);
    (*this)(state.p);
    (*this)(state.q);
    Check(state.p >= 0 && state.p <= 16 && state.q >= 0 && state.q <= 16);
    random.SetState(state);
  }
  void operator()(std::vector<KeypadKey>& keys) {
    std::uint32_t count = 0;
    (*this)(count);
    // No program names more keys than the PC keys it may take.
    if (!Check(count <= kProgramKeyScanCodes.size())) return;
    keys.assign(count, KeypadKey{});
    for (KeypadKey& key : keys) {
      (*this)(key.scanCode);
      (*this)(key.key);
      Check(key.key >= 0 && key.key < 16);
    }
  }

  bool Check(bool condition) {
    if (!condition) failed_ = true;
    return !failed_;
  }

 private:
  bool Take(std::size_t count) {
    if (failed_ || bytes_.size() - position_ < count) {
      failed_ = true;
      return false;
    }
    position_ += count;
    return true;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
  bool failed_ = false;
  bool xoChip_ = false;
};

// The machine a snapshot is first read into, so that a damaged one changes nothing.
class IdleKeyboard final : public KeyboardService {
 public:
  bool SnapshotKeyboard() override { return true; }
};

bool ReadInto(Machine& machine, std::span<const std::uint8_t> bytes) {
  SnapshotReader reader(bytes);
  Machine::ForEachStateField(machine, reader);
  const auto inRange = [](std::int32_t value, std::int32_t low, std::int32_t high) {
    return value >= low && value <= high;
  };
  // The values the instructions index or draw by.
  reader.Check(std::ranges::all_of(machine.Registers, [&](auto v) { return inRange(v, 0, 255); }));
  reader.Check(std::ranges::all_of(machine.KeyStates, [&](auto v) { return inRange(v, 0, 1); }));
  reader.Check(inRange(machine.KeyWaitRegister, kNoKeyWait, 15));
  reader.Check(inRange(machine.PendingKey, 0, 16));
  reader.Check(inRange(machine.PlaneMask, 0, 3));
  reader.Check(machine.SecondPlane.Width() == machine.Display.Width());
  return !reader.Failed() && reader.AtEnd();
}

}  // namespace

Snapshot TakeSnapshot(const Machine& machine) {
  Snapshot bytes;
  // Room for the longest cell texts, the planes and the registers.
  bytes.reserve(3 * machine.MemoryCells.Size() + 8192);
  SnapshotWriter writer(bytes);
  Machine::ForEachStateField(machine, writer);
  return bytes;
}

bool RestoreSnapshot(Machine& machine, std::span<const std::uint8_t> bytes) {
  MachineHost host;
  IdleKeyboard keyboard;
  Machine trial(host, keyboard);
  if (!ReadInto(trial, bytes)) return false;
  ReadInto(machine, bytes);
  machine.ForgetKeypadReading();
  return true;
}

}  // namespace pellark
