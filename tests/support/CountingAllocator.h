// A global allocator for tests: counts the bytes that operator new hands out
// (live and peak) and can be told to fail, as a machine out of memory does,
// by throwing std::bad_alloc. It replaces operator new and delete for the
// whole program, so only test programs that want it link it.
//
//   AllocationWatch watch;            // counts from here
//   load(...);
//   watch.peak();                     // most bytes live at once since then
//   watch.largest();                  // the largest single request
//
//   AllocationWatch failing;
//   failing.failAt(40);               // the 40th allocation from now fails
//   failing.failAbove(1 << 20);       // any single request over 1 MiB fails
#ifndef KELP_TESTS_COUNTINGALLOCATOR_H
#define KELP_TESTS_COUNTINGALLOCATOR_H

#include <cstddef>

namespace kelptest {

class AllocationWatch {
public:
    AllocationWatch();
    ~AllocationWatch(); // ends any failure it set up

    AllocationWatch(const AllocationWatch &) = delete;
    AllocationWatch &operator=(const AllocationWatch &) = delete;

    // Bytes live now beyond those live when the watch started.
    std::size_t live() const;
    // The most bytes live at once since the watch started, beyond those
    // live when it started.
    std::size_t peak() const;
    // Allocations made since the watch started.
    std::size_t allocations() const;
    // The largest single request since the watch started.
    std::size_t largest() const;

    // The n-th allocation from now (1 = the next one) throws std::bad_alloc,
    // as when one large request finds no memory and later small ones do;
    // 0 ends it.
    void failAt(std::size_t n);
    // Every single request of more than `bytes` throws std::bad_alloc; 0
    // ends it.
    void failAbove(std::size_t bytes);
    // Whether an allocation failed since the watch started.
    bool failed() const;
};

} // namespace kelptest

#endif
