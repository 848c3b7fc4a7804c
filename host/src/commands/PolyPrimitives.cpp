#include "PolyPrimitives.h"

#include <cmath>
#include <map>
#include <tuple>

namespace kelphost {

namespace {

const double kPi = 3.14159265358979323846;

// Adds a vertex, sharing it with an earlier one at the same position.
struct Welder {
    PolyPrimitive &mesh;
    std::map<std::tuple<long long, long long, long long>, int> ids;
    int add(double x, double y, double z) {
        auto key =
            std::make_tuple(std::llround(x * 1e6), std::llround(y * 1e6), std::llround(z * 1e6));
        auto it = ids.find(key);
        if (it != ids.end())
            return it->second;
        int id = mesh.numVertices();
        mesh.points.push_back(static_cast<float>(x));
        mesh.points.push_back(static_cast<float>(y));
        mesh.points.push_back(static_cast<float>(z));
        ids.emplace(key, id);
        return id;
    }
};

int addUV(PolyPrimitive &m, double u, double v) {
    m.u.push_back(static_cast<float>(u));
    m.v.push_back(static_cast<float>(v));
    return static_cast<int>(m.u.size()) - 1;
}

} // namespace

PolyPrimitive makePolyCube(double width, double height, double depth, int sx, int sy, int sz) {
    PolyPrimitive m;
    Welder w{m, {}};
    const double hx = width / 2, hy = height / 2, hz = depth / 2;
    // Each side: origin corner, the two edge directions (as unit axis multiples),
    // the subdivisions along them, and the corner of its square in the host's
    // cross-shaped UV layout: front, top, back and bottom stacked up the
    // middle column, right and left beside the front. Face-vertices of one
    // point at one place of the layout share a UV, so the unsubdivided cube
    // has 14 UVs, with seams only where the layout is cut.
    struct Side {
        double o[3], a[3], b[3];
        int na, nb;
        double u0, v0;
    };
    const Side sides[6] = {
        {{-hx, -hy, hz}, {width, 0, 0}, {0, height, 0}, sx, sy, 0.375, 0.0},  // front  (+Z)
        {{-hx, hy, hz}, {width, 0, 0}, {0, 0, -depth}, sx, sz, 0.375, 0.25},  // top    (+Y)
        {{-hx, hy, -hz}, {width, 0, 0}, {0, -height, 0}, sx, sy, 0.375, 0.5}, // back   (-Z)
        {{-hx, -hy, -hz}, {width, 0, 0}, {0, 0, depth}, sx, sz, 0.375, 0.75}, // bottom (-Y)
        {{hx, -hy, hz}, {0, 0, -depth}, {0, height, 0}, sz, sy, 0.625, 0.0},  // right  (+X)
        {{-hx, -hy, -hz}, {0, 0, depth}, {0, height, 0}, sz, sy, 0.125, 0.0}, // left   (-X)
    };
    std::map<std::tuple<int, long long, long long>, int> uvOf;
    for (const Side &s : sides) {
        std::vector<int> vid((s.na + 1) * (s.nb + 1)), uid(vid.size());
        for (int j = 0; j <= s.nb; ++j) {
            for (int i = 0; i <= s.na; ++i) {
                const double fa = double(i) / s.na, fb = double(j) / s.nb;
                const int at = j * (s.na + 1) + i;
                vid[at] =
                    w.add(s.o[0] + fa * s.a[0] + fb * s.b[0], s.o[1] + fa * s.a[1] + fb * s.b[1],
                          s.o[2] + fa * s.a[2] + fb * s.b[2]);
                const double u = s.u0 + fa * 0.25, v = s.v0 + fb * 0.25;
                const auto key =
                    std::make_tuple(vid[at], std::llround(u * 1e6), std::llround(v * 1e6));
                auto found = uvOf.find(key);
                uid[at] = found != uvOf.end() ? found->second : addUV(m, u, v);
                uvOf.emplace(key, uid[at]);
            }
        }
        for (int j = 0; j < s.nb; ++j) {
            for (int i = 0; i < s.na; ++i) {
                const int c[4] = {j * (s.na + 1) + i, j * (s.na + 1) + i + 1,
                                  (j + 1) * (s.na + 1) + i + 1, (j + 1) * (s.na + 1) + i};
                m.counts.push_back(4);
                for (int k : c) {
                    m.connects.push_back(vid[k]);
                    m.uvIds.push_back(uid[k]);
                }
            }
        }
    }
    return m;
}

PolyPrimitive makePolyPlane(double width, double height, int sx, int sy) {
    PolyPrimitive m;
    for (int j = 0; j <= sy; ++j) {
        for (int i = 0; i <= sx; ++i) {
            const double fu = double(i) / sx, fv = double(j) / sy;
            m.points.push_back(static_cast<float>(-width / 2 + fu * width));
            m.points.push_back(0.0f);
            m.points.push_back(static_cast<float>(height / 2 - fv * height));
            addUV(m, fu, fv);
        }
    }
    for (int j = 0; j < sy; ++j) {
        for (int i = 0; i < sx; ++i) {
            const int a = j * (sx + 1) + i;
            const int c[4] = {a, a + 1, a + sx + 2, a + sx + 1};
            m.counts.push_back(4);
            for (int k : c) {
                m.connects.push_back(k);
                m.uvIds.push_back(k);
            }
        }
    }
    return m;
}

PolyPrimitive makePolySphere(double radius, int sx, int sy) {
    PolyPrimitive m;
    // Rings 1..sy-1 from the bottom, sx vertices each; then the two poles.
    for (int j = 1; j < sy; ++j) {
        const double phi = -kPi / 2 + kPi * j / sy;
        for (int i = 0; i < sx; ++i) {
            const double theta = 2 * kPi * i / sx;
            m.points.push_back(static_cast<float>(radius * std::cos(phi) * std::cos(theta)));
            m.points.push_back(static_cast<float>(radius * std::sin(phi)));
            m.points.push_back(static_cast<float>(-radius * std::cos(phi) * std::sin(theta)));
        }
    }
    const int bottom = m.numVertices();
    m.points.insert(m.points.end(), {0.0f, static_cast<float>(-radius), 0.0f});
    const int top = m.numVertices();
    m.points.insert(m.points.end(), {0.0f, static_cast<float>(radius), 0.0f});
    auto ring = [sx](int j, int i) { return (j - 1) * sx + (i % sx); };
    // UVs: (sx + 1) per ring (the seam is doubled), then one per pole triangle.
    for (int j = 1; j < sy; ++j)
        for (int i = 0; i <= sx; ++i)
            addUV(m, double(i) / sx, double(j) / sy);
    auto ringUV = [sx](int j, int i) { return (j - 1) * (sx + 1) + i; };
    const int bottomUV = static_cast<int>(m.u.size());
    for (int i = 0; i < sx; ++i)
        addUV(m, (i + 0.5) / sx, 0.0);
    const int topUV = static_cast<int>(m.u.size());
    for (int i = 0; i < sx; ++i)
        addUV(m, (i + 0.5) / sx, 1.0);
    // Bottom cap.
    for (int i = 0; i < sx; ++i) {
        m.counts.push_back(3);
        m.connects.insert(m.connects.end(), {ring(1, i + 1), ring(1, i), bottom});
        m.uvIds.insert(m.uvIds.end(), {ringUV(1, i + 1), ringUV(1, i), bottomUV + i});
    }
    for (int j = 1; j + 1 < sy; ++j) {
        for (int i = 0; i < sx; ++i) {
            m.counts.push_back(4);
            m.connects.insert(m.connects.end(),
                              {ring(j, i), ring(j, i + 1), ring(j + 1, i + 1), ring(j + 1, i)});
            m.uvIds.insert(m.uvIds.end(), {ringUV(j, i), ringUV(j, i + 1), ringUV(j + 1, i + 1),
                                           ringUV(j + 1, i)});
        }
    }
    // Top cap.
    for (int i = 0; i < sx; ++i) {
        m.counts.push_back(3);
        m.connects.insert(m.connects.end(), {ring(sy - 1, i), ring(sy - 1, i + 1), top});
        m.uvIds.insert(m.uvIds.end(), {ringUV(sy - 1, i), ringUV(sy - 1, i + 1), topUV + i});
    }
    return m;
}

} // namespace kelphost
