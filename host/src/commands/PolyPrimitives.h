// Geometry of the primitive polygon meshes that polyCube, polyPlane and
// polySphere make, with one UV set (laid out in the unit square).
#pragma once

#include <vector>

namespace kelphost {

struct PolyPrimitive {
    std::vector<float> points; // x y z per vertex
    std::vector<int> counts;   // vertices per face
    std::vector<int> connects; // vertex ids, face after face
    std::vector<float> u, v;   // UV coordinates
    std::vector<int> uvIds;    // one per face-vertex, parallel to connects

    int numVertices() const { return static_cast<int>(points.size() / 3); }
    int numFaces() const { return static_cast<int>(counts.size()); }
};

// Box centred at the origin; sx, sy, sz faces along each axis (at least 1).
PolyPrimitive makePolyCube(double width, double height, double depth, int sx, int sy, int sz);
// Plane in XZ facing +Y, width along X, height along Z.
PolyPrimitive makePolyPlane(double width, double height, int sx, int sy);
// Sphere around Y: sx segments around, sy segments from pole to pole
// (sx >= 3, sy >= 2); triangles at the poles, quads elsewhere.
PolyPrimitive makePolySphere(double radius, int sx, int sy);

} // namespace kelphost
