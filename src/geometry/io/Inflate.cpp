#include "io/Inflate.h"

#include "io/ByteOrder.h"

#include <zlib.h>
#ifdef KELP_HAVE_LIBDEFLATE
#include <libdeflate.h>
#endif

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <limits>

#include <sys/stat.h>

namespace kelp {

static_assert(kInflateOutOfMemory == Z_MEM_ERROR, "the out-of-memory code is zlib's");

ReadResult readWholeFile(const std::string &path, ByteBuffer &out) {
    std::ifstream file(path.c_str(), std::ios::binary);
    if (!file.is_open())
        return ReadResult::CannotOpen;
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == S_IFDIR)
        return ReadResult::NotAFile;
    const bool regular = (st.st_mode & S_IFMT) == S_IFREG;
    std::streamoff end = -1;
    if (regular) {
        file.seekg(0, std::ios::end);
        end = file.tellg();
        file.seekg(0, std::ios::beg);
    }
    if (regular && end >= 0 && file) {
        if (!out.resize(static_cast<std::size_t>(end)))
            return ReadResult::OutOfMemory;
        if (end > 0 && !file.read(reinterpret_cast<char *>(out.data()), end))
            return ReadResult::ReadFailed;
        return ReadResult::Ok;
    }
    // Not seekable (a pipe): read in pieces.
    file.clear();
    std::size_t size = 0;
    for (;;) {
        if (!out.reserve(size + 65536))
            return ReadResult::OutOfMemory;
        file.read(reinterpret_cast<char *>(out.data()) + size, 65536);
        size += static_cast<std::size_t>(file.gcount());
        if (!file)
            break;
    }
    if (file.bad())
        return ReadResult::ReadFailed;
    out.resize(size);
    return ReadResult::Ok;
}

namespace {

// Deflate cannot expand data by more than about 1032 to 1.
const std::size_t kMaxRatio = 1032;

std::size_t initialCapacity(const unsigned char *data, std::size_t size) {
    // The gzip trailer holds the uncompressed size modulo 2^32; trust it only
    // as far as the compressed bytes could produce it.
    std::size_t hint = size >= 4 ? loadU32LE(data + size - 4) : 0;
    std::size_t bound = size > std::numeric_limits<std::size_t>::max() / kMaxRatio
                            ? std::numeric_limits<std::size_t>::max()
                            : size * kMaxRatio;
    // A damaged trailer must not make every load reserve the worst case:
    // beyond a generous ratio the buffer grows as the data comes.
    std::size_t generous =
        size > (std::numeric_limits<std::size_t>::max() - 65536) / 16 ? bound : size * 16 + 65536;
    std::size_t capacity = std::min(hint, std::min(bound, generous));
    return std::max<std::size_t>(capacity + 1, 4096);
}

} // namespace

#ifdef KELP_HAVE_LIBDEFLATE
namespace {
// libdeflate inflates a whole member in one call, faster than zlib, when the
// output size is known: the trailer gives it for a single member under 4 GiB.
// Anything else (several members, bytes after the member, a trailer beyond
// the generous ratio, damage) is left to zlib, which says what is wrong.
bool gunzipWhole(const unsigned char *data, std::size_t size, ByteBuffer &out) {
    if (size < 18 || size > (std::numeric_limits<std::size_t>::max() - 65536) / 16)
        return false;
    const std::size_t expected = loadU32LE(data + size - 4);
    if (expected > size * 16 + 65536 || !out.reserve(expected + 1))
        return false;
    libdeflate_decompressor *d = libdeflate_alloc_decompressor();
    if (!d)
        return false;
    std::size_t consumed = 0;
    std::size_t produced = 0;
    const libdeflate_result rc = libdeflate_gzip_decompress_ex(d, data, size, out.data(),
                                                               expected + 1, &consumed, &produced);
    libdeflate_free_decompressor(d);
    if (rc != LIBDEFLATE_SUCCESS || produced != expected || consumed != size)
        return false;
    out.resize(produced);
    return true;
}
} // namespace
#endif

namespace {

// Room for more output once out is full; false when it cannot grow.
bool makeRoom(ByteBuffer &out, std::size_t produced) {
    if (produced != out.capacity())
        return true;
    const std::size_t grown = out.capacity() * 2;
    return grown > out.capacity() && out.reserve(grown);
}

// zlib over every member of data into out: Z_STREAM_END when done, else the
// code it stopped with; outOfMemory is set when out could not grow.
int inflateMembers(z_stream &zs, const unsigned char *data, std::size_t size, ByteBuffer &out,
                   std::size_t &produced, std::size_t &consumed, bool &outOfMemory) {
    const uInt kPiece = 1u << 30;
    outOfMemory = !out.reserve(initialCapacity(data, size));
    while (!outOfMemory) {
        if (!makeRoom(out, produced)) {
            outOfMemory = true;
            break;
        }
        zs.next_in = const_cast<Bytef *>(data + consumed);
        zs.avail_in = static_cast<uInt>(std::min<std::size_t>(size - consumed, kPiece));
        zs.next_out = out.data() + produced;
        zs.avail_out = static_cast<uInt>(std::min<std::size_t>(out.capacity() - produced, kPiece));
        uInt inBefore = zs.avail_in;
        uInt outBefore = zs.avail_out;
        const int ret = inflate(&zs, Z_NO_FLUSH);
        consumed += inBefore - zs.avail_in;
        produced += outBefore - zs.avail_out;
        if (ret == Z_STREAM_END) {
            // Another member may follow; anything else after the stream is ignored.
            if (size - consumed >= 2 && data[consumed] == 0x1F && data[consumed + 1] == 0x8B) {
                inflateReset(&zs);
                continue;
            }
            return ret;
        }
        if (ret == Z_OK || (ret == Z_BUF_ERROR && zs.avail_out == 0))
            continue; // more to come, or output full: grow
        return ret;
    }
    return Z_MEM_ERROR;
}

} // namespace

bool gunzip(const unsigned char *data, std::size_t size, ByteBuffer &out, InflateError &error) {
#ifdef KELP_HAVE_LIBDEFLATE
    if (gunzipWhole(data, size, out))
        return true;
#endif
    z_stream zs{};
    if (inflateInit2(&zs, 15 + 16) != Z_OK) {
        error.description = "could not start the decompressor";
        error.code = Z_MEM_ERROR;
        return false;
    }
    std::size_t produced = 0;
    std::size_t consumed = 0;
    bool outOfMemory = false;
    const int ret = inflateMembers(zs, data, size, out, produced, consumed, outOfMemory);
    if (outOfMemory) {
        error.description = "out of memory";
        error.code = Z_MEM_ERROR;
    } else if (ret != Z_STREAM_END) {
        error.description = ret == Z_BUF_ERROR && consumed == size
                                ? "the compressed data ends early"
                            : zs.msg ? zs.msg
                                     : "corrupt compressed data";
        error.code = ret;
    }
    inflateEnd(&zs);
    if (outOfMemory || ret != Z_STREAM_END)
        return false;
    out.resize(produced);
    return true;
}

} // namespace kelp
