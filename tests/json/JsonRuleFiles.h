// Hostile JSON geometry files, rebuilt as they were reported, with the byte
// offsets their failure lines name. Shared by the rule and allocation tests.
#ifndef KELP_TESTS_JSONRULEFILES_H
#define KELP_TESTS_JSONRULEFILES_H

#include "JsonBytes.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace kelptest {

// A file and the offset its failure line should name.
struct Built {
    Bytes bytes;
    std::size_t at = 0;
};

// The reader names a failure in a primitive's or attribute's data one byte
// past the '[' that opens it (the token it looked ahead at).
inline std::size_t afterOpen(const JsonBytes &j) {
    return j.size() + 1;
}

// A polygon run from `start` with run-length counts (count, repeat), the
// offset its failure would name stored in `at`.
inline JsonBytes &runLength(JsonBytes &j, std::int32_t start, std::int32_t count,
                            std::int32_t repeat, std::size_t *at = nullptr) {
    j.arr().arr().key("type").key("p_r").end();
    if (at)
        *at = afterOpen(j);
    j.arr().key("s_v").i32(start).key("r_v").ui32({count, repeat}).end();
    return j.end();
}

// "P" for `points` points, all zero, every page written out.
inline JsonBytes &pointAttributes(JsonBytes &j, int points) {
    j.key("attributes").arr().key("pointattributes").arr();
    numericAttribute(j, "P", 3, std::vector<float>(3 * static_cast<std::size_t>(points), 0.0f));
    return j.end().end();
}

// A three-point document with the given topology (its 'indices' value at
// `topologyAt`) and primitives.
struct TriangleFile {
    Built built;
    std::size_t topologyAt = 0;
};
inline TriangleFile triangleFile(const std::vector<std::int32_t> &topology,
                                 const std::function<void(JsonBytes &)> &primitives) {
    TriangleFile f;
    JsonBytes j;
    j.magic().arr().key("pointcount").i32(3).key("vertexcount");
    j.i32(static_cast<std::int32_t>(topology.size())).key("primitivecount").i32(1);
    j.key("topology").arr().key("pointref").arr().key("indices");
    f.topologyAt = j.size();
    j.ui32(topology).end().end();
    pointAttributes(j, 3);
    j.key("primitives").arr();
    primitives(j);
    f.built.bytes = j.end().end().bytes();
    return f;
}

// "vertexcount" restated as 1,000,000 after a three-entry topology, then
// one polygon of 1,000,000 vertices, given per polygon ("n_v") or run-length
// ("r_v"). `at` is the restated value.
inline Built restatedVertexCount(bool runLengthCounts) {
    Built b;
    JsonBytes j;
    documentHead(j, 3, {0, 1, 2}, 1);
    j.key("vertexcount");
    b.at = j.size();
    j.i32(1000000);
    pointAttributes(j, 3);
    j.key("primitives").arr().arr().arr().key("type").key("p_r").end();
    j.arr().key("s_v").i32(0).key("n_p").i32(1);
    if (runLengthCounts)
        j.key("r_v").ui32({1000000, 1});
    else
        j.key("n_v").ui32({1000000});
    b.bytes = j.end().end().end().end().bytes();
    return b;
}

// No points, no topology, and a run of `polygons` one-vertex polygons.
inline Built polygonsWithoutTopology(std::int32_t polygons = 200000000) {
    Built b;
    JsonBytes j;
    j.magic().arr().key("pointcount").i32(0);
    j.key("vertexcount").i32(polygons).key("primitivecount").i32(polygons);
    j.key("primitives").arr().arr().arr().key("type").key("p_r").end();
    b.at = afterOpen(j);
    j.arr().key("s_v").i32(0).key("n_p").i32(polygons).key("r_v").ui32({1, polygons}).end();
    b.bytes = j.end().end().end().bytes();
    return b;
}

// A constant-paged attribute "name" of `elements` elements with a size-3
// real tuple: every page of 4096 constant, each page's tuple given as
// three uint8 values.
inline JsonBytes &constantPaged(JsonBytes &j, const std::string &name, std::uint64_t elements) {
    const std::size_t pages = static_cast<std::size_t>((elements + 4095) / 4096);
    j.arr().arr().key("scope").str("public").key("type").key("numeric").key("name").str(name);
    j.end().arr().key("size").i8(3).key("storage").key("fpreal32").key("values").arr();
    j.key("size").i8(3).key("storage").key("fpreal32").key("pagesize").i16(4096);
    j.key("constantpageflags").arr().ubool(std::vector<bool>(pages, true)).end();
    std::vector<std::uint8_t> tuples(3 * pages);
    for (std::size_t k = 0; k < tuples.size(); ++k)
        tuples[k] = static_cast<std::uint8_t>(k % 3 == 0 ? 1 : 0);
    j.key("rawpagedata").uu8(tuples).end();
    return j.end().end();
}

// 200,000,000 vertex colours in constant pages, and no topology. `at` is the
// colour attribute.
inline Built constantVertexColours(std::int32_t vertices = 200000000) {
    Built b;
    JsonBytes j;
    j.magic().arr().key("fileversion").str("19.5.403").key("pointcount").i32(0);
    j.key("vertexcount").i32(vertices).key("primitivecount").i32(0);
    j.key("attributes").arr().key("vertexattributes").arr();
    b.at = afterOpen(j);
    constantPaged(j, "Cd", static_cast<std::uint64_t>(vertices));
    b.bytes = j.end().end().end().bytes();
    return b;
}

} // namespace kelptest

#endif
