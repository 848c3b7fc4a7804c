#include "io/BloscPack.h"

#include "io/ByteOrder.h"
#include "io/EveryThread.h"

#include <blosc.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace kelp {

namespace {

const int kLevel = 7; // the level Houdini's own compression tool uses by default

struct Packed {
    std::vector<unsigned char> bytes; // sized for the worst case, then cut
    int size = 0;                     // compressed bytes, or < 0 on failure
};

} // namespace

bool packBloscContainer(const unsigned char *data, std::size_t size,
                        std::vector<unsigned char> &out, std::string &error, unsigned threads) {
    const std::size_t count = size == 0 ? 1 : (size + kBloscBlock - 1) / kBloscBlock;
    // Every buffer is allocated here, before any thread starts.
    std::vector<Packed> chunks(count);
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t raw = std::min(kBloscBlock, size - std::min(size, k * kBloscBlock));
        chunks[k].bytes.resize(raw + BLOSC_MAX_OVERHEAD);
    }

    onEveryThread(count, threads, [&](std::size_t k) {
        const std::size_t begin = k * kBloscBlock;
        const std::size_t raw = std::min(kBloscBlock, size - std::min(size, begin));
        Packed &chunk = chunks[k];
        chunk.size = blosc_compress_ctx(kLevel, BLOSC_SHUFFLE, 4, raw, data + begin,
                                        chunk.bytes.data(), chunk.bytes.size(), "lz4", 0, 1);
    });

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
        out.insert(out.end(), chunk.bytes.data(), chunk.bytes.data() + chunk.size);
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
