#include "CountingAllocator.h"

#include <malloc.h>

#ifdef _WIN32
#define malloc_usable_size _msize
#endif

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> g_live{0};
std::atomic<std::size_t> g_peak{0};
std::atomic<std::size_t> g_count{0};
std::atomic<std::size_t> g_largest{0};
std::atomic<std::size_t> g_failAt{0}; // the allocation number that fails
std::atomic<std::size_t> g_failAbove{0};
std::atomic<bool> g_failed{false};

bool shouldFail(std::size_t size) {
    const std::size_t n = g_count.fetch_add(1) + 1;
    std::size_t largest = g_largest.load();
    while (size > largest && !g_largest.compare_exchange_weak(largest, size)) {
    }
    const std::size_t from = g_failAt.load();
    const std::size_t above = g_failAbove.load();
    return (from != 0 && n == from) || (above != 0 && size > above);
}

void *allocate(std::size_t size, bool nothrow) {
    if (shouldFail(size)) {
        g_failed = true;
        if (nothrow)
            return nullptr;
        throw std::bad_alloc();
    }
    void *p = std::malloc(size == 0 ? 1 : size);
    if (!p) {
        if (nothrow)
            return nullptr;
        throw std::bad_alloc();
    }
    const std::size_t now = g_live.fetch_add(malloc_usable_size(p)) + malloc_usable_size(p);
    std::size_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
    return p;
}

void release(void *p) {
    if (!p)
        return;
    g_live.fetch_sub(malloc_usable_size(p));
    std::free(p);
}

std::size_t g_startLive = 0;
std::size_t g_startCount = 0;

} // namespace

void *operator new(std::size_t size) {
    return allocate(size, false);
}
void *operator new[](std::size_t size) {
    return allocate(size, false);
}
void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
    return allocate(size, true);
}
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept {
    return allocate(size, true);
}
void operator delete(void *p) noexcept {
    release(p);
}
void operator delete[](void *p) noexcept {
    release(p);
}
void operator delete(void *p, std::size_t) noexcept {
    release(p);
}
void operator delete[](void *p, std::size_t) noexcept {
    release(p);
}
void operator delete(void *p, const std::nothrow_t &) noexcept {
    release(p);
}
void operator delete[](void *p, const std::nothrow_t &) noexcept {
    release(p);
}

namespace kelptest {

AllocationWatch::AllocationWatch() {
    g_failAt = 0;
    g_failAbove = 0;
    g_failed = false;
    g_startLive = g_live.load();
    g_peak = g_startLive;
    g_startCount = g_count.load();
    g_largest = 0;
}

AllocationWatch::~AllocationWatch() {
    g_failAt = 0;
    g_failAbove = 0;
}

std::size_t AllocationWatch::live() const {
    const std::size_t now = g_live.load();
    return now > g_startLive ? now - g_startLive : 0;
}

std::size_t AllocationWatch::peak() const {
    return g_peak.load() - g_startLive;
}

std::size_t AllocationWatch::allocations() const {
    return g_count.load() - g_startCount;
}

std::size_t AllocationWatch::largest() const {
    return g_largest.load();
}

void AllocationWatch::failAt(std::size_t n) {
    g_failAt = n == 0 ? 0 : g_count.load() + n;
}

void AllocationWatch::failAbove(std::size_t bytes) {
    g_failAbove = bytes;
}

bool AllocationWatch::failed() const {
    return g_failed.load();
}

} // namespace kelptest
