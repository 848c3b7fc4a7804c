#include "bridge/WriteBgeo.h"

#include "bridge/FileName.h"
#include "bridge/GeometryReason.h"
#include "bridge/Listing.h"

#include <Kelp>

#include <maya/MColor.h>
#include <maya/MColorArray.h>
#include <maya/MFloatVector.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MFnMesh.h>
#include <maya/MIntArray.h>
#include <maya/MGlobal.h>
#include <maya/MItMeshPolygon.h>
#include <maya/MPointArray.h>
#include <maya/MStringArray.h>
#include <maya/MVector.h>

#include <cmath>
#include <cstddef>
#include <exception>
#include <new>
#include <string>
#include <vector>

namespace {

const int kAsFloat3 = 1;

// One exported UV set: the host's name and the vertex attribute it fills.
struct UvTarget {
    MString setName;
    std::string attribute;
};

// The UV sets written in export-all mode: the first as "uv", the others under
// their own names. A set whose attribute name is already taken is left out,
// since two sets cannot share one vertex attribute.
std::vector<UvTarget> allUvTargets(const MStringArray &setNames) {
    std::vector<UvTarget> targets;
    for (unsigned int i = 0; i < setNames.length(); ++i) {
        UvTarget t;
        t.setName = setNames[i];
        t.attribute = i == 0 ? std::string("uv") : std::string(t.setName.asChar());
        bool taken = false;
        for (const UvTarget &other : targets)
            taken = taken || other.attribute == t.attribute;
        if (!taken)
            targets.push_back(t);
    }
    return targets;
}

void appendUvSetLines(MString &trace, MFnMesh &fnMesh, const MStringArray &setNames) {
    for (unsigned int i = 0; i < setNames.length(); ++i) {
        const MString name = setNames[i];
        trace += " UV Set: ";
        trace += name;
        trace += " # UVs: ";
        trace += static_cast<double>(fnMesh.numUVs(name));
        trace += "\n";
    }
    MString current;
    fnMesh.getCurrentUVSetName(current);
    trace += " Current UV Set: ";
    trace += current;
    trace += "\n";
}

// The UV of one face-vertex in a set (null: the current set); (0, 0) when the
// face-vertex has none there.
Imath::V3f faceVertexUv(const MItMeshPolygon &it, int local, const MString *setName) {
    float2 uv = {0.0f, 0.0f};
    if (!it.getUV(local, uv, setName))
        return Imath::V3f(0.0f, 0.0f, 0.0f);
    return Imath::V3f(uv[0], uv[1], 0.0f);
}

// Everything but the positions: UVs and polygons in one walk, then "N".
class PolygonWalk {
public:
    PolygonWalk(Kelp &geo, MFnMesh &fnMesh, unsigned int numPoints, bool invertNormals,
                bool exportAllUvs, bool exportColors, bool tracing, MString &trace)
        : m_geo(geo), m_fnMesh(fnMesh), m_invertNormals(invertNormals),
          m_exportAllUvs(exportAllUvs), m_exportColors(exportColors), m_tracing(tracing),
          m_trace(trace), m_normals(numPoints), m_seen(numPoints, 0),
          m_firstFaceVertex(numPoints, -1) {}

    void run(MObject &mesh, MStatus &status) {
        // The normals the mesh shows per face-vertex: where a point's differ
        // (hard edges, locked normals) the file gets them per vertex.
        MIntArray normalCounts;
        m_fnMesh.getNormals(m_meshNormals, MSpace::kObject);
        m_fnMesh.getNormalIds(normalCounts, m_normalIds);
        if (m_exportColors) {
            MString colorSet;
            if (m_fnMesh.getCurrentColorSetName(colorSet) && colorSet.length() != 0) {
                const MColor unset(1.0f, 1.0f, 1.0f, 1.0f);
                m_fnMesh.getFaceVertexColors(m_colors, &colorSet, &unset);
            }
        }
        MStringArray setNames;
        m_fnMesh.getUVSetNames(setNames);
        if (m_tracing)
            appendUvSetLines(m_trace, m_fnMesh, setNames);
        if (m_exportAllUvs)
            m_targets = allUvTargets(setNames);

        MItMeshPolygon it(mesh, &status);
        if (status) {
            unsigned int faceCounter = 0;
            for (; !it.isDone(); it.next(), ++faceCounter)
                addPolygon(it, faceCounter);
        }
        if (m_faceVertexNormalsDiffer)
            addFaceVertexNormals();
        else
            addNormals();
        addColors();
    }

private:
    void addPolygon(MItMeshPolygon &it, unsigned int faceCounter) {
        const int n = static_cast<int>(it.polygonVertexCount());
        if (m_tracing) {
            m_trace += "Face: (";
            m_trace += static_cast<double>(faceCounter);
            m_trace += ")\n";
        }
        // Polygons are numbered as they are added, so a polygon without
        // vertices cannot leave a gap in the detail's numbering.
        const unsigned int polygon = m_geo.getNumPolys();
        const unsigned int hostIndex = it.index();
        for (int k = 0; k < n; ++k) {
            const int local = m_invertNormals ? n - 1 - k : k;
            const unsigned int point = it.vertexIndex(local);
            const unsigned int faceVertex = m_faceVertexBase + static_cast<unsigned int>(local);
            addUvs(it, local, hostIndex, point);
            m_geo.setPolyVertexIdValue(polygon, point);
            addNormal(point);
            noteFaceVertexNormal(point, faceVertex);
            if (faceVertex < m_colors.length())
                m_walkColors.push_back(m_colors[faceVertex]);
            else if (m_colors.length() != 0)
                m_walkColors.push_back(MColor(1.0f, 1.0f, 1.0f, 1.0f));
        }
        m_faceVertexBase += static_cast<unsigned int>(n);
    }

    // The face-vertex's normal as the mesh shows it, in walk order; a point
    // whose face-vertices show different normals marks the mesh hard-edged.
    void noteFaceVertexNormal(unsigned int point, unsigned int faceVertex) {
        MFloatVector n(0.0f, 0.0f, 0.0f);
        if (faceVertex < m_normalIds.length()) {
            const int id = m_normalIds[faceVertex];
            if (id >= 0 && static_cast<unsigned int>(id) < m_meshNormals.length())
                n = m_meshNormals[static_cast<unsigned int>(id)];
        }
        m_walkNormals.push_back(n);
        if (point >= m_firstFaceVertex.size())
            return;
        const int first = m_firstFaceVertex[point];
        if (first < 0) {
            m_firstFaceVertex[point] = static_cast<int>(m_walkNormals.size()) - 1;
            return;
        }
        const MFloatVector &seen = m_walkNormals[static_cast<std::size_t>(first)];
        const float kSame = 1e-5f;
        if (std::fabs(seen.x - n.x) > kSame || std::fabs(seen.y - n.y) > kSame ||
            std::fabs(seen.z - n.z) > kSame)
            m_faceVertexNormalsDiffer = true;
    }

    // One vertex "N" per face-vertex, signed as the point normals are.
    void addFaceVertexNormals() {
        const float sign = m_invertNormals ? 1.0f : -1.0f;
        const std::string name("N");
        for (const MFloatVector &n : m_walkNormals)
            m_geo.setVertexAttrVectorValue(name, Imath::V3f(sign * n.x, sign * n.y, sign * n.z),
                                           kAsFloat3);
    }

    // The current colour set as vertex "Cd", and "Alpha", one float per
    // vertex, where any alpha is not 1.
    void addColors() {
        if (m_walkColors.empty())
            return;
        bool opaque = true;
        const std::string cd("Cd");
        for (const MColor &c : m_walkColors) {
            m_geo.setVertexAttrVectorValue(cd, Imath::V3f(c.r, c.g, c.b), kAsFloat3);
            opaque = opaque && c.a == 1.0f;
        }
        if (opaque)
            return;
        const std::string alpha("Alpha");
        for (const MColor &c : m_walkColors)
            m_geo.setVertexAttrFloatValue(alpha, c.a);
    }

    void addUvs(const MItMeshPolygon &it, int local, unsigned int hostIndex, unsigned int point) {
        if (m_exportAllUvs) {
            for (const UvTarget &t : m_targets)
                m_geo.setVertexAttrVectorValue(t.attribute, faceVertexUv(it, local, &t.setName),
                                               kAsFloat3);
            return;
        }
        const Imath::V3f uv = faceVertexUv(it, local, nullptr);
        if (m_tracing) {
            m_trace += "  Face-vertex UV: face,vertex: (";
            m_trace += static_cast<double>(hostIndex);
            m_trace += ", ";
            m_trace += static_cast<double>(point);
            m_trace += ") uv: (";
            m_trace += static_cast<double>(uv.x);
            m_trace += ", ";
            m_trace += static_cast<double>(uv.y);
            m_trace += ")\n";
        }
        m_geo.setVertexAttrVectorValue(m_uv, uv, kAsFloat3);
    }

    // The host's normal of the point, in object space; asked once per point.
    void addNormal(unsigned int point) {
        if (point >= m_normals.size())
            return;
        if (!m_seen[point]) {
            m_fnMesh.getVertexNormal(static_cast<int>(point), false, m_normals[point],
                                     MSpace::kObject);
            m_seen[point] = 1;
        }
        if (m_tracing) {
            const MVector &n = m_normals[point];
            m_trace += "  normal: ";
            m_trace += n.x;
            m_trace += ", ";
            m_trace += n.y;
            m_trace += ", ";
            m_trace += n.z;
            m_trace += "\n";
        }
    }

    // One "N" per point; a point no polygon uses keeps (0, 0, 0).
    void addNormals() {
        const float sign = m_invertNormals ? 1.0f : -1.0f;
        const std::string name("N");
        for (const MVector &n : m_normals)
            m_geo.setPointAttrVectorValue(name, Imath::V3f(sign * static_cast<float>(n.x),
                                                           sign * static_cast<float>(n.y),
                                                           sign * static_cast<float>(n.z)));
    }

    Kelp &m_geo;
    MFnMesh &m_fnMesh;
    const bool m_invertNormals;
    const bool m_exportAllUvs;
    const bool m_exportColors;
    const bool m_tracing;
    MString &m_trace;
    std::vector<MVector> m_normals;
    std::vector<char> m_seen;
    std::vector<int> m_firstFaceVertex; // per point: its first entry in m_walkNormals
    std::vector<UvTarget> m_targets;
    MFloatVectorArray m_meshNormals;
    MIntArray m_normalIds;
    std::vector<MFloatVector> m_walkNormals;
    bool m_faceVertexNormalsDiffer = false;
    unsigned int m_faceVertexBase = 0; // the host's face-vertex index of the polygon's first
    MColorArray m_colors;              // per host face-vertex; empty when not exported
    std::vector<MColor> m_walkColors;
    const std::string m_uv = "uv";
};

void addPositions(Kelp &geo, const MPointArray &points, bool listPoints, MString &trace) {
    const std::string name("P");
    for (unsigned int j = 0; j < points.length(); ++j) {
        const Imath::V3f p(static_cast<float>(points[j].x), static_cast<float>(points[j].y),
                           static_cast<float>(points[j].z));
        geo.setPointAttrVectorValue(name, p);
        if (listPoints)
            appendVertexLine(trace, j, p.x, p.y, p.z);
    }
}

MStatus writeMesh(MObject &mesh, const MString &fileName, int pointsOnly, int verbosity,
                  bool invertNormals, bool exportAllUvs, bool exportColors, int format,
                  MString *failureLine) {
    MStatus status;
    const bool tracing = verbosity >= 2;
    MString trace;
    Kelp geo;
    geo.initialiseNew();

    MFnMesh fnMesh(mesh);
    MPointArray points;
    fnMesh.getPoints(points, MSpace::kWorld);

    addPositions(geo, points, pointsOnly != 0 && tracing, trace);
    if (!pointsOnly) {
        PolygonWalk walk(geo, fnMesh, points.length(), invertNormals, exportAllUvs, exportColors,
                         tracing, trace);
        walk.run(mesh, status);
    }

    std::string reason;
    bool saved = false;
    {
        GeometryReason capture;
        saved = geo.saveBgeo(std::string(fileName.asChar(), fileName.length()),
                             format == 1 ? KelpFormat::Json : KelpFormat::Classic) != 0;
        if (!saved)
            reason = capture.lastLine();
    }
    if (!saved) {
        if (failureLine) {
            *failureLine = reason.empty() ? MString("unable to write bgeo:  (") + fileName + ")"
                                          : MString(reason.c_str());
        }
        if (status)
            status = MS::kFailure;
        status.perror("KelpWriterNode:: unable to write bgeo");
        return status;
    }
    if (verbosity >= 1) {
        MString message;
        if (tracing)
            message = trace;
        message += "wrote bgeo:  (";
        message += fileName;
        message += ")";
        MGlobal::displayInfo(message);
    }
    return status;
}

} // namespace

MStatus writeBgeo(MObject &mesh, const MString &path, float frame, int pointsOnly, int verbosity,
                  bool invertNormals, bool exportAllUvs, bool exportColors, int format,
                  MString *failureLine) {
    global_doDebug = verbosity == 3 ? 1 : 0;
    const MString fileName = buildFileName(path, frame);
    // The last guard: a mesh too large for the memory left is a failed write
    // (the previous file stays), never an exception in the host.
    std::string reason;
    try {
        return writeMesh(mesh, fileName, pointsOnly, verbosity, invertNormals, exportAllUvs,
                         exportColors, format, failureLine);
    } catch (const std::bad_alloc &) {
        reason = "not enough memory";
    } catch (const std::exception &e) {
        reason = std::string("unexpected failure (") + e.what() + ")";
    }
    const MString line = MString("could not save file: ") + fileName + " (" + reason.c_str() + ")";
    if (failureLine)
        *failureLine = line;
    MStatus status(MS::kFailure);
    status.perror(MString("KelpWriterNode:: unable to write bgeo: ") + line);
    return status;
}
