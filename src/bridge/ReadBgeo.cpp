#include "bridge/ReadBgeo.h"

#include "bridge/FileName.h"

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

void clearOutputs(unsigned int &numPolygons, MPointArray &points, MIntArray &polygonCounts,
                  MIntArray &polygonConnects, MFloatArray &uArray, MFloatArray &vArray,
                  MIntArray &uvIds, MVectorArray &normals, MIntArray &normalIds) {
    numPolygons = 0;
    points.clear();
    polygonCounts.clear();
    polygonConnects.clear();
    uArray.clear();
    vArray.clear();
    uvIds.clear();
    normals.clear();
    normalIds.clear();
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

// Polygon counts and point ids, and for each face-vertex the file vertex it
// came from as its UV id.
void fillPolygons(const std::vector<PolygonData> &polys, bool invertNormals, bool withUvs,
                  MIntArray &polygonCounts, MIntArray &polygonConnects, MIntArray &uvIds) {
    int k = 0;
    for (std::size_t f = 0; f < polys.size(); ++f) {
        const PolygonIds &ids = polys[f].ids;
        const int n = static_cast<int>(ids.size());
        polygonCounts[static_cast<unsigned int>(f)] = n;
        for (int v = 0; v < n; ++v) {
            const int j = invertNormals ? n - v - 1 : v;
            polygonConnects[static_cast<unsigned int>(k + v)] = static_cast<int>(ids[j]);
            if (withUvs)
                uvIds[static_cast<unsigned int>(k + v)] = k + j;
        }
        k += n;
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
                     const MFloatArray &vArray, const MIntArray &uvIds,
                     const MVectorArray &normals) {
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
            if (normals.length() != 0 && pt >= 0 &&
                static_cast<unsigned int>(pt) < normals.length()) {
                const MVector &n = normals[static_cast<unsigned int>(pt)];
                text += "  Normal id: ";
                text += static_cast<double>(pt);
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
                 MIntArray &uvIds, MVectorArray &normals, MIntArray &normalIds, const MString &path,
                 float frame, int verbosity, bool invertNormals) {
    clearOutputs(numPolygons, points, polygonCounts, polygonConnects, uArray, vArray, uvIds,
                 normals, normalIds);
    global_doDebug = verbosity == 3 ? 1 : 0;

    const MString fileName = buildFileName(path, frame);
    Kelp geo;
    if (geo.loadBgeo(std::string(fileName.asChar(), fileName.length())) != 1) {
        if (verbosity > 0)
            MGlobal::displayInfo(MString("Error: unable to read bgeo:  (") + fileName + ")");
        return MS::kSuccess;
    }

    const std::vector<PolygonData> &polys = geo.getPolygons();
    unsigned long long faceVertices = 0;
    for (std::size_t f = 0; f < polys.size(); ++f)
        faceVertices += polys[f].ids.size();
    if (polys.size() > static_cast<std::size_t>(INT_MAX) ||
        faceVertices > static_cast<unsigned long long>(INT_MAX)) {
        if (verbosity > 0)
            MGlobal::displayInfo(MString("Error: unable to read bgeo:  (") + fileName + ")");
        return MS::kSuccess;
    }
    const unsigned int vertexCount = static_cast<unsigned int>(faceVertices);

    const unsigned int pointCount = positionCount(geo);
    fillPoints(geo, pointCount, points);

    const std::int32_t uvIndex = geo.attrExists("uv", "VERTEX");
    const bool withUvs =
        uvIndex >= 0 && geo.getVertexAttributes()[uvIndex].vector_data.size() >= vertexCount;
    if (withUvs)
        fillUvs(geo.getVertexAttributes()[uvIndex], vertexCount, uArray, vArray);

    const std::int32_t normalIndex = geo.attrExists("N", "POINT");
    if (normalIndex >= 0 && pointCount > 0) {
        const AttributeData &n = geo.getPointAttributes()[normalIndex];
        if (n.type == kVectorType && n.vector_data.size() >= pointCount)
            fillNormals(n, pointCount, invertNormals, normals, normalIds);
    }

    numPolygons = static_cast<unsigned int>(polys.size());
    polygonCounts.setLength(numPolygons);
    polygonConnects.setLength(vertexCount);
    if (withUvs)
        uvIds.setLength(vertexCount);
    fillPolygons(polys, invertNormals, withUvs, polygonCounts, polygonConnects, uvIds);

    if (verbosity > 0) {
        MString message;
        if (verbosity > 1) {
            appendPointLines(message, points);
            appendFaceLines(message, polygonCounts, polygonConnects, uArray, vArray, uvIds,
                            normals);
        }
        message += "read bgeo:  (";
        message += fileName;
        message += ")";
        MGlobal::displayInfo(message);
    }
    return MS::kSuccess;
}
