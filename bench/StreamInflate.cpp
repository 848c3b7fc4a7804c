#include "StreamInflate.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <cstring>
#include <memory>

namespace {

// The file read in pieces of kInflateWindow into one reused buffer.
class Pieces {
public:
    explicit Pieces(const std::string &path)
        : m_fd(open(path.c_str(), O_RDONLY)), m_buf(new unsigned char[kInflateWindow]) {}
    ~Pieces() {
        if (m_fd >= 0)
            close(m_fd);
    }
    bool ok() const { return m_fd >= 0; }
    // The next piece; size 0 at the end of the file or on an error.
    std::size_t next() {
        ssize_t n = read(m_fd, m_buf.get(), kInflateWindow);
        return n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    unsigned char *data() { return m_buf.get(); }

private:
    int m_fd;
    std::unique_ptr<unsigned char[]> m_buf;
};

} // namespace

std::size_t zlibStreamInflate(const std::string &gzipPath) {
    Pieces in(gzipPath);
    std::unique_ptr<unsigned char[]> window(new unsigned char[kInflateWindow]);
    z_stream zs;
    std::memset(&zs, 0, sizeof(zs));
    if (!in.ok() || inflateInit2(&zs, 15 + 16) != Z_OK)
        return 0;
    int rc = Z_OK;
    while (rc == Z_OK) {
        if (zs.avail_in == 0) {
            zs.avail_in = static_cast<uInt>(in.next());
            zs.next_in = in.data();
            if (zs.avail_in == 0)
                break; // the file ended inside the stream
        }
        zs.next_out = window.get();
        zs.avail_out = static_cast<uInt>(kInflateWindow);
        rc = inflate(&zs, Z_NO_FLUSH);
    }
    const std::size_t produced = zs.total_out;
    inflateEnd(&zs);
    return rc == Z_STREAM_END ? produced : 0;
}

#ifdef KELP_BENCH_WITH_ISAL
#include <isa-l/igzip_lib.h>

bool haveIsal() {
    return true;
}

std::size_t isalStreamInflate(const std::string &gzipPath) {
    Pieces in(gzipPath);
    std::unique_ptr<unsigned char[]> window(new unsigned char[kInflateWindow]);
    std::unique_ptr<inflate_state> state(new inflate_state);
    isal_inflate_init(state.get());
    state->crc_flag = ISAL_GZIP; // header parsed, CRC and size checked
    if (!in.ok())
        return 0;
    std::size_t produced = 0;
    while (state->block_state != ISAL_BLOCK_FINISH) {
        if (state->avail_in == 0) {
            state->avail_in = static_cast<std::uint32_t>(in.next());
            state->next_in = in.data();
            if (state->avail_in == 0)
                return 0; // the file ended inside the stream
        }
        state->next_out = window.get();
        state->avail_out = static_cast<std::uint32_t>(kInflateWindow);
        if (isal_inflate(state.get()) != ISAL_DECOMP_OK)
            return 0;
        produced += kInflateWindow - state->avail_out;
    }
    return produced;
}

#else

bool haveIsal() {
    return false;
}

std::size_t isalStreamInflate(const std::string &) {
    return 0;
}

#endif
