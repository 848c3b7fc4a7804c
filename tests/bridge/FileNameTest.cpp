// Frame file names: the documented table (with a token inside a name
// replacing only itself), tokens in folders, and the host string's own text.
#include "bridge/FileName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

struct NameCase {
    const char *name;
    const char *pattern;
    float frame;
    const char *expected;
};

std::string expand(const char *pattern, float frame) {
    return buildFileName(MString(pattern), frame).asChar();
}

class FileNameTable : public ::testing::TestWithParam<NameCase> {};

TEST_P(FileNameTable, Expands) {
    const NameCase &c = GetParam();
    EXPECT_EQ(expand(c.pattern, c.frame), c.expected) << c.pattern << " at " << c.frame;
}

const NameCase kDocumentedTable[] = {
    {"PaddedToWidth", "/data/fluid.$F4.bgeo", 7.0f, "/data/fluid.0007.bgeo"},
    {"TruncatedNotRounded", "/data/fluid.$F4.bgeo", 7.9f, "/data/fluid.0007.bgeo"},
    {"NoWidthNoPadding", "/data/fluid.$F.bgeo", 12.0f, "/data/fluid.12.bgeo"},
    {"LongerNumberStaysWhole", "/data/fluid.$F3.bgeo", 12345.0f, "/data/fluid.12345.bgeo"},
    {"OnlyLastTokenReplaced", "/data/a.$F.b.$F.bgeo", 3.0f, "/data/a.$F.b.3.bgeo"},
    // Replaces only the token; the folder and the rest of the name stay.
    {"TokenInsideName", "/data/fluid_$F4.bgeo", 7.0f, "/data/fluid_0007.bgeo"},
    {"HashIsNoToken", "/data/fluid.#.bgeo", 7.0f, "/data/fluid.#.bgeo"},
    {"DotInFolder", "/data/shot.a/fluid.$F2.bgeo", 7.0f, "/data/shot.a/fluid.07.bgeo"},
    {"Hundredths", "/data/fluid.$FF.bgeo", 7.256f, "/data/fluid.7.26.bgeo"},
    {"HundredthsWinsOverWidth", "/data/fluid.$FF.$F4.bgeo", 7.256f, "/data/fluid.$FF.7.26.bgeo"},
};
INSTANTIATE_TEST_SUITE_P(Documented, FileNameTable, ::testing::ValuesIn(kDocumentedTable),
                         [](const ::testing::TestParamInfo<NameCase> &info) {
                             return std::string(info.param.name);
                         });

const NameCase kTokenInName[] = {
    {"UnpaddedInsideName", "/data/v2_$F.bgeo", 12.0f, "/data/v2_12.bgeo"},
    {"CompressedName", "shot010_$F.bgeo.gz", 5.0f, "shot010_5.bgeo.gz"},
    {"TokenInFolder", "/data/$F4/fluid.bgeo", 7.0f, "/data/0007/fluid.bgeo"},
    {"TokenInFolderAndName", "/data/$F4/fluid_$F2.bgeo", 7.0f, "/data/$F4/fluid_07.bgeo"},
    {"TokenAtEnd", "/data/fluid.$F", 9.0f, "/data/fluid.9"},
    {"LetterAfterToken", "/data/x.$Fa.bgeo", 7.0f, "/data/x.7a.bgeo"},
    {"OnlyOneDigitIsWidth", "/data/x.$F12.bgeo", 7.0f, "/data/x.72.bgeo"},
    {"HundredthsInsideName", "/data/sim_$FF_v1.bgeo", 2.5f, "/data/sim_2.50_v1.bgeo"},
    {"WholeFrameWithHundredthsElsewhere", "/data/a.$FF.b$F.bgeo", 3.0f, "/data/a.$FF.b3.00.bgeo"},
    {"EmptyPiecesKept", "/data/a..$F.bgeo", 3.0f, "/data/a..3.bgeo"},
    {"LeadingDotKept", "./out.$F2.bgeo", 4.0f, "./out.04.bgeo"},
    {"TrailingDotKept", "/data/f.$F.", 3.0f, "/data/f.3."},
    {"NoTokenUnchanged", "/data/fluid.bgeo", 3.0f, "/data/fluid.bgeo"},
    {"DollarWithoutF", "/data/$G.bgeo", 3.0f, "/data/$G.bgeo"},
    {"EmptyPath", "", 3.0f, ""},
};
INSTANTIATE_TEST_SUITE_P(TokenInName, FileNameTable, ::testing::ValuesIn(kTokenInName),
                         [](const ::testing::TestParamInfo<NameCase> &info) {
                             return std::string(info.param.name);
                         });

// Frame values: truncation toward zero, and the hundredths rounding, whose
// text is the host string's two-decimal form.
const NameCase kFrames[] = {
    {"NegativeTruncatesTowardZero", "/data/f.$F.bgeo", -2.5f, "/data/f.-2.bgeo"},
    {"NearlyThirteen", "/data/f.$F.bgeo", 12.9f, "/data/f.12.bgeo"},
    {"ZeroPadded", "/data/f.$F4.bgeo", 0.0f, "/data/f.0000.bgeo"},
    {"WidthNine", "/data/f.$F9.bgeo", 42.0f, "/data/f.000000042.bgeo"},
    {"WidthZero", "/data/f.$F0.bgeo", 42.0f, "/data/f.42.bgeo"},
    {"HundredthsOfWholeFrame", "/data/f.$FF.bgeo", 7.0f, "/data/f.7.00.bgeo"},
    {"HundredthsRoundHalfUp", "/data/f.$FF.bgeo", 0.125f, "/data/f.0.13.bgeo"},
    {"HundredthsNegative", "/data/f.$FF.bgeo", -2.5f, "/data/f.-2.50.bgeo"},
    {"HundredthsNotPadded", "/data/f.$F4.$FF.bgeo", 1.5f, "/data/f.$F4.1.50.bgeo"},
};
INSTANTIATE_TEST_SUITE_P(Frames, FileNameTable, ::testing::ValuesIn(kFrames),
                         [](const ::testing::TestParamInfo<NameCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(FileName, FramesOutsideTheIntegerRangeAreClamped) {
    EXPECT_EQ(expand("/d/f.$F.bgeo", 1e20f), "/d/f.2147483647.bgeo");
    EXPECT_EQ(expand("/d/f.$F.bgeo", -1e20f), "/d/f.-2147483648.bgeo");
    EXPECT_EQ(expand("/d/f.$F.bgeo", std::numeric_limits<float>::infinity()),
              "/d/f.2147483647.bgeo");
    EXPECT_EQ(expand("/d/f.$F.bgeo", std::nanf("")), "/d/f.0.bgeo");
}

TEST(FileName, PatternIsNotModified) {
    const MString pattern("/data/fluid.$F4.bgeo");
    const MString first = buildFileName(pattern, 1.0f);
    const MString second = buildFileName(pattern, 2.0f);
    EXPECT_STREQ(pattern.asChar(), "/data/fluid.$F4.bgeo");
    EXPECT_STREQ(first.asChar(), "/data/fluid.0001.bgeo");
    EXPECT_STREQ(second.asChar(), "/data/fluid.0002.bgeo");
}

} // namespace
