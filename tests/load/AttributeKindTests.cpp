// Every attribute kind and size, as a point and as a vertex attribute: what
// the model keeps, and that each entry is consumed by its true size (a float
// attribute after it must still read right).
#include "LoadHelpers.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace kelptest;
typedef Imath::Vec3<float> V3;

struct KindCase {
    const char *label;
    std::function<void(ClassicBytes &)> entry;      // dictionary entry
    std::function<void(ClassicBytes &, int)> value; // value of element i
    std::int32_t storedType;
    std::function<void(const AttributeData &)> check; // three elements
};

// Component c of element i, distinct everywhere.
float f(int i, int c) {
    return float(10 * i + c) + 0.25f;
}

void floats(ClassicBytes &b, int i, int n) {
    for (int c = 0; c < n; ++c)
        b.f32(f(i, c));
}

std::vector<KindCase> pointCases() {
    return {
        {"float1", [](ClassicBytes &b) { b.attr("a", 1, 0, {-1.5f}); },
         [](ClassicBytes &b, int i) { floats(b, i, 1); }, 0,
         [](const AttributeData &a) {
             EXPECT_EQ(a.float_default, -1.5f);
             ASSERT_EQ(a.float_data.size(), 3u);
             EXPECT_EQ(a.float_data[2], f(2, 0));
         }},
        {"float2 keeps its first value",
         [](ClassicBytes &b) {
             b.attr("a", 2, 0, {2.5f, 9});
         },
         [](ClassicBytes &b, int i) { floats(b, i, 2); }, 0,
         [](const AttributeData &a) {
             EXPECT_EQ(a.float_default, 2.5f);
             ASSERT_EQ(a.float_data.size(), 3u);
             EXPECT_EQ(a.float_data[1], f(1, 0));
             EXPECT_TRUE(a.vector_data.empty());
         }},
        {"float3 becomes a vector",
         [](ClassicBytes &b) {
             b.attr("Cd", 3, 0, {1, 0.5f, 0});
         },
         [](ClassicBytes &b, int i) { floats(b, i, 3); }, 5,
         [](const AttributeData &a) {
             EXPECT_EQ(a.vector_default, V3(1, 0.5f, 0));
             ASSERT_EQ(a.vector_data.size(), 3u);
             EXPECT_EQ(a.vector_data[2], V3(f(2, 0), f(2, 1), f(2, 2)));
         }},
        {"float4 keeps three",
         [](ClassicBytes &b) {
             b.attr("a", 4, 0, {1, 2, 3, 4});
         },
         [](ClassicBytes &b, int i) { floats(b, i, 4); }, 5,
         [](const AttributeData &a) {
             EXPECT_EQ(a.vector_default, V3(1, 2, 3));
             EXPECT_EQ(a.vector_data[1], V3(f(1, 0), f(1, 1), f(1, 2)));
         }},
        {"float9 keeps three", [](ClassicBytes &b) { b.attr("m", 9, 0); },
         [](ClassicBytes &b, int i) { floats(b, i, 9); }, 5,
         [](const AttributeData &a) {
             EXPECT_EQ(a.vector_data[2], V3(f(2, 0), f(2, 1), f(2, 2)));
         }},
        {"vector1 becomes a float", [](ClassicBytes &b) { b.attr("m", 1, 5, {3}); },
         [](ClassicBytes &b, int i) { floats(b, i, 1); }, 0,
         [](const AttributeData &a) {
             EXPECT_EQ(a.float_default, 3.0f);
             EXPECT_EQ(a.float_data[1], f(1, 0));
         }},
        {"vector2 gets z 0",
         [](ClassicBytes &b) {
             b.attr("vel", 2, 5, {1, 2});
         },
         [](ClassicBytes &b, int i) { floats(b, i, 2); }, 5,
         [](const AttributeData &a) {
             EXPECT_EQ(a.vector_default, V3(1, 2, 0));
             EXPECT_EQ(a.vector_data[2], V3(f(2, 0), f(2, 1), 0));
         }},
        {"vector3",
         [](ClassicBytes &b) {
             b.attr("v", 3, 5, {0, 0, 1});
         },
         [](ClassicBytes &b, int i) { floats(b, i, 3); }, 5,
         [](const AttributeData &a) {
             EXPECT_EQ(a.vector_default, V3(0, 0, 1));
             EXPECT_EQ(a.vector_data[0], V3(f(0, 0), f(0, 1), f(0, 2)));
         }},
        {"vector4", [](ClassicBytes &b) { b.attr("q", 4, 5); },
         [](ClassicBytes &b, int i) { floats(b, i, 4); }, 5,
         [](const AttributeData &a) {
             EXPECT_EQ(a.vector_data[1], V3(f(1, 0), f(1, 1), f(1, 2)));
         }},
        {"int1", [](ClassicBytes &b) { b.attr("id", 1, 1, {-1}); },
         [](ClassicBytes &b, int i) { b.i32(1000 + i); }, 1,
         [](const AttributeData &a) {
             EXPECT_EQ(a.int_default, -1);
             ASSERT_EQ(a.int_data.size(), 3u);
             EXPECT_EQ(a.int_data[2], 1002);
         }},
        {"int3 keeps its first component",
         [](ClassicBytes &b) {
             b.attr("cell", 3, 1, {7, 8, 9});
         },
         [](ClassicBytes &b, int i) { b.i32(i).i32(-i).i32(5); }, 1,
         [](const AttributeData &a) {
             EXPECT_EQ(a.int_default, 7);
             EXPECT_EQ(a.int_data[2], 2);
             EXPECT_TRUE(a.vector_data.empty());
         }},
        {"index with empty strings",
         [](ClassicBytes &b) {
             b.indexAttr("name", {"", "piece", ""});
         },
         [](ClassicBytes &b, int i) { b.i32(i % 2); }, 4,
         [](const AttributeData &a) {
             ASSERT_EQ(a.int_data.size(), 3u);
             EXPECT_EQ(a.int_data[1], 1);
             EXPECT_EQ(a.int_data[2], 0);
         }},
        {"index with an empty table", [](ClassicBytes &b) { b.indexAttr("s", {}); },
         [](ClassicBytes &b, int) { b.i32(-1); }, 4,
         [](const AttributeData &a) { EXPECT_EQ(a.int_data[0], -1); }},
    };
}

TEST(AttributeKinds, PointAttributes) {
    for (const KindCase &c : pointCases()) {
        SCOPED_TRACE(c.label);
        ClassicBytes b;
        b.header(3, 0, 2);
        c.entry(b);
        b.attr("after", 1, 0, {7});
        for (int i = 0; i < 3; ++i) {
            b.point(float(i), 0, 0);
            c.value(b, i);
            b.f32(100.0f + i);
        }
        b.trailer();
        Kelp k;
        Loaded r = loadInto(k, b);
        ASSERT_EQ(r.result, 1) << r.err;
        ASSERT_EQ(k.getPointAttributes().size(), 3u);
        const AttributeData &a = k.getPointAttributes()[1];
        EXPECT_EQ(a.type, c.storedType);
        c.check(a);
        const AttributeData &after = k.getPointAttributes()[2];
        EXPECT_EQ(after.name, "after");
        EXPECT_EQ(after.float_default, 7.0f);
        ASSERT_EQ(after.float_data.size(), 3u);
        EXPECT_EQ(after.float_data[2], 102.0f);
        EXPECT_EQ(k.getPolyVertexPosValue(0, 2), V3(2, 0, 0));
    }
}

TEST(AttributeKinds, VertexAttributes) {
    // The point cases hold for vertices too, except that a vertex float pair
    // (a two-component texture coordinate) is kept whole as a vector.
    for (KindCase c : pointCases()) {
        if (std::string(c.label) == "float2 keeps its first value") {
            c.storedType = 5;
            c.check = [](const AttributeData &a) {
                EXPECT_EQ(a.vector_default, V3(2.5f, 9, 0));
                EXPECT_EQ(a.vector_data[1], V3(f(1, 0), f(1, 1), 0));
            };
        }
        SCOPED_TRACE(c.label);
        ClassicBytes b;
        b.header(3, 1, 0, 2);
        for (int i = 0; i < 3; ++i)
            b.point(float(i), 0, 0);
        c.entry(b);
        b.attr("after", 1, 0, {7});
        b.u32(1).u32(3).u8('<');
        for (int i = 0; i < 3; ++i) {
            b.u16(std::uint16_t(2 - i));
            c.value(b, i);
            b.f32(100.0f + i);
        }
        b.trailer();
        Kelp k;
        Loaded r = loadInto(k, b);
        ASSERT_EQ(r.result, 1) << r.err;
        ASSERT_EQ(k.getVertexAttributes().size(), 2u);
        EXPECT_EQ(k.getNumVertexAttrs(), 2u);
        const AttributeData &a = k.getVertexAttributes()[0];
        EXPECT_EQ(a.type, c.storedType);
        c.check(a);
        EXPECT_EQ(k.getVertexAttrFloatValue(1, 2), 102.0f);
        EXPECT_EQ(k.getPolyVertexIdValue(0, 2), 0u);
    }
}

TEST(AttributeKinds, UnknownTypesAndSizesFailNamingThem) {
    struct Bad {
        std::int16_t size;
        std::int32_t type;
        const char *words;
    } cases[] = {{1, 2, "has type 2"},
                 {1, 3, "has type 3"},
                 {3, 7, "has type 7"},
                 {0, 0, "has size 0"},
                 {-2, 5, "has size -2"}};
    for (const Bad &c : cases) {
        ClassicBytes b;
        b.header(1, 0, 1);
        b.i16(4).raw("attr").i16(c.size).i32(c.type).f32(0).f32(0).f32(0);
        b.point(0, 0, 0).f32(0).f32(0).f32(0).trailer();
        Kelp k;
        Loaded r = loadInto(k, b, "odd.bgeo");
        EXPECT_EQ(r.result, 0);
        EXPECT_NE(r.err.find("attribute \"attr\" at byte 41 " + std::string(c.words)),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(lineCount(r.err), 1);
    }
}

TEST(AttributeKinds, NameLengthsThatTheDataCannotHoldFail) {
    ClassicBytes neg;
    neg.header(0, 0, 1).i16(-3).raw("abcdefgh");
    Kelp k;
    Loaded r = loadInto(k, neg, "n.bgeo");
    EXPECT_EQ(r.err, "could not load n.bgeo: negative attribute name length -3 at byte 41\n");
    ClassicBytes longName;
    longName.header(0, 0, 1).i16(30000).raw("abcdefghi");
    r = loadInto(k, longName, "n.bgeo");
    EXPECT_EQ(r.result, 0);
    EXPECT_NE(r.err.find("name length 30000 at byte 41 is longer than the 9 bytes left"),
              std::string::npos)
        << r.err;
    // A name holding a zero byte keeps the text before it.
    ClassicBytes zero;
    zero.header(1, 0, 1).i16(4).raw(std::string("ab\0c", 4)).i16(1).i32(0).f32(0);
    zero.point(0, 0, 0).f32(1).trailer();
    r = loadInto(k, zero);
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(k.getPointAttrName(1), "ab");
}

TEST(AttributeKinds, CountsThatTheDataCannotHoldFailBeforeAllocating) {
    struct Case {
        ClassicBytes bytes;
        const char *words;
    };
    std::vector<Case> cases;
    ClassicBytes points;
    points.header(0xFFFFFFFFu, 0).point(0, 0, 0);
    cases.push_back({points, "the point count 4294967295 needs"});
    ClassicBytes attrs;
    attrs.header(1, 0, 0x7FFFFFFF);
    cases.push_back({attrs, "the point attribute count 2147483647 cannot fit"});
    ClassicBytes vattrs;
    vattrs.header(0, 0, 0, 100000);
    cases.push_back({vattrs, "the vertex attribute count 100000 cannot fit"});
    ClassicBytes strings;
    strings.header(0, 0, 1).i16(1).raw("s").i16(1).i32(4).i32(0x40000000);
    cases.push_back({strings, "has 1073741824 strings"});
    ClassicBytes verts;
    verts.header(1, 1).point(0, 0, 0).u32(1).u32(0xFFFFFFF0u).u8('<').u16(0);
    cases.push_back({verts, "has 4294967280 vertices"});
    for (const Case &c : cases) {
        Kelp k;
        Loaded r = loadInto(k, c.bytes);
        EXPECT_EQ(r.result, 0);
        EXPECT_NE(r.err.find(c.words), std::string::npos) << r.err;
    }
}

} // namespace
