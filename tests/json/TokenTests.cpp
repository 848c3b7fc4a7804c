// The binary JSON token reader: string table, length forms, uniform arrays,
// byte order, and what it refuses.
#include "JsonBytes.h"

#include "json/JsonFields.h"
#include "json/JsonTokens.h"

#include <gtest/gtest.h>

using kelptest::JsonBytes;
using namespace kelp;

namespace {

struct Stream {
    explicit Stream(const JsonBytes &j) : bytes(j.bytes()), reader(bytes.data(), bytes.size()) {}
    kelptest::Bytes bytes;
    TokenReader reader;
};

std::string nextString(TokenReader &r) {
    std::string_view s;
    EXPECT_TRUE(readString(r, s, "test")) << r.error();
    return std::string(s);
}

} // namespace

TEST(Tokens, StringTableDefinitionsRedefinitionsAndUndefinitions) {
    JsonBytes j;
    j.magic().arr().def(0, "pointcount").ref(0).def(1, "P").ref(1);
    j.def(0, "vertexcount").ref(0).ref(1); // redefinition replaces
    j.def(7, "sparse").ref(7);             // ids need not be dense
    j.undef(1).ref(1).end();
    Stream s(j);
    ASSERT_TRUE(s.reader.start());
    Token t;
    ASSERT_TRUE(s.reader.next(t));
    EXPECT_EQ(t.kind, TokenKind::ArrayBegin);
    std::string_view first;
    ASSERT_TRUE(readString(s.reader, first, "first"));
    EXPECT_EQ(nextString(s.reader), "P");
    EXPECT_EQ(nextString(s.reader), "vertexcount");
    EXPECT_EQ(first, "pointcount"); // earlier strings stay valid after a redefinition
    EXPECT_EQ(nextString(s.reader), "P");
    EXPECT_EQ(nextString(s.reader), "sparse");
    EXPECT_FALSE(s.reader.next(t)); // reference to an undefined id
    EXPECT_NE(s.reader.error().find("undefined string id 1"), std::string::npos)
        << s.reader.error();
}

TEST(Tokens, LongLengthFormsOfStringsAndUniformArrays) {
    const std::string longText(300, 'x');
    std::vector<float> values(300);
    for (std::size_t k = 0; k < values.size(); ++k)
        values[k] = float(k) * 0.5f;
    JsonBytes j;
    j.magic().str("short", JsonBytes::F2).str("four", JsonBytes::F4).str("eight", JsonBytes::F8);
    j.str(longText).uf32(values).uf32({1.0f, 2.0f}, JsonBytes::F8);
    Stream s(j);
    ASSERT_TRUE(s.reader.start());
    EXPECT_EQ(nextString(s.reader), "short");
    EXPECT_EQ(nextString(s.reader), "four");
    EXPECT_EQ(nextString(s.reader), "eight");
    EXPECT_EQ(nextString(s.reader), longText);
    Token t;
    ASSERT_TRUE(s.reader.next(t));
    ASSERT_EQ(t.kind, TokenKind::Uniform);
    EXPECT_EQ(t.count, 300u);
    EXPECT_EQ(t.element, kTokReal32);
    std::vector<float> read;
    while (read.size() < t.count) {
        std::size_t n;
        const unsigned char *p = s.reader.uniformPiece(1, t.count - read.size(), n);
        ASSERT_NE(p, nullptr) << s.reader.error();
        for (std::size_t k = 0; k < n; ++k)
            read.push_back(floatFromBits(s.reader.loadU32(p + 4 * k)));
    }
    EXPECT_EQ(read, values);
    ASSERT_TRUE(s.reader.next(t));
    EXPECT_EQ(t.count, 2u);
    EXPECT_EQ(s.reader.remaining(), 0u);
}

TEST(Tokens, ReservedLengthBytesAndUnknownTokensAreRefused) {
    for (std::uint8_t bad : {0xF1, 0xF3, 0xF5, 0xF7, 0xF9, 0xFF}) {
        JsonBytes j;
        j.magic().raw(0x27).raw(bad).raw(0).raw(0);
        Stream s(j);
        ASSERT_TRUE(s.reader.start());
        Token t;
        EXPECT_FALSE(s.reader.next(t));
        EXPECT_NE(s.reader.error().find("reserved length byte"), std::string::npos);
        EXPECT_NE(s.reader.error().find("at byte 6"), std::string::npos) << s.reader.error();
    }
    for (std::uint8_t bad : {0x23, 0x24, 0x3A, 0x2C, 0x99}) {
        JsonBytes j;
        j.magic().raw(bad);
        Stream s(j);
        ASSERT_TRUE(s.reader.start());
        Token t;
        EXPECT_FALSE(s.reader.next(t));
        EXPECT_NE(s.reader.error().find("unknown token"), std::string::npos);
    }
}

TEST(Tokens, UniformArraysOfEveryElementType) {
    JsonBytes j;
    j.magic().ui8({-1, 2}).uu8({200, 3}).ui16({-300, 4}).ui32({-70000, 5});
    j.uniformHead(0x14, 1).value(std::int64_t(-5000000000LL));
    j.uf64({0.25}).ubool({true,  false, true,  true,  false, false, false, false, false,
                          false, false, false, false, false, false, false, false, false,
                          false, false, false, false, false, false, false, false, false,
                          false, false, false, false, false, true});
    j.ustr({"a", "bc"}).uniformHead(0x26, 1).length(0); // token references
    j.def(0, "shared");
    Stream s(j);
    ASSERT_TRUE(s.reader.start());
    std::vector<std::int64_t> ints;
    for (std::int64_t expected : {-1LL, 200LL, -300LL, -70000LL}) {
        ASSERT_TRUE(readIntArray(s.reader, INT64_MIN, INT64_MAX, ints, "ints"));
        EXPECT_EQ(ints[0], expected);
    }
    ASSERT_TRUE(readIntArray(s.reader, INT64_MIN, INT64_MAX, ints, "ints"));
    EXPECT_EQ(ints, std::vector<std::int64_t>{-5000000000LL});
    std::vector<double> reals;
    ASSERT_TRUE(readNumberArray(s.reader, reals, "reals"));
    EXPECT_EQ(reals, std::vector<double>{0.25});
    std::vector<std::uint8_t> flags;
    ASSERT_TRUE(readFlagArray(s.reader, flags, "flags"));
    ASSERT_EQ(flags.size(), 33u); // two 32-bit words
    EXPECT_EQ(flags[0] + flags[1] + flags[2] + flags[3] + flags[32], 4);
    std::vector<std::string_view> strings;
    ASSERT_TRUE(readStringArray(s.reader, strings, "strings"));
    EXPECT_EQ(strings, (std::vector<std::string_view>{"a", "bc"}));
    // The reference in the last array names id 0, which was never defined
    // before it: refused.
    EXPECT_FALSE(readStringArray(s.reader, strings, "refs"));
}

TEST(Tokens, BigEndianStreamsAreSwapped) {
    JsonBytes j;
    j.bigEndian().magic().i32(-123456).f64(2.5).uf32({1.5f, -2.0f}).str("z", JsonBytes::F2);
    Stream s(j);
    ASSERT_EQ(s.bytes[1], 'b'); // 7F 62 4A 53 4E
    ASSERT_TRUE(s.reader.start());
    EXPECT_TRUE(s.reader.swapped());
    Token t;
    ASSERT_TRUE(s.reader.next(t));
    EXPECT_EQ(t.i, -123456);
    ASSERT_TRUE(s.reader.next(t));
    EXPECT_EQ(t.r, 2.5);
    std::vector<double> reals;
    ASSERT_TRUE(readNumberArray(s.reader, reals, "reals"));
    EXPECT_EQ(reals, (std::vector<double>{1.5, -2.0}));
    EXPECT_EQ(nextString(s.reader), "z");
}

TEST(Tokens, CountsTheDataCannotHoldAreRefusedBeforeAnything) {
    struct Case {
        JsonBytes j;
        const char *words;
    };
    std::vector<Case> cases(4);
    cases[0].j.magic().uniformHead(0x19, 1000000).value(1.0f);
    cases[0].words = "uniform array of 1000000 elements";
    cases[1].j.magic().uniformHead(0x10, 0xFFFFFFFFFFFFFFFFull, JsonBytes::F8);
    cases[1].words = "uniform bool array";
    cases[2].j.magic().raw(0x27).length(0x7FFFFFFFFFFFFFFFull, JsonBytes::F8);
    cases[2].words = "string of";
    cases[3].j.magic().uniformHead(0x14, 0x2000000000000001ull, JsonBytes::F8);
    cases[3].words = "uniform array of";
    for (Case &c : cases) {
        Stream s(c.j);
        ASSERT_TRUE(s.reader.start());
        Token t;
        EXPECT_FALSE(s.reader.next(t));
        EXPECT_NE(s.reader.error().find(c.words), std::string::npos) << s.reader.error();
    }
}

TEST(Tokens, SkippingNestedValuesAndUnbalancedEnds) {
    JsonBytes j;
    j.magic().arr().map().key("a").arr().ui32({1, 2}).end().mapEnd().end().i8(9);
    j.arr().mapEnd();
    Stream s(j);
    ASSERT_TRUE(s.reader.start());
    ASSERT_TRUE(s.reader.skipValue());
    std::int64_t v;
    ASSERT_TRUE(readInt(s.reader, v, "after"));
    EXPECT_EQ(v, 9);
    EXPECT_FALSE(s.reader.skipValue());
    EXPECT_NE(s.reader.error().find("unbalanced"), std::string::npos);
}

TEST(Tokens, HalfFloats) {
    EXPECT_EQ(halfToFloat(0x3C00), 1.0f);
    EXPECT_EQ(halfToFloat(0xC000), -2.0f);
    EXPECT_EQ(halfToFloat(0x3555), 0.333251953125f);
    EXPECT_EQ(halfToFloat(0x0001), 5.9604644775390625e-8f); // subnormal
    EXPECT_TRUE(std::isinf(halfToFloat(0x7C00)));
}
