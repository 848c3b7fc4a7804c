#include "bridge/MeshTables.h"

#include <maya/MColor.h>

#include <cstdint>
#include <new>

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

// The host array of the first n rows of a table, in one bulk copy.
template <class Array, class Row>
void makeArray(std::optional<Array> &out, const Row *rows, std::size_t n) {
    if (n)
        out.emplace(rows, static_cast<unsigned int>(n));
    else
        out.emplace();
}

// Point ids of the kept polygons in host order into `ids`; false when one
// names no point with a position.
bool hostPointIds(const MeshShape &shape, int *ids) {
    bool outside = false;
    forEachKeptVertex(shape, [&](std::size_t, std::uint32_t pt, std::size_t h) {
        outside |= pt >= shape.pointCount;
        ids[h] = static_cast<int>(pt);
    });
    return !outside;
}

struct Rgba {
    float r, g, b, a;
};

} // namespace

void *TableScratch::room(std::size_t bytes) {
    if (bytes > m_bytes) {
        std::free(m_storage);
        m_storage = std::malloc(bytes);
        m_bytes = m_storage ? bytes : 0;
        if (!m_storage)
            throw std::bad_alloc();
    }
    return m_storage;
}

void fillPoints(const AttributeData &positions, unsigned int count, TableScratch &scratch,
                ImportedMesh &mesh) {
    const Imath::V3f *p = positions.vector_data.data();
    float(*out)[4] = scratch.rows<float[4]>(count);
    for (unsigned int i = 0; i < count; ++i) {
        out[i][0] = p[i].x;
        out[i][1] = p[i].y;
        out[i][2] = p[i].z;
        out[i][3] = 1.0f;
    }
    makeArray(mesh.points, out, count);
}

bool fillPolygons(const MeshShape &shape, TableScratch &scratch, ImportedMesh &mesh) {
    mesh.numPolygons = shape.keptPolygons;
    int *counts = scratch.rows<int>(shape.keptPolygons);
    std::size_t f = 0;
    for (const PolygonData &poly : shape.polys) {
        const std::size_t n = poly.ids.size();
        if (n >= 3)
            counts[f++] = static_cast<int>(n);
    }
    makeArray(mesh.polygonCounts, counts, shape.keptPolygons);
    int *connects = scratch.rows<int>(shape.hostVertices);
    const bool inRange = hostPointIds(shape, connects);
    makeArray(mesh.polygonConnects, connects, shape.hostVertices);
    return inRange;
}

void fillUvSet(const MeshShape &shape, const Source &source, TableScratch &scratch,
               std::optional<MFloatArray> &u, std::optional<MFloatArray> &v,
               std::optional<MIntArray> &uvIds) {
    const Imath::V3f *values = source.attr->vector_data.data();
    if (!source.perVertex) { // one UV per point: already shared
        float *column = scratch.rows<float>(shape.pointCount);
        for (unsigned int p = 0; p < shape.pointCount; ++p)
            column[p] = values[p].x;
        makeArray(u, column, shape.pointCount);
        for (unsigned int p = 0; p < shape.pointCount; ++p)
            column[p] = values[p].y;
        makeArray(v, column, shape.pointCount);
        int *ids = scratch.rows<int>(shape.hostVertices);
        hostPointIds(shape, ids);
        makeArray(uvIds, ids, shape.hostVertices);
        return;
    }
    SharedIds shared(shape.pointCount, shape.hostVertices);
    std::vector<float> us, vs;
    us.reserve(shape.hostVertices);
    vs.reserve(shape.hostVertices);
    int *ids = scratch.rows<int>(shape.hostVertices);
    forEachKeptVertex(shape, [&](std::size_t k, std::uint32_t pt, std::size_t h) {
        const float vu = values[k].x;
        const float vv = values[k].y;
        ids[h] = shared.idOf(
            pt, [&](std::size_t id) { return us[id] == vu && vs[id] == vv; },
            [&] {
                us.push_back(vu);
                vs.push_back(vv);
            });
    });
    makeArray(uvIds, ids, shape.hostVertices);
    makeArray(u, us.data(), us.size());
    makeArray(v, vs.data(), vs.size());
}

void fillColors(const MeshShape &shape, const Source &cd, const Source &alpha,
                TableScratch &scratch, ImportedMesh &mesh) {
    SharedIds shared(shape.pointCount, shape.hostVertices);
    std::vector<Rgba> colors;
    colors.reserve(shape.hostVertices);
    int *ids = scratch.rows<int>(shape.hostVertices);
    forEachKeptVertex(shape, [&](std::size_t k, std::uint32_t pt, std::size_t h) {
        const Imath::V3f &c = vectorAt(cd, k, pt);
        const Rgba value{c.x, c.y, c.z, alpha ? floatAt(alpha, k, pt) : 1.0f};
        ids[h] = shared.idOf(
            pt,
            [&](std::size_t id) {
                const Rgba &o = colors[id];
                return o.r == value.r && o.g == value.g && o.b == value.b && o.a == value.a;
            },
            [&] { colors.push_back(value); });
    });
    makeArray(mesh.colorIds, ids, shape.hostVertices);
    // The host makes colour arrays only from its own colours.
    std::vector<MColor> hostColors;
    hostColors.reserve(colors.size());
    for (const Rgba &c : colors)
        hostColors.emplace_back(c.r, c.g, c.b, c.a);
    makeArray(mesh.colors, hostColors.data(), hostColors.size());
}

void fillPointNormals(const AttributeData &n, unsigned int count, bool invertNormals,
                      TableScratch &scratch, ImportedMesh &mesh) {
    const float sign = invertNormals ? 1.0f : -1.0f;
    const Imath::V3f *in = n.vector_data.data();
    float(*out)[3] = scratch.rows<float[3]>(count);
    for (unsigned int i = 0; i < count; ++i) {
        out[i][0] = sign * in[i].x;
        out[i][1] = sign * in[i].y;
        out[i][2] = sign * in[i].z;
    }
    makeArray(mesh.normals, out, count);
    int *ids = scratch.rows<int>(count);
    for (unsigned int i = 0; i < count; ++i)
        ids[i] = static_cast<int>(i);
    makeArray(mesh.normalIds, ids, count);
}

// Each face-vertex keeps the normal of the file vertex it came from, however
// the polygons are wound, addressed as (face, point) the way the host sets
// face-vertex normals.
void fillFaceVertexNormals(const MeshShape &shape, const AttributeData &n, TableScratch &scratch,
                           ImportedMesh &mesh) {
    const float sign = shape.invertNormals ? 1.0f : -1.0f;
    const Imath::V3f *in = n.vector_data.data();
    float(*out)[3] = scratch.rows<float[3]>(shape.hostVertices);
    forEachKeptVertex(shape, [&](std::size_t k, std::uint32_t, std::size_t h) {
        out[h][0] = sign * in[k].x;
        out[h][1] = sign * in[k].y;
        out[h][2] = sign * in[k].z;
    });
    makeArray(mesh.normals, out, shape.hostVertices);
    int *ids = scratch.rows<int>(shape.hostVertices);
    hostPointIds(shape, ids);
    makeArray(mesh.normalIds, ids, shape.hostVertices);
    std::size_t h = 0;
    int f = 0;
    for (const PolygonData &poly : shape.polys) {
        const std::size_t size = poly.ids.size();
        if (size < 3)
            continue;
        for (std::size_t v = 0; v < size; ++v)
            ids[h++] = f;
        ++f;
    }
    makeArray(mesh.normalFaces, ids, shape.hostVertices);
}
