// Builds small classic binary geometry files for the host scenarios: points
// with float and vector attributes, an optional "uv" vertex attribute and
// polygons, in the layout the loader reads.
#ifndef KELP_TESTS_BRIDGE_CLASSICFILE_H
#define KELP_TESTS_BRIDGE_CLASSICFILE_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kelptest {

struct PointAttr {
    std::string name;
    bool vector;                              // three floats (type 5), else one float (type 0)
    std::vector<std::array<float, 3>> values; // one per point; floats use [0]
};

struct ClassicFile {
    std::vector<std::array<float, 3>> positions;
    std::vector<PointAttr> pointAttrs;
    std::vector<std::vector<std::uint32_t>> polygons;
    std::vector<std::size_t> openPolygons; // indices of polygons written open (':')
    bool withUv = false;
    int uvComponents = 3;                  // 3, or 1 for a one-float "uv" (uses [0])
    std::vector<std::array<float, 3>> uvs; // one per face-vertex, in file order

    std::vector<unsigned char> bytes() const;
    // Writes the bytes to `path`; false when the file cannot be written.
    bool write(const std::string &path) const;
};

} // namespace kelptest

#endif
