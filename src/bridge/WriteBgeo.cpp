#include "bridge/WriteBgeo.h"

#include "bridge/FileName.h"

#include <Kelp>

#include <maya/MFnMesh.h>
#include <maya/MGlobal.h>
#include <maya/MItMeshPolygon.h>
#include <maya/MPointArray.h>
#include <maya/MStringArray.h>
#include <maya/MVector.h>

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
                bool exportAllUvs, bool tracing, MString &trace)
        : m_geo(geo), m_fnMesh(fnMesh), m_invertNormals(invertNormals),
          m_exportAllUvs(exportAllUvs), m_tracing(tracing), m_trace(trace), m_normals(numPoints),
          m_seen(numPoints, 0) {}

    void run(MObject &mesh, MStatus &status) {
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
        addNormals();
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
            addUvs(it, local, hostIndex, point);
            m_geo.setPolyVertexIdValue(polygon, point);
            addNormal(point);
        }
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
    const bool m_tracing;
    MString &m_trace;
    std::vector<MVector> m_normals;
    std::vector<char> m_seen;
    std::vector<UvTarget> m_targets;
    const std::string m_uv = "uv";
};

void addPositions(Kelp &geo, const MPointArray &points, bool listPoints, MString &trace) {
    const std::string name("P");
    for (unsigned int j = 0; j < points.length(); ++j) {
        const Imath::V3f p(static_cast<float>(points[j].x), static_cast<float>(points[j].y),
                           static_cast<float>(points[j].z));
        geo.setPointAttrVectorValue(name, p);
        if (listPoints) {
            trace += "  Vertex: ";
            trace += static_cast<double>(j);
            trace += " (x: ";
            trace += static_cast<double>(p.x);
            trace += ", y: ";
            trace += static_cast<double>(p.y);
            trace += ", z: ";
            trace += static_cast<double>(p.z);
            trace += ")\n";
        }
    }
}

} // namespace

MStatus writeBgeo(MObject &mesh, const MString &path, float frame, int pointsOnly, int verbosity,
                  bool invertNormals, bool exportAllUvs, int format) {
    MStatus status;
    const bool tracing = verbosity >= 2;
    MString trace;
    Kelp geo;
    geo.initialiseNew();
    global_doDebug = verbosity == 3 ? 1 : 0;

    MFnMesh fnMesh(mesh);
    MPointArray points;
    fnMesh.getPoints(points, MSpace::kWorld);
    const MString fileName = buildFileName(path, frame);

    addPositions(geo, points, pointsOnly != 0 && tracing, trace);
    if (!pointsOnly) {
        PolygonWalk walk(geo, fnMesh, points.length(), invertNormals, exportAllUvs, tracing, trace);
        walk.run(mesh, status);
    }

    if (geo.saveBgeo(std::string(fileName.asChar(), fileName.length()),
                     format == 1 ? KelpFormat::Json : KelpFormat::Classic) == 0) {
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
