#include "ParallelBlosc.h"

#include <blosc.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>

namespace {

struct Chunk {
    std::size_t at;     // in the container
    std::size_t offset; // of its first byte in the stream
    std::size_t bytes;  // decompressed
};

// The whole file in a fresh (untouched) buffer.
std::unique_ptr<unsigned char[]> readFresh(const std::string &path, std::size_t &size) {
    int fd = open(path.c_str(), O_RDONLY);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0) {
        if (fd >= 0)
            close(fd);
        return nullptr;
    }
    size = static_cast<std::size_t>(st.st_size);
    std::unique_ptr<unsigned char[]> data(new unsigned char[size + 1]);
    std::size_t got = 0;
    while (got < size) {
        ssize_t n = read(fd, data.get() + got, size - got);
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    close(fd);
    if (got != size)
        return nullptr;
    return data;
}

// The chunks of the container, walked by their own sizes from byte 12 to
// the index; empty when the container is damaged or holds another size.
std::vector<Chunk> chunksOf(const unsigned char *sc, std::size_t size, std::size_t streamBytes) {
    std::vector<Chunk> chunks;
    if (size < 24 || std::memcmp(sc, "scf1", 4) != 0 || std::memcmp(sc + size - 4, "1fcs", 4))
        return chunks;
    std::uint64_t indexBytes = 0;
    for (int k = 0; k < 8; ++k)
        indexBytes = (indexBytes << 8) | sc[size - 12 + k];
    if (indexBytes > size - 24)
        return chunks;
    const std::size_t end = size - 12 - static_cast<std::size_t>(indexBytes);
    std::size_t at = 12, offset = 0;
    while (at + BLOSC_MIN_HEADER_LENGTH <= end) {
        std::size_t nbytes = 0, cbytes = 0, blocksize = 0;
        blosc_cbuffer_sizes(sc + at, &nbytes, &cbytes, &blocksize);
        if (cbytes == 0 || cbytes > end - at || nbytes > (std::size_t(1) << 20))
            return {};
        chunks.push_back({at, offset, nbytes});
        at += cbytes;
        offset += nbytes;
    }
    if (at != end || offset != streamBytes)
        return {};
    return chunks;
}

// Copies the bytes of every array that lie in [offset, offset + n) of the
// stream from the window.
void place(const unsigned char *window, std::size_t offset, std::size_t n,
           const std::vector<JsonArray> &arrays, std::uint32_t *const *out) {
    for (std::size_t a = 0; a < arrays.size(); ++a) {
        const std::size_t lo = std::max(offset, arrays[a].offset);
        const std::size_t hi = std::min(offset + n, arrays[a].offset + 4 * arrays[a].count);
        if (lo < hi)
            std::memcpy(reinterpret_cast<unsigned char *>(out[a]) + (lo - arrays[a].offset),
                        window + (lo - offset), hi - lo);
    }
}

} // namespace

std::uint64_t bloscPlaceParallel(const std::string &scPath, std::size_t streamBytes,
                                 const std::vector<JsonArray> &arrays, unsigned threads) {
    std::size_t size = 0;
    std::unique_ptr<unsigned char[]> sc = readFresh(scPath, size);
    if (!sc)
        return 0;
    const std::vector<Chunk> chunks = chunksOf(sc.get(), size, streamBytes);
    if (chunks.empty())
        return 0;
    std::vector<std::unique_ptr<std::uint32_t[]>> kept;
    std::vector<std::uint32_t *> out;
    for (const JsonArray &a : arrays) {
        if (a.offset > streamBytes || a.count > (streamBytes - a.offset) / 4)
            return 0;
        kept.emplace_back(new std::uint32_t[a.count + 1]);
        out.push_back(kept.back().get());
    }
    std::atomic<std::size_t> next(0);
    std::atomic<bool> failed(false);
    auto work = [&] {
        std::unique_ptr<unsigned char[]> window(new unsigned char[std::size_t(1) << 20]);
        for (std::size_t k; (k = next.fetch_add(1)) < chunks.size();) {
            const Chunk &c = chunks[k];
            int n = blosc_decompress_ctx(sc.get() + c.at, window.get(), c.bytes, 1);
            if (n < 0 || static_cast<std::size_t>(n) != c.bytes) {
                failed = true;
                return;
            }
            place(window.get(), c.offset, c.bytes, arrays, out.data());
        }
    };
    std::vector<std::thread> workers;
    for (unsigned t = 1; t < threads; ++t)
        workers.emplace_back(work);
    work();
    for (std::thread &t : workers)
        t.join();
    if (failed)
        return 0;
    std::uint64_t check = 1;
    for (std::size_t a = 0; a < arrays.size(); ++a)
        check += arrays[a].count ? out[a][arrays[a].count - 1] : 0;
    return check;
}
