// Byte order: loads and stores of 16, 32 and 64-bit integers and of floats
// and doubles, big- or little-endian, from and to raw bytes. This is the one
// place that swaps bytes; every parser and writer goes through it.
//
// memcpy keeps the loads free of alignment and aliasing faults; compilers
// turn each into one load and, where the orders differ, one swap instruction.
#ifndef KELP_GEOMETRY_IO_BYTEORDER_H
#define KELP_GEOMETRY_IO_BYTEORDER_H

#include <cstdint>
#include <cstring>

#if defined(_MSC_VER) && !defined(__clang__)
#include <cstdlib>
#endif

namespace kelp {

enum class Endian { Big, Little };

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
const Endian kHostEndian = Endian::Big;
#else
const Endian kHostEndian = Endian::Little; // x86-64 and arm64 hosts
#endif

inline std::uint16_t byteSwap(std::uint16_t v) {
#if defined(_MSC_VER) && !defined(__clang__)
    return _byteswap_ushort(v);
#elif defined(__GNUC__) || defined(__clang__)
    return __builtin_bswap16(v);
#else
    return static_cast<std::uint16_t>((v >> 8) | (v << 8));
#endif
}

inline std::uint32_t byteSwap(std::uint32_t v) {
#if defined(_MSC_VER) && !defined(__clang__)
    return _byteswap_ulong(v);
#elif defined(__GNUC__) || defined(__clang__)
    return __builtin_bswap32(v);
#else
    return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
#endif
}

inline std::uint64_t byteSwap(std::uint64_t v) {
#if defined(_MSC_VER) && !defined(__clang__)
    return _byteswap_uint64(v);
#elif defined(__GNUC__) || defined(__clang__)
    return __builtin_bswap64(v);
#else
    return (static_cast<std::uint64_t>(byteSwap(static_cast<std::uint32_t>(v))) << 32) |
           byteSwap(static_cast<std::uint32_t>(v >> 32));
#endif
}

// The order of a stream that is, or is not, the reverse of the host's.
inline Endian orderOf(bool swapped) {
    if (!swapped)
        return kHostEndian;
    return kHostEndian == Endian::Little ? Endian::Big : Endian::Little;
}

// An unsigned integer in the given order, read from or written to p.
template <class U> inline U loadAs(const unsigned char *p, Endian order) {
    U v;
    std::memcpy(&v, p, sizeof v);
    return order == kHostEndian ? v : byteSwap(v);
}

template <class U> inline void storeAs(unsigned char *p, U v, Endian order) {
    if (order != kHostEndian)
        v = byteSwap(v);
    std::memcpy(p, &v, sizeof v);
}

inline float floatFromBits(std::uint32_t bits) {
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}

inline double doubleFromBits(std::uint64_t bits) {
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

inline std::uint32_t bitsOf(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return bits;
}

inline std::uint64_t bitsOf(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    return bits;
}

// ---- big-endian: the classic format and the Blosc container index --------

inline std::uint16_t loadU16BE(const unsigned char *p) {
    return loadAs<std::uint16_t>(p, Endian::Big);
}
inline std::uint32_t loadU32BE(const unsigned char *p) {
    return loadAs<std::uint32_t>(p, Endian::Big);
}
inline std::uint64_t loadU64BE(const unsigned char *p) {
    return loadAs<std::uint64_t>(p, Endian::Big);
}
inline std::int32_t loadI32BE(const unsigned char *p) {
    return static_cast<std::int32_t>(loadU32BE(p));
}
inline float loadF32BE(const unsigned char *p) {
    return floatFromBits(loadU32BE(p));
}

inline void storeU16BE(unsigned char *p, std::uint16_t v) {
    storeAs(p, v, Endian::Big);
}
inline void storeU32BE(unsigned char *p, std::uint32_t v) {
    storeAs(p, v, Endian::Big);
}
inline void storeU64BE(unsigned char *p, std::uint64_t v) {
    storeAs(p, v, Endian::Big);
}

// ---- little-endian: gzip trailers, Blosc chunk headers, most JSON streams --

inline std::uint32_t loadU32LE(const unsigned char *p) {
    return loadAs<std::uint32_t>(p, Endian::Little);
}

inline void storeU16LE(unsigned char *p, std::uint16_t v) {
    storeAs(p, v, Endian::Little);
}
inline void storeU32LE(unsigned char *p, std::uint32_t v) {
    storeAs(p, v, Endian::Little);
}
inline void storeU64LE(unsigned char *p, std::uint64_t v) {
    storeAs(p, v, Endian::Little);
}
inline void storeF64LE(unsigned char *p, double v) {
    storeU64LE(p, bitsOf(v));
}

} // namespace kelp

#endif
