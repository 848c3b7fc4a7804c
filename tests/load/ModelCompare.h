// Comparing two loaded details field by field: empty when they are equal,
// else the first difference, for the test's message.
#ifndef KELP_TESTS_MODELCOMPARE_H
#define KELP_TESTS_MODELCOMPARE_H

#include <Kelp>

#include <cstddef>
#include <string>
#include <vector>

namespace kelptest {

inline std::string attributeDifference(const AttributeData &a, const AttributeData &b,
                                       const std::string &where) {
    const std::string at = where + " \"" + a.name + "\"";
    if (a.name != b.name)
        return where + ": name \"" + a.name + "\" against \"" + b.name + "\"";
    if (a.size != b.size)
        return at + ": size " + std::to_string(a.size) + " against " + std::to_string(b.size);
    if (a.type != b.type)
        return at + ": type " + std::to_string(a.type) + " against " + std::to_string(b.type);
    if (a.float_default != b.float_default || a.int_default != b.int_default ||
        a.vector_default != b.vector_default)
        return at + ": defaults differ";
    if (a.float_data != b.float_data)
        return at + ": float values differ (" + std::to_string(a.float_data.size()) + " and " +
               std::to_string(b.float_data.size()) + ")";
    if (a.int_data != b.int_data)
        return at + ": integer values differ (" + std::to_string(a.int_data.size()) + " and " +
               std::to_string(b.int_data.size()) + ")";
    if (a.vector_data != b.vector_data)
        return at + ": vector values differ (" + std::to_string(a.vector_data.size()) + " and " +
               std::to_string(b.vector_data.size()) + ")";
    return std::string();
}

inline std::string attributesDifference(const std::vector<AttributeData> &a,
                                        const std::vector<AttributeData> &b, const char *kind) {
    if (a.size() != b.size())
        return std::string(kind) + " attributes: " + std::to_string(a.size()) + " against " +
               std::to_string(b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        const std::string d =
            attributeDifference(a[i], b[i], std::string(kind) + " attribute " + std::to_string(i));
        if (!d.empty())
            return d;
    }
    return std::string();
}

inline std::string modelDifference(const Kelp &a, const Kelp &b) {
    const std::uint32_t counts[2][9] = {
        {a.getNumPoints(), a.getNumPrims(), a.getNumPointGroups(), a.getNumPrimGroups(),
         a.getNumPointAttrs(), a.getNumVertexAttrs(), a.getNumPrimAttrs(), a.getNumAttrs(),
         a.getNumVerts()},
        {b.getNumPoints(), b.getNumPrims(), b.getNumPointGroups(), b.getNumPrimGroups(),
         b.getNumPointAttrs(), b.getNumVertexAttrs(), b.getNumPrimAttrs(), b.getNumAttrs(),
         b.getNumVerts()}};
    static const char *const names[] = {"points",      "primitives",        "point groups",
                                        "prim groups", "point attributes",  "vertex attributes",
                                        "prim attrs",  "detail attributes", "vertices"};
    for (int i = 0; i < 9; ++i)
        if (counts[0][i] != counts[1][i])
            return std::string("count of ") + names[i] + ": " + std::to_string(counts[0][i]) +
                   " against " + std::to_string(counts[1][i]);
    std::string d = attributesDifference(a.getPointAttributes(), b.getPointAttributes(), "point");
    if (d.empty())
        d = attributesDifference(a.getVertexAttributes(), b.getVertexAttributes(), "vertex");
    if (!d.empty())
        return d;
    if (a.getPolygons().size() != b.getPolygons().size())
        return "polygons: " + std::to_string(a.getPolygons().size()) + " against " +
               std::to_string(b.getPolygons().size());
    for (std::size_t p = 0; p < a.getPolygons().size(); ++p)
        if (a.getPolygons()[p].numberOfVertices != b.getPolygons()[p].numberOfVertices ||
            a.getPolygons()[p].ids != b.getPolygons()[p].ids)
            return "polygon " + std::to_string(p) + " differs";
    return std::string();
}

} // namespace kelptest

#endif
