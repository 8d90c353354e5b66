#include "allocation_count.h"

#include <atomic>
#include <cstdlib>
#include <new>

// Replacing the global allocation functions lets the benchmarks report how many allocations an
// evaluation makes in the steady state, which should be none for the evaluator, and how much
// memory a new evaluator takes for a text.

namespace {

std::atomic<std::uint64_t> count{0};
std::atomic<std::uint64_t> bytes{0};

void* allocate(std::size_t size)
{
    count.fetch_add(1, std::memory_order_relaxed);
    bytes.fetch_add(size, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

}  // namespace

std::uint64_t allocationCount()
{
    return count.load(std::memory_order_relaxed);
}

std::uint64_t allocatedBytes()
{
    return bytes.load(std::memory_order_relaxed);
}

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
