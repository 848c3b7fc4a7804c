// The largest single allocation made while a watch is alive. The test
// program's operator new (every form) counts it; allocations go to malloc so
// that the sanitizers still pair each one with its release.
#ifndef KELP_TESTS_ALLOCATIONWATCH_H
#define KELP_TESTS_ALLOCATIONWATCH_H

#include <cstddef>

namespace kelptest {

class AllocationWatch {
public:
    AllocationWatch();
    ~AllocationWatch();
    AllocationWatch(const AllocationWatch &) = delete;
    AllocationWatch &operator=(const AllocationWatch &) = delete;

    // The largest request since the watch started.
    std::size_t largest() const;
};

} // namespace kelptest

#endif
