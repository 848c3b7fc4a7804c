#include "io/BloscContainer.h"

#include "io/ByteOrder.h"
#include "io/EveryThread.h"

#include <blosc.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <new>
#include <thread>
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
    std::size_t raw;   // uncompressed bytes, as the index says
};

// Where the chunks and their index lie: the chunks fill [kHead, kHead +
// area), the index of chunkCount + 1 offsets starts at indexBegin.
struct Layout {
    std::size_t chunkCount = 0;
    std::size_t indexBegin = 0;
    std::size_t area = 0;
};

// From the container's first four bytes, its last kTrailer bytes and its size.
bool readLayout(const unsigned char *magic, const unsigned char *trailer, std::size_t size,
                Layout &layout, std::string &error) {
    if (size < 4 || std::memcmp(magic, "scf1", 4) != 0)
        return fail(error, "not a Blosc container (no \"scf1\")");
    if (size < kHead + kTrailer + 16)
        return fail(error, "Blosc container of " + std::to_string(size) + " bytes is truncated");
    if (std::memcmp(trailer + kTrailer - 4, "1fcs", 4) != 0)
        return fail(error, "Blosc container has no \"1fcs\" at its end (truncated?)");
    const std::uint64_t indexBytes = loadU64BE(trailer);
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

// The chunks as the index places them.
bool indexChunks(const unsigned char *index, const Layout &layout, std::vector<Chunk> &chunks,
                 std::string &error) {
    const std::size_t count = layout.chunkCount;
    const std::uint64_t blockRaw = loadU64BE(index + 8 * (count - 1));
    const std::uint64_t lastRaw = loadU64BE(index + 8 * count);
    chunks.resize(count);
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
        const std::uint64_t raw = k + 1 < count ? blockRaw : lastRaw;
        // Beyond what any chunk header can say: caught by the header check.
        c.raw = static_cast<std::size_t>(std::min<std::uint64_t>(raw, 0xFFFFFFFFu + 1ull));
    }
    return true;
}

// Chunk k's header (at head) against the index: its compressed size, the
// raw size the index expects, a plausible ratio and a header Blosc accepts.
bool checkChunk(const unsigned char *head, std::size_t k, const Chunk &c, std::string &error) {
    if (c.bytes < kChunkHeader)
        return fail(error, "Blosc chunk " + std::to_string(k) + " of " + std::to_string(c.bytes) +
                               " bytes is truncated");
    const std::uint32_t nbytes = loadU32LE(head + 4);
    const std::uint32_t cbytes = loadU32LE(head + 12);
    if (cbytes != c.bytes)
        return fail(error, "Blosc chunk " + std::to_string(k) + " at byte " +
                               std::to_string(c.begin) + " says " + std::to_string(cbytes) +
                               " bytes, the index " + std::to_string(c.bytes));
    if (nbytes != c.raw)
        return fail(error, "Blosc chunk " + std::to_string(k) + " holds " + std::to_string(nbytes) +
                               " bytes, the index " + std::to_string(c.raw));
    if (nbytes > kMaxRatio * cbytes)
        return fail(error, "Blosc chunk " + std::to_string(k) + " claims " +
                               std::to_string(nbytes) + " bytes from " + std::to_string(cbytes));
    std::size_t validated = 0;
    if (blosc_cbuffer_validate(head, c.bytes, &validated) != 0 || validated != nbytes)
        return fail(error, "Blosc chunk " + std::to_string(k) + " at byte " +
                               std::to_string(c.begin) + " has a damaged header");
    return true;
}

// The headers of chunks first..first+count-1, whose compressed bytes are at
// packed (chunk first's at packed[0]); their raw bytes together.
bool checkChunks(const unsigned char *packed, const std::vector<Chunk> &chunks, std::size_t first,
                 std::size_t count, std::uint64_t &raw, std::string &error) {
    const std::size_t base = chunks[first].begin;
    raw = 0;
    for (std::size_t k = first; k < first + count; ++k) {
        if (!checkChunk(packed + chunks[k].begin - base, k, chunks[k], error))
            return false;
        raw += chunks[k].raw;
    }
    return true;
}

// The same chunks, checked, decompressed on every hardware thread into raw,
// one after another; false, with the first bad chunk's reason, when one
// fails.
bool decompressChunks(const unsigned char *packed, const std::vector<Chunk> &chunks,
                      std::size_t first, std::size_t count, unsigned char *raw,
                      std::string &error) {
    std::vector<std::size_t> at(count, 0);
    for (std::size_t k = 1; k < count; ++k)
        at[k] = at[k - 1] + chunks[first + k - 1].raw;
    const std::size_t base = chunks[first].begin;
    std::atomic<std::size_t> firstBad(count);
    onEveryThread(count, 0, [&](std::size_t k) {
        const Chunk &c = chunks[first + k];
        if (c.raw == 0)
            return;
        const int got = blosc_decompress_ctx(packed + c.begin - base, raw + at[k], c.raw, 1);
        if (got < 0 || static_cast<std::size_t>(got) != c.raw) {
            std::size_t seen = firstBad.load();
            while (k < seen && !firstBad.compare_exchange_weak(seen, k)) {
            }
        }
    });
    if (firstBad.load() < count) {
        const std::size_t k = first + firstBad.load();
        return fail(error, "Blosc chunk " + std::to_string(k) + " at byte " +
                               std::to_string(chunks[k].begin) + " does not decompress");
    }
    return true;
}

// The stream of a container, a batch of chunks at a time.
class BloscSource : public ByteSource {
public:
    BloscSource(InputBytes &input, std::vector<Chunk> chunks)
        : m_in(input), m_chunks(std::move(chunks)) {
        m_batch = std::max(1u, std::thread::hardware_concurrency());
        for (const Chunk &c : m_chunks)
            m_total += c.raw;
    }

    std::size_t read(unsigned char *to, std::size_t room) override {
        std::size_t done = 0;
        while (done < room && !failed()) {
            if (m_served == m_raw.size() && !nextBatch())
                break;
            const std::size_t n = std::min(room - done, m_raw.size() - m_served);
            std::memcpy(to + done, m_raw.data() + m_served, n);
            m_served += n;
            m_produced += n;
            done += n;
        }
        return failed() ? 0 : done;
    }
    std::uint64_t bound() const override { return failed() ? 0 : m_total - m_produced; }
    bool canSeek() const override { return true; }
    bool seek(std::uint64_t offset) override {
        if (failed() || offset > m_total)
            return false;
        std::uint64_t start = 0;
        std::size_t k = 0;
        while (k < m_chunks.size() && start + m_chunks[k].raw <= offset)
            start += m_chunks[k++].raw;
        m_next = k;
        m_raw.resize(0);
        m_served = 0;
        m_produced = start;
        if (offset > start) {
            if (!nextBatch())
                return false;
            m_served = static_cast<std::size_t>(offset - start);
            m_produced = offset;
        }
        return true;
    }

private:
    bool nextBatch() {
        if (m_next == m_chunks.size())
            return false;
        const std::size_t count = std::min(m_batch, m_chunks.size() - m_next);
        const Chunk &first = m_chunks[m_next];
        const Chunk &last = m_chunks[m_next + count - 1];
        const std::size_t packedBytes = last.begin + last.bytes - first.begin;
        std::string error;
        std::uint64_t rawBytes = 0;
        if (!m_packed.resize(packedBytes))
            throw std::bad_alloc();
        if (!m_in.readAt(first.begin, m_packed.data(), packedBytes)) {
            setError("the file could not be read at byte " + std::to_string(first.begin));
            return false;
        }
        if (!checkChunks(m_packed.data(), m_chunks, m_next, count, rawBytes, error))
            return fail(error);
        if (!m_raw.resize(static_cast<std::size_t>(rawBytes)))
            throw std::bad_alloc();
        if (!decompressChunks(m_packed.data(), m_chunks, m_next, count, m_raw.data(), error))
            return fail(error);
        m_next += count;
        m_served = 0;
        return true;
    }
    bool fail(const std::string &error) {
        setError(error);
        m_raw.resize(0);
        return false;
    }

    InputBytes &m_in;
    std::vector<Chunk> m_chunks;
    std::size_t m_batch = 1;
    std::size_t m_next = 0; // the next chunk to decompress
    ByteBuffer m_packed, m_raw;
    std::size_t m_served = 0; // of m_raw
    std::uint64_t m_total = 0, m_produced = 0;
};

} // namespace

std::unique_ptr<ByteSource> openBloscStream(InputBytes &input, std::string &error) {
    const std::uint64_t size = input.size();
    unsigned char magic[4] = {0, 0, 0, 0};
    unsigned char trailer[kTrailer] = {};
    input.readAt(0, magic, std::min<std::uint64_t>(size, 4));
    if (size >= kTrailer)
        input.readAt(size - kTrailer, trailer, kTrailer);
    Layout layout;
    if (static_cast<std::size_t>(size) != size ||
        !readLayout(magic, trailer, static_cast<std::size_t>(size), layout, error))
        return nullptr;
    std::vector<unsigned char> index(8 * (layout.chunkCount + 1));
    std::vector<Chunk> chunks;
    if (!input.readAt(layout.indexBegin, index.data(), index.size())) {
        error = "the file could not be read at byte " + std::to_string(layout.indexBegin);
        return nullptr;
    }
    if (!indexChunks(index.data(), layout, chunks, error))
        return nullptr;
    return std::unique_ptr<ByteSource>(new BloscSource(input, std::move(chunks)));
}

bool unpackBloscContainer(const unsigned char *data, std::size_t size, ByteBuffer &out,
                          std::string &error) {
    if (size < 4 || std::memcmp(data, "scf1", 4) != 0)
        return fail(error, "not a Blosc container (no \"scf1\")");
    Layout layout;
    std::vector<Chunk> chunks;
    if (!readLayout(data, size >= kTrailer ? data + size - kTrailer : data, size, layout, error) ||
        !indexChunks(data + layout.indexBegin, layout, chunks, error))
        return false;
    std::uint64_t total = 0;
    if (!checkChunks(data + chunks[0].begin, chunks, 0, chunks.size(), total, error))
        return false;
    if (static_cast<std::size_t>(total) != total || !out.resize(static_cast<std::size_t>(total)))
        return fail(error, "out of memory for " + std::to_string(total) + " bytes");
    return chunks.empty() ||
           decompressChunks(data + chunks[0].begin, chunks, 0, chunks.size(), out.data(), error);
}

} // namespace kelp
