// The text form (.geo): hand-written documents with golden values, the same
// document in both forms, text in the containers, and damaged, truncated and
// hostile text, each failing with one line that says what was wrong.
#include "CountingAllocator.h"
#include "JsonLoadHelpers.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <string>

using namespace kelptest;

namespace {

Bytes bytesOf(const std::string &text) {
    return Bytes(text.begin(), text.end());
}

JsonLoaded loadText(Kelp &k, const std::string &text, const std::string &name = "t.geo") {
    return loadJson(k, bytesOf(text), name);
}

const char *const kHead = R"(["fileversion","19.5.403","hasindex",false,)";

// A point attribute record: [[definition], [size, storage, values block]].
std::string pointAttribute(const std::string &name, int size, const std::string &storage,
                           const std::string &layout) {
    const std::string s = std::to_string(size);
    return R"([["scope","public","type","numeric","name",")" + name +
           R"(","options",{}],["size",)" + s + R"(,"storage",")" + storage +
           R"(","values",["size",)" + s + R"(,"storage",")" + storage + "\"," + layout + "]]]";
}

// A triangle: three points, a uv per vertex, an integer per point, and one
// polygon run. Numbers in every spelling JSON has.
std::string triangle() {
    return std::string(kHead) + R"(
	"pointcount",3,"vertexcount",3,"primitivecount",1,
	"info",{"software":"Houdini 19.5.403","bounds":[0,3,-22.5,4,0,0.5]},
	"topology",["pointref",["indices",[0,2,1]]],
	"attributes",[
		"vertexattributes",[)" +
           pointAttribute("uv", 3, "fpreal32", R"("tuples",[[0,0,1],[1,0,1],[0.5,1,1]])") +
           R"(],
		"pointattributes",[)" +
           pointAttribute("P", 3, "fpreal32",
                          R"("tuples",[[0,0,0],[1.5e0,-2.25E+1,0.125],[3,4,5e-1]])") +
           "," + pointAttribute("id", 1, "int32", R"("arrays",[[7,-8,9]])") + R"(]
	],
	"primitives",[[["type","Polygon_run"],["startvertex",0,"nprimitives",1,"nvertices_rle",[3,1]]]]
]
)";
}

// Loads and expects a clean failure whose line is "could not load bad.geo:
// Houdini's newer geometry format as text: ..." and holds `words`.
void expectTextFailure(const std::string &text, const std::string &words) {
    Kelp k;
    JsonLoaded r = loadText(k, text, "bad.geo");
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err.rfind("could not load bad.geo: Houdini's newer geometry format as text: ", 0),
              0u)
        << r.err;
    EXPECT_NE(r.err.find(words), std::string::npos) << r.err;
    EXPECT_EQ(countLines(r.err), 1) << r.err;
    EXPECT_TRUE(k.getPointAttributes().empty());
    EXPECT_TRUE(k.getPolygons().empty());
}

// The triangle with its first `from` replaced by `to`.
std::string triangleWith(const std::string &from, const std::string &to) {
    std::string text = triangle();
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

Bytes gzipped(const std::string &text) {
    z_stream zs{};
    deflateInit2(&zs, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&zs, static_cast<uLong>(text.size())) + 32);
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(text.data()));
    zs.avail_in = static_cast<uInt>(text.size());
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

void expectTriangle(const Kelp &k) {
    EXPECT_EQ(k.getNumPoints(), 3u);
    EXPECT_EQ(k.getNumPrims(), 1u);
    EXPECT_EQ(k.getNumVerts(), 3u);
    ASSERT_EQ(k.getNumPolys(), 1u);
    EXPECT_EQ(pointsOf(k, 0), (std::vector<std::uint32_t>{0, 2, 1}));
    ASSERT_EQ(k.getPointAttributes().size(), 2u);
    const std::vector<Imath::Vec3<float>> &p = k.getPointAttributes()[0].vector_data;
    ASSERT_EQ(p.size(), 3u);
    expectVec(p[0], 0.0f, 0.0f, 0.0f);
    expectVec(p[1], 1.5f, -22.5f, 0.125f);
    expectVec(p[2], 3.0f, 4.0f, 0.5f);
    EXPECT_EQ(k.getPointAttributes()[1].name, "id");
    EXPECT_EQ(k.getPointAttributes()[1].int_data, (std::vector<std::int32_t>{7, -8, 9}));
    ASSERT_EQ(k.getVertexAttributes().size(), 1u);
    const std::vector<Imath::Vec3<float>> &uv = k.getVertexAttributes()[0].vector_data;
    ASSERT_EQ(uv.size(), 3u);
    expectVec(uv[1], 1.0f, 0.0f, 1.0f);
    expectVec(uv[2], 0.5f, 1.0f, 1.0f);
}

} // namespace

TEST(JsonText, TriangleGoldenValues) {
    Kelp k;
    JsonLoaded r = loadText(k, triangle());
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(r.err, "");
    expectTriangle(k);
}

TEST(JsonText, SameDocumentInBothFormsFillsTheSameModel) {
    // twoTriangles() of the binary tests, written out by hand as text.
    std::string n, p;
    for (int v = 0; v < 6; ++v)
        n += std::string(v ? "," : "") + "[" + std::to_string(v) + "," + std::to_string(-v) +
             ",0.5]";
    for (int i = 0; i < 4; ++i)
        p += std::string(i ? "," : "") + "[" + std::to_string(i) + "," + std::to_string(10 * i) +
             "," + std::to_string(100 * i) + "]";
    const std::string text =
        std::string(kHead) +
        R"("pointcount",4,"vertexcount",6,"primitivecount",2,"info",{"software":"Houdini 19.5.403"},)"
        R"("topology",["pointref",["indices",[0,1,2,2,1,3]]],"attributes",["vertexattributes",[)" +
        pointAttribute("N", 3, "fpreal32", "\"tuples\",[" + n + "]") + R"(],"pointattributes",[)" +
        pointAttribute("P", 3, "fpreal32", "\"tuples\",[" + p + "]") +
        R"(]],"primitives",[[["type","p_r"],["s_v",0,"n_p",2,"r_v",[3,2]]]]])";
    Kelp fromText, fromBinary;
    JsonLoaded t = loadText(fromText, text);
    JsonLoaded b = loadJson(fromBinary, twoTriangles());
    ASSERT_EQ(t.result, 1) << t.err;
    ASSERT_EQ(b.result, 1) << b.err;
    EXPECT_EQ(fromText.getNumPoints(), fromBinary.getNumPoints());
    EXPECT_EQ(fromText.getNumVerts(), fromBinary.getNumVerts());
    EXPECT_EQ(fromText.getNumPrims(), fromBinary.getNumPrims());
    ASSERT_EQ(fromText.getNumPolys(), 2u);
    EXPECT_EQ(pointsOf(fromText, 0), pointsOf(fromBinary, 0));
    EXPECT_EQ(pointsOf(fromText, 1), pointsOf(fromBinary, 1));
    ASSERT_EQ(fromText.getPointAttributes().size(), fromBinary.getPointAttributes().size());
    EXPECT_EQ(fromText.getPointAttributes()[0].vector_data,
              fromBinary.getPointAttributes()[0].vector_data);
    ASSERT_EQ(fromText.getVertexAttributes().size(), 1u);
    EXPECT_EQ(fromText.getVertexAttributes()[0].vector_data,
              fromBinary.getVertexAttributes()[0].vector_data);
}

TEST(JsonText, EscapesDecodeToTheirCharacters) {
    // Keys and names found only when their escapes decode right.
    std::string text = triangleWith("\"pointcount\"", R"("point\u0063ount")");
    text.replace(text.find("\"id\""), 4, R"("n\u00e9\t\"q\"\/\\\ud83d\ude00")");
    text.replace(text.find("\"P\""), 3, R"("\u0050")");
    Kelp k;
    JsonLoaded r = loadText(k, text);
    ASSERT_EQ(r.result, 1) << r.err;
    expectVec(k.getPointAttributes()[0].vector_data[1], 1.5f, -22.5f, 0.125f);
    EXPECT_EQ(k.getPointAttributes()[1].name, "n\xC3\xA9\t\"q\"/\\\xF0\x9F\x98\x80");
}

TEST(JsonText, BlanksAndMapsAnywhere) {
    std::string text = triangle();
    std::string spaced;
    for (char c : text) {
        spaced += c;
        if (c == ',' || c == '[' || c == ':')
            spaced += " \r\n\t";
    }
    Kelp k;
    JsonLoaded r = loadText(k, "\n\n  " + spaced + "\n\n");
    ASSERT_EQ(r.result, 1) << r.err;
    expectTriangle(k);
}

TEST(JsonText, InsideGzipAndBlosc) {
    KELP_NEEDS_BLOSC();
    Kelp a, b;
    JsonLoaded gz = loadJson(a, gzipped(triangle()), "t.geo.gz");
    ASSERT_EQ(gz.result, 1) << gz.err;
    expectTriangle(a);
    JsonLoaded sc = loadJson(b, bloscContainer(bytesOf(triangle()), 256), "t.geo.sc");
    ASSERT_EQ(sc.result, 1) << sc.err;
    expectTriangle(b);

    Kelp c;
    JsonLoaded bad = loadJson(c, gzipped("[\"fileversion\",\"19"), "bad.geo.gz");
    EXPECT_EQ(bad.err, "could not load bad.geo.gz: Houdini's newer geometry format as text (inside "
                       "gzip): unterminated string at line 1, column 16\n");
}

TEST(JsonText, FailureLineNamesLineAndColumn) {
    Kelp k;
    JsonLoaded r = loadText(k, "[\n\t\"pointcount\",3,\n\t\"vertexcount\" 3]", "bad.geo");
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.err, "could not load bad.geo: Houdini's newer geometry format as text: expected "
                     "',' or ']' after a value, found '3' at line 3, column 16\n");
}

struct TextCase {
    const char *name;
    const char *from; // replaced in the triangle
    const char *to;
    const char *words; // in the failure line
};

class JsonTextDamage : public testing::TestWithParam<TextCase> {};

TEST_P(JsonTextDamage, FailsWithOneLine) {
    const TextCase &c = GetParam();
    expectTextFailure(triangleWith(c.from, c.to), c.words);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JsonTextDamage,
    testing::Values(
        TextCase{"QuoteMissing", "\"fileversion\",\"19.5.403\"", "\"fileversion\",\"19.5.403",
                 "expected ',' or ']' after a value, found 'h'"},
        TextCase{"StringRunsToTheEnd", "]\n]\n", "]\n,\"abc", "unterminated string"},
        TextCase{"ControlCharacterInString", "Houdini 19.5", "Houdini\n19.5",
                 "control character byte 0x0A in a string at line 3"},
        TextCase{"TwoDecimalPoints", "1.5e0", "1.5.0", "bad number '1.5.0'"},
        TextCase{"LeadingZero", "[7,-8,9]", "[07,-8,9]", "bad number '07'"},
        TextCase{"BareMinus", "[7,-8,9]", "[7,-,9]", "bad number '-'"},
        TextCase{"EmptyExponent", "5e-1", "5e-", "bad number '5e-'"},
        TextCase{"NoIntegerPart", "0.125", ".125", "unexpected '.'"},
        TextCase{"PlusSign", "[7,-8,9]", "[+7,-8,9]", "unexpected '+'"},
        TextCase{"LettersAfterDigits", "[7,-8,9]", "[7x,-8,9]", "bad number '7x'"},
        TextCase{"HexNumber", "[7,-8,9]", "[0x7,-8,9]", "bad number '0x7'"},
        TextCase{"NotANumber", "[7,-8,9]", "[NaN,-8,9]", "unexpected 'N'"},
        TextCase{"RealOutOfRange", "1.5e0", "1.5e999", "number out of range '1.5e999'"},
        TextCase{"IntegerTooWideIsNoCount", "\"pointcount\",3",
                 "\"pointcount\",99999999999999999999", "expected an integer for 'pointcount'"},
        TextCase{"UnknownEscape", "Houdini 19.5", "Houdini\\x19.5", "bad escape '\\x' in a string"},
        TextCase{"ShortUnicodeEscape", "Houdini 19.5", "Houdini\\u19", "without four hex digits"},
        TextCase{"BadHexInEscape", "Houdini 19.5", "Houdini\\u12G4", "without four hex digits"},
        TextCase{"LoneHighSurrogate", "Houdini 19.5", "Houdini\\ud800x", "unpaired surrogate"},
        TextCase{"LoneLowSurrogate", "Houdini 19.5", "Houdini\\udc00", "unpaired surrogate"},
        TextCase{"MissingComma", "\"pointcount\",3,", "\"pointcount\",3 ",
                 "expected ',' or ']' after a value, found '\"'"},
        TextCase{"DoubleComma", "\"pointcount\",3,", "\"pointcount\",3,,", "unexpected ','"},
        TextCase{"TrailingComma", "[0,2,1]", "[0,2,1,]", "unexpected ']'"},
        TextCase{"MissingColon", "\"software\":", "\"software\" ", "expected ':' after a key"},
        TextCase{"NumberAsMapKey", "{\"software\"", "{3", "expected a string key in a map"},
        TextCase{"MapClosedAsArray", "\"Houdini 19.5.403\",", "\"Houdini 19.5.403\"],",
                 "']' closes a map"},
        TextCase{"UnknownWord", "\"hasindex\",false", "\"hasindex\",nope", "unknown word 'nope'"},
        TextCase{"TruncatedWord", "\"hasindex\",false", "\"hasindex\",fals", "unknown word 'fals'"},
        TextCase{"TextAfterTheDocument", "]\n]\n", "]\n]\n]", "text after the end of the document"},
        TextCase{"SecondDocument", "]\n]\n", "]\n]\n[]", "text after the end of the document"},
        TextCase{"PointCountFarAboveTheText", "\"pointcount\",3", "\"pointcount\",4294967295",
                 "cannot hold 4294967295 elements"}),
    [](const testing::TestParamInfo<TextCase> &info) { return std::string(info.param.name); });

TEST(JsonText, EmptyAndBlankText) {
    expectTextFailure("[", "the text ends inside an array at line 1, column 2");
    expectTextFailure("  [ \n ", "the text ends inside an array at line 2, column 2");
    expectTextFailure("{", "the text ends inside a map");
}

TEST(JsonText, DeepNestingIsRefused) {
    // Ten thousand levels inside a value the reader reads past, and as the
    // document itself.
    const std::string deep = std::string(10000, '[') + std::string(10000, ']');
    expectTextFailure(triangleWith("\"bounds\":[0,3,-22.5,4,0,0.5]", "\"bounds\":" + deep),
                      "nesting deeper than 4096 levels");
    std::string maps;
    for (int k = 0; k < 10000; ++k)
        maps += "{\"a\":";
    expectTextFailure("[\"info\"," + maps, "nesting deeper than 4096 levels");
}

TEST(JsonText, EveryTruncationFailsCleanly) {
    const std::string whole = triangle();
    const std::size_t last = whole.rfind(']');
    for (std::size_t n = 0; n <= last; ++n) {
        Kelp k;
        JsonLoaded r = loadText(k, whole.substr(0, n), "cut.geo");
        ASSERT_EQ(r.result, 0) << n;
        ASSERT_EQ(countLines(r.err), 1) << n << ": " << r.err;
        ASSERT_EQ(r.err.rfind("could not load cut.geo: ", 0), 0u) << n << ": " << r.err;
        ASSERT_TRUE(k.getPointAttributes().empty()) << n;
    }
    // With the closing bracket it loads, blanks after it or not.
    Kelp k;
    ASSERT_EQ(loadText(k, whole.substr(0, last + 1)).result, 1);
}

TEST(JsonText, EveryByteChangeIsSurvived) {
    const std::string whole = triangle();
    for (std::size_t at = 0; at < whole.size(); ++at)
        for (char value : {'\0', '"', '\\', '[', '}', '9', '-', 'e'}) {
            std::string text = whole;
            text[at] = value;
            Kelp k;
            JsonLoaded r = loadText(k, text, "x.geo");
            if (r.result == 0)
                ASSERT_EQ(countLines(r.err), 1) << at << ": " << r.err;
            else
                ASSERT_EQ(k.getPointAttributes()[0].vector_data.size(), 3u) << at;
        }
}

TEST(JsonText, HugeCountsInShortTextAllocateNothingForThem) {
    // Counts the text cannot hold: at two bytes a value, a block of more
    // elements than half the bytes left is refused before it is sized. The
    // padding leaves 3000 points between half the bytes left and all of
    // them.
    const std::string padded = triangleWith(
        "\"primitives\"", "\"padding\",\"" + std::string(4000, 'x') + "\",\"primitives\"");
    struct Claim {
        std::string text;
        const char *words;
    };
    const Claim claims[] = {
        {triangleWith("\"pointcount\",3", "\"pointcount\",4294967295"), "cannot hold"},
        {triangleWith("\"vertexcount\",3", "\"vertexcount\",4294967295"), "topology has 3"},
        {padded.substr(0, padded.find("\"pointcount\",3")) + "\"pointcount\",3000" +
             padded.substr(padded.find("\"pointcount\",3") + 14),
         "cannot hold 3000 elements"},
    };
    for (const Claim &claim : claims) {
        Kelp k;
        testing::internal::CaptureStderr();
        std::size_t largest;
        int result;
        {
            AllocationWatch watch;
            result =
                k.loadBgeoFromMemory(reinterpret_cast<const unsigned char *>(claim.text.data()),
                                     claim.text.size(), "big.geo");
            largest = watch.largest();
        }
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(result, 0);
        EXPECT_NE(err.find(claim.words), std::string::npos) << err;
        // Nothing near 3000 vectors (36000 bytes), let alone four billion.
        EXPECT_LT(largest, 16384u) << err;
    }
}

TEST(JsonText, StringIndexAtTheTopOfItsRangeIsRefused) {
    // The largest int32 index, one past which no table reaches.
    const std::string name = R"([["scope","public","type","string","name","name","options",{}],)"
                             R"(["size",1,"storage","int32","strings",["a","b"],"indices",)"
                             R"(["size",1,"storage","int32","arrays",[[0,1,2147483647]]]]])";
    expectTextFailure(triangleWith("\"pointattributes\",[", "\"pointattributes\",[" + name + ","),
                      "string attribute \"name\" uses string 2147483647 of 2");
}

TEST(JsonText, TraceSaysTheFormIsText) {
    global_doDebug = 1;
    Kelp k;
    JsonLoaded r = loadText(k, triangle());
    global_doDebug = 0;
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_NE(r.err.find("pointcount 3\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("JSON geometry as text 19.5.403: 3 points, 1 polygons kept; read past "
                         "0 packed, 0 curves, 0 other primitives\n"),
              std::string::npos)
        << r.err;
}
