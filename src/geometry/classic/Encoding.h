// Value encoders: write one value of the detail to a stream, as big-endian
// binary or as decimal text, echoing it to the trace (standard error) while
// global_doDebug is 1.
//
// These are the one-value-at-a-time forms, used where the trace is wanted;
// the bulk paths of the savers produce the same bytes without them.
#ifndef KELP_GEOMETRY_ENCODING_H
#define KELP_GEOMETRY_ENCODING_H

#include "io/ByteOrder.h"

#include <Kelp>

#include <cstdint>
#include <cstring>
#include <iostream>
#include <string>
#include <type_traits>

inline bool traceOn() {
    return global_doDebug == 1;
}

// Reverses the bytes of inputVal in place (the file is big-endian, the hosts
// are little-endian).
template <typename T> inline void endianSwitch(T &inputVal) {
    static_assert(sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4 || sizeof(T) == 8,
                  "values of 1, 2, 4 or 8 bytes");
    if constexpr (sizeof(T) > 1) {
        using Bits =
            std::conditional_t<sizeof(T) == 2, std::uint16_t,
                               std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>;
        Bits bits;
        std::memcpy(&bits, &inputVal, sizeof(T));
        bits = kelp::byteSwap(bits);
        std::memcpy(&inputVal, &bits, sizeof(T));
    }
}

// Text of a number as the standard output stream writes it by default:
// integers in decimal, floats in general notation with 6 significant digits.
// Never depends on the process locale. On Windows the exponent of a float has
// at least three digits (1e-007), as that platform's runtime writes it.
std::string numberText(std::int16_t value);
std::string numberText(std::uint16_t value);
std::string numberText(std::int32_t value);
std::string numberText(std::uint32_t value);
std::string numberText(float value);

// Float text with a chosen minimum exponent width (2 everywhere but Windows,
// 3 there); numberText(float) uses the platform's width.
std::string floatText(float value, int exponentDigits);
#ifdef _WIN32
const int kExponentDigits = 3;
#else
const int kExponentDigits = 2;
#endif

// ---- writers -------------------------------------------------------------

void writeString(std::ostream &fileHandle, const std::string &str, int nameLength,
                 const char *label);

template <typename T> inline void writeSwitchEndianString(std::ostream &fileHandle, T value) {
    fileHandle << numberText(value);
}

// binary == 1 writes big-endian bytes; any other value writes text, preceded
// by the label itself when writeLabel is non-zero.
template <typename T>
inline void writeSwitchEndian(std::ostream &fileHandle, T value, const char *label, int binary,
                              int writeLabel) {
    if (traceOn())
        std::cerr << label << value;
    if (binary == 1) {
        endianSwitch(value);
        fileHandle.write(reinterpret_cast<const char *>(&value), sizeof(T));
    } else {
        if (writeLabel)
            fileHandle.write(label, static_cast<std::streamsize>(std::strlen(label)));
        writeSwitchEndianString(fileHandle, value);
    }
}

void writeChar(std::ostream &fileHandle, char value, const char *label);
void writeVectorSwitchEndian(std::ostream &fileHandle, const Imath::Vec3<float> &value,
                             const char *label, int binary);

#endif
