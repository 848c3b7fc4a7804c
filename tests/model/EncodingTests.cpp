#include "classic/Encoding.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <sstream>

namespace {

typedef Imath::Vec3<float> V3;

// Float exponents have three digits in the Windows build (1e-007).
#ifdef _WIN32
const bool kWindows = true;
#else
const bool kWindows = false;
#endif

std::string hexOf(const std::string &bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char c : bytes) {
        if (!text.empty())
            text += ' ';
        text += digits[c >> 4];
        text += digits[c & 15];
    }
    return text;
}

template <typename T> std::string binary(T value) {
    std::ostringstream out;
    writeSwitchEndian(out, value, "", 1, 1);
    return hexOf(out.str());
}

template <typename T> std::string text(T value, int writeLabel = 0, const char *label = "") {
    std::ostringstream out;
    writeSwitchEndian(out, value, label, 0, writeLabel);
    return out.str();
}

struct TraceOn {
    TraceOn() { global_doDebug = 1; }
    ~TraceOn() { global_doDebug = 0; }
};

TEST(Encoding, BinaryFormsAreBigEndian) {
    EXPECT_EQ(binary<std::int32_t>(1), "00 00 00 01");
    EXPECT_EQ(binary<std::int32_t>(-1), "FF FF FF FF");
    EXPECT_EQ(binary<std::uint32_t>(0x01020304u), "01 02 03 04");
    EXPECT_EQ(binary<float>(1.0f), "3F 80 00 00");
    EXPECT_EQ(binary<float>(-2.5f), "C0 20 00 00");
    EXPECT_EQ(binary<std::int16_t>(5), "00 05");
    EXPECT_EQ(binary<std::uint16_t>(0xABCD), "AB CD");
    std::ostringstream out;
    writeVectorSwitchEndian(out, V3(1, 2.5f, -3), "", 1);
    EXPECT_EQ(hexOf(out.str()), "3F 80 00 00 40 20 00 00 C0 40 00 00");
    std::ostringstream c;
    writeChar(c, '<', "");
    writeString(c, "varmap", 3, "");
    EXPECT_EQ(c.str(), "<var");
}

TEST(Encoding, TextFormsFollowTheStreamDefaults) {
    EXPECT_EQ(text(0.1f), "0.1");
    EXPECT_EQ(text(0.5f), "0.5");
    EXPECT_EQ(text(1e-7f), kWindows ? "1e-007" : "1e-07");
    EXPECT_EQ(text(1e8f), kWindows ? "1e+008" : "1e+08");
    EXPECT_EQ(text(123456789.0f), kWindows ? "1.23457e+008" : "1.23457e+08");
    EXPECT_EQ(text(-0.0f), "-0");
    EXPECT_EQ(text(100000.0f), "100000");
    EXPECT_EQ(text(1000000.0f), kWindows ? "1e+006" : "1e+06");
    EXPECT_EQ(text<std::int32_t>(-42), "-42");
    EXPECT_EQ(text<std::uint32_t>(4294967295u), "4294967295");
    EXPECT_EQ(text<std::int16_t>(-32768), "-32768");
    EXPECT_EQ(text<std::uint16_t>(65535), "65535");
    std::ostringstream v;
    writeVectorSwitchEndian(v, V3(1, 2.5f, -3), "", 0);
    EXPECT_EQ(v.str(), "1 2.5 -3");
    std::ostringstream two;
    writeSwitchEndian(two, std::int32_t(7), "x", 2, 0); // any binary flag but 1 is text
    EXPECT_EQ(two.str(), "7");
}

TEST(Encoding, LabelsAreWrittenOnlyWhenAsked) {
    EXPECT_EQ(text<std::int32_t>(5, 1, " NPrims "), " NPrims 5");
    EXPECT_EQ(text<std::int32_t>(5, 0, " NPrims "), "5");
    std::ostringstream out;
    writeSwitchEndian(out, std::int32_t(5), " NPrims ", 1, 1);
    EXPECT_EQ(out.str().size(), 4u); // binary: the value only
}

TEST(Encoding, ThreeDigitExponentsForTheWindowsForm) {
    EXPECT_EQ(floatText(1e-7f, 3), "1e-007");
    EXPECT_EQ(floatText(123456789.0f, 3), "1.23457e+008");
    EXPECT_EQ(floatText(3.4028235e38f, 3), "3.40282e+038");
    EXPECT_EQ(floatText(1e-7f, 2), "1e-07");
    EXPECT_EQ(floatText(1e-40f, 2), "9.99995e-41");
    EXPECT_EQ(floatText(0.25f, 3), "0.25");
    EXPECT_EQ(numberText(1e-7f), floatText(1e-7f, kExponentDigits));
}

// A locale whose decimal point is a comma and which groups thousands.
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(Encoding, TextDoesNotFollowTheProcessLocale) {
    std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    const char *c = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    std::ostringstream out; // imbued with the comma locale
    writeSwitchEndian(out, 0.5f, "", 0, 0);
    writeString(out, " ", 1, "");
    writeSwitchEndian(out, std::int32_t(1234567), "", 0, 0);
    std::locale::global(previous);
    if (c)
        std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(out.str(), "0.5 1234567");
    EXPECT_EQ(numberText(2.75f), "2.75");
}

TEST(Encoding, EndianSwitchReversesTheBytes) {
    std::uint16_t u = 0x1234;
    endianSwitch(u);
    EXPECT_EQ(u, 0x3412);
    std::uint32_t w = 0x11223344u;
    endianSwitch(w);
    EXPECT_EQ(w, 0x44332211u);
}

TEST(Encoding, TraceShowsLabelAndValue) {
    std::ostringstream out;
    testing::internal::CaptureStderr();
    {
        TraceOn on;
        writeSwitchEndian(out, std::uint32_t(3), "\nNPoints  ", 1, 0);
        writeVectorSwitchEndian(out, V3(1, 2.5f, -3), "P: ", 1);
        writeSwitchEndian(out, 0.5f, " w ", 1, 0);
        writeVectorSwitchEndian(out, V3(0.5f, 1, 0), "N: ", 1);
        writeChar(out, '<', " ");
    }
    writeSwitchEndian(out, 1.0f, "silent", 1, 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "\nNPoints  3P: (1 2.5 -3) w 0.5N: (0.5 1 0) <");
}

} // namespace
