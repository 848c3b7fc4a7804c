#include "bridge/ReadBgeo.h"

#include "bridge/FileName.h"
#include "bridge/GeometryReason.h"

#include <Kelp>

#include <maya/MGlobal.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>

#include <climits>
#include <cstddef>
#include <string>
#include <vector>

namespace {

const int kVectorType = 5;

// Where the mesh's UVs come from: the vertex attribute "uv" (one value per
// file vertex) or, failing that, the point attribute "uv" (one per point).
enum class UvSource { None, Vertex, Point };

void clearOutputs(unsigned int &numPolygons, MPointArray &points, MIntArray &polygonCounts,
                  MIntArray &polygonConnects, MFloatArray &uArray, MFloatArray &vArray,
                  MIntArray &uvIds, MVectorArray &normals, MIntArray &normalIds,
                  MIntArray &normalFaces) {
    numPolygons = 0;
    points.clear();
    polygonCounts.clear();
    polygonConnects.clear();
    uArray.clear();
    vArray.clear();
    uvIds.clear();
    normals.clear();
    normalIds.clear();
    normalFaces.clear();
}

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

// An attribute is used only when it is a vector with a value for each of the
// `count` elements it must cover.
bool coversAll(const Kelp &geo, std::int32_t index, bool vertexTable, unsigned int count) {
    if (index < 0 || count == 0)
        return false;
    const AttributeData &a =
        vertexTable ? geo.getVertexAttributes()[index] : geo.getPointAttributes()[index];
    return a.type == kVectorType && a.vector_data.size() >= count;
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

void fillUvs(const AttributeData &uv, unsigned int count, MFloatArray &uArray,
             MFloatArray &vArray) {
    uArray.setLength(count);
    vArray.setLength(count);
    for (unsigned int i = 0; i < count; ++i) {
        uArray[i] = uv.vector_data[i].x;
        vArray[i] = uv.vector_data[i].y;
    }
}

// Polygon counts and point ids, and for each face-vertex its UV id: the file
// vertex it came from (vertex "uv") or its point (point "uv").
void fillPolygons(const std::vector<PolygonData> &polys, bool invertNormals, UvSource uvs,
                  MIntArray &polygonCounts, MIntArray &polygonConnects, MIntArray &uvIds) {
    int k = 0;
    for (std::size_t f = 0; f < polys.size(); ++f) {
        const PolygonIds &ids = polys[f].ids;
        const int n = static_cast<int>(ids.size());
        polygonCounts[static_cast<unsigned int>(f)] = n;
        for (int v = 0; v < n; ++v) {
            const int j = invertNormals ? n - v - 1 : v;
            const int pt = static_cast<int>(ids[j]);
            polygonConnects[static_cast<unsigned int>(k + v)] = pt;
            if (uvs == UvSource::Vertex)
                uvIds[static_cast<unsigned int>(k + v)] = k + j;
            else if (uvs == UvSource::Point)
                uvIds[static_cast<unsigned int>(k + v)] = pt;
        }
        k += n;
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
    unsigned int k = 0;
    for (std::size_t f = 0; f < polys.size(); ++f) {
        const unsigned int size = static_cast<unsigned int>(polys[f].ids.size());
        for (unsigned int v = 0; v < size; ++v) {
            const unsigned int j = invertNormals ? size - v - 1 : v;
            const Imath::V3f &value = n.vector_data[k + j];
            normals[k + v] = MVector(sign * value.x, sign * value.y, sign * value.z);
            normalIds[k + v] = polygonConnects[k + v];
            normalFaces[k + v] = static_cast<int>(f);
        }
        k += size;
    }
}

void appendPointLines(MString &text, const MPointArray &points) {
    for (unsigned int p = 0; p < points.length(); ++p) {
        text += "  Vertex: ";
        text += static_cast<double>(p);
        text += " (x: ";
        text += points[p].x;
        text += ", y: ";
        text += points[p].y;
        text += ", z: ";
        text += points[p].z;
        text += ")\n";
    }
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
                text += " (x: ";
                text += n.x;
                text += ", y: ";
                text += n.y;
                text += ", z: ";
                text += n.z;
                text += ")\n";
            }
        }
    }
}

} // namespace

MStatus readBgeo(unsigned int &numPolygons, MPointArray &points, MIntArray &polygonCounts,
                 MIntArray &polygonConnects, MFloatArray &uArray, MFloatArray &vArray,
                 MIntArray &uvIds, MVectorArray &normals, MIntArray &normalIds,
                 MIntArray &normalFaces, const MString &path, float frame, int verbosity,
                 bool invertNormals) {
    clearOutputs(numPolygons, points, polygonCounts, polygonConnects, uArray, vArray, uvIds,
                 normals, normalIds, normalFaces);
    global_doDebug = verbosity == 3 ? 1 : 0;

    const MString fileName = buildFileName(path, frame);
    Kelp geo;
    std::string reason;
    if (!loadGeometry(geo, fileName, reason)) {
        if (verbosity > 0) {
            MGlobal::displayInfo(MString("Error: unable to read bgeo:  (") + fileName + ")");
            MGlobal::displayError(readFailureText(fileName, reason));
        }
        return MS::kSuccess;
    }

    const std::vector<PolygonData> &polys = geo.getPolygons();
    unsigned long long faceVertices = 0;
    for (std::size_t f = 0; f < polys.size(); ++f)
        faceVertices += polys[f].ids.size();
    if (polys.size() > static_cast<std::size_t>(INT_MAX) ||
        faceVertices > static_cast<unsigned long long>(INT_MAX)) {
        if (verbosity > 0) {
            MGlobal::displayInfo(MString("Error: unable to read bgeo:  (") + fileName + ")");
            MGlobal::displayError(readFailureText(
                fileName, "more polygons or face-vertices than a host mesh can hold"));
        }
        return MS::kSuccess;
    }
    const unsigned int vertexCount = static_cast<unsigned int>(faceVertices);

    const unsigned int pointCount = positionCount(geo);
    fillPoints(geo, pointCount, points);

    UvSource uvs = UvSource::None;
    const std::int32_t uvIndex = geo.attrExists("uv", "VERTEX");
    const std::int32_t pointUvIndex = geo.attrExists("uv", "POINT");
    if (uvIndex >= 0 && geo.getVertexAttributes()[uvIndex].vector_data.size() >= vertexCount) {
        uvs = UvSource::Vertex;
        fillUvs(geo.getVertexAttributes()[uvIndex], vertexCount, uArray, vArray);
    } else if (vertexCount > 0 && coversAll(geo, pointUvIndex, false, pointCount)) {
        uvs = UvSource::Point;
        fillUvs(geo.getPointAttributes()[pointUvIndex], pointCount, uArray, vArray);
    }

    const std::int32_t normalIndex = geo.attrExists("N", "POINT");
    const std::int32_t vertexNormalIndex = geo.attrExists("N", "VERTEX");
    const bool pointNormals = coversAll(geo, normalIndex, false, pointCount);
    if (pointNormals)
        fillNormals(geo.getPointAttributes()[normalIndex], pointCount, invertNormals, normals,
                    normalIds);

    numPolygons = static_cast<unsigned int>(polys.size());
    polygonCounts.setLength(numPolygons);
    polygonConnects.setLength(vertexCount);
    if (uvs != UvSource::None)
        uvIds.setLength(vertexCount);
    fillPolygons(polys, invertNormals, uvs, polygonCounts, polygonConnects, uvIds);

    if (!pointNormals && coversAll(geo, vertexNormalIndex, true, vertexCount))
        fillFaceVertexNormals(polys, geo.getVertexAttributes()[vertexNormalIndex], polygonConnects,
                              invertNormals, normals, normalIds, normalFaces);

    if (verbosity > 0) {
        MString message;
        if (verbosity > 1) {
            appendPointLines(message, points);
            appendFaceLines(message, polygonCounts, polygonConnects, uArray, vArray, uvIds, normals,
                            normalFaces);
        }
        message += "read bgeo:  (";
        message += fileName;
        message += ")";
        MGlobal::displayInfo(message);
    }
    return MS::kSuccess;
}
