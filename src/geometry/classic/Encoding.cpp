#include "classic/Encoding.h"

#include <charconv>
#include <cstdlib>

int global_doDebug = 0;

namespace {

template <typename T> std::string integerText(T value) {
    char buffer[16];
    std::to_chars_result r = std::to_chars(buffer, buffer + sizeof(buffer), value);
    return std::string(buffer, r.ptr);
}

} // namespace

std::string numberText(std::int16_t value) {
    return integerText(value);
}
std::string numberText(std::uint16_t value) {
    return integerText(value);
}
std::string numberText(std::int32_t value) {
    return integerText(value);
}
std::string numberText(std::uint32_t value) {
    return integerText(value);
}
std::string numberText(float value) {
    return floatText(value, kExponentDigits);
}

std::string floatText(float value, int exponentDigits) {
    // "%g" with 6 significant digits, in the "C" locale whatever the process uses.
    char buffer[48];
    std::to_chars_result r = std::to_chars(
        buffer, buffer + sizeof(buffer), static_cast<double>(value), std::chars_format::general, 6);
    std::string text(buffer, r.ptr);
    std::string::size_type e = text.find('e');
    if (e == std::string::npos)
        return text;
    // to_chars writes at least two exponent digits; pad to the platform's width.
    std::string::size_type digits = e + 2; // past 'e' and the sign
    std::string::size_type have = text.size() - digits;
    if (have < static_cast<std::string::size_type>(exponentDigits))
        text.insert(digits, static_cast<std::string::size_type>(exponentDigits) - have, '0');
    return text;
}

void writeString(std::ostream &fileHandle, const std::string &str, int nameLength,
                 const char *label) {
    std::size_t n = nameLength < 0 ? 0 : static_cast<std::size_t>(nameLength);
    if (n > str.size())
        n = str.size();
    if (traceOn())
        std::cerr << label << std::string(str.c_str(), n).c_str();
    fileHandle.write(str.data(), static_cast<std::streamsize>(n));
}

void writeChar(std::ostream &fileHandle, char value, const char *label) {
    if (traceOn())
        std::cerr << label << value;
    fileHandle.put(value);
}

void writeVectorSwitchEndian(std::ostream &fileHandle, const Imath::Vec3<float> &value,
                             const char *label, int binary) {
    if (traceOn())
        std::cerr << label << '(' << value.x << ' ' << value.y << ' ' << value.z << ')';
    if (binary == 1) {
        for (int i = 0; i < 3; ++i) {
            float c = value[i];
            endianSwitch(c);
            fileHandle.write(reinterpret_cast<const char *>(&c), sizeof(float));
        }
    } else {
        writeSwitchEndianString(fileHandle, value.x);
        writeString(fileHandle, " ", 1, "");
        writeSwitchEndianString(fileHandle, value.y);
        writeString(fileHandle, " ", 1, "");
        writeSwitchEndianString(fileHandle, value.z);
    }
}
