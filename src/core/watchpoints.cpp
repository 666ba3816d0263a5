#include "core/watchpoints.h"

#include <algorithm>
#include <charconv>

#include "core/instruction.h"
#include "platform/text.h"

namespace pellark {
namespace {

constexpr std::int32_t kLastWatchedCell = kXoChipMemoryCells - 1;

// What an instruction may write, from its operation alone: a register mask (bit r for Vr), I
// and cells. Only an instruction that may write what is watched is tried out.
struct Writes {
  std::uint32_t registers = 0;
  bool i = false;
  bool cells = false;
};

std::uint32_t RegisterRange(std::int32_t from, std::int32_t to) {
  const std::int32_t low = std::min(from, to);
  const std::int32_t high = std::max(from, to);
  return ((2u << high) - 1) & ~((1u << low) - 1);
}

// Switches over every operation without a default, so that a new one must say what it writes.
Writes WritesOf(const Instruction& in) {
  if (in.kind != Instruction::Kind::Handler) return {};
  const std::uint32_t vx = 1u << in.x;
  constexpr std::uint32_t kVf = 1u << 15;
  switch (in.operation) {
    case Operation::MovByte:
    case Operation::AddByte:
    case Operation::Rnd:
    case Operation::MovRegister:
    case Operation::GDelay:
    case Operation::Key: return {vx};
    case Operation::Or:
    case Operation::And:
    case Operation::Xor:
    case Operation::AddRegister:
    case Operation::Sub:
    case Operation::Rsb:
    case Operation::Shr:
    case Operation::Shl: return {vx | kVf};
    case Operation::Drw:
    case Operation::XDrw: return {kVf};
    case Operation::LdVxR: return {RegisterRange(0, in.x)};
    case Operation::Ldr: return {RegisterRange(0, in.x), true};
    case Operation::LoadRange: return {RegisterRange(in.x, in.y)};
    case Operation::Mvi:
    case Operation::Addi:
    case Operation::Font:
    case Operation::Xfont:
    case Operation::LongMvi: return {0, true};
    case Operation::Str: return {0, true, true};
    case Operation::Bcd:
    case Operation::SaveRange: return {0, false, true};
    case Operation::Nop:
    case Operation::Scdown:
    case Operation::Cls:
    case Operation::Rts:
    case Operation::Scright:
    case Operation::Scleft:
    case Operation::Low:
    case Operation::High:
    case Operation::Jmp:
    case Operation::Jsr:
    case Operation::Skeq:
    case Operation::Skne:
    case Operation::Skeqr:
    case Operation::SkneRegister:
    case Operation::Jmi:
    case Operation::Skpr:
    case Operation::Skup:
    case Operation::SDelay:
    case Operation::SSound:
    case Operation::LdRVx:
    case Operation::Plane:
    case Operation::Audio:
    case Operation::Pitch:
    case Operation::Scup: return {};
  }
  return {};
}

// Built by appending: GCC 12 warns wrongly about a literal added to a string.
std::string Prefixed(std::string_view prefix, std::string_view text) {
  std::string result(prefix);
  return result.append(text);
}

std::string ByteText(std::int32_t value) {
  return Prefixed(value < 16 ? "$0" : "$", HexText(value));
}

std::string CellText(HexByte cell) {
  return cell.IsEmpty() ? std::string("empty") : std::string(cell.Text());
}

}  // namespace

std::optional<Watchpoint> ParseWatchpoint(std::string_view text) {
  if (text == "I" || text == "i") return Watchpoint{Watchpoint::Target::I, 0, 1};
  if (text.size() == 2 && (text[0] == 'V' || text[0] == 'v')) {
    const std::optional<std::uint32_t> number = ParseHexDigits(text.substr(1));
    if (!number) return std::nullopt;
    return Watchpoint{Watchpoint::Target::Register, static_cast<std::int32_t>(*number), 1};
  }
  std::string_view rest = text;
  const std::string_view addressText = NextPart(rest, ':');
  const std::optional<std::int32_t> first = ParseAddress(addressText, kLastWatchedCell);
  if (!first) return std::nullopt;
  std::int32_t count = 1;
  if (addressText.size() < text.size()) {
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), count);
    if (rest.empty() || error != std::errc() || end != rest.data() + rest.size() || count < 1 ||
        count > kLastWatchedCell + 1 - *first) {
      return std::nullopt;
    }
  }
  return Watchpoint{Watchpoint::Target::Cells, *first, count};
}

std::string WatchpointText(const Watchpoint& watchpoint) {
  switch (watchpoint.target) {
    case Watchpoint::Target::I: return "I";
    case Watchpoint::Target::Register: return Prefixed("V", HexText(watchpoint.first));
    case Watchpoint::Target::Cells: break;
  }
  std::string text = Prefixed("$", HexText(watchpoint.first));
  if (watchpoint.count > 1) text.append(":").append(DecimalText(watchpoint.count));
  return text;
}

void Watchpoints::Toggle(const Watchpoint& watchpoint) {
  if (watchpoints_.erase(watchpoint) == 0) watchpoints_.insert(watchpoint);
}

bool Watchpoints::MayWriteWatched(Machine& machine) const {
  const Writes writes = WritesOf(machine.MemoryCells.InstructionAt(machine.NextFetchAddress()));
  for (const Watchpoint& watchpoint : watchpoints_) {
    switch (watchpoint.target) {
      case Watchpoint::Target::Cells:
        if (writes.cells) return true;
        break;
      case Watchpoint::Target::Register:
        if ((writes.registers >> watchpoint.first & 1) != 0) return true;
        break;
      case Watchpoint::Target::I:
        if (writes.i) return true;
        break;
    }
  }
  return false;
}

std::optional<WatchStop> Watchpoints::StopsBefore(Machine& machine) {
  // The common case, checked before every instruction, costs two tests.
  if (watchpoints_.empty() && !passNext_) return std::nullopt;
  if (passNext_ || watchpoints_.empty()) {
    passNext_ = false;
    return std::nullopt;
  }
  if (!MayWriteWatched(machine)) return std::nullopt;
  if (!trial_) trial_.emplace(machine);
  line_.line.clear();
  machine.TryNextInstruction(*trial_, quietHost_, line_, cellWrites_);
  for (const Watchpoint& watchpoint : watchpoints_) {
    if (std::optional<std::string> change = Change(machine, watchpoint)) {
      return WatchStop{line_.line, std::move(*change)};
    }
  }
  return std::nullopt;
}

std::optional<std::string> Watchpoints::Change(const Machine& before,
                                               const Watchpoint& watchpoint) const {
  const Machine& after = *trial_;
  switch (watchpoint.target) {
    case Watchpoint::Target::Register: {
      const auto r = static_cast<std::size_t>(watchpoint.first);
      std::string change = Prefixed("V", HexText(watchpoint.first));
      change.append(" ").append(ByteText(before.Registers[r])).append(" -> ");
      if (after.WaitingForKey() && after.KeyWaitRegister == watchpoint.first) {
        return change.append("key");
      }
      if (after.Registers[r] == before.Registers[r]) return std::nullopt;
      return change.append(ByteText(after.Registers[r]));
    }
    case Watchpoint::Target::I:
      if (after.I == before.I) return std::nullopt;
      return Prefixed("I $", HexText(before.I)).append(" -> $").append(HexText(after.I));
    case Watchpoint::Target::Cells: break;
  }
  for (const std::int32_t address : cellWrites_) {
    if (address < watchpoint.first || address >= watchpoint.first + watchpoint.count) continue;
    return Prefixed("$", HexText(address))
        .append(" ")
        .append(CellText(before.Cell(address)))
        .append(" -> ")
        .append(CellText(after.Cell(address)));
  }
  return std::nullopt;
}

}  // namespace pellark
