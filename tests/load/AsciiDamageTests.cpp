// Damaged, truncated and hostile text files: each fails with one line that
// says what is wrong, without allocations sized from its counts.
// Its test program counts allocations (CountingAllocator) to see the
// largest request.
#include "ClassicTwin.h"
#include "CountingAllocator.h"
#include "LoadHelpers.h"
#include "ModelCompare.h"
#include "TriangleText.h"

#include <gtest/gtest.h>

#include <Kelp>

#include <cstdlib>
#include <new>
#include <string>
#include <sys/stat.h>

namespace {

using namespace kelptest;

const char *const kTriangle = kTriangleText;

// The keyword that opens a particle primitive in the text form.
#define PARTICLE_PRIMITIVE "Part"

const char *const kIds = "PGEOMETRY V5\n"
                         "NPoints 2 NPrims 1\n"
                         "NPointGroups 1 NPrimGroups 0\n"
                         "NPointAttrib 1 NVertexAttrib 0 NPrimAttrib 1 NAttrib 0\n"
                         "PointAttrib\n"
                         "id 1 int 0\n"
                         "0 0 0 1 (7)\n"
                         "1 0 0 1 (8)\n"
                         "PrimitiveAttrib\n"
                         "generator 1 index 1 papi\n" PARTICLE_PRIMITIVE " 2 0 1 [0]\n"
                         "g 2 01\n"
                         "beginExtra\n"
                         "endExtra\n";

Bytes bytesOf(const std::string &text) {
    return Bytes(text.begin(), text.end());
}

// text with the first `from` replaced by `to`.
std::string edited(const std::string &text, const std::string &from, const std::string &to) {
    std::string out = text;
    const std::string::size_type at = out.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        out.replace(at, from.size(), to);
    return out;
}

void expectCleanFailure(const Bytes &bytes, const std::string &words, const std::string &what) {
    Kelp k;
    Loaded r = loadInto(k, bytes, "x.geo");
    EXPECT_EQ(r.result, 0) << what;
    EXPECT_EQ(lineCount(r.err), 1) << what << ": " << r.err;
    EXPECT_EQ(r.err.rfind("could not load x.geo: ", 0), 0u) << what << ": " << r.err;
    EXPECT_NE(r.err.find(words), std::string::npos) << what << ": " << r.err;
    // Never a partial success: the caller's detail is untouched.
    EXPECT_TRUE(k.getPointAttributes().empty()) << what;
    EXPECT_EQ(k.getNumPoints(), 0u) << what;
}

TEST(AsciiDamage, TheUndamagedFilesLoad) {
    for (const char *text : {kTriangle, kIds}) {
        Kelp k;
        Loaded r = loadInto(k, bytesOf(text), "x.geo");
        EXPECT_EQ(r.result, 1) << r.err;
    }
}

struct Edit {
    const char *base;
    const char *from;
    const char *to;
    const char *words;
};

void PrintTo(const Edit &e, std::ostream *os) {
    *os << '"' << e.from << "\" -> \"" << e.to << '"';
}

class AsciiEdits : public testing::TestWithParam<Edit> {};

TEST_P(AsciiEdits, FailWithTheirReason) {
    const Edit &e = GetParam();
    expectCleanFailure(bytesOf(edited(e.base, e.from, e.to)), e.words,
                       std::string(e.from) + " -> " + e.to);
}

const Edit kEdits[] = {
    {kTriangle, "V5", "V", "expected the version (V5), found \"V\""},
    {kTriangle, "V5", "X5", "expected the version"},
    {kTriangle, "NPoints 3", "NPoints x", "expected NPoints (0 to 4294967295), found \"x\""},
    {kTriangle, "NPoints 3", "NPoints 4294967296", "expected NPoints"},
    {kTriangle, "NPoints 3", "NPoints -3", "expected NPoints"},
    {kTriangle, "NPoints 3", "NPoints 3.0", "expected NPoints"},
    {kTriangle, "NPrims", "NPrimitives", "expected NPrims, found \"NPrimitives\""},
    {kTriangle, "NAttrib 0", "", "expected NAttrib, found \"PointAttrib\""},
    {kTriangle, "PointAttrib\n", "PointAttribs\n", "expected PointAttrib"},
    {kTriangle, "PointAttrib\n", "", "expected PointAttrib, found \"N\""},
    {kTriangle, "N 3 vector", "N 3 string", "has type \"string\", whose layout Kelp does not know"},
    {kTriangle, "N 3 vector", "N 0 vector", "attribute \"N\" has size 0"},
    {kTriangle, "N 3 vector", "N 40000 vector", "attribute \"N\" has size 40000"},
    {kTriangle, "N 3 vector", "N three vector", "expected the size of attribute \"N\""},
    {kTriangle, "N 3 vector", "\"N 3 vector", "is not closed"},
    {kTriangle, "vector 0 0 0", "vector 0 0 zero", "expected a default value"},
    {kTriangle, "1 0 0 1 (0 0 1)", "1.2.3 0 0 1 (0 0 1)", "expected a point coordinate"},
    {kTriangle, "1 0 0 1 (0 0 1)", "1 0 0 1e50 (0 0 1)", "found \"1e50\""},
    {kTriangle, "1 0 0 1 (0 0 1)", "1 0 0 1 (0 0 1", "expected ), found \"0\""},
    {kTriangle, "1 0 0 1 (0 0 1)", "1 0 0 1 0 0 1)", "expected (, found \"0\""},
    {kTriangle, "1 0 0 1 (0 0 1)", "1 0 0 1 (0 0 1 1)", "expected ), found \"1\""},
    {kTriangle, "1 0 0 1 (0 0 1)", "1 0 0 1 (0 0)", "expected a value"},
    {kTriangle, " 3 < 0 1 2", " 3 < 0 1 3", "polygon 0 names point 3, but the file has 3 points"},
    {kTriangle, " 3 < 0 1 2", " 3 < 0 1 -2", "expected a point index, found \"-2\""},
    {kTriangle, " 3 < 0 1 2", " 3 x 0 1 2", "expected < or : after the vertex count"},
    {kTriangle, " 3 < 0 1 2", " 4 < 0 1 2", "expected a point index, found \"beginExtra\""},
    {kTriangle, " 3 < 0 1 2", " 2 < 0 1 2", "expected beginExtra, found \"2\""},
    {kTriangle, "Run 1 Poly", "Run 1 Mesh", "has type \"Mesh\", which Kelp does not read"},
    {kTriangle, "Run 1 Poly", "Run 2 Poly",
     "a run of 2 primitives goes past the primitive count 1"},
    {kTriangle, "Run 1 Poly", "Sphere", "primitive 0 has type \"Sphere\""},
    {kTriangle, "NPrims 1", "NPrims 0", "expected beginExtra, found \"Run\""},
    {kTriangle, "NPrims 1", "NPrims 2", "primitive 1 has type \"beginExtra\""},
    {kTriangle, "NPoints 3", "NPoints 4", "expected a point coordinate"},
    {kTriangle, "NPoints 3", "NPoints 2", "has type \"0\""},
    {kTriangle, "NPointAttrib 1", "NPointAttrib 2", "attribute \"0\" has size 0"},
    {kTriangle, "NVertexAttrib 0", "NVertexAttrib 1", "expected VertexAttrib, found \"Run\""},
    {kTriangle, "NPrimAttrib 0", "NPrimAttrib 1", "expected PrimitiveAttrib"},
    {kTriangle, "NAttrib 0", "NAttrib 1", "expected DetailAttrib, found \"beginExtra\""},
    {kTriangle, "NPointGroups 0", "NPointGroups 1", "point group 0"},
    {kTriangle, " 3 < 0 1 2\nbeginExtra\nendExtra\n", " 3 < 0 1",
     "the text ends early in the primitives (line 11, byte 212 of 212): expected a point index"},
    {kTriangle, "endExtra\n", "endExtra\nmore\n", "is not closed by endExtra at the end"},
    {kTriangle, "endExtra\n", "", "is not closed by endExtra"},
    {kTriangle, "endExtra\n", "endExtras\n", "is not closed by endExtra"},
    {kTriangle, "endExtra\n", "endExtra\n\x01", "is not closed by endExtra"},
    {kTriangle, "beginExtra", "beginExtras", "expected beginExtra"},
    {kIds, "(7)", "(1.5)", "expected an integer value (a 32-bit integer), found \"1.5\""},
    {kIds, "(7)", "(2147483648)", "expected an integer value"},
    {kIds, "int 0", "int 0.5", "expected a default value"},
    {kIds, "index 1 papi", "index 2 papi", "primitive 0 has type \"2\""},
    {kIds, "index 1 papi", "index 4294967295 papi", "4294967295 strings, more than the"},
    {kIds, "[0]", "[0 1]", "expected ], found \"1\""},
    {kIds, "[0]", "", "expected [, found \"g\""},
    {kIds, " 2 0 1 [0]", " 2 0 2 [0]", "particle primitive 0 names point 2"},
    {kIds, " 2 0 1 [0]", " 2 < 0 1 [0]", "expected a point index, found \"<\""},
    {kIds, "g 2 01", "g 3 011", "point group 0 has 3 members' flags, but the file has 2 points"},
    {kIds, "g 2 01", "g 2 012", "more 0 or 1 flags of point group 0"},
    {kIds, "g 2 01", "g 2 011", "more 0 or 1 flags of point group 0"},
    {kIds, "g 2 01", "g 2 0", "expected 1 more 0 or 1 flags"},
    {kIds, "g 2 01", "( 2 01", "expected the name of point group 0"},
};

INSTANTIATE_TEST_SUITE_P(Text, AsciiEdits, testing::ValuesIn(kEdits));

// Counts of 2^31 and more in files of a few dozen bytes fail at once, and
// nothing is sized from them.
// Found by the byte fuzzer: a version word that is a quoted string (empty
// or cut off at the end of the file) was looked at before its first byte.
TEST(AsciiDamage, AQuotedVersionFailsCleanly) {
    expectCleanFailure(bytesOf("PGEOMETRY \""), "is not closed", "cut-off quote");
    expectCleanFailure(bytesOf("PGEOMETRY \"\""), "expected the version (V5)", "empty quote");
    expectCleanFailure(bytesOf("PGEOMETRY \"V5\"\nNPoints 0"), "expected the version (V5)",
                       "quoted version");
}

TEST(AsciiDamage, HugeCountsFailFastWithoutBigAllocations) {
    const char *const head = "PGEOMETRY V5\nNPoints %s NPrims %s\nNPointGroups %s NPrimGroups "
                             "%s\nNPointAttrib %s NVertexAttrib %s NPrimAttrib %s NAttrib %s\n";
    struct Case {
        int field; // which of the eight counts is huge
        const char *body;
        const char *words;
    } cases[] = {
        {0, "beginExtra\nendExtra\n", "the point count 2147483648 needs at least 8 bytes"},
        {1, "0 0 0 1\nRun 2147483648 Poly\n3 < 0 0 0\n", "expected the vertex count"},
        {1, "0 0 0 1\nPoly 2147483648 < 0\n", "has 2147483648 vertices, more than the"},
        {2, "g 0\n", "expected the name of point group 1"},
        {3, "g 0\n", "expected the name of primitive group 1"},
        {4, "PointAttrib\na 1 int 0\n", "point attribute dictionary count 2147483648 cannot fit"},
        {5, "VertexAttrib\n", "vertex attribute dictionary count 2147483648 cannot fit"},
        {6, "PrimitiveAttrib\n", "primitive attribute dictionary count 2147483648 cannot fit"},
        {7, "DetailAttrib\n", "detail attribute dictionary count 2147483648 cannot fit"},
    };
    for (const Case &c : cases) {
        std::string counts[8];
        for (int i = 0; i < 8; ++i)
            counts[i] = i == c.field ? "2147483648" : (i == 0 && c.field == 1 ? "1" : "0");
        char text[512];
        std::snprintf(text, sizeof text, head, counts[0].c_str(), counts[1].c_str(),
                      counts[2].c_str(), counts[3].c_str(), counts[4].c_str(), counts[5].c_str(),
                      counts[6].c_str(), counts[7].c_str());
        const Bytes bytes = bytesOf(std::string(text) + c.body);
        Kelp k;
        std::size_t largest = 0;
        Loaded r;
        {
            AllocationWatch watch;
            r = loadInto(k, bytes, "x.geo");
            largest = watch.largest();
        }
        EXPECT_EQ(r.result, 0) << c.words;
        EXPECT_EQ(lineCount(r.err), 1) << r.err;
        EXPECT_NE(r.err.find(c.words), std::string::npos) << r.err;
        EXPECT_LT(largest, std::size_t(64 * 1024)) << c.words;
    }
}

TEST(AsciiDamage, AnIndexTableOfHugeCountFailsWithoutBigAllocations) {
    const std::string text = edited(kIds, "index 1 papi", "index 2147483648 papi");
    std::size_t largest = 0;
    {
        AllocationWatch watch;
        expectCleanFailure(bytesOf(text), "2147483648 strings, more than the", "strings");
        largest = watch.largest();
    }
    EXPECT_LT(largest, std::size_t(64 * 1024));
}

// Every cut of a file fails cleanly; only a cut that keeps the whole file
// but some of its final blanks loads, and then loads the same detail.
void expectEveryPrefixFailsOrLoadsWhole(const std::string &text) {
    Kelp whole;
    ASSERT_EQ(loadInto(whole, bytesOf(text), "x.geo").result, 1);
    std::string::size_type content = text.size();
    while (content > 0 && (text[content - 1] == '\n' || text[content - 1] == ' ' ||
                           text[content - 1] == '\r' || text[content - 1] == '\t'))
        --content;
    for (std::size_t n = 0; n < text.size(); ++n) {
        const Bytes cut(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
        Kelp k;
        Loaded r = loadInto(k, cut, "x.geo");
        if (n >= content) {
            ASSERT_EQ(r.result, 1) << n << ": " << r.err;
            ASSERT_EQ(modelDifference(whole, k), "") << n;
            continue;
        }
        ASSERT_EQ(r.result, 0) << "cut at " << n;
        ASSERT_EQ(lineCount(r.err), 1) << n << ": " << r.err;
        ASSERT_EQ(r.err.rfind("could not load x.geo: ", 0), 0u) << r.err;
        ASSERT_TRUE(k.getPointAttributes().empty());
    }
}

TEST(AsciiDamage, EveryPrefixOfTheSmallFilesFailsCleanly) {
    expectEveryPrefixFailsOrLoadsWhole(kTriangle);
    expectEveryPrefixFailsOrLoadsWhole(kIds);
}

TEST(AsciiDamage, EveryPrefixOfAFileWithEverySectionFailsCleanly) {
    ClassicTwin t;
    t.points = 3;
    t.pointAttrs = {{"Cd", 3, 0, {}}, {"name", 1, 4, {"a", "b c"}}};
    t.vertexAttrs = {{"uv", 3, 0, {}}};
    t.primAttrs = {{"mat", 1, 1, {}}};
    t.detailAttrs = {{"frame", 1, 0, {}}};
    t.prims = {{true, false, {0, 1, 2}}, {true, true, {2, 1}}, {false, false, {0, 2}}};
    t.pointGroups = {{"p", {true, false, true}}};
    t.primGroups = {{"q", {false, true, true}}};
    t.extraText = "x y\n";
    expectEveryPrefixFailsOrLoadsWhole(t.text());
}

TEST(AsciiDamage, EveryPrefixOfTheRealTextFileFailsCleanly) {
    const std::string path = std::string(KELP_FIXTURES_CLASSIC) + "/partio_test.geo";
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        GTEST_SKIP() << path << " is absent";
    const Bytes bytes = readFileBytes(path);
    expectEveryPrefixFailsOrLoadsWhole(std::string(bytes.begin(), bytes.end()));
}

// A gzip stream cut short fails in the unwrapping, not in the parse.
TEST(AsciiDamage, ACutGzipStreamFailsWithOneLine) {
    const Bytes packed = gzipBytes(bytesOf(kTriangle));
    for (std::size_t n = 2; n < packed.size(); n += 5) {
        Kelp k;
        Loaded r = loadInto(
            k, Bytes(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(n)), "x.geo.gz");
        EXPECT_EQ(r.result, 0);
        EXPECT_EQ(lineCount(r.err), 1) << r.err;
    }
}

TEST(AsciiDamage, AFailureInsideGzipSaysSo) {
    expectCleanFailure(gzipBytes(bytesOf(edited(kTriangle, " 3 < 0 1 2", " 3 < 0 1 9"))),
                       "ASCII geometry file (inside gzip): in the primitives at line 11", "gzip");
}

TEST(AsciiDamage, ASecondPositionIsRefusedAsInTheBinaryForm) {
    expectCleanFailure(bytesOf(edited(kTriangle, "N 3 vector", "P 3 vector")),
                       "2 point attributes named \"P\"", "P twice");
}

} // namespace
