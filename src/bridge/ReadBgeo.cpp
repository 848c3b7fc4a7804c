#include "bridge/ReadBgeo.h"

#include "bridge/FileName.h"
#include "bridge/GeometryReason.h"
#include "bridge/Listing.h"
#include "bridge/MeshTables.h"

#include <Kelp>

#include <maya/MGlobal.h>
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

void appendPointLines(MString &text, const MFloatPointArray &points) {
    for (unsigned int p = 0; p < points.length(); ++p)
        appendVertexLine(text, p, points[p].x, points[p].y, points[p].z);
}

void appendUvLine(MString &text, const ImportedMesh &mesh, unsigned int k) {
    const unsigned int id = static_cast<unsigned int>((*mesh.uvIds)[k]);
    text += "  UV id: ";
    text += static_cast<double>(id);
    text += " (u: ";
    text += static_cast<double>((*mesh.uArray)[id]);
    text += ", v: ";
    text += static_cast<double>((*mesh.vArray)[id]);
    text += ")\n";
}

// The listing of a mesh whose points and polygons are set.
void appendFaceLines(MString &text, const ImportedMesh &mesh) {
    const MIntArray &counts = *mesh.polygonCounts;
    const MIntArray &connects = *mesh.polygonConnects;
    const bool perFaceVertex = mesh.normalFaces && mesh.normalFaces->length() != 0;
    const unsigned int normalCount = mesh.normals ? mesh.normals->length() : 0;
    const bool uvs = mesh.uvIds && mesh.uvIds->length() != 0;
    unsigned int k = 0;
    for (unsigned int f = 0; f < counts.length(); ++f) {
        text += "Face: (";
        text += static_cast<double>(f);
        text += ")\n";
        for (int v = 0; v < counts[f]; ++v, ++k) {
            const int pt = connects[k];
            text += "  Face-vertex : face,vertexId: (";
            text += static_cast<double>(f);
            text += ", ";
            text += static_cast<double>(pt);
            text += ")\n";
            if (uvs)
                appendUvLine(text, mesh, k);
            const unsigned int normalId = perFaceVertex ? k : static_cast<unsigned int>(pt);
            if (pt >= 0 && normalId < normalCount) {
                const MVector &n = (*mesh.normals)[normalId];
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
    MeshShape shape;

    Source find(const std::string &name, int type) const {
        return findSource(geo, name, type, shape.fileVertices, shape.pointCount);
    }
};

// The "map1" UVs, the further UV sets and the colours.
void fillTextures(const MeshSources &in, TableScratch &scratch, ImportedMesh &mesh) {
    if (const Source uv = in.find("uv", kVectorType))
        fillUvSet(in.shape, uv, scratch, mesh.uArray, mesh.vArray, mesh.uvIds);
    for (const std::string &name : extraUvNames(in.geo)) {
        const Source uv = in.find(name, kVectorType);
        if (!uv)
            continue;
        mesh.extraUvSets.emplace_back();
        ImportedUvSet &set = mesh.extraUvSets.back();
        set.name = MString(name.c_str());
        fillUvSet(in.shape, uv, scratch, set.u, set.v, set.uvIds);
    }
    if (const Source cd = in.find("Cd", kVectorType))
        fillColors(in.shape, cd, in.find("Alpha", kFloatType), scratch, mesh);
}

// Point "N" when it covers the points, else vertex "N" when it covers the
// vertices.
void fillMeshNormals(const MeshSources &in, TableScratch &scratch, ImportedMesh &mesh) {
    const Kelp &geo = in.geo;
    const MeshShape &shape = in.shape;
    const std::int32_t normalIndex = geo.attrExists("N", "POINT");
    const std::int32_t vertexNormalIndex = geo.attrExists("N", "VERTEX");
    const bool pointNormals =
        normalIndex >= 0 && shape.pointCount > 0 &&
        geo.getPointAttributes()[normalIndex].type == kVectorType &&
        geo.getPointAttributes()[normalIndex].vector_data.size() >= shape.pointCount;
    if (pointNormals) {
        fillPointNormals(geo.getPointAttributes()[normalIndex], shape.pointCount,
                         shape.invertNormals, scratch, mesh);
    } else if (vertexNormalIndex >= 0 && shape.hostVertices > 0) {
        const AttributeData &n = geo.getVertexAttributes()[vertexNormalIndex];
        if (n.type == kVectorType && n.vector_data.size() >= shape.fileVertices)
            fillFaceVertexNormals(shape, n, scratch, mesh);
    }
}

void reportRead(const ImportedMesh &mesh, int verbosity) {
    if (verbosity <= 0)
        return;
    MString message;
    if (verbosity > 1) {
        appendPointLines(message, *mesh.points);
        appendFaceLines(message, mesh);
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
                         {polys, positionCount(geo), static_cast<unsigned int>(totals.file),
                          static_cast<unsigned int>(totals.host),
                          static_cast<unsigned int>(totals.keptPolygons), invertNormals}};
    TableScratch scratch;
    if (in.shape.pointCount > 0)
        fillPoints(geo.getPointAttributes()[0], in.shape.pointCount, scratch, mesh);
    else
        mesh.points.emplace();
    // A polygon naming a point beyond the positions leaves the rest unfilled:
    // such a mesh is refused.
    mesh.pointIdsInRange = fillPolygons(in.shape, scratch, mesh);
    if (mesh.pointIdsInRange) {
        if (in.shape.hostVertices > 0)
            fillTextures(in, scratch, mesh);
        fillMeshNormals(in, scratch, mesh);
    }
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
