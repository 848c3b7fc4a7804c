// Big-endian loads from raw bytes: the file is big-endian, the hosts are
// little-endian. memcpy keeps the loads free of alignment and aliasing faults;
// compilers turn each into one load and one byte-swap instruction.
#ifndef KELP_GEOMETRY_BYTEORDER_H
#define KELP_GEOMETRY_BYTEORDER_H

#include <cstdint>
#include <cstring>

#if defined(_MSC_VER) && !defined(__clang__)
#include <cstdlib>
#define KELP_BSWAP16 _byteswap_ushort
#define KELP_BSWAP32 _byteswap_ulong
#else
#define KELP_BSWAP16 __builtin_bswap16
#define KELP_BSWAP32 __builtin_bswap32
#endif

namespace kelp {

inline std::uint16_t loadU16BE(const unsigned char *p) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return KELP_BSWAP16(v);
}

inline std::uint32_t loadU32BE(const unsigned char *p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return KELP_BSWAP32(v);
}

inline std::int16_t loadI16BE(const unsigned char *p) {
    return static_cast<std::int16_t>(loadU16BE(p));
}

inline std::int32_t loadI32BE(const unsigned char *p) {
    return static_cast<std::int32_t>(loadU32BE(p));
}

inline float loadF32BE(const unsigned char *p) {
    std::uint32_t bits = loadU32BE(p);
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}

} // namespace kelp

#endif
