#include "AllocationWatch.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> g_watching{false};
std::atomic<std::size_t> g_largest{0};

void *counted(std::size_t n) {
    if (g_watching.load(std::memory_order_relaxed)) {
        std::size_t seen = g_largest.load(std::memory_order_relaxed);
        while (n > seen && !g_largest.compare_exchange_weak(seen, n))
            ;
    }
    return std::malloc(n ? n : 1);
}

} // namespace

namespace kelptest {

AllocationWatch::AllocationWatch() {
    g_largest = 0;
    g_watching = true;
}

AllocationWatch::~AllocationWatch() {
    g_watching = false;
}

std::size_t AllocationWatch::largest() const {
    return g_largest.load();
}

} // namespace kelptest

void *operator new(std::size_t n) {
    if (void *p = counted(n))
        return p;
    throw std::bad_alloc();
}
void *operator new[](std::size_t n) {
    return operator new(n);
}
void *operator new(std::size_t n, const std::nothrow_t &) noexcept {
    return counted(n);
}
void *operator new[](std::size_t n, const std::nothrow_t &) noexcept {
    return counted(n);
}
void operator delete(void *p) noexcept {
    std::free(p);
}
void operator delete[](void *p) noexcept {
    std::free(p);
}
void operator delete(void *p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void *p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void *p, const std::nothrow_t &) noexcept {
    std::free(p);
}
void operator delete[](void *p, const std::nothrow_t &) noexcept {
    std::free(p);
}
