#ifndef KELPHOST_BULKSTORAGE_H
#define KELPHOST_BULKSTORAGE_H
// Large host tables (mesh points, face-vertex lists, per-point arrays) are
// filled once, right after they are allocated. Their first touch costs a page
// fault per 4 KiB page; asking for huge pages on the untouched storage
// before it is filled makes that one fault per 2 MiB, but where the kernel
// compacts memory for advised ranges it made frames swing between 0.3 and
// 2 s, so the advice is only given in builds that define
// KELP_HUGE_PAGE_ADVICE. Internal only.
#include <cstddef>
#include <cstdint>
#include <vector>

#if defined(__linux__) && defined(KELP_HUGE_PAGE_ADVICE)
#include <sys/mman.h>
#endif

namespace kelphost {

// Advises huge pages for the whole 2 MiB pages inside [p, p + bytes): call it
// on freshly allocated storage before writing to it. Small ranges are left
// alone; the advice is only a hint, and failure changes nothing.
inline void adviseHugePages(void *p, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE) && defined(KELP_HUGE_PAGE_ADVICE)
    constexpr std::uintptr_t huge = std::uintptr_t(2) << 20;
    if (bytes < 2 * huge)
        return;
    const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(p) + huge - 1) & ~(huge - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(p) + bytes) & ~(huge - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)p;
    (void)bytes;
#endif
}

// Grows `v` to `n` elements (value-initialised, as resize does), giving the
// new storage the huge-page hint before it is first written.
template <class T, class A> void growTable(std::vector<T, A> &v, std::size_t n) {
    if (n > v.capacity()) {
        v.reserve(n);
        adviseHugePages(v.data() + v.size(), (n - v.size()) * sizeof(T));
    }
    v.resize(n);
}

// A fresh copy of [first, last) with the hint given before the copy.
template <class T, class It> std::vector<T> bulkCopy(It first, It last) {
    std::vector<T> out;
    const std::size_t n = static_cast<std::size_t>(last - first);
    out.reserve(n);
    adviseHugePages(out.data(), n * sizeof(T));
    out.assign(first, last);
    return out;
}

} // namespace kelphost

#endif
