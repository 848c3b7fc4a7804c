// What a geometry file holds, decided by its first bytes, never by its name:
// a container (gzip, Blosc) to unwrap, or the content a parser reads.
#ifndef KELP_GEOMETRY_FILEFORMAT_H
#define KELP_GEOMETRY_FILEFORMAT_H

#include <cstddef>
#include <string>

namespace kelp {

enum class FileFormat {
    Empty,         // no bytes at all
    Gzip,          // 1F 8B: a gzip stream around one of the others
    ClassicBinary, // "BgeoV": the classic binary format Kelp reads
    ClassicAscii,  // "PGEOMETRY": the classic text form
    JsonBinary,    // 7F "NSJb" or 7F "bJSN": Houdini's newer JSON-based binary format
    JsonAscii,     // '[' or '{' after blanks: the newer format as text
    Blosc,         // "scf1": blosc-compressed newer-format file (.sc)
    Unknown
};

FileFormat sniffFileFormat(const unsigned char *data, std::size_t size);

// The first bytes in hexadecimal ("42 67 65 6F"), for messages.
std::string leadingBytesHex(const unsigned char *data, std::size_t size, std::size_t count);

} // namespace kelp

#endif
