#include "io/GzipWriter.h"

#include <cstring>

namespace kelp {

namespace {

const std::size_t kBufferSize = 256 * 1024;
const uInt kMaxChunk = 1u << 30;

} // namespace

GzipWriter::GzipWriter(ByteSink &out, const std::string &name)
    : m_out(out), m_name(name), m_buffer(new unsigned char[kBufferSize]) {
    std::memset(&m_zs, 0, sizeof(m_zs));
}

GzipWriter::~GzipWriter() {
    if (m_started)
        deflateEnd(&m_zs);
}

const std::string &GzipWriter::error() const {
    return m_failed ? m_error : m_out.error();
}

bool GzipWriter::fail(const std::string &why) {
    if (!m_failed) {
        m_failed = true;
        m_error = "could not compress file: " + m_name + " (" + why + ")";
    }
    return false;
}

bool GzipWriter::start() {
    // Negative window bits: raw deflate; the gzip header and trailer are written here.
    int rc = deflateInit2(&m_zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    if (rc != Z_OK)
        return fail(rc == Z_MEM_ERROR ? "out of memory" : "zlib could not start");
    m_started = true;
    m_crc = crc32(0L, Z_NULL, 0);
    static const char header[10] = {'\x1f', '\x8b', 8, 0, 0, 0, 0, 0, 0, '\xff'};
    return m_out.write(header, sizeof(header));
}

bool GzipWriter::deflateSome(int flush) {
    for (;;) {
        m_zs.next_out = m_buffer.get();
        m_zs.avail_out = static_cast<uInt>(kBufferSize);
        int rc = deflate(&m_zs, flush);
        if (rc == Z_STREAM_ERROR)
            return fail(m_zs.msg ? m_zs.msg : "deflate failed");
        std::size_t produced = kBufferSize - m_zs.avail_out;
        if (produced && !m_out.write(reinterpret_cast<const char *>(m_buffer.get()), produced))
            return false;
        if (flush == Z_FINISH) {
            if (rc == Z_STREAM_END)
                return true;
        } else if (m_zs.avail_in == 0 && m_zs.avail_out != 0) {
            return true;
        }
        if (rc == Z_BUF_ERROR && produced == 0)
            return fail("deflate made no progress");
    }
}

bool GzipWriter::write(const char *data, std::size_t size) {
    if (m_failed)
        return false;
    if (!m_started && !start())
        return false;
    while (size > 0) {
        uInt chunk = size > kMaxChunk ? kMaxChunk : static_cast<uInt>(size);
        const Bytef *bytes = reinterpret_cast<const Bytef *>(data);
        m_crc = crc32(m_crc, bytes, chunk);
        m_length += chunk;
        m_zs.next_in = const_cast<Bytef *>(bytes);
        m_zs.avail_in = chunk;
        if (!deflateSome(Z_NO_FLUSH))
            return false;
        data += chunk;
        size -= chunk;
    }
    return true;
}

bool GzipWriter::finish() {
    if (m_failed)
        return false;
    if (!m_started && !start())
        return false;
    m_zs.next_in = Z_NULL;
    m_zs.avail_in = 0;
    if (!deflateSome(Z_FINISH))
        return false;
    unsigned char trailer[8];
    for (int i = 0; i < 4; ++i) {
        trailer[i] = static_cast<unsigned char>((m_crc >> (8 * i)) & 0xff);
        trailer[4 + i] = static_cast<unsigned char>((m_length >> (8 * i)) & 0xff);
    }
    return m_out.write(reinterpret_cast<const char *>(trailer), sizeof(trailer));
}

} // namespace kelp
