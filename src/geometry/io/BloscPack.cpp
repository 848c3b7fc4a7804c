#include "io/BloscPack.h"

#include "io/ByteOrder.h"

#include <blosc.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>

namespace kelp {

namespace {

const int kLevel = 7; // the level Houdini's own compression tool uses by default

struct Packed {
    unsigned char *bytes = nullptr; // room for the worst case, in one shared block
    std::size_t room = 0;
    int size = 0; // compressed bytes, or < 0 on failure
};

void compressChunks(const unsigned char *data, std::size_t size, std::vector<Packed> &chunks,
                    std::atomic<std::size_t> &next) {
    for (;;) {
        const std::size_t k = next.fetch_add(1);
        if (k >= chunks.size())
            return;
        const std::size_t begin = k * kBloscBlock;
        const std::size_t raw = std::min(kBloscBlock, size - begin);
        Packed &chunk = chunks[k];
        chunk.size = blosc_compress_ctx(kLevel, BLOSC_SHUFFLE, 4, raw, data + begin, chunk.bytes,
                                        chunk.room, "lz4", 0, 1);
    }
}

} // namespace

bool packBloscContainer(const unsigned char *data, std::size_t size,
                        std::vector<unsigned char> &out, std::string &error, unsigned threads) {
    const std::size_t count = size == 0 ? 1 : (size + kBloscBlock - 1) / kBloscBlock;
    // Every buffer is allocated here, before any thread starts: one block
    // (left unfilled; each thread writes only its own chunks' room).
    std::vector<Packed> chunks(count);
    const std::size_t slot = kBloscBlock + BLOSC_MAX_OVERHEAD;
    std::unique_ptr<unsigned char[]> room(new unsigned char[count * slot]);
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t raw = std::min(kBloscBlock, size - std::min(size, k * kBloscBlock));
        chunks[k].bytes = room.get() + k * slot;
        chunks[k].room = raw + BLOSC_MAX_OVERHEAD;
    }

    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, count));
    std::atomic<std::size_t> next(0);
    std::vector<std::thread> workers;
    workers.reserve(threads);
    try {
        for (unsigned t = 1; t < threads; ++t)
            workers.emplace_back(compressChunks, data, size, std::ref(chunks), std::ref(next));
    } catch (const std::system_error &) {
        // Fewer threads than asked for: the ones started and this one do it all.
    }
    compressChunks(data, size, chunks, next);
    for (std::thread &worker : workers)
        worker.join();

    std::size_t total = 12 + 8 * (count + 1) + 12;
    for (std::size_t k = 0; k < count; ++k) {
        if (chunks[k].size <= 0) {
            error = "Blosc compression of block " + std::to_string(k) + " failed";
            return false;
        }
        total += static_cast<std::size_t>(chunks[k].size);
    }

    out.clear();
    out.reserve(total);
    const unsigned char head[12] = {'s', 'c', 'f', '1', 0, 0, 0, 0, 0, 0, 0, 0};
    out.insert(out.end(), head, head + 12);
    std::vector<std::uint64_t> index;
    index.reserve(count + 2);
    std::uint64_t at = 0;
    for (std::size_t k = 0; k < count; ++k) {
        if (k > 0)
            index.push_back(at);
        const Packed &chunk = chunks[k];
        out.insert(out.end(), chunk.bytes, chunk.bytes + chunk.size);
        at += static_cast<std::uint64_t>(chunk.size);
    }
    index.push_back(kBloscBlock);
    index.push_back(size - (count - 1) * kBloscBlock);
    index.push_back(8 * (count + 1));
    for (std::uint64_t word : index) {
        unsigned char b[8];
        storeU64BE(b, word);
        out.insert(out.end(), b, b + 8);
    }
    const unsigned char tail[4] = {'1', 'f', 'c', 's'};
    out.insert(out.end(), tail, tail + 4);
    return true;
}

} // namespace kelp
