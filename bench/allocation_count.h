#pragma once

#include <cstdint>

// Heap allocations made through operator new by this process so far.
std::uint64_t allocationCount();

// The bytes those allocations asked for, freed ones included.
std::uint64_t allocatedBytes();
