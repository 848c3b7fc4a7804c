// What every successful load must give, whatever the file: a detail that
// does not contradict itself. Used by every fuzz target (which trap on a
// contradiction) and by the tests that load the fuzzers' findings.
#ifndef KELP_FUZZ_MODELCHECKS_H
#define KELP_FUZZ_MODELCHECKS_H

#include <Kelp>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace kelpfuzz {

// An attribute of count elements keeps one value per element in the array
// its type fills, and nothing in the other two.
inline std::string checkValues(const AttributeData &a, std::size_t count, const char *kind) {
    const std::string where = std::string(kind) + " attribute \"" + a.name + "\"";
    // 0 float, 1 integer, 4 string index, 5 vector; other codes keep no values.
    std::size_t floats = 0, ints = 0, vectors = 0;
    if (a.type == 0)
        floats = count;
    else if (a.type == 1 || a.type == 4)
        ints = count;
    else if (a.type == 5)
        vectors = count;
    if (a.float_data.size() != floats || a.int_data.size() != ints ||
        a.vector_data.size() != vectors)
        return where + " (type " + std::to_string(a.type) + ") has " +
               std::to_string(a.float_data.size()) + " float, " +
               std::to_string(a.int_data.size()) + " integer and " +
               std::to_string(a.vector_data.size()) + " vector values for " +
               std::to_string(count) + " elements";
    return std::string();
}

// Empty when the detail is consistent, else what is wrong.
inline std::string modelProblem(const Kelp &k) {
    const std::uint32_t points = k.getNumPoints();
    std::uint64_t vertices = 0;
    const std::vector<PolygonData> &polygons = k.getPolygons();
    for (std::size_t p = 0; p < polygons.size(); ++p) {
        const PolygonData &poly = polygons[p];
        if (poly.numberOfVertices != poly.ids.size())
            return "polygon " + std::to_string(p) + " states " +
                   std::to_string(poly.numberOfVertices) + " vertices and holds " +
                   std::to_string(poly.ids.size());
        for (std::uint32_t id : poly.ids)
            if (id >= points)
                return "polygon " + std::to_string(p) + " names point " + std::to_string(id) +
                       " of " + std::to_string(points);
        vertices += poly.ids.size();
    }
    if (k.getNumVerts() != vertices)
        return "the detail states " + std::to_string(k.getNumVerts()) +
               " vertices, its polygons hold " + std::to_string(vertices);

    const std::vector<AttributeData> &pointAttrs = k.getPointAttributes();
    bool havePosition = false;
    for (const AttributeData &a : pointAttrs) {
        if (a.name == "P") {
            if (havePosition)
                return "two point attributes named \"P\"";
            havePosition = true;
            if (a.vector_data.size() != points)
                return "\"P\" has " + std::to_string(a.vector_data.size()) + " values for " +
                       std::to_string(points) + " points";
            continue;
        }
        std::string problem = checkValues(a, points, "point");
        if (!problem.empty())
            return problem;
    }
    if (!havePosition)
        return "no point attribute \"P\"";
    for (const AttributeData &a : k.getVertexAttributes()) {
        std::string problem = checkValues(a, static_cast<std::size_t>(vertices), "vertex");
        if (!problem.empty())
            return problem;
    }
    return std::string();
}

// For the fuzz targets: a contradiction is a finding (said on standard
// error, which shows when the input is run again).
inline void trapOnProblem(const Kelp &k) {
    const std::string problem = modelProblem(k);
    if (!problem.empty()) {
        std::fprintf(stderr, "model check: %s\n", problem.c_str());
        __builtin_trap();
    }
}

// The structure-aware targets write the file they built to the path in
// KELP_FUZZ_SAVE when it is set: how a finding becomes a regression file.
inline void saveBuiltFile(const std::vector<unsigned char> &file) {
    static const char *const path = std::getenv("KELP_FUZZ_SAVE");
    if (!path)
        return;
    if (std::FILE *f = std::fopen(path, "wb")) {
        std::fwrite(file.data(), 1, file.size(), f);
        std::fclose(f);
    }
}

} // namespace kelpfuzz

#endif
