#include "bridge/MeshTables.h"

#include <cstdint>

namespace {

// Shares one id among the face-vertices of a point that carry equal values:
// each point keeps a short chain of the ids of the values met on it. The
// values live with the caller: equal(id) compares with one, add() appends.
class SharedIds {
public:
    SharedIds(unsigned int pointCount, std::size_t most) : m_first(pointCount, -1) {
        m_next.reserve(most);
    }

    template <class Equal, class Add> int idOf(std::uint32_t point, Equal equal, Add add) {
        for (int id = m_first[point]; id >= 0; id = m_next[static_cast<std::size_t>(id)])
            if (equal(static_cast<std::size_t>(id)))
                return id;
        const int id = static_cast<int>(m_next.size());
        add();
        m_next.push_back(m_first[point]);
        m_first[point] = id;
        return id;
    }

private:
    std::vector<int> m_first, m_next;
};

// Walks the kept polygons: visit(file vertex k, point id, host face-vertex h)
// for every vertex, in file order; h is where the vertex lands once the
// polygon is reversed for invertNormals.
template <class Visit> void forEachKeptVertex(const MeshShape &shape, Visit visit) {
    std::size_t k = 0;
    std::size_t h = 0;
    for (const PolygonData &poly : shape.polys) {
        const std::size_t n = poly.ids.size();
        if (n >= 3) {
            const std::uint32_t *ids = poly.ids.data();
            for (std::size_t v = 0; v < n; ++v)
                visit(k + v, ids[v], h + (shape.invertNormals ? n - v - 1 : v));
            h += n;
        }
        k += n;
    }
}

const Imath::V3f &vectorAt(const Source &s, std::size_t fileVertex, std::uint32_t point) {
    return s.attr->vector_data[s.perVertex ? fileVertex : point];
}

float floatAt(const Source &s, std::size_t fileVertex, std::uint32_t point) {
    const std::size_t at = s.perVertex ? fileVertex : point;
    return s.firstOfVector ? s.attr->vector_data[at].x : s.attr->float_data[at];
}

void copyIds(const BulkTable<int> &from, BulkTable<int> &to) {
    to = from;
}

} // namespace

void fillPoints(const AttributeData &positions, unsigned int count, BulkTable<float[4]> &points) {
    const Imath::V3f *p = positions.vector_data.data();
    points.resize(count);
    float(*out)[4] = points.data();
    for (unsigned int i = 0; i < count; ++i) {
        out[i][0] = p[i].x;
        out[i][1] = p[i].y;
        out[i][2] = p[i].z;
        out[i][3] = 1.0f;
    }
}

void fillPolygons(const MeshShape &shape, ImportedMesh &mesh) {
    mesh.numPolygons = shape.keptPolygons;
    mesh.polygonCounts.resize(shape.keptPolygons);
    mesh.polygonConnects.resize(shape.hostVertices);
    int *counts = mesh.polygonCounts.data();
    int *connects = mesh.polygonConnects.data();
    std::size_t f = 0;
    for (const PolygonData &poly : shape.polys) {
        const std::size_t n = poly.ids.size();
        if (n >= 3)
            counts[f++] = static_cast<int>(n);
    }
    forEachKeptVertex(shape, [&](std::size_t, std::uint32_t pt, std::size_t h) {
        connects[h] = static_cast<int>(pt);
    });
}

void fillUvSet(const MeshShape &shape, const Source &source, const BulkTable<int> &polygonConnects,
               std::vector<float> &u, std::vector<float> &v, BulkTable<int> &uvIds) {
    const Imath::V3f *values = source.attr->vector_data.data();
    if (!source.perVertex) { // one UV per point: already shared
        u.resize(shape.pointCount);
        v.resize(shape.pointCount);
        for (unsigned int p = 0; p < shape.pointCount; ++p) {
            u[p] = values[p].x;
            v[p] = values[p].y;
        }
        copyIds(polygonConnects, uvIds);
        return;
    }
    SharedIds shared(shape.pointCount, shape.hostVertices);
    u.clear();
    v.clear();
    u.reserve(shape.hostVertices);
    v.reserve(shape.hostVertices);
    uvIds.resize(shape.hostVertices);
    int *ids = uvIds.data();
    forEachKeptVertex(shape, [&](std::size_t k, std::uint32_t pt, std::size_t h) {
        const float vu = values[k].x;
        const float vv = values[k].y;
        ids[h] = shared.idOf(
            pt, [&](std::size_t id) { return u[id] == vu && v[id] == vv; },
            [&] {
                u.push_back(vu);
                v.push_back(vv);
            });
    });
}

void fillColors(const MeshShape &shape, const Source &cd, const Source &alpha,
                std::vector<ImportedColor> &colors, BulkTable<int> &colorIds) {
    SharedIds shared(shape.pointCount, shape.hostVertices);
    colors.clear();
    colors.reserve(shape.hostVertices);
    colorIds.resize(shape.hostVertices);
    int *ids = colorIds.data();
    forEachKeptVertex(shape, [&](std::size_t k, std::uint32_t pt, std::size_t h) {
        const Imath::V3f &c = vectorAt(cd, k, pt);
        const ImportedColor value{c.x, c.y, c.z, alpha ? floatAt(alpha, k, pt) : 1.0f};
        ids[h] = shared.idOf(
            pt,
            [&](std::size_t id) {
                const ImportedColor &o = colors[id];
                return o.r == value.r && o.g == value.g && o.b == value.b && o.a == value.a;
            },
            [&] { colors.push_back(value); });
    });
}

void fillPointNormals(const AttributeData &n, unsigned int count, bool invertNormals,
                      ImportedMesh &mesh) {
    const float sign = invertNormals ? 1.0f : -1.0f;
    const Imath::V3f *in = n.vector_data.data();
    mesh.normals.resize(count);
    mesh.normalIds.resize(count);
    float(*out)[3] = mesh.normals.data();
    int *ids = mesh.normalIds.data();
    for (unsigned int i = 0; i < count; ++i) {
        out[i][0] = sign * in[i].x;
        out[i][1] = sign * in[i].y;
        out[i][2] = sign * in[i].z;
        ids[i] = static_cast<int>(i);
    }
}

// Each face-vertex keeps the normal of the file vertex it came from, however
// the polygons are wound, addressed as (face, point) the way the host sets
// face-vertex normals.
void fillFaceVertexNormals(const MeshShape &shape, const AttributeData &n, ImportedMesh &mesh) {
    const float sign = shape.invertNormals ? 1.0f : -1.0f;
    const Imath::V3f *in = n.vector_data.data();
    mesh.normals.resize(shape.hostVertices);
    mesh.normalFaces.resize(shape.hostVertices);
    copyIds(mesh.polygonConnects, mesh.normalIds);
    float(*out)[3] = mesh.normals.data();
    int *faces = mesh.normalFaces.data();
    forEachKeptVertex(shape, [&](std::size_t k, std::uint32_t, std::size_t h) {
        out[h][0] = sign * in[k].x;
        out[h][1] = sign * in[k].y;
        out[h][2] = sign * in[k].z;
    });
    const int *counts = mesh.polygonCounts.data();
    std::size_t h = 0;
    for (unsigned int f = 0; f < mesh.numPolygons; ++f)
        for (int v = 0; v < counts[f]; ++v)
            faces[h++] = static_cast<int>(f);
}
