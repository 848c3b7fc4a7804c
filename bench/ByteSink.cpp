#include "ByteSink.h"

ByteSink::ByteSink(const std::string &plainPath, const std::string &gzipPath, int level)
    : m_block(1 << 20), m_out(1 << 20) {
    std::memset(&m_zs, 0, sizeof(m_zs));
    m_plain = std::fopen(plainPath.c_str(), "wb");
    m_gzip = std::fopen(gzipPath.c_str(), "wb");
    // Window bits 15 + 16: a gzip wrapper, as the saver writes.
    m_zInit = deflateInit2(&m_zs, level, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    m_ok = m_plain && m_gzip && m_zInit;
}

ByteSink::~ByteSink() {
    if (m_zInit)
        deflateEnd(&m_zs);
    if (m_plain)
        std::fclose(m_plain);
    if (m_gzip)
        std::fclose(m_gzip);
}

void ByteSink::pass(const unsigned char *data, std::size_t n, int mode) {
    if (!m_ok)
        return;
    if (n && std::fwrite(data, 1, n, m_plain) != n)
        m_ok = false;
    m_zs.next_in = const_cast<unsigned char *>(data);
    m_zs.avail_in = static_cast<uInt>(n);
    int rc;
    do {
        m_zs.next_out = m_out.data();
        m_zs.avail_out = static_cast<uInt>(m_out.size());
        rc = deflate(&m_zs, mode);
        std::size_t have = m_out.size() - m_zs.avail_out;
        if (have && std::fwrite(m_out.data(), 1, have, m_gzip) != have)
            m_ok = false;
    } while (m_ok && (m_zs.avail_in > 0 || (mode == Z_FINISH && rc != Z_STREAM_END)));
}

void ByteSink::flush() {
    pass(m_block.data(), m_used, Z_NO_FLUSH);
    m_used = 0;
}

bool ByteSink::finish() {
    pass(m_block.data(), m_used, Z_FINISH);
    m_used = 0;
    if (m_plain && std::fclose(m_plain) != 0)
        m_ok = false;
    if (m_gzip && std::fclose(m_gzip) != 0)
        m_ok = false;
    m_plain = m_gzip = nullptr;
    return m_ok;
}
