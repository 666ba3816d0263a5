#pragma once

#include <cstddef>

namespace pellark {

// Heap allocations made by the process so far; counted by the replaced global operator new of
// the benchmark program.
std::size_t AllocationCount();

}  // namespace pellark
