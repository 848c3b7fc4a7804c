#include "io/BloscContainer.h"

#include "io/ByteOrder.h"
#include "io/EveryThread.h"

#include <blosc.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kelp {

namespace {

const std::size_t kHead = 12;    // "scf1" and 8 reserved bytes
const std::size_t kTrailer = 12; // index length and "1fcs"
const std::size_t kChunkHeader = 16;
// No codec Blosc 1 offers expands a chunk more than about 1000 times (LZ4,
// which Houdini uses, at most 255 times); a chunk claiming more is damaged,
// and refusing it keeps the output allocation tied to the input size.
const std::uint64_t kMaxRatio = 1100;

bool fail(std::string &error, const std::string &message) {
    error = message;
    return false;
}

struct Chunk {
    std::size_t begin; // offset in the file
    std::size_t bytes; // compressed bytes
    std::size_t raw;   // uncompressed bytes
};

// Where the chunks and their index lie: the chunks fill [kHead, kHead +
// area), the index of chunkCount + 1 offsets starts at indexBegin.
struct Layout {
    std::size_t chunkCount = 0;
    std::size_t indexBegin = 0;
    std::size_t area = 0;
};

bool readLayout(const unsigned char *data, std::size_t size, Layout &layout, std::string &error) {
    if (size < 4 || std::memcmp(data, "scf1", 4) != 0)
        return fail(error, "not a Blosc container (no \"scf1\")");
    if (size < kHead + kTrailer + 16)
        return fail(error, "Blosc container of " + std::to_string(size) + " bytes is truncated");
    if (std::memcmp(data + size - 4, "1fcs", 4) != 0)
        return fail(error, "Blosc container has no \"1fcs\" at its end (truncated?)");
    const std::uint64_t indexBytes = loadU64BE(data + size - kTrailer);
    const std::size_t room = size - kHead - kTrailer;
    if (indexBytes < 16 || indexBytes % 8 != 0 || indexBytes > room)
        return fail(error, "Blosc container index of " + std::to_string(indexBytes) +
                               " bytes does not fit");
    layout.chunkCount = static_cast<std::size_t>(indexBytes / 8 - 1);
    layout.indexBegin = size - kTrailer - static_cast<std::size_t>(indexBytes);
    layout.area = layout.indexBegin - kHead; // bytes of all chunks
    if (layout.chunkCount > layout.area / kChunkHeader)
        return fail(error, "Blosc container index lists " + std::to_string(layout.chunkCount) +
                               " chunks in " + std::to_string(layout.area) + " bytes");
    return true;
}

// Chunk k's header against the index: its compressed size, the raw size the
// index expects, a plausible ratio and a header Blosc accepts.
bool checkChunk(const unsigned char *data, std::size_t k, std::uint64_t expected, Chunk &c,
                std::string &error) {
    const unsigned char *head = data + c.begin;
    if (c.bytes < kChunkHeader)
        return fail(error, "Blosc chunk " + std::to_string(k) + " of " + std::to_string(c.bytes) +
                               " bytes is truncated");
    const std::uint32_t nbytes = loadU32LE(head + 4);
    const std::uint32_t cbytes = loadU32LE(head + 12);
    if (cbytes != c.bytes)
        return fail(error, "Blosc chunk " + std::to_string(k) + " at byte " +
                               std::to_string(c.begin) + " says " + std::to_string(cbytes) +
                               " bytes, the index " + std::to_string(c.bytes));
    if (nbytes != expected)
        return fail(error, "Blosc chunk " + std::to_string(k) + " holds " + std::to_string(nbytes) +
                               " bytes, the index " + std::to_string(expected));
    if (nbytes > kMaxRatio * cbytes)
        return fail(error, "Blosc chunk " + std::to_string(k) + " claims " +
                               std::to_string(nbytes) + " bytes from " + std::to_string(cbytes));
    std::size_t validated = 0;
    if (blosc_cbuffer_validate(head, c.bytes, &validated) != 0 || validated != nbytes)
        return fail(error, "Blosc chunk " + std::to_string(k) + " at byte " +
                               std::to_string(c.begin) + " has a damaged header");
    c.raw = nbytes;
    return true;
}

bool readChunks(const unsigned char *data, const Layout &layout, std::vector<Chunk> &chunks,
                std::uint64_t &total, std::string &error) {
    const std::size_t count = layout.chunkCount;
    const unsigned char *index = data + layout.indexBegin;
    const std::uint64_t blockRaw = loadU64BE(index + 8 * (count - 1));
    const std::uint64_t lastRaw = loadU64BE(index + 8 * count);
    chunks.resize(count);
    total = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint64_t start = k == 0 ? 0 : loadU64BE(index + 8 * (k - 1));
        const std::uint64_t end = k + 1 < count ? loadU64BE(index + 8 * k) : layout.area;
        if (start >= end || end > layout.area)
            return fail(error, "Blosc container index gives chunk " + std::to_string(k) +
                                   " the range " + std::to_string(start) + " to " +
                                   std::to_string(end) + " of " + std::to_string(layout.area));
        Chunk &c = chunks[k];
        c.begin = kHead + static_cast<std::size_t>(start);
        c.bytes = static_cast<std::size_t>(end - start);
        if (!checkChunk(data, k, k + 1 < count ? blockRaw : lastRaw, c, error))
            return false;
        total += c.raw;
    }
    return true;
}

// The chunks are independent: decompressed on every hardware thread, each
// into its place in out.
bool decompressChunks(const unsigned char *data, const std::vector<Chunk> &chunks, ByteBuffer &out,
                      std::string &error) {
    const std::size_t count = chunks.size();
    std::vector<std::size_t> at(count, 0);
    for (std::size_t k = 1; k < count; ++k)
        at[k] = at[k - 1] + chunks[k - 1].raw;
    std::atomic<std::size_t> firstBad(count);
    onEveryThread(count, 0, [&](std::size_t k) {
        const Chunk &c = chunks[k];
        if (c.raw == 0)
            return;
        const int got = blosc_decompress_ctx(data + c.begin, out.data() + at[k], c.raw, 1);
        if (got < 0 || static_cast<std::size_t>(got) != c.raw) {
            std::size_t seen = firstBad.load();
            while (k < seen && !firstBad.compare_exchange_weak(seen, k)) {
            }
        }
    });
    if (firstBad.load() < count) {
        const std::size_t k = firstBad.load();
        return fail(error, "Blosc chunk " + std::to_string(k) + " at byte " +
                               std::to_string(chunks[k].begin) + " does not decompress");
    }
    return true;
}

} // namespace

bool unpackBloscContainer(const unsigned char *data, std::size_t size, ByteBuffer &out,
                          std::string &error) {
    Layout layout;
    std::vector<Chunk> chunks;
    std::uint64_t total = 0;
    if (!readLayout(data, size, layout, error) || !readChunks(data, layout, chunks, total, error))
        return false;
    if (static_cast<std::size_t>(total) != total || !out.resize(static_cast<std::size_t>(total)))
        return fail(error, "out of memory for " + std::to_string(total) + " bytes");
    return decompressChunks(data, chunks, out, error);
}

} // namespace kelp
