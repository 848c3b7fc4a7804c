#include "io/GzipSource.h"

#include <zlib.h>
#ifdef KELP_HAVE_ISAL
#include <isa-l/igzip_lib.h>
#endif

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace kelp {

namespace {

const std::size_t kInputPiece = 256 * 1024;
// Deflate cannot expand data by more than about 1032 to 1; the inflater may
// hold up to a window of output besides.
const std::uint64_t kMaxRatio = 1032;
const std::uint64_t kHeldOutput = 1 << 20;
// The output is inflated a piece at a time after the 32 KiB of history that
// back references may reach.
const std::size_t kHistory = 32 * 1024;
const std::size_t kOutputPiece = 1 << 20;

enum class Step { More, MemberEnd, Failed };

bool gzipMagic(const unsigned char *p, std::size_t n) {
    return n >= 2 && p[0] == 0x1F && p[1] == 0x8B;
}

// zlib's inflate of one gzip member after another.
struct ZlibInflate {
    z_stream zs{};
    bool started = false;
    int last = Z_OK;

    bool start() {
        started = inflateInit2(&zs, 15 + 16) == Z_OK;
        return started;
    }
    ~ZlibInflate() {
        if (started)
            inflateEnd(&zs);
    }
    void nextMember() { inflateReset(&zs); }
    Step run(const unsigned char *&in, std::size_t &inLen, unsigned char *&out,
             std::size_t &outLen) {
        const std::size_t most = std::numeric_limits<uInt>::max();
        zs.next_in = const_cast<Bytef *>(in);
        zs.avail_in = static_cast<uInt>(std::min(inLen, most));
        zs.next_out = out;
        zs.avail_out = static_cast<uInt>(std::min(outLen, most));
        const uInt inBefore = zs.avail_in, outBefore = zs.avail_out;
        last = inflate(&zs, Z_NO_FLUSH);
        in += inBefore - zs.avail_in;
        inLen -= inBefore - zs.avail_in;
        out += outBefore - zs.avail_out;
        outLen -= outBefore - zs.avail_out;
        if (last == Z_STREAM_END)
            return Step::MemberEnd;
        if (last == Z_OK || last == Z_BUF_ERROR)
            return Step::More;
        return Step::Failed;
    }
};

#ifdef KELP_HAVE_ISAL
struct IsalInflate {
    inflate_state st;

    bool start() {
        isal_inflate_init(&st);
        st.crc_flag = ISAL_GZIP;
        return true;
    }
    void nextMember() {
        isal_inflate_reset(&st);
        st.crc_flag = ISAL_GZIP;
    }
    Step run(const unsigned char *&in, std::size_t &inLen, unsigned char *&out,
             std::size_t &outLen) {
        const std::size_t most = std::numeric_limits<std::uint32_t>::max();
        st.next_in = const_cast<std::uint8_t *>(in);
        st.avail_in = static_cast<std::uint32_t>(std::min(inLen, most));
        st.next_out = out;
        st.avail_out = static_cast<std::uint32_t>(std::min(outLen, most));
        const std::uint32_t inBefore = st.avail_in, outBefore = st.avail_out;
        const int ret = isal_inflate(&st);
        in += inBefore - st.avail_in;
        inLen -= inBefore - st.avail_in;
        out += outBefore - st.avail_out;
        outLen -= outBefore - st.avail_out;
        if (ret != ISAL_DECOMP_OK)
            return Step::Failed;
        return st.block_state == ISAL_BLOCK_FINISH ? Step::MemberEnd : Step::More;
    }
};
#endif

} // namespace

#ifdef KELP_HAVE_ISAL
struct GzipSource::Engine : IsalInflate {};
#else
struct GzipSource::Engine : ZlibInflate {};
#endif

namespace {

// zlib's account of what is wrong with the gzip stream at `from`: the stream
// is inflated again from its start, the output thrown away. Failures are
// rare; their wording stays zlib's whatever inflated the stream first.
InflateError describeFailure(InputBytes &input, std::uint64_t from) {
    InflateError error;
    ZlibInflate z;
    if (!z.start()) {
        error.description = "could not start the decompressor";
        error.code = Z_MEM_ERROR;
        return error;
    }
    std::vector<unsigned char> piece(kInputPiece), scratch(kInputPiece);
    std::uint64_t next = from;
    std::size_t inLen = 0;
    const unsigned char *in = piece.data();
    for (;;) {
        if (inLen == 0) {
            const std::uint64_t left = input.size() - next;
            inLen = static_cast<std::size_t>(std::min<std::uint64_t>(left, piece.size()));
            if (inLen == 0 || !input.readAt(next, piece.data(), inLen)) {
                error.description =
                    inLen == 0 ? "the compressed data ends early" : "the file could not be read";
                error.code = Z_BUF_ERROR;
                return error;
            }
            next += inLen;
            in = piece.data();
        }
        unsigned char *out = scratch.data();
        std::size_t outLen = scratch.size();
        const Step step = z.run(in, inLen, out, outLen);
        if (step == Step::Failed) {
            error.description = z.zs.msg ? z.zs.msg : "corrupt compressed data";
            error.code = z.last;
            return error;
        }
        if (step == Step::MemberEnd) {
            if (inLen < 2 && next < input.size()) {
                // The next member's magic may lie in the next piece.
                unsigned char two[2] = {0, 0};
                std::memcpy(two, in, inLen);
                input.readAt(next, two + inLen, std::min<std::size_t>(2 - inLen, 1));
                if (!gzipMagic(two, 2))
                    break;
            } else if (!gzipMagic(in, inLen)) {
                break;
            }
            z.nextMember();
        }
    }
    error.description = "corrupt compressed data";
    error.code = Z_DATA_ERROR;
    return error;
}

} // namespace

GzipSource::GzipSource(InputBytes &input, std::uint64_t from)
    : m_from(from), m_in(input), m_next(from), m_buf(new unsigned char[kInputPiece]),
      m_out(new unsigned char[kHistory + kOutputPiece]), m_engine(new Engine) {
    if (!m_engine->start())
        failWith("could not start the decompressor", Z_MEM_ERROR);
    // The trailer holds the (last member's) size modulo 2^32.
    unsigned char size[4];
    if (m_in.size() >= from + 18 && m_in.readAt(m_in.size() - 4, size, 4))
        m_trailerSize = std::uint64_t(size[0]) | std::uint64_t(size[1]) << 8 |
                        std::uint64_t(size[2]) << 16 | std::uint64_t(size[3]) << 24;
}

GzipSource::~GzipSource() = default;

void GzipSource::failWith(const std::string &description, int code) {
    m_inflateError.description = description;
    m_inflateError.code = code;
    setError(description);
}

// More compressed bytes in the piece buffer; false at the end of the input.
bool GzipSource::fillInput() {
    const std::size_t kept = m_bufEnd - m_bufStart;
    if (kept > 0 && m_bufStart > 0)
        std::memmove(m_buf.get(), m_buf.get() + m_bufStart, kept);
    m_bufStart = 0;
    m_bufEnd = kept;
    const std::uint64_t left = m_in.size() - std::min(m_next, m_in.size());
    const std::size_t n =
        static_cast<std::size_t>(std::min<std::uint64_t>(left, kInputPiece - kept));
    if (n == 0)
        return false;
    if (!m_in.readAt(m_next, m_buf.get() + kept, n)) {
        failWith("the file could not be read", Z_ERRNO);
        return false;
    }
    m_next += n;
    m_bufEnd += n;
    return true;
}

std::size_t GzipSource::read(unsigned char *to, std::size_t room) {
    std::size_t done = 0;
    while (done < room && !failed()) {
        if (m_outStart < m_outEnd) {
            const std::size_t n = std::min(room - done, m_outEnd - m_outStart);
            std::memcpy(to + done, m_out.get() + m_outStart, n);
            m_outStart += n;
            m_produced += n;
            done += n;
            continue;
        }
        if (m_ended || !inflateMore())
            break;
    }
    return failed() ? 0 : done;
}

// Inflates the next piece into the output buffer, after the window of
// history the inflater looks back into; false at the end of the stream or
// on a failure.
bool GzipSource::inflateMore() {
    if (m_outEnd == kHistory + kOutputPiece) {
        std::memmove(m_out.get(), m_out.get() + kOutputPiece, kHistory);
        m_outStart = m_outEnd = kHistory;
    }
    if (m_bufStart == m_bufEnd && !fillInput()) {
        if (!failed())
            failWith("the compressed data ends early", Z_BUF_ERROR);
        return false;
    }
    const unsigned char *in = m_buf.get() + m_bufStart;
    std::size_t inLen = m_bufEnd - m_bufStart;
    unsigned char *out = m_out.get() + m_outEnd;
    std::size_t outLen = kHistory + kOutputPiece - m_outEnd;
    const Step step = m_engine->run(in, inLen, out, outLen);
    m_bufStart = m_bufEnd - inLen;
    m_outEnd = kHistory + kOutputPiece - outLen;
    if (step == Step::Failed) {
        const InflateError why = describeFailure(m_in, m_from);
        failWith(why.description, why.code);
        return false;
    }
    if (step == Step::MemberEnd) {
        // Another member may follow; anything else after the stream is ignored.
        if (m_bufEnd - m_bufStart < 2)
            fillInput();
        if (gzipMagic(m_buf.get() + m_bufStart, m_bufEnd - m_bufStart))
            m_engine->nextMember();
        else
            m_ended = true;
    }
    return true;
}

std::uint64_t GzipSource::bound() const {
    if (failed())
        return 0;
    const std::uint64_t inflated = m_outEnd - m_outStart; // not yet read
    if (m_ended)
        return inflated;
    const std::uint64_t compressed =
        (m_in.size() - std::min(m_next, m_in.size())) + (m_bufEnd - m_bufStart);
    const std::uint64_t most = std::numeric_limits<std::uint64_t>::max() / 4;
    return compressed > most / kMaxRatio ? most : inflated + compressed * kMaxRatio + kHeldOutput;
}

std::uint64_t GzipSource::expected() const {
    const std::uint64_t most = bound();
    if (m_trailerSize <= m_produced)
        return most;
    const std::uint64_t likely = m_trailerSize - m_produced;
    return likely < most ? likely : most;
}

bool GzipSource::finish() {
    std::vector<unsigned char> scratch(kInputPiece);
    while (read(scratch.data(), scratch.size()) > 0) {
    }
    return !failed();
}

} // namespace kelp
