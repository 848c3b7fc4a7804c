#include "MachineLimits.h"

#include "io/ByteOrder.h"

#include <blosc.h>
#include <fcntl.h>
#include <libdeflate.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>

namespace {

// Set while a limit runs in its huge-page form.
bool g_huge = false;

// Asks for 2 MiB pages over the aligned inside of a new block, so that its
// first touch faults once per 2 MiB instead of once per 4 KiB.
void advise(void *data, std::size_t bytes) {
    const std::uintptr_t huge = std::uintptr_t(2) << 20;
    if (!g_huge || bytes < 2 * huge)
        return;
    std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(data) + huge - 1) & ~(huge - 1);
    std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(huge - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
}

// A new, untouched array of n values.
template <class T> std::unique_ptr<T[]> fresh(std::size_t n) {
    std::unique_ptr<T[]> p(new T[n]);
    advise(p.get(), n * sizeof(T));
    return p;
}

inline std::uint32_t be32(const unsigned char *p) {
    return kelp::loadU32BE(p);
}
inline std::uint16_t be16(const unsigned char *p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

// Reads a whole file into a fresh buffer, or streams it through a reused one.
class FileBytes {
public:
    explicit FileBytes(const std::string &path) { m_fd = open(path.c_str(), O_RDONLY); }
    ~FileBytes() {
        if (m_fd >= 0)
            close(m_fd);
    }
    bool whole() {
        struct stat st;
        if (m_fd < 0 || fstat(m_fd, &st) != 0)
            return false;
        m_size = static_cast<std::size_t>(st.st_size);
        m_data = fresh<unsigned char>(m_size);
        std::size_t got = 0;
        while (got < m_size) {
            ssize_t n = read(m_fd, m_data.get() + got, m_size - got);
            if (n <= 0)
                return false;
            got += static_cast<std::size_t>(n);
        }
        return true;
    }
    const unsigned char *data() const { return m_data.get(); }
    std::size_t size() const { return m_size; }

private:
    int m_fd = -1;
    std::size_t m_size = 0;
    std::unique_ptr<unsigned char[]> m_data;
};

// Streams bytes through a reused window; `need(n)` makes n contiguous bytes
// available at cur(). The bytes come from produce(): a file read in pieces,
// or a gzip file inflated in pieces.
class StreamWindow {
public:
    StreamWindow() : m_buf(new unsigned char[kSize]) {}
    virtual ~StreamWindow() = default;
    bool need(std::size_t n) {
        if (m_end - m_pos >= n)
            return true;
        if (n > kSize)
            return false;
        std::memmove(m_buf.get(), m_buf.get() + m_pos, m_end - m_pos);
        m_end -= m_pos;
        m_pos = 0;
        while (m_end < n) {
            std::size_t got = produce(m_buf.get() + m_end, kSize - m_end);
            if (got == 0)
                return false;
            m_end += got;
        }
        return true;
    }
    const unsigned char *cur() const { return m_buf.get() + m_pos; }
    void skip(std::size_t n) { m_pos += n; }

protected:
    // Writes up to room bytes at dst; 0 at the end or on an error.
    virtual std::size_t produce(unsigned char *dst, std::size_t room) = 0;

private:
    static const std::size_t kSize = 1 << 20;
    std::unique_ptr<unsigned char[]> m_buf;
    std::size_t m_pos = 0, m_end = 0;
};

class FileWindow : public StreamWindow {
public:
    explicit FileWindow(const std::string &path) { m_fd = open(path.c_str(), O_RDONLY); }
    ~FileWindow() override {
        if (m_fd >= 0)
            close(m_fd);
    }

protected:
    std::size_t produce(unsigned char *dst, std::size_t room) override {
        ssize_t got = m_fd < 0 ? -1 : read(m_fd, dst, room);
        return got > 0 ? static_cast<std::size_t>(got) : 0;
    }

private:
    int m_fd = -1;
};

// Reads a gzip file in 256 KiB pieces and inflates it into the window.
class InflateWindow : public StreamWindow {
public:
    explicit InflateWindow(const std::string &path) : m_in(new unsigned char[kIn]) {
        m_fd = open(path.c_str(), O_RDONLY);
        std::memset(&m_zs, 0, sizeof(m_zs));
        m_ok = m_fd >= 0 && inflateInit2(&m_zs, 15 + 16) == Z_OK;
    }
    ~InflateWindow() override {
        if (m_ok)
            inflateEnd(&m_zs);
        if (m_fd >= 0)
            close(m_fd);
    }

protected:
    std::size_t produce(unsigned char *dst, std::size_t room) override {
        if (!m_ok || m_done)
            return 0;
        m_zs.next_out = dst;
        m_zs.avail_out = static_cast<uInt>(room);
        while (m_zs.avail_out == room) {
            if (m_zs.avail_in == 0) {
                ssize_t got = read(m_fd, m_in.get(), kIn);
                if (got <= 0)
                    return 0;
                m_zs.next_in = m_in.get();
                m_zs.avail_in = static_cast<uInt>(got);
            }
            int rc = inflate(&m_zs, Z_NO_FLUSH);
            if (rc == Z_STREAM_END) {
                m_done = true;
                break;
            }
            if (rc != Z_OK)
                return 0;
        }
        return room - m_zs.avail_out;
    }

private:
    static const std::size_t kIn = 256 * 1024;
    int m_fd = -1;
    std::unique_ptr<unsigned char[]> m_in;
    z_stream m_zs;
    bool m_ok = false, m_done = false;
};

// A cursor over either source.
struct Source {
    StreamWindow *window = nullptr;
    const unsigned char *p = nullptr;
    const unsigned char *end = nullptr;
    bool need(std::size_t n) {
        if (window) {
            if (!window->need(n))
                return false;
            p = window->cur();
            return true;
        }
        return static_cast<std::size_t>(end - p) >= n;
    }
    void skip(std::size_t n) {
        if (window)
            window->skip(n);
        p += n;
    }
};

struct Array {
    std::unique_ptr<std::uint32_t[]> data;
    int comps = 0;
};

bool readDictionary(Source &in, std::uint32_t count, std::vector<Array> &arrays,
                    std::size_t elements) {
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!in.need(2))
            return false;
        std::size_t len = be16(in.p);
        in.skip(2);
        if (!in.need(len + 6))
            return false;
        int size = static_cast<std::int16_t>(be16(in.p + len));
        in.skip(len + 6);
        if (size < 0 || size > 4 || !in.need(static_cast<std::size_t>(size) * 4))
            return false;
        in.skip(static_cast<std::size_t>(size) * 4);
        Array a;
        a.comps = size;
        a.data = fresh<std::uint32_t>(elements * size + 1);
        arrays.push_back(std::move(a));
    }
    return true;
}

enum class SwapSource { WholeFile, StreamedFile, StreamedInflate };
std::uint64_t swapInto(const std::string &path, SwapSource source);

} // namespace

std::vector<unsigned char> readWholeFile(const std::string &path) {
    FileBytes f(path);
    if (!f.whole())
        return {};
    return std::vector<unsigned char>(f.data(), f.data() + f.size());
}

std::uint64_t readAndSwap(const std::string &plainPath, bool wholeFile, bool hugePages) {
    g_huge = hugePages;
    std::uint64_t check =
        swapInto(plainPath, wholeFile ? SwapSource::WholeFile : SwapSource::StreamedFile);
    g_huge = false;
    return check;
}

std::uint64_t inflateAndSwap(const std::string &gzipPath) {
    return swapInto(gzipPath, SwapSource::StreamedInflate);
}

namespace {

std::uint64_t swapInto(const std::string &plainPath, SwapSource source) {
    const bool wholeFile = source == SwapSource::WholeFile;
    std::unique_ptr<FileBytes> file;
    std::unique_ptr<StreamWindow> window;
    Source in;
    std::size_t fileSize = 0;
    if (wholeFile) {
        file.reset(new FileBytes(plainPath));
        if (!file->whole())
            return 0;
        in.p = file->data();
        in.end = file->data() + file->size();
        fileSize = file->size();
    } else if (source == SwapSource::StreamedFile) {
        window.reset(new FileWindow(plainPath));
        in.window = window.get();
        struct stat st;
        if (stat(plainPath.c_str(), &st) != 0)
            return 0;
        fileSize = static_cast<std::size_t>(st.st_size);
    } else {
        // The gzip trailer's size bounds the arrays, as the header counts do.
        std::vector<unsigned char> tail;
        int fd = open(plainPath.c_str(), O_RDONLY);
        unsigned char t[4];
        if (fd < 0 || lseek(fd, -4, SEEK_END) < 0 || read(fd, t, 4) != 4) {
            if (fd >= 0)
                close(fd);
            return 0;
        }
        close(fd);
        fileSize = t[0] | (t[1] << 8) | (t[2] << 16) | (static_cast<std::size_t>(t[3]) << 24);
        window.reset(new InflateWindow(plainPath));
        in.window = window.get();
    }
    if (!in.need(41))
        return 0;
    const std::uint32_t points = be32(in.p + 9), prims = be32(in.p + 13);
    const std::uint32_t pointAttrs = be32(in.p + 25), vertexAttrs = be32(in.p + 29);
    in.skip(41);

    // Point attributes: sized from the header counts, bounded by the file size.
    std::vector<Array> pointArrays;
    if (static_cast<std::uint64_t>(points) * 16 > fileSize)
        return 0;
    if (!readDictionary(in, pointAttrs, pointArrays, points))
        return 0;
    std::size_t pointBytes = 16;
    for (const Array &a : pointArrays)
        pointBytes += static_cast<std::size_t>(a.comps) * 4;
    std::unique_ptr<std::uint32_t[]> pos =
        fresh<std::uint32_t>(static_cast<std::size_t>(points) * 3 + 1);
    std::uint32_t *dst = pos.get();
    for (std::uint32_t p = 0; p < points; ++p) {
        if (!in.need(pointBytes))
            return 0;
        const unsigned char *s = in.p;
        dst[0] = be32(s);
        dst[1] = be32(s + 4);
        dst[2] = be32(s + 8);
        dst += 3;
        s += 16;
        for (Array &a : pointArrays) {
            std::uint32_t *d = a.data.get() + static_cast<std::size_t>(p) * a.comps;
            for (int c = 0; c < a.comps; ++c, s += 4)
                d[c] = be32(s);
        }
        in.skip(pointBytes);
    }

    // Vertex attributes and polygons: vertex arrays sized from the bytes left.
    std::uint64_t check = points ? pos[static_cast<std::size_t>(points) * 3 - 1] : 0;
    std::vector<Array> vertexArrays;
    std::size_t vertexValueBytes = 0;
    const std::size_t indexBytes = points > 65535 ? 4 : 2;
    std::size_t maxVerts = fileSize / indexBytes;
    if (!readDictionary(in, vertexAttrs, vertexArrays, 0))
        return 0;
    for (Array &a : vertexArrays) {
        vertexValueBytes += static_cast<std::size_t>(a.comps) * 4;
        maxVerts = fileSize / (indexBytes + vertexValueBytes);
    }
    for (Array &a : vertexArrays)
        a.data = fresh<std::uint32_t>(maxVerts * a.comps + 1);
    if (prims > fileSize / 5)
        return 0;
    std::unique_ptr<std::uint32_t[]> counts = fresh<std::uint32_t>(prims + 1);
    std::unique_ptr<std::uint32_t[]> ids = fresh<std::uint32_t>(maxVerts + 1);
    std::size_t verts = 0;
    std::uint32_t runLeft = 0;
    for (std::uint32_t q = 0; q < prims; ++q) {
        if (runLeft == 0) {
            if (!in.need(4))
                return 0;
            if (be32(in.p) == 0xFFFFFFFFu) {
                if (!in.need(10))
                    return 0;
                runLeft = be16(in.p + 4);
                in.skip(10);
            } else {
                in.skip(4);
                runLeft = 1;
            }
        }
        --runLeft;
        if (!in.need(5))
            return 0;
        std::uint32_t n = be32(in.p);
        in.skip(5);
        const std::size_t body = n * (indexBytes + vertexValueBytes);
        if (verts + n > maxVerts || !in.need(body))
            return 0;
        counts[q] = n;
        const unsigned char *s = in.p;
        for (std::uint32_t v = 0; v < n; ++v, ++verts) {
            ids[verts] = indexBytes == 4 ? be32(s) : be16(s);
            s += indexBytes;
            for (Array &a : vertexArrays) {
                std::uint32_t *d = a.data.get() + verts * a.comps;
                for (int c = 0; c < a.comps; ++c, s += 4)
                    d[c] = be32(s);
            }
        }
        in.skip(body);
    }
    check += verts + (prims ? counts[prims - 1] + ids[verts - 1] : 0);
    for (const Array &a : pointArrays)
        check += a.data[static_cast<std::size_t>(points) * a.comps - 1];
    for (const Array &a : vertexArrays)
        check += verts ? a.data[verts * a.comps - 1] : 0;
    return check ? check : 1;
}

} // namespace

std::size_t inflateWhole(const std::vector<unsigned char> &gz, bool hugePages) {
    if (gz.size() < 18)
        return 0;
    const std::size_t outSize = gz[gz.size() - 4] | (gz[gz.size() - 3] << 8) |
                                (gz[gz.size() - 2] << 16) |
                                (static_cast<std::size_t>(gz[gz.size() - 1]) << 24);
    g_huge = hugePages;
    std::unique_ptr<unsigned char[]> out = fresh<unsigned char>(outSize + 1);
    g_huge = false;
    z_stream zs;
    std::memset(&zs, 0, sizeof(zs));
    if (inflateInit2(&zs, 15 + 16) != Z_OK)
        return 0;
    zs.next_in = const_cast<unsigned char *>(gz.data());
    zs.avail_in = static_cast<uInt>(gz.size());
    zs.next_out = out.get();
    zs.avail_out = static_cast<uInt>(outSize + 1);
    int rc = inflate(&zs, Z_FINISH);
    std::size_t produced = zs.total_out;
    inflateEnd(&zs);
    return rc == Z_STREAM_END ? produced : 0;
}

std::size_t libdeflateInflateWhole(const std::vector<unsigned char> &gz) {
    if (gz.size() < 18)
        return 0;
    const std::size_t outSize = gz[gz.size() - 4] | (gz[gz.size() - 3] << 8) |
                                (gz[gz.size() - 2] << 16) |
                                (static_cast<std::size_t>(gz[gz.size() - 1]) << 24);
    std::unique_ptr<unsigned char[]> out(new unsigned char[outSize + 1]);
    libdeflate_decompressor *d = libdeflate_alloc_decompressor();
    std::size_t produced = 0;
    libdeflate_result rc =
        libdeflate_gzip_decompress(d, gz.data(), gz.size(), out.get(), outSize + 1, &produced);
    libdeflate_free_decompressor(d);
    return rc == LIBDEFLATE_SUCCESS ? produced : 0;
}

std::size_t deflateWhole(const std::vector<unsigned char> &plain, int level) {
    z_stream zs;
    std::memset(&zs, 0, sizeof(zs));
    if (deflateInit2(&zs, level, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return 0;
    const std::size_t bound = deflateBound(&zs, static_cast<uLong>(plain.size()));
    std::unique_ptr<unsigned char[]> out(new unsigned char[bound]);
    zs.next_in = const_cast<unsigned char *>(plain.data());
    zs.avail_in = static_cast<uInt>(plain.size());
    zs.next_out = out.get();
    zs.avail_out = static_cast<uInt>(bound);
    int rc = deflate(&zs, Z_FINISH);
    std::size_t produced = zs.total_out;
    deflateEnd(&zs);
    return rc == Z_STREAM_END ? produced : 0;
}

namespace {

// A reused 1 MiB block that goes to a file descriptor as it fills.
class BlockWriter {
public:
    explicit BlockWriter(int fd) : m_fd(fd), m_block(new unsigned char[kSize]) {}
    unsigned char *room(std::size_t n) {
        if (m_used + n > kSize)
            flush();
        return m_block.get() + m_used;
    }
    void done(std::size_t n) { m_used += n; }
    void u32(std::uint32_t v) {
        kelp::storeU32BE(room(4), v);
        done(4);
    }
    void u16(std::uint16_t v) {
        unsigned char *p = room(2);
        p[0] = static_cast<unsigned char>(v >> 8);
        p[1] = static_cast<unsigned char>(v);
        done(2);
    }
    void bytes(const void *d, std::size_t n) {
        std::memcpy(room(n), d, n);
        done(n);
    }
    void flush() {
        std::size_t off = 0;
        while (off < m_used) {
            ssize_t n = write(m_fd, m_block.get() + off, m_used - off);
            if (n <= 0) {
                m_failed = true;
                break;
            }
            off += static_cast<std::size_t>(n);
        }
        m_total += m_used;
        m_used = 0;
    }
    bool failed() const { return m_failed; }
    std::size_t total() const { return m_total; }

private:
    static const std::size_t kSize = 1 << 20;
    int m_fd;
    std::unique_ptr<unsigned char[]> m_block;
    std::size_t m_used = 0, m_total = 0;
    bool m_failed = false;
};

inline void put32(unsigned char *&p, const void *src) {
    std::uint32_t v;
    std::memcpy(&v, src, 4);
    kelp::storeU32BE(p, v);
    p += 4;
}

void dictionaryEntry(BlockWriter &out, const AttributeData &a, std::int32_t type) {
    out.u16(static_cast<std::uint16_t>(a.name.size()));
    out.bytes(a.name.data(), a.name.size());
    out.u16(static_cast<std::uint16_t>(a.size));
    out.u32(static_cast<std::uint32_t>(type));
    if (a.size == 1) {
        out.bytes("\0\0\0\0", 4);
    } else if (a.size == 3) {
        unsigned char *p = out.room(12);
        for (int c = 0; c < 3; ++c)
            put32(p, &a.vector_default[c]);
        out.done(12);
    }
}

// Bytes per element of an attribute's values, and a pointer to element 0.
std::size_t valueWords(const AttributeData &a) {
    return a.type == 0 && !a.float_data.empty() ? 1 : a.type == 5 ? 3 : 0;
}
const void *valueBase(const AttributeData &a) {
    if (a.type == 0 && !a.float_data.empty())
        return a.float_data.data();
    if (a.type == 5)
        return a.vector_data.data();
    return nullptr;
}

} // namespace

std::size_t gatherAndWrite(const Kelp &detail, const std::string &path, bool sync) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0)
        return 0;
    BlockWriter out(fd);
    const std::vector<AttributeData> &pa = detail.getPointAttributes();
    const std::vector<AttributeData> &va = detail.getVertexAttributes();
    const std::vector<PolygonData> &polys = detail.getPolygons();
    const std::uint32_t points = detail.getNumPoints();

    out.bytes("BgeoV", 5);
    out.u32(5);
    out.u32(points);
    out.u32(detail.getNumPrims());
    out.u32(detail.getNumPointGroups());
    out.u32(detail.getNumPrimGroups());
    out.u32(detail.getNumPointAttrs());
    out.u32(detail.getNumVertexAttrs());
    out.u32(detail.getNumPrimAttrs());
    out.u32(detail.getNumAttrs());
    for (std::size_t i = 1; i < pa.size(); ++i)
        dictionaryEntry(out, pa[i], pa[i].type);

    // Points: position, weight 1, then each attribute's value.
    std::vector<std::pair<const unsigned char *, std::size_t>> plan;
    std::size_t pointBytes = 16;
    for (std::size_t i = 1; i < pa.size(); ++i) {
        plan.emplace_back(static_cast<const unsigned char *>(valueBase(pa[i])), valueWords(pa[i]));
        pointBytes += valueWords(pa[i]) * 4;
    }
    const float one = 1.0f;
    const unsigned char *pos = reinterpret_cast<const unsigned char *>(pa[0].vector_data.data());
    for (std::uint32_t p = 0; p < points; ++p) {
        unsigned char *d = out.room(pointBytes);
        put32(d, pos + 12 * p);
        put32(d, pos + 12 * p + 4);
        put32(d, pos + 12 * p + 8);
        put32(d, &one);
        for (const auto &step : plan)
            for (std::size_t c = 0; c < step.second; ++c)
                put32(d, step.first + 4 * (step.second * p + c));
        out.done(pointBytes);
    }

    for (const AttributeData &a : va)
        dictionaryEntry(out, a, a.name == "uv" ? 0 : a.type);

    // Polygons in runs of at most 65535, each vertex's index and values.
    plan.clear();
    std::size_t vertexBytes = points > 65535 ? 4 : 2;
    for (const AttributeData &a : va) {
        std::size_t words = a.type == 0 && a.size == 1 ? 1 : (a.type == 5 || a.size == 3) ? 3 : 0;
        const void *base = words == 1 ? static_cast<const void *>(a.float_data.data())
                                      : static_cast<const void *>(a.vector_data.data());
        plan.emplace_back(static_cast<const unsigned char *>(base), words);
        vertexBytes += words * 4;
    }
    const bool wide = points > 65535;
    std::size_t v = 0;
    for (std::size_t q = 0; q < polys.size(); ++q) {
        if (q % 65535 == 0) {
            std::size_t left = polys.size() - q;
            out.u32(0xFFFFFFFFu);
            out.u16(static_cast<std::uint16_t>(left < 65535 ? left : 65535));
            out.u32(1);
        }
        const PolygonData &poly = polys[q];
        const std::size_t n = poly.numberOfVertices;
        unsigned char *d = out.room(5 + n * vertexBytes);
        kelp::storeU32BE(d, static_cast<std::uint32_t>(n));
        d[4] = '<';
        d += 5;
        const std::uint32_t *ids = poly.ids.data();
        for (std::size_t k = 0; k < n; ++k, ++v) {
            if (wide) {
                put32(d, ids + k);
            } else {
                d[0] = static_cast<unsigned char>(ids[k] >> 8);
                d[1] = static_cast<unsigned char>(ids[k]);
                d += 2;
            }
            for (const auto &step : plan)
                for (std::size_t c = 0; c < step.second; ++c)
                    put32(d, step.first + 4 * (step.second * v + c));
        }
        out.done(5 + n * vertexBytes);
    }
    out.bytes("\0\xff", 2);
    out.flush();
    bool ok = !out.failed() && (!sync || fsync(fd) == 0);
    ok = close(fd) == 0 && ok;
    return ok ? out.total() : 0;
}

namespace {

// Byte-swaps each array of the stream into a fresh array of its own.
std::uint64_t swapArrays(const unsigned char *stream, std::size_t size,
                         const std::vector<JsonArray> &arrays) {
    std::uint64_t check = 1;
    std::vector<std::unique_ptr<std::uint32_t[]>>
        kept; // all held to the end, as a loader holds them
    for (const JsonArray &a : arrays) {
        if (a.offset > size || a.count > (size - a.offset) / 4)
            return 0;
        kept.push_back(fresh<std::uint32_t>(a.count + 1));
        std::uint32_t *out = kept.back().get();
        const unsigned char *p = stream + a.offset;
        for (std::size_t k = 0; k < a.count; ++k) {
            out[k] = kelp::loadU32BE(p + 4 * k);
        }
        check += a.count ? out[a.count - 1] : 0;
    }
    return check;
}

// Decompresses the chunks of a .bgeo.sc into out (room bytes); returns the
// bytes produced, or 0 when the container is damaged.
std::size_t decompressChunks(const unsigned char *sc, std::size_t size, unsigned char *out,
                             std::size_t room) {
    if (size < 16 + 12 || std::memcmp(sc, "scf1", 4) != 0 || std::memcmp(sc + size - 4, "1fcs", 4))
        return 0;
    std::uint64_t indexBytes = 0;
    for (int k = 0; k < 8; ++k)
        indexBytes = (indexBytes << 8) | sc[size - 12 + k];
    // The index (chunk starts and sizes) sits before its own length and the magic.
    if (indexBytes > size - 24)
        return 0;
    const std::size_t chunksEnd = size - 12 - static_cast<std::size_t>(indexBytes);
    std::size_t at = 12, produced = 0;
    while (at + BLOSC_MIN_HEADER_LENGTH <= chunksEnd) {
        std::size_t nbytes = 0, cbytes = 0, blocksize = 0;
        blosc_cbuffer_sizes(sc + at, &nbytes, &cbytes, &blocksize);
        if (cbytes == 0 || cbytes > chunksEnd - at || nbytes > room - produced)
            return 0;
        int n = blosc_decompress_ctx(sc + at, out + produced, room - produced, 1);
        if (n < 0 || static_cast<std::size_t>(n) != nbytes)
            return 0;
        produced += nbytes;
        at += cbytes;
    }
    return at == chunksEnd ? produced : 0;
}

} // namespace

std::uint64_t jsonReadSwap(const std::string &plainPath, const std::vector<JsonArray> &arrays,
                           bool hugePages) {
    g_huge = hugePages;
    std::uint64_t check = 0;
    FileBytes file(plainPath);
    if (file.whole())
        check = swapArrays(file.data(), file.size(), arrays);
    g_huge = false;
    return check;
}

std::uint64_t bloscReadSwap(const std::string &scPath, std::size_t streamBytes,
                            const std::vector<JsonArray> &arrays, bool hugePages) {
    g_huge = hugePages;
    std::uint64_t check = 0;
    FileBytes file(scPath);
    if (file.whole()) {
        std::unique_ptr<unsigned char[]> stream = fresh<unsigned char>(streamBytes + 1);
        if (decompressChunks(file.data(), file.size(), stream.get(), streamBytes) == streamBytes)
            check = swapArrays(stream.get(), streamBytes, arrays);
    }
    g_huge = false;
    return check;
}

std::size_t bloscDecompressWhole(const std::vector<unsigned char> &sc, std::size_t streamBytes) {
    std::unique_ptr<unsigned char[]> stream = fresh<unsigned char>(streamBytes + 1);
    return decompressChunks(sc.data(), sc.size(), stream.get(), streamBytes);
}

std::size_t jsonGatherAndWrite(const Kelp &detail, std::size_t streamBytes, const std::string &path,
                               bool sync) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0)
        return 0;
    BlockWriter out(fd);
    std::size_t left = streamBytes;
    auto copy = [&](const void *data, std::size_t bytes) {
        const unsigned char *p = static_cast<const unsigned char *>(data);
        bytes = std::min(bytes, left);
        left -= bytes;
        while (bytes) {
            const std::size_t n = std::min<std::size_t>(bytes, 1 << 16);
            out.bytes(p, n);
            p += n;
            bytes -= n;
        }
    };
    for (const auto *records : {&detail.getPointAttributes(), &detail.getVertexAttributes()})
        for (const AttributeData &a : *records) {
            if (!a.vector_data.empty())
                copy(a.vector_data.data(), a.vector_data.size() * sizeof(a.vector_data[0]));
            else if (!a.float_data.empty())
                copy(a.float_data.data(), a.float_data.size() * sizeof(float));
        }
    for (const PolygonData &poly : detail.getPolygons())
        copy(poly.ids.data(), poly.ids.size() * sizeof(std::uint32_t));
    while (left) {
        const std::size_t n = std::min<std::size_t>(left, 1 << 16);
        std::memset(out.room(n), 0, n);
        out.done(n);
        left -= n;
    }
    out.flush();
    bool ok = !out.failed() && (!sync || fsync(fd) == 0);
    ok = close(fd) == 0 && ok;
    return ok ? out.total() : 0;
}

std::size_t bloscCompressWhole(const std::vector<unsigned char> &stream, unsigned threads) {
    const std::size_t block = 1 << 20, slot = block + BLOSC_MAX_OVERHEAD;
    const std::size_t size = stream.size();
    const std::size_t count = size ? (size + block - 1) / block : 0;
    std::unique_ptr<unsigned char[]> out = fresh<unsigned char>(count * slot + 1);
    std::unique_ptr<int[]> sizes(new int[count + 1]);
    std::atomic<std::size_t> next(0);
    auto work = [&] {
        for (std::size_t k; (k = next.fetch_add(1)) < count;) {
            const std::size_t raw = std::min(block, size - k * block);
            sizes[k] = blosc_compress_ctx(7, BLOSC_SHUFFLE, 4, raw, stream.data() + k * block,
                                          out.get() + k * slot, slot, "lz4", 0, 1);
        }
    };
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> workers;
    for (unsigned t = 1; t < threads; ++t)
        workers.emplace_back(work);
    work();
    for (std::thread &t : workers)
        t.join();
    std::size_t total = 0;
    for (std::size_t k = 0; k < count; ++k) {
        if (sizes[k] <= 0)
            return 0;
        total += static_cast<std::size_t>(sizes[k]);
    }
    return total;
}
