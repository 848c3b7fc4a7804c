// What the structure-aware fuzz target found in the JSON-based loader, each
// rebuilt by hand as the smallest document that shows it.
#include "JsonLoadHelpers.h"
#include "ModelChecks.h"

#include <gtest/gtest.h>

namespace {

using namespace kelptest;

// Two points with a numeric "P" and, when second is set, a string point
// attribute also named "P" (one string, both points naming it).
JsonBytes positionAndStringNamedP(bool second) {
    JsonBytes j;
    documentHead(j, 2, {}, 0);
    j.key("attributes").arr().key("pointattributes").arr();
    numericAttribute(j, "P", 3, {0, 1, 2, 3, 4, 5});
    if (second) {
        j.arr().arr().key("scope").str("public").key("type").key("string").key("name").str("P");
        j.end();
        j.arr().key("size").i8(1).key("storage").key("int32");
        j.key("strings").arr().str("a").end();
        j.key("indices").arr().key("size").i8(1).key("storage").key("int32");
        j.key("pagesize").i16(1024).key("rawpagedata").ui32({0, 0}).end();
        j.end().end();
    }
    j.end().end();
    j.key("primitives").arr().end();
    return j.end();
}

TEST(JsonFindings, PositionAloneLoads) {
    Kelp k;
    JsonLoaded r = loadJson(k, positionAndStringNamedP(false));
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_EQ(k.getNumPoints(), 2u);
    EXPECT_EQ(k.getNumPointAttrs(), 0u); // "P" is not counted
    EXPECT_EQ(kelpfuzz::modelProblem(k), "");
}

// A string point attribute named "P" next to the numeric "P" would load as a
// second point attribute "P" with no vector values, so whoever looks "P" up
// by name (the last of that name) would find no positions: the load fails.
// Found as fuzz/regressions/json/string-attribute-named-P-beside-position.bgeo.
TEST(JsonFindings, StringAttributeNamedPBesidePositionFails) {
    Kelp k;
    JsonLoaded r = loadJson(k, positionAndStringNamedP(true));
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(countLines(r.err), 1) << r.err;
    EXPECT_NE(r.err.find("\"P\""), std::string::npos) << r.err;
}

} // namespace
