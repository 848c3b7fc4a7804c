#include "io/BloscPack.h"

#include "io/ByteOrder.h"
#include "io/EveryThread.h"

#include <blosc.h>

#include <algorithm>
#include <cstring>
#include <thread>

namespace kelp {

namespace {

const int kLevel = 7; // the level Houdini's own compression tool uses by default
const std::size_t kSlot = kBloscBlock + BLOSC_MAX_OVERHEAD;

// A ByteSink over a vector, for packBloscContainer.
class VectorSink : public ByteSink {
public:
    explicit VectorSink(std::vector<unsigned char> &out) : m_out(out) {}
    bool write(const char *data, std::size_t size) override {
        m_out.insert(m_out.end(), data, data + size);
        return true;
    }
    const std::string &error() const override { return m_none; }

private:
    std::vector<unsigned char> &m_out;
    std::string m_none;
};

} // namespace

BloscWriter::BloscWriter(ByteSink &out, unsigned threads) : m_out(out), m_threads(threads) {
    if (m_threads == 0)
        m_threads = std::max(1u, std::thread::hardware_concurrency());
    // A few blocks per thread, so that the threads rarely wait for each
    // other at the end of a batch, and no more than 64 MiB held.
    m_batch = std::min<std::size_t>(4 * static_cast<std::size_t>(m_threads), 64);
    // Left unfilled: each block's bytes are written before they are read.
    m_raw.reset(new unsigned char[m_batch * kBloscBlock]);
    m_packed.reset(new unsigned char[m_batch * kSlot]);
}

const std::string &BloscWriter::error() const {
    return m_error.empty() ? m_out.error() : m_error;
}

bool BloscWriter::start() {
    if (!m_started) {
        m_started = true;
        const char head[12] = {'s', 'c', 'f', '1', 0, 0, 0, 0, 0, 0, 0, 0};
        if (!m_out.write(head, sizeof head))
            m_failed = true;
    }
    return !m_failed;
}

bool BloscWriter::write(const char *data, std::size_t size) {
    if (!start())
        return false;
    while (size) {
        const std::size_t n = std::min(size, m_batch * kBloscBlock - m_used);
        std::memcpy(m_raw.get() + m_used, data, n);
        m_used += n;
        data += n;
        size -= n;
        if (m_used == m_batch * kBloscBlock && !flushBatch())
            return false;
    }
    return true;
}

bool BloscWriter::flushBatch() {
    // An empty stream is one empty block.
    const std::size_t count = m_used == 0 ? 1 : (m_used + kBloscBlock - 1) / kBloscBlock;
    std::vector<int> sizes(count, 0); // compressed bytes per block, or < 0 on failure
    onEveryThread(count, m_threads, [&](std::size_t k) {
        const std::size_t begin = k * kBloscBlock;
        const std::size_t raw = std::min(kBloscBlock, m_used - std::min(m_used, begin));
        sizes[k] = blosc_compress_ctx(kLevel, BLOSC_SHUFFLE, 4, raw, m_raw.get() + begin,
                                      m_packed.get() + k * kSlot, kSlot, "lz4", 0, 1);
    });

    for (std::size_t k = 0; k < count; ++k) {
        if (sizes[k] <= 0) {
            m_error = "Blosc compression of block " + std::to_string(m_blocks + k) + " failed";
            m_failed = true;
            return false;
        }
        if (m_blocks + k > 0)
            m_starts.push_back(m_at);
        if (!m_out.write(reinterpret_cast<const char *>(m_packed.get() + k * kSlot),
                         static_cast<std::size_t>(sizes[k]))) {
            m_failed = true;
            return false;
        }
        m_at += static_cast<std::uint64_t>(sizes[k]);
    }
    m_blocks += count;
    m_lastRaw = m_used - (count - 1) * kBloscBlock;
    m_used = 0;
    return true;
}

bool BloscWriter::finish() {
    if (!start())
        return false;
    if ((m_used > 0 || m_blocks == 0) && !flushBatch())
        return false;
    std::vector<std::uint64_t> index(m_starts);
    index.push_back(kBloscBlock);
    index.push_back(m_lastRaw);
    index.push_back(8 * (m_blocks + 1));
    std::vector<unsigned char> tail(8 * index.size() + 4);
    for (std::size_t k = 0; k < index.size(); ++k)
        storeU64BE(tail.data() + 8 * k, index[k]);
    std::memcpy(tail.data() + 8 * index.size(), "1fcs", 4);
    if (!m_out.write(reinterpret_cast<const char *>(tail.data()), tail.size()))
        m_failed = true;
    return !m_failed;
}

bool packBloscContainer(const unsigned char *data, std::size_t size,
                        std::vector<unsigned char> &out, std::string &error, unsigned threads) {
    out.clear();
    // About the size of compressible geometry; grows when it is not.
    out.reserve(size / 2 + 4096);
    VectorSink sink(out);
    BloscWriter writer(sink, threads);
    if (!writer.write(reinterpret_cast<const char *>(data), size) || !writer.finish()) {
        error = writer.error();
        return false;
    }
    return true;
}

} // namespace kelp
