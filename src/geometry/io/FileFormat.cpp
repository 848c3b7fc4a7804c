#include "io/FileFormat.h"

#include <cstring>

namespace kelp {

namespace {

bool startsWith(const unsigned char *data, std::size_t size, const char *magic) {
    std::size_t n = std::strlen(magic);
    return size >= n && std::memcmp(data, magic, n) == 0;
}

} // namespace

FileFormat sniffFileFormat(const unsigned char *data, std::size_t size) {
    if (size == 0)
        return FileFormat::Empty;
    if (size >= 2 && data[0] == 0x1F && data[1] == 0x8B)
        return FileFormat::Gzip;
    if (startsWith(data, size, "BgeoV"))
        return FileFormat::ClassicBinary;
    // 7F and the word 0x624A534E, little- or big-endian.
    if (startsWith(data, size, "\x7FNSJb") || startsWith(data, size,
                                                         "\x7F"
                                                         "bJSN"))
        return FileFormat::JsonBinary;
    if (startsWith(data, size, "scf1"))
        return FileFormat::Blosc;
    if (startsWith(data, size, "PGEOMETRY"))
        return FileFormat::ClassicAscii;
    std::size_t i = 0;
    while (i < size && i < 64 &&
           (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    if (i < size && (data[i] == '[' || data[i] == '{'))
        return FileFormat::JsonAscii;
    return FileFormat::Unknown;
}

std::string leadingBytesHex(const unsigned char *data, std::size_t size, std::size_t count) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < size && i < count; ++i) {
        if (i)
            text += ' ';
        text += digits[data[i] >> 4];
        text += digits[data[i] & 15];
    }
    return text;
}

} // namespace kelp
