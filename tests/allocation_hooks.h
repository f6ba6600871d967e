#pragma once

// Replaces the test program's global operator new and delete, so that a test can count what is
// left allocated, make the n-th allocation fail, or act at the first large allocation: the growth
// of a list is the one moment inside a reading at which a test can step in. Include this header in
// exactly one source file of a test program.

#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>
#include <utility>

namespace ambersel::testing {

inline std::atomic<long> g_liveAllocations{0};
// The number of allocations still to succeed before one throws std::bad_alloc; -1 for none.
inline std::atomic<long> g_allocationsUntilFailure{-1};
// Called once, at the first allocation of 256 KiB or more, and then cleared.
inline std::function<void()> g_onLargeAllocation;

}  // namespace ambersel::testing

void* operator new(std::size_t size) {
    using namespace ambersel::testing;
    if (size >= std::size_t{256} * 1024 && g_onLargeAllocation) {
        std::exchange(g_onLargeAllocation, nullptr)();
    }
    if (g_allocationsUntilFailure.load() >= 0 && g_allocationsUntilFailure.fetch_sub(1) == 0) {
        throw std::bad_alloc();
    }
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    ++g_liveAllocations;
    return memory;
}
// GCC sees the replaced operator new inlined as malloc and the free below as a mismatch.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* memory) noexcept {
    if (memory != nullptr) {
        --ambersel::testing::g_liveAllocations;
        std::free(memory);
    }
}
void operator delete(void* memory, std::size_t /*size*/) noexcept {
    operator delete(memory);
}
#pragma GCC diagnostic pop
