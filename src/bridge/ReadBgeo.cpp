#include "bridge/ReadBgeo.h"

#include "bridge/FileName.h"
#include "bridge/GeometryReason.h"
#include "bridge/Listing.h"

#include <Kelp>

#include <maya/MColor.h>
#include <maya/MGlobal.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>

#include <algorithm>
#include <climits>
#include <exception>
#include <new>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace {

const int kFloatType = 0;
const int kVectorType = 5;

// Number of points with a position: the header's count, but never more than
// the positions actually held.
unsigned int positionCount(const Kelp &geo) {
    const std::vector<AttributeData> &attrs = geo.getPointAttributes();
    if (attrs.empty() || attrs[0].type != kVectorType)
        return 0;
    std::size_t n = attrs[0].vector_data.size();
    if (n > geo.getNumPoints())
        n = geo.getNumPoints();
    return static_cast<unsigned int>(n);
}

void fillPoints(const Kelp &geo, unsigned int count, MPointArray &points) {
    const std::vector<Imath::V3f> &p = geo.getPointAttributes()[0].vector_data;
    points.setLength(count);
    for (unsigned int i = 0; i < count; ++i)
        points[i] = MPoint(p[i].x, p[i].y, p[i].z, 1.0);
}

// One per-element value source: a vertex attribute (indexed by file vertex)
// or a point attribute (indexed by point), used only when it has a value for
// every element it must cover.
struct Source {
    const AttributeData *attr = nullptr;
    bool perVertex = false;
    bool firstOfVector = false; // a float wanted from a vector: its first component
    explicit operator bool() const { return attr != nullptr; }
};

// A float source may also be a vector (a float attribute of several
// components, as files written before "Alpha" was one float hold it): its
// first component is used.
bool usable(const AttributeData &a, int type, std::size_t count, bool &firstOfVector) {
    firstOfVector = false;
    if (a.type == kVectorType && a.vector_data.size() >= count) {
        firstOfVector = type == kFloatType;
        return true;
    }
    return type == kFloatType && a.type == kFloatType && a.float_data.size() >= count;
}

Source findSource(const Kelp &geo, const std::string &name, int type, unsigned int fileVertices,
                  unsigned int pointCount) {
    Source s;
    const std::int32_t v = geo.attrExists(name, "VERTEX");
    if (v >= 0 && fileVertices > 0 &&
        usable(geo.getVertexAttributes()[v], type, fileVertices, s.firstOfVector)) {
        s.attr = &geo.getVertexAttributes()[v];
        s.perVertex = true;
        return s;
    }
    const std::int32_t p = geo.attrExists(name, "POINT");
    if (p >= 0 && pointCount > 0 &&
        usable(geo.getPointAttributes()[p], type, pointCount, s.firstOfVector))
        s.attr = &geo.getPointAttributes()[p];
    return s;
}

const Imath::V3f &vectorAt(const Source &s, std::size_t fileVertex, std::uint32_t point) {
    return s.attr->vector_data[s.perVertex ? fileVertex : point];
}

float floatAt(const Source &s, std::size_t fileVertex, std::uint32_t point) {
    const std::size_t at = s.perVertex ? fileVertex : point;
    return s.firstOfVector ? s.attr->vector_data[at].x : s.attr->float_data[at];
}

// Shares one id among the face-vertices of a point that carry equal values:
// each point keeps a short chain of the values met on it.
template <class Value> class SharedIds {
public:
    explicit SharedIds(unsigned int pointCount) : m_first(pointCount, -1) {}

    int idOf(std::uint32_t point, const Value &value) {
        for (int id = m_first[point]; id >= 0; id = m_next[static_cast<std::size_t>(id)])
            if (m_values[static_cast<std::size_t>(id)] == value)
                return id;
        const int id = static_cast<int>(m_values.size());
        m_values.push_back(value);
        m_next.push_back(m_first[point]);
        m_first[point] = id;
        return id;
    }
    const std::vector<Value> &values() const { return m_values; }

private:
    std::vector<int> m_first, m_next;
    std::vector<Value> m_values;
};

struct Uv {
    float u, v;
    bool operator==(const Uv &o) const { return u == o.u && v == o.v; }
};

struct Rgba {
    float r, g, b, a;
    bool operator==(const Rgba &o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

// The kept polygons, walked in file order with the running file vertex
// index: calls visit(file vertex index k, point id) for every vertex.
template <class Visit> void forEachKeptVertex(const std::vector<PolygonData> &polys, Visit visit) {
    std::size_t k = 0;
    for (const PolygonData &poly : polys) {
        const std::size_t n = poly.ids.size();
        if (n >= 3)
            for (std::size_t v = 0; v < n; ++v)
                visit(k + v, poly.ids[v]);
        k += n;
    }
}

// For each host face-vertex, in polygonConnects order, the id its file
// vertex was given (fileIds is indexed by file vertex).
void hostOrderIds(const std::vector<PolygonData> &polys, bool invertNormals,
                  const std::vector<int> &fileIds, MIntArray &out) {
    unsigned int h = 0;
    std::size_t k = 0;
    for (const PolygonData &poly : polys) {
        const std::size_t n = poly.ids.size();
        if (n >= 3)
            for (std::size_t v = 0; v < n; ++v)
                out[h++] = fileIds[k + (invertNormals ? n - v - 1 : v)];
        k += n;
    }
}

void fillUvSet(const std::vector<PolygonData> &polys, const Source &source, unsigned int pointCount,
               unsigned int fileVertices, unsigned int hostVertices, bool invertNormals,
               MFloatArray &uArray, MFloatArray &vArray, MIntArray &uvIds) {
    uvIds.setLength(hostVertices);
    if (!source.perVertex) { // one UV per point: already shared
        uArray.setLength(pointCount);
        vArray.setLength(pointCount);
        for (unsigned int p = 0; p < pointCount; ++p) {
            uArray[p] = source.attr->vector_data[p].x;
            vArray[p] = source.attr->vector_data[p].y;
        }
        unsigned int h = 0;
        for (const PolygonData &poly : polys) {
            const std::size_t n = poly.ids.size();
            if (n >= 3)
                for (std::size_t v = 0; v < n; ++v)
                    uvIds[h++] = static_cast<int>(poly.ids[invertNormals ? n - v - 1 : v]);
        }
        return;
    }
    SharedIds<Uv> shared(pointCount);
    std::vector<int> fileIds(fileVertices, -1);
    forEachKeptVertex(polys, [&](std::size_t k, std::uint32_t pt) {
        const Imath::V3f &value = source.attr->vector_data[k];
        fileIds[k] = shared.idOf(pt, Uv{value.x, value.y});
    });
    const std::vector<Uv> &values = shared.values();
    uArray.setLength(static_cast<unsigned int>(values.size()));
    vArray.setLength(static_cast<unsigned int>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) {
        uArray[static_cast<unsigned int>(i)] = values[i].u;
        vArray[static_cast<unsigned int>(i)] = values[i].v;
    }
    hostOrderIds(polys, invertNormals, fileIds, uvIds);
}

// The further texture attributes "uv2", "uv3", ...: every name "uv" followed
// by a number of 2 or more, in the order of those numbers.
std::vector<std::string> extraUvNames(const Kelp &geo) {
    std::vector<std::pair<long, std::string>> found;
    auto consider = [&](const std::vector<AttributeData> &table) {
        for (const AttributeData &a : table) {
            const std::string &n = a.name;
            if (n.size() < 3 || n.size() > 11 || n.compare(0, 2, "uv") != 0 || n[2] == '0' ||
                n.find_first_not_of("0123456789", 2) != std::string::npos)
                continue;
            const long number = std::stol(n.substr(2));
            bool seen = false;
            for (const auto &f : found)
                seen = seen || f.second == n;
            if (number >= 2 && !seen)
                found.push_back({number, n});
        }
    };
    consider(geo.getVertexAttributes());
    consider(geo.getPointAttributes());
    std::sort(found.begin(), found.end());
    std::vector<std::string> names;
    for (const auto &f : found)
        names.push_back(f.second);
    return names;
}

void fillColors(const std::vector<PolygonData> &polys, const Source &cd, const Source &alpha,
                unsigned int pointCount, unsigned int fileVertices, unsigned int hostVertices,
                bool invertNormals, MColorArray &colors, MIntArray &colorIds) {
    SharedIds<Rgba> shared(pointCount);
    std::vector<int> fileIds(fileVertices, -1);
    forEachKeptVertex(polys, [&](std::size_t k, std::uint32_t pt) {
        const Imath::V3f &c = vectorAt(cd, k, pt);
        const float a = alpha ? floatAt(alpha, k, pt) : 1.0f;
        fileIds[k] = shared.idOf(pt, Rgba{c.x, c.y, c.z, a});
    });
    const std::vector<Rgba> &values = shared.values();
    colors.setLength(static_cast<unsigned int>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i)
        colors[static_cast<unsigned int>(i)] =
            MColor(values[i].r, values[i].g, values[i].b, values[i].a);
    colorIds.setLength(hostVertices);
    hostOrderIds(polys, invertNormals, fileIds, colorIds);
}

// "N" as one normal per point, negated unless the winding is reversed.
void fillNormals(const AttributeData &n, unsigned int count, bool invertNormals,
                 MVectorArray &normals, MIntArray &normalIds) {
    const double sign = invertNormals ? 1.0 : -1.0;
    normals.setLength(count);
    normalIds.setLength(count);
    for (unsigned int i = 0; i < count; ++i) {
        const Imath::V3f &v = n.vector_data[i];
        normals[i] = MVector(sign * v.x, sign * v.y, sign * v.z);
        normalIds[i] = static_cast<int>(i);
    }
}

// Polygon counts and point ids of the kept polygons.
void fillPolygons(const std::vector<PolygonData> &polys, bool invertNormals,
                  MIntArray &polygonCounts, MIntArray &polygonConnects) {
    unsigned int f = 0;
    unsigned int h = 0;
    for (const PolygonData &poly : polys) {
        const std::size_t n = poly.ids.size();
        if (n < 3)
            continue;
        polygonCounts[f++] = static_cast<int>(n);
        for (std::size_t v = 0; v < n; ++v)
            polygonConnects[h++] = static_cast<int>(poly.ids[invertNormals ? n - v - 1 : v]);
    }
}

// Vertex "N" as one normal per face-vertex, addressed as (face, point) the
// way the host sets face-vertex normals; each face-vertex keeps the normal of
// the file vertex it came from, however the polygons are wound. Negated
// unless the winding is reversed, as point normals are.
void fillFaceVertexNormals(const std::vector<PolygonData> &polys, const AttributeData &n,
                           const MIntArray &polygonConnects, bool invertNormals,
                           MVectorArray &normals, MIntArray &normalIds, MIntArray &normalFaces) {
    const double sign = invertNormals ? 1.0 : -1.0;
    const unsigned int count = polygonConnects.length();
    normals.setLength(count);
    normalIds.setLength(count);
    normalFaces.setLength(count);
    std::size_t k = 0;
    unsigned int h = 0;
    int f = 0;
    for (const PolygonData &poly : polys) {
        const std::size_t size = poly.ids.size();
        if (size >= 3) {
            for (std::size_t v = 0; v < size; ++v, ++h) {
                const Imath::V3f &value = n.vector_data[k + (invertNormals ? size - v - 1 : v)];
                normals[h] = MVector(sign * value.x, sign * value.y, sign * value.z);
                normalIds[h] = polygonConnects[h];
                normalFaces[h] = f;
            }
            ++f;
        }
        k += size;
    }
}

void appendPointLines(MString &text, const MPointArray &points) {
    for (unsigned int p = 0; p < points.length(); ++p)
        appendVertexLine(text, p, points[p].x, points[p].y, points[p].z);
}

void appendFaceLines(MString &text, const MIntArray &polygonCounts,
                     const MIntArray &polygonConnects, const MFloatArray &uArray,
                     const MFloatArray &vArray, const MIntArray &uvIds, const MVectorArray &normals,
                     const MIntArray &normalFaces) {
    const bool perFaceVertex = normalFaces.length() != 0;
    unsigned int k = 0;
    for (unsigned int f = 0; f < polygonCounts.length(); ++f) {
        text += "Face: (";
        text += static_cast<double>(f);
        text += ")\n";
        for (int v = 0; v < polygonCounts[f]; ++v, ++k) {
            const int pt = polygonConnects[k];
            text += "  Face-vertex : face,vertexId: (";
            text += static_cast<double>(f);
            text += ", ";
            text += static_cast<double>(pt);
            text += ")\n";
            if (uvIds.length() != 0) {
                const unsigned int id = static_cast<unsigned int>(uvIds[k]);
                text += "  UV id: ";
                text += static_cast<double>(id);
                text += " (u: ";
                text += static_cast<double>(uArray[id]);
                text += ", v: ";
                text += static_cast<double>(vArray[id]);
                text += ")\n";
            }
            const unsigned int normalId = perFaceVertex ? k : static_cast<unsigned int>(pt);
            if (normals.length() != 0 && pt >= 0 && normalId < normals.length()) {
                const MVector &n = normals[normalId];
                text += "  Normal id: ";
                text += static_cast<double>(normalId);
                text += "  point id: ";
                text += static_cast<double>(pt);
                appendXyzLine(text, n.x, n.y, n.z);
            }
        }
    }
}

void reportReadFailure(const MString &fileName, const std::string &reason, int verbosity) {
    if (verbosity > 0) {
        MGlobal::displayInfo(MString("Error: unable to read bgeo:  (") + fileName + ")");
        MGlobal::displayError(readFailureText(fileName, reason));
    }
}

// The vertices of the polygons in the file, and of those the host mesh keeps
// (three or more vertices), with the number kept.
struct VertexTotals {
    unsigned long long file = 0;
    unsigned long long host = 0;
    std::size_t keptPolygons = 0;
};

VertexTotals vertexTotals(const std::vector<PolygonData> &polys) {
    VertexTotals totals;
    for (const PolygonData &poly : polys) {
        totals.file += poly.ids.size();
        if (poly.ids.size() >= 3) {
            totals.host += poly.ids.size();
            ++totals.keptPolygons;
        }
    }
    return totals;
}

// What a mesh is built from besides its polygons, for one frame's detail.
struct MeshSources {
    const Kelp &geo;
    const std::vector<PolygonData> &polys;
    unsigned int pointCount;
    unsigned int fileVertices;
    unsigned int hostVertices;
    bool invertNormals;

    Source find(const std::string &name, int type) const {
        return findSource(geo, name, type, fileVertices, pointCount);
    }
};

// The "map1" UVs, the further UV sets and the colours.
void fillTextures(const MeshSources &in, ImportedMesh &mesh) {
    if (const Source uv = in.find("uv", kVectorType))
        fillUvSet(in.polys, uv, in.pointCount, in.fileVertices, in.hostVertices, in.invertNormals,
                  mesh.uArray, mesh.vArray, mesh.uvIds);
    for (const std::string &name : extraUvNames(in.geo)) {
        const Source uv = in.find(name, kVectorType);
        if (!uv)
            continue;
        ImportedUvSet set;
        set.name = MString(name.c_str());
        fillUvSet(in.polys, uv, in.pointCount, in.fileVertices, in.hostVertices, in.invertNormals,
                  set.u, set.v, set.uvIds);
        mesh.extraUvSets.push_back(set);
    }
    if (const Source cd = in.find("Cd", kVectorType))
        fillColors(in.polys, cd, in.find("Alpha", kFloatType), in.pointCount, in.fileVertices,
                   in.hostVertices, in.invertNormals, mesh.colors, mesh.colorIds);
}

// Point "N" when it covers the points, else vertex "N" when it covers the
// vertices.
void fillMeshNormals(const MeshSources &in, ImportedMesh &mesh) {
    const Kelp &geo = in.geo;
    const std::int32_t normalIndex = geo.attrExists("N", "POINT");
    const std::int32_t vertexNormalIndex = geo.attrExists("N", "VERTEX");
    const bool pointNormals =
        normalIndex >= 0 && in.pointCount > 0 &&
        geo.getPointAttributes()[normalIndex].type == kVectorType &&
        geo.getPointAttributes()[normalIndex].vector_data.size() >= in.pointCount;
    if (pointNormals) {
        fillNormals(geo.getPointAttributes()[normalIndex], in.pointCount, in.invertNormals,
                    mesh.normals, mesh.normalIds);
    } else if (vertexNormalIndex >= 0 && in.hostVertices > 0) {
        const AttributeData &n = geo.getVertexAttributes()[vertexNormalIndex];
        if (n.type == kVectorType && n.vector_data.size() >= in.fileVertices)
            fillFaceVertexNormals(in.polys, n, mesh.polygonConnects, in.invertNormals, mesh.normals,
                                  mesh.normalIds, mesh.normalFaces);
    }
}

void reportRead(const ImportedMesh &mesh, int verbosity) {
    if (verbosity <= 0)
        return;
    MString message;
    if (verbosity > 1) {
        appendPointLines(message, mesh.points);
        appendFaceLines(message, mesh.polygonCounts, mesh.polygonConnects, mesh.uArray, mesh.vArray,
                        mesh.uvIds, mesh.normals, mesh.normalFaces);
    }
    message += "read bgeo:  (";
    message += mesh.fileName;
    message += ")";
    MGlobal::displayInfo(message);
    if (mesh.readPast.any())
        MGlobal::displayInfo(readPastLine(mesh.readPast));
}

MStatus readMesh(ImportedMesh &mesh, const MString &fileName, int verbosity, bool invertNormals) {
    Kelp geo;
    std::string reason;
    if (!loadGeometry(geo, fileName, reason)) {
        reportReadFailure(fileName, reason, verbosity);
        return MS::kFailure;
    }
    const std::vector<PolygonData> &polys = geo.getPolygons();
    const VertexTotals totals = vertexTotals(polys);
    if (polys.size() > static_cast<std::size_t>(INT_MAX) ||
        totals.file > static_cast<unsigned long long>(INT_MAX)) {
        reportReadFailure(fileName, "more polygons or face-vertices than a host mesh can hold",
                          verbosity);
        return MS::kFailure;
    }
    mesh.readPast = readPastOf(geo);
    const MeshSources in{geo,
                         polys,
                         positionCount(geo),
                         static_cast<unsigned int>(totals.file),
                         static_cast<unsigned int>(totals.host),
                         invertNormals};
    fillPoints(geo, in.pointCount, mesh.points);
    mesh.numPolygons = static_cast<unsigned int>(totals.keptPolygons);
    mesh.polygonCounts.setLength(mesh.numPolygons);
    mesh.polygonConnects.setLength(in.hostVertices);
    fillPolygons(polys, invertNormals, mesh.polygonCounts, mesh.polygonConnects);
    if (in.hostVertices > 0)
        fillTextures(in, mesh);
    fillMeshNormals(in, mesh);
    reportRead(mesh, verbosity);
    return MS::kSuccess;
}

} // namespace

MStatus readBgeo(ImportedMesh &mesh, const MString &path, float frame, int verbosity,
                 bool invertNormals) {
    mesh = ImportedMesh();
    global_doDebug = verbosity == 3 ? 1 : 0;
    const MString fileName = buildFileName(path, frame);
    mesh.fileName = fileName;
    // The last guard: a frame too large for the memory left is a failed read
    // (an empty frame and its reason), never an exception in the host.
    std::string reason;
    try {
        const MStatus status = readMesh(mesh, fileName, verbosity, invertNormals);
        if (!status) {
            mesh = ImportedMesh();
            mesh.fileName = fileName;
        }
        return status;
    } catch (const std::bad_alloc &) {
        reason = "not enough memory";
    } catch (const std::exception &e) {
        reason = std::string("unexpected failure (") + e.what() + ")";
    }
    mesh = ImportedMesh();
    mesh.fileName = fileName;
    reportReadFailure(fileName, reason, verbosity);
    return MS::kFailure;
}
