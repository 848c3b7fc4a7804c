#ifndef KELP_GEOMETRY_HUGEPAGES_H
#define KELP_GEOMETRY_HUGEPAGES_H
#include <cstddef>
#include <cstdint>
#include <vector>
#if defined(__linux__)
#include <sys/mman.h>
#endif
namespace kelp {

inline void adviseHugePages(void *data, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE) && !defined(KELP_NO_HUGE_PAGE_ADVICE)
    const std::uintptr_t huge = std::uintptr_t(2) << 20;
    if (bytes < 2 * huge)
        return;
    std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(data) + huge - 1) & ~(huge - 1);
    std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(huge - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}
template <class V> void reserveHuge(V &v, std::size_t n) {
    if (v.capacity() >= n)
        return;
    v.reserve(n);
    adviseHugePages(v.data(), n * sizeof(typename V::value_type));
}
} // namespace kelp

#endif
