// MFnMesh: UV sets. A new mesh has one set, "map1", which is current.
// assignUVs: one count per polygon, each 0 (face unmapped) or the polygon's
// vertex count; the counts add up to the number of ids; every id is below the
// set's number of UVs. Anything else is kInvalidParameter and changes nothing.
#include <maya/MFloatArray.h>
#include <maya/MFnMesh.h>
#include <maya/MIntArray.h>

#include "../core/Access.h"
#include "../core/StatusText.h"
#include "MeshFn.h"

#include <algorithm>
#include <string>
#include <vector>

using kelphost::badParameter;
using kelphost::MeshGeom;
using kelphost::noMesh;
using kelphost::UVSetData;

namespace {

UVSetData *findSet(MeshGeom *g, const MString *name) {
    if (!g)
        return nullptr;
    if (!name)
        return g->uvSet(nullptr);
    std::string n = name->asChar();
    return g->uvSet(&n);
}

bool uvOf(const MeshGeom &g, const UVSetData &s, int fv, float &u, float &v) {
    int id = s.faceUVIds[static_cast<size_t>(fv)];
    if (id < 0 || static_cast<size_t>(id) >= s.u.size())
        return false;
    u = s.u[static_cast<size_t>(id)];
    v = s.v[static_cast<size_t>(id)];
    (void)g;
    return true;
}

std::string freeSetName(const MeshGeom &g, const std::string &wanted) {
    auto taken = [&](const std::string &n) {
        for (const UVSetData &s : g.uvSets)
            if (s.name == n)
                return true;
        return false;
    };
    if (!wanted.empty() && !taken(wanted))
        return wanted;
    std::string base = wanted.empty() ? "uvSet" : wanted;
    for (int k = 1;; ++k)
        if (!taken(base + std::to_string(k)))
            return base + std::to_string(k);
}

} // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

int MFnMesh::numUVs(MStatus *rs) const {
    UVSetData *s = findSet(kelphost::readGeom(*this), nullptr);
    kelphost::report(rs, kelphost::readGeom(*this) ? MStatus(MStatus::kSuccess) : noMesh());
    return s ? static_cast<int>(s->u.size()) : 0;
}
int MFnMesh::numUVs(const MString &uvSet, MStatus *rs) const {
    MeshGeom *g = kelphost::readGeom(*this);
    UVSetData *s = findSet(g, &uvSet);
    kelphost::report(rs, !g  ? noMesh()
                         : s ? MStatus(MStatus::kSuccess)
                             : badParameter(kelphost::kIncompatibleObject));
    return s ? static_cast<int>(s->u.size()) : 0;
}
int MFnMesh::numUVSets(MStatus *rs) const {
    MeshGeom *g = kelphost::readGeom(*this);
    kelphost::report(rs, g ? MStatus(MStatus::kSuccess) : noMesh());
    return g ? static_cast<int>(g->uvSets.size()) : 0;
}

MStatus MFnMesh::setUVs(const MFloatArray &u, const MFloatArray &v, const MString *uvSet) {
    MeshGeom *g = kelphost::editGeom(*this);
    if (!g)
        return noMesh();
    UVSetData *s = findSet(g, uvSet);
    if (!s || u.length() != v.length())
        return badParameter(kelphost::kArrayLengthMismatch);
    s->u = *kelphost::Access::vec<MFloatArray, std::vector<float>>(u);
    s->v = *kelphost::Access::vec<MFloatArray, std::vector<float>>(v);
    for (int &id : s->faceUVIds)
        if (id >= static_cast<int>(s->u.size()))
            id = -1;
    kelphost::geometryChanged(*this);
    return MStatus::kSuccess;
}

MStatus MFnMesh::getUVs(MFloatArray &u, MFloatArray &v, const MString *uvSet) const {
    u.clear();
    v.clear();
    MeshGeom *g = kelphost::readGeom(*this);
    if (!g)
        return noMesh();
    UVSetData *s = findSet(g, uvSet);
    if (!s)
        return badParameter(kelphost::kIncompatibleObject);
    for (size_t i = 0; i < s->u.size(); ++i) {
        u.append(s->u[i]);
        v.append(s->v[i]);
    }
    return MStatus::kSuccess;
}

MStatus MFnMesh::getUV(int uvId, float &u, float &v, const MString *uvSet) const {
    MeshGeom *g = kelphost::readGeom(*this);
    if (!g)
        return noMesh();
    UVSetData *s = findSet(g, uvSet);
    if (!s || uvId < 0 || static_cast<size_t>(uvId) >= s->u.size())
        return badParameter(kelphost::kIndexOutOfRange);
    u = s->u[static_cast<size_t>(uvId)];
    v = s->v[static_cast<size_t>(uvId)];
    return MStatus::kSuccess;
}

MStatus MFnMesh::getPolygonUV(int polygonId, int vertexIndex, float &u, float &v,
                              const MString *uvSet) const {
    MeshGeom *g = kelphost::readGeom(*this);
    if (!g)
        return noMesh();
    UVSetData *s = findSet(g, uvSet);
    if (!s || polygonId < 0 || static_cast<size_t>(polygonId) >= g->counts.size() ||
        vertexIndex < 0 || vertexIndex >= g->counts[static_cast<size_t>(polygonId)])
        return badParameter(kelphost::kIndexOutOfRange);
    int fv = g->offsets[static_cast<size_t>(polygonId)] + vertexIndex;
    float uu = 0, vv = 0;
    if (!uvOf(*g, *s, fv, uu, vv))
        return MStatus(MStatus::kFailure);
    u = uu;
    v = vv;
    return MStatus::kSuccess;
}

MStatus MFnMesh::getPolygonUVid(int polygonId, int vertexIndex, int &uvId,
                                const MString *uvSet) const {
    MeshGeom *g = kelphost::readGeom(*this);
    if (!g)
        return noMesh();
    UVSetData *s = findSet(g, uvSet);
    if (!s || polygonId < 0 || static_cast<size_t>(polygonId) >= g->counts.size() ||
        vertexIndex < 0 || vertexIndex >= g->counts[static_cast<size_t>(polygonId)])
        return badParameter(kelphost::kIndexOutOfRange);
    int id =
        s->faceUVIds[static_cast<size_t>(g->offsets[static_cast<size_t>(polygonId)] + vertexIndex)];
    if (id < 0)
        return MStatus(MStatus::kFailure);
    uvId = id;
    return MStatus::kSuccess;
}

MStatus MFnMesh::assignUVs(const MIntArray &uvCounts, const MIntArray &uvIds,
                           const MString *uvSet) {
    MeshGeom *g = kelphost::editGeom(*this);
    if (!g)
        return noMesh();
    UVSetData *s = findSet(g, uvSet);
    if (!s)
        return badParameter(kelphost::kIncompatibleObject);
    // Whole-array passes over the arrays' storage: a large mesh assigns
    // millions of ids at once.
    const std::vector<int> &counts = *kelphost::Access::vec<MIntArray, std::vector<int>>(uvCounts);
    const std::vector<int> &ids = *kelphost::Access::vec<MIntArray, std::vector<int>>(uvIds);
    if (counts.size() != g->counts.size())
        return badParameter(kelphost::kArrayLengthMismatch);
    long long total = 0;
    for (size_t f = 0; f < counts.size(); ++f) {
        if (counts[f] != 0 && counts[f] != g->counts[f])
            return badParameter(kelphost::kArrayLengthMismatch);
        total += counts[f];
    }
    if (total != static_cast<long long>(ids.size()))
        return badParameter(kelphost::kArrayLengthMismatch);
    const size_t uvCount = s->u.size();
    bool outside = false;
    for (int id : ids)
        outside |= id < 0 || static_cast<size_t>(id) >= uvCount;
    if (outside)
        return badParameter(kelphost::kIndexOutOfRange);
    if (ids.size() == s->faceUVIds.size()) { // every face mapped: the ids as they are
        std::copy(ids.begin(), ids.end(), s->faceUVIds.begin());
        kelphost::geometryChanged(*this);
        return MStatus::kSuccess;
    }
    const int *next = ids.data();
    int *out = s->faceUVIds.data();
    const int *offsets = g->offsets.data();
    for (size_t f = 0; f < counts.size(); ++f) {
        int *face = out + offsets[f];
        const int n = g->counts[f];
        if (counts[f]) {
            for (int k = 0; k < n; ++k)
                face[k] = next[k];
            next += n;
        } else {
            for (int k = 0; k < n; ++k)
                face[k] = -1;
        }
    }
    kelphost::geometryChanged(*this);
    return MStatus::kSuccess;
}

MStatus MFnMesh::getAssignedUVs(MIntArray &uvCounts, MIntArray &uvIds, const MString *uvSet) const {
    uvCounts.clear();
    uvIds.clear();
    MeshGeom *g = kelphost::readGeom(*this);
    if (!g)
        return noMesh();
    UVSetData *s = findSet(g, uvSet);
    if (!s)
        return badParameter(kelphost::kIncompatibleObject);
    for (size_t f = 0; f < g->counts.size(); ++f) {
        int o = g->offsets[f];
        bool mapped = g->counts[f] > 0 && s->faceUVIds[static_cast<size_t>(o)] >= 0;
        uvCounts.append(mapped ? g->counts[f] : 0);
        if (mapped)
            for (int k = 0; k < g->counts[f]; ++k)
                uvIds.append(s->faceUVIds[static_cast<size_t>(o + k)]);
    }
    return MStatus::kSuccess;
}

MStatus MFnMesh::clearUVs(const MString *uvSet) {
    MeshGeom *g = kelphost::editGeom(*this);
    if (!g)
        return noMesh();
    UVSetData *s = findSet(g, uvSet);
    if (!s)
        return badParameter(kelphost::kIncompatibleObject);
    s->u.clear();
    s->v.clear();
    s->faceUVIds.assign(g->connects.size(), -1);
    kelphost::geometryChanged(*this);
    return MStatus::kSuccess;
}

MStatus MFnMesh::getUVSetNames(MStringArray &setNames) const {
    setNames.clear();
    MeshGeom *g = kelphost::readGeom(*this);
    if (!g)
        return noMesh();
    for (const UVSetData &s : g->uvSets)
        setNames.append(s.name.c_str());
    return MStatus::kSuccess;
}

MStatus MFnMesh::getCurrentUVSetName(MString &setName, int) const {
    MeshGeom *g = kelphost::readGeom(*this);
    if (!g)
        return noMesh();
    UVSetData *s = g->uvSet(nullptr);
    setName = s ? MString(s->name.c_str()) : MString();
    return s ? MStatus(MStatus::kSuccess) : MStatus(MStatus::kFailure);
}

MString MFnMesh::currentUVSetName(MStatus *rs, int instance) const {
    MString name;
    kelphost::report(rs, getCurrentUVSetName(name, instance));
    return name;
}

MStatus MFnMesh::setCurrentUVSetName(const MString &setName, MDGModifier *, MSelectionList *) {
    MeshGeom *g = kelphost::editGeom(*this);
    if (!g)
        return noMesh();
    for (size_t i = 0; i < g->uvSets.size(); ++i)
        if (g->uvSets[i].name == setName.asChar()) {
            g->currentUVSet = static_cast<int>(i);
            return MStatus::kSuccess;
        }
    return badParameter(kelphost::kIncompatibleObject);
}

MStatus MFnMesh::createUVSet(MString &uvSetName, MDGModifier *, const MUintArray *) {
    MeshGeom *g = kelphost::editGeom(*this);
    if (!g)
        return noMesh();
    UVSetData s;
    s.name = freeSetName(*g, uvSetName.asChar());
    s.faceUVIds.assign(g->connects.size(), -1);
    g->uvSets.push_back(s);
    if (g->currentUVSet < 0)
        g->currentUVSet = 0;
    uvSetName = s.name.c_str();
    return MStatus::kSuccess;
}

MString MFnMesh::createUVSetWithName(const MString &uvSetName, MDGModifier *modifier, MStatus *rs,
                                     const MUintArray *instances) {
    MString name = uvSetName;
    kelphost::report(rs, createUVSet(name, modifier, instances));
    return name;
}

MString MFnMesh::createUVSetDataMeshWithName(const MString &uvSetName, MStatus *rs) {
    return createUVSetWithName(uvSetName, nullptr, rs, nullptr);
}

MStatus MFnMesh::deleteUVSet(const MString &setName, MDGModifier *, MSelectionList *) {
    MeshGeom *g = kelphost::editGeom(*this);
    if (!g)
        return noMesh();
    for (size_t i = 0; i < g->uvSets.size(); ++i)
        if (g->uvSets[i].name == setName.asChar()) {
            g->uvSets.erase(g->uvSets.begin() + static_cast<long>(i));
            if (g->currentUVSet >= static_cast<int>(g->uvSets.size()) ||
                g->currentUVSet == static_cast<int>(i))
                g->currentUVSet = g->uvSets.empty() ? -1 : 0;
            else if (g->currentUVSet > static_cast<int>(i))
                --g->currentUVSet;
            return MStatus::kSuccess;
        }
    return badParameter(kelphost::kIncompatibleObject);
}

OPENMAYA_NAMESPACE_CLOSE
