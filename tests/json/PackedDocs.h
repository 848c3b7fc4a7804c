// Hand-built documents of packed pieces with colours: an optional triangle
// of the file's own, then one PackedGeometry per piece placing the unit
// square embedded under "embed:0", whose colour is held on its primitive,
// its points or its vertices (or nowhere).
#ifndef KELP_TESTS_PACKEDDOCS_H
#define KELP_TESTS_PACKEDDOCS_H

#include "JsonBytes.h"

#include <Imath/ImathVec.h>

#include <string>
#include <vector>

namespace kelptest {

enum class ColourOn { Nowhere, Primitive, Point, Vertex };

// The square's colours: blue on its primitive; on point i (or vertex i,
// which uses point i) (0, 0.25 i, 1).
inline Imath::V3f squareColour(ColourOn on, int corner) {
    return on == ColourOn::Primitive ? Imath::V3f(0, 0, 1) : Imath::V3f(0, 0.25f * corner, 1);
}

inline JsonBytes colouredSquare(ColourOn on) {
    std::vector<float> cd;
    for (int i = 0; i < 4; ++i) {
        const Imath::V3f c = squareColour(on, i);
        cd.insert(cd.end(), {c.x, c.y, c.z});
    }
    JsonBytes j;
    j.arr().key("pointcount").i32(4).key("vertexcount").i32(4).key("primitivecount").i32(1);
    j.key("topology").arr().key("pointref").arr().key("indices").ui32({0, 1, 2, 3}).end().end();
    j.key("attributes").arr();
    if (on == ColourOn::Vertex) {
        j.key("vertexattributes").arr();
        numericAttribute(j, "Cd", 3, cd).end();
    }
    j.key("pointattributes").arr();
    numericAttribute(j, "P", 3, {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0});
    if (on == ColourOn::Point)
        numericAttribute(j, "Cd", 3, cd);
    j.end();
    if (on == ColourOn::Primitive) {
        j.key("primitiveattributes").arr();
        numericAttribute(j, "Cd", 3, {0, 0, 1}).end();
    }
    j.end();
    j.key("primitives").arr().arr().arr().key("type").key("p_r").end();
    j.arr().key("s_v").i32(0).key("n_p").i32(1).key("r_v").ui32({4, 1});
    return j.end().end().end().end();
}

struct PackedColours {
    bool triangle = true;           // the file's own triangle, on points 0..2
    std::vector<Imath::V3f> pieces; // one piece per entry, on its own point...
    bool onePoint = false;          // ...or all pieces on one point
    bool primitiveCd = true;        // the entries as primitive "Cd"
    std::vector<float> alpha;       // primitive "Alpha" when given
    bool pointCd = false;           // a point "Cd" on the file, (0.5, 0.5, 0.5) each
    ColourOn square = ColourOn::Primitive;
    std::int32_t lastVertex = -1; // when set, the vertex the last piece names
};

// The file's triangle is primitive 0 (colour (1, 1, 0), alpha 1); piece k
// is the next primitive, its point at (10 k, 0, 0).
inline JsonBytes packedColours(const PackedColours &o) {
    const int pieces = static_cast<int>(o.pieces.size());
    const int own = o.triangle ? 3 : 0;
    const int points = own + (o.onePoint ? 1 : pieces);
    std::vector<std::int32_t> topology;
    if (o.triangle)
        topology = {0, 1, 2};
    std::vector<float> p;
    if (o.triangle)
        p = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    for (int k = 0; k < pieces; ++k) {
        topology.push_back(own + (o.onePoint ? 0 : k));
        if (k == 0 || !o.onePoint)
            p.insert(p.end(), {10.0f * float(k), 0, 0});
    }
    std::vector<float> cd, alpha;
    if (o.triangle) {
        cd = {1, 1, 0};
        alpha = {1};
    }
    for (int k = 0; k < pieces; ++k) {
        cd.insert(cd.end(), {o.pieces[k].x, o.pieces[k].y, o.pieces[k].z});
        if (!o.alpha.empty())
            alpha.push_back(o.alpha[k]);
    }
    JsonBytes j;
    j.magic().arr().key("pointcount").i32(points);
    j.key("vertexcount").i32(static_cast<std::int32_t>(topology.size()));
    j.key("primitivecount").i32((o.triangle ? 1 : 0) + pieces);
    j.key("topology").arr().key("pointref").arr().key("indices").ui32(topology).end().end();
    j.key("attributes").arr().key("pointattributes").arr();
    numericAttribute(j, "P", 3, p);
    if (o.pointCd)
        numericAttribute(j, "Cd", 3, std::vector<float>(3 * points, 0.5f));
    j.end();
    if (o.primitiveCd || !o.alpha.empty()) {
        j.key("primitiveattributes").arr();
        if (o.primitiveCd)
            numericAttribute(j, "Cd", 3, cd);
        if (!o.alpha.empty())
            numericAttribute(j, "Alpha", 1, alpha);
        j.end();
    }
    j.end();
    j.key("primitives").arr();
    if (o.triangle) {
        j.arr().arr().key("type").key("p_r").end();
        j.arr().key("s_v").i32(0).key("n_p").i32(1).key("r_v").ui32({3, 1}).end().end();
    }
    for (int k = 0; k < pieces; ++k) {
        j.arr().arr().key("type").str("PackedGeometry").end();
        j.arr().key("parameters").map().key("embedded").str("embed:0").mapEnd();
        const bool last = k == pieces - 1 && o.lastVertex >= 0;
        j.key("vertex").i32(last ? o.lastVertex : own + k).end().end();
    }
    j.end();
    j.key("sharedprimitivedata").arr().str("PackedGeometry").arr().str("gu:embeddedgeo");
    j.str("embed:0").append(colouredSquare(o.square)).end().end();
    return j.end();
}

// A document of one triangle followed by single primitives of the given
// types on vertex 3 (each a packed disk reference, a soup, ...).
inline JsonBytes trianglePlus(const std::vector<std::string> &types) {
    const int n = static_cast<int>(types.size());
    JsonBytes j;
    documentHead(j, 4, {0, 1, 2, 3}, 1 + n);
    j.key("attributes").arr().key("pointattributes").arr();
    numericAttribute(j, "P", 3, std::vector<float>(12, 1.0f)).end().end();
    j.key("primitives").arr();
    polygonRun(j, 0, 1, 3);
    for (const std::string &type : types) {
        j.arr().arr().key("type").str(type).end();
        j.arr().key("parameters").map().key("filename").str("/no/such/piece.bgeo").mapEnd();
        j.key("vertex").i32(3).end().end();
    }
    j.end();
    return j.end();
}

} // namespace kelptest

#endif
