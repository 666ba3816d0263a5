#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace pellark {

class Machine;

// The whole state of a machine as bytes: memory, registers, stack, timers, keypad, display
// planes, rules, random generator and frame position, in the order of
// Machine::ForEachStateField. Two machines in the same state give the same bytes.
using Snapshot = std::vector<std::uint8_t>;

Snapshot TakeSnapshot(const Machine& machine);
// Puts the machine in the state the bytes hold; false, changing nothing, when they are not a
// whole snapshot or hold a state no machine can be in. The keypad is read anew at its next
// reading.
bool RestoreSnapshot(Machine& machine, std::span<const std::uint8_t> bytes);

}  // namespace pellark
