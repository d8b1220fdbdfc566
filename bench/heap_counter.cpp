// Counts the bytes the benchmark process holds on the heap: every allocation of the program's
// own code goes through operator new, which is replaced here for the benchmark executable.
#include "bench/heap_counter.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace {

// One thread allocates during a benchmark; the counts need no lock.
size_t g_held = 0;
size_t g_peak = 0;

void* Allocate(size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block != nullptr) {
        g_held += malloc_usable_size(block);
        if (g_held > g_peak) {
            g_peak = g_held;
        }
    }
    return block;
}

void Release(void* block) {
    if (block != nullptr) {
        g_held -= malloc_usable_size(block);
        std::free(block);
    }
}

}  // namespace

size_t HeapBytesHeld() {
    return g_held;
}

size_t HeapPeakBytes() {
    return g_peak;
}

void ResetHeapPeak() {
    g_peak = g_held;
}

void* operator new(size_t size) {
    void* block = Allocate(size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

void* operator new[](size_t size) {
    return operator new(size);
}

void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}

void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}

void operator delete(void* block) noexcept {
    Release(block);
}

void operator delete[](void* block) noexcept {
    Release(block);
}

void operator delete(void* block, size_t) noexcept {
    Release(block);
}

void operator delete[](void* block, size_t) noexcept {
    Release(block);
}

void operator delete(void* block, const std::nothrow_t&) noexcept {
    Release(block);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept {
    Release(block);
}
