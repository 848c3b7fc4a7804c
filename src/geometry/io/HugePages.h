// Room for large arrays, and the 2 MiB-page advice for them. The advice is
// off unless the build defines KELP_HUGE_PAGE_ADVICE: on Linux kernels that
// compact memory for advised regions (transparent huge pages "madvise" with
// defrag "madvise"), a load of 5M particles took 161 ms at the median with
// it but up to 601 ms, and its gzip load was slower throughout (1636 against
// 1188 ms); without it the times stay together.
#ifndef KELP_GEOMETRY_HUGEPAGES_H
#define KELP_GEOMETRY_HUGEPAGES_H
#include <cstddef>
#include <cstdint>
#include <vector>
#if defined(__linux__) && defined(KELP_HUGE_PAGE_ADVICE)
#include <sys/mman.h>
#endif
namespace kelp {

inline void adviseHugePages(void *data, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE) && defined(KELP_HUGE_PAGE_ADVICE)
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
