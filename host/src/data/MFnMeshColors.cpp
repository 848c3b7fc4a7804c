// MFnMesh: colour sets. A new mesh has none. Each set holds a colour table and
// one colour id per face-vertex (-1: no colour there); the first set made
// becomes current. assignColors takes one id per face-vertex of the mesh,
// each -1 or below the set's number of colours; anything else is
// kInvalidParameter and changes nothing. Face-vertices without a colour read
// back as the default colour given, else (-1, -1, -1, -1).
#include <maya/MColor.h>
#include <maya/MColorArray.h>
#include <maya/MFnMesh.h>
#include <maya/MIntArray.h>

#include "../core/StatusText.h"
#include "MeshFn.h"

#include <string>

using kelphost::badParameter;
using kelphost::ColorSetData;
using kelphost::MeshGeom;
using kelphost::noMesh;

namespace {

ColorSetData *findSet(MeshGeom *g, const MString *name) {
    if (!g)
        return nullptr;
    if (!name)
        return g->colorSet(nullptr);
    const std::string n = name->asChar();
    return g->colorSet(&n);
}

std::string freeSetName(MeshGeom &g, const std::string &wanted) {
    auto taken = [&](const std::string &n) { return g.colorSet(&n) != nullptr; };
    if (!wanted.empty() && !taken(wanted))
        return wanted;
    const std::string base = wanted.empty() ? "colorSet" : wanted;
    for (int k = 1;; ++k)
        if (!taken(base + std::to_string(k)))
            return base + std::to_string(k);
}

} // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

int MFnMesh::numColorSets(MStatus *rs) const {
    MeshGeom *g = kelphost::readGeom(*this);
    kelphost::report(rs, g ? MStatus(MStatus::kSuccess) : noMesh());
    return g ? static_cast<int>(g->colorSets.size()) : 0;
}

int MFnMesh::numColors(MStatus *rs) const {
    MeshGeom *g = kelphost::readGeom(*this);
    ColorSetData *s = findSet(g, nullptr);
    kelphost::report(rs, g ? MStatus(MStatus::kSuccess) : noMesh());
    return s ? static_cast<int>(s->colors.size()) : 0;
}

int MFnMesh::numColors(const MString &colorSet, MStatus *rs) const {
    MeshGeom *g = kelphost::readGeom(*this);
    ColorSetData *s = findSet(g, &colorSet);
    kelphost::report(rs, !g  ? noMesh()
                         : s ? MStatus(MStatus::kSuccess)
                             : badParameter(kelphost::kIncompatibleObject));
    return s ? static_cast<int>(s->colors.size()) : 0;
}

MStatus MFnMesh::getColorSetNames(MStringArray &setNames) const {
    setNames.clear();
    MeshGeom *g = kelphost::readGeom(*this);
    if (!g)
        return noMesh();
    for (const ColorSetData &s : g->colorSets)
        setNames.append(s.name.c_str());
    return MStatus::kSuccess;
}

MStatus MFnMesh::getCurrentColorSetName(MString &setName, int) const {
    MeshGeom *g = kelphost::readGeom(*this);
    if (!g)
        return noMesh();
    ColorSetData *s = g->colorSet(nullptr);
    setName = s ? MString(s->name.c_str()) : MString();
    return s ? MStatus(MStatus::kSuccess) : MStatus(MStatus::kFailure);
}

MStatus MFnMesh::setCurrentColorSetName(const MString &setName, MDGModifier *, MSelectionList *) {
    MeshGeom *g = kelphost::editGeom(*this);
    if (!g)
        return noMesh();
    for (size_t i = 0; i < g->colorSets.size(); ++i)
        if (g->colorSets[i].name == setName.asChar()) {
            g->currentColorSet = static_cast<int>(i);
            kelphost::geometryChanged(*this);
            return MStatus::kSuccess;
        }
    return badParameter(kelphost::kIncompatibleObject);
}

MStatus MFnMesh::createColorSet(MString &colorSetName, MDGModifier *, const MUintArray *) {
    MeshGeom *g = kelphost::editGeom(*this);
    if (!g)
        return noMesh();
    ColorSetData s;
    s.name = freeSetName(*g, colorSetName.asChar());
    s.faceColorIds.assign(g->connects.size(), -1);
    g->colorSets.push_back(s);
    if (g->currentColorSet < 0)
        g->currentColorSet = static_cast<int>(g->colorSets.size()) - 1;
    colorSetName = s.name.c_str();
    kelphost::geometryChanged(*this);
    return MStatus::kSuccess;
}

MString MFnMesh::createColorSetWithName(const MString &colorSetName, MDGModifier *modifier,
                                        MUintArray *instances, MStatus *rs) {
    MString name = colorSetName;
    const MStatus st = createColorSet(name, modifier, instances);
    kelphost::report(rs, st);
    return st ? name : MString();
}

MStatus MFnMesh::setColors(const MColorArray &colors, const MString *colorSet,
                           MColorRepresentation rep) {
    MeshGeom *g = kelphost::editGeom(*this);
    if (!g)
        return noMesh();
    ColorSetData *s = findSet(g, colorSet);
    if (!s)
        return badParameter(kelphost::kIncompatibleObject);
    s->colors.clear();
    for (unsigned i = 0; i < colors.length(); ++i) {
        MColor c = colors[i];
        if (rep == kRGB)
            c.a = 1.0f;
        else if (rep == kAlpha)
            c = MColor(1.0f, 1.0f, 1.0f, c.a);
        s->colors.push_back(c);
    }
    for (int &id : s->faceColorIds)
        if (id >= static_cast<int>(s->colors.size()))
            id = -1;
    kelphost::geometryChanged(*this);
    return MStatus::kSuccess;
}

MStatus MFnMesh::assignColors(const MIntArray &colorIds, const MString *colorSet) {
    MeshGeom *g = kelphost::editGeom(*this);
    if (!g)
        return noMesh();
    ColorSetData *s = findSet(g, colorSet);
    if (!s)
        return badParameter(kelphost::kIncompatibleObject);
    if (colorIds.length() != g->connects.size())
        return badParameter(kelphost::kArrayLengthMismatch);
    for (unsigned i = 0; i < colorIds.length(); ++i)
        if (colorIds[i] < -1 || colorIds[i] >= static_cast<int>(s->colors.size()))
            return badParameter(kelphost::kIndexOutOfRange);
    for (unsigned i = 0; i < colorIds.length(); ++i)
        s->faceColorIds[i] = colorIds[i];
    kelphost::geometryChanged(*this);
    return MStatus::kSuccess;
}

MStatus MFnMesh::getColors(MColorArray &colors, const MString *colorSet, const MColor *) const {
    colors.clear();
    MeshGeom *g = kelphost::readGeom(*this);
    if (!g)
        return noMesh();
    ColorSetData *s = findSet(g, colorSet);
    if (!s)
        return badParameter(kelphost::kIncompatibleObject);
    for (const MColor &c : s->colors)
        colors.append(c);
    return MStatus::kSuccess;
}

MStatus MFnMesh::getFaceVertexColors(MColorArray &colors, const MString *colorSet,
                                     const MColor *defaultUnsetColor) const {
    colors.clear();
    MeshGeom *g = kelphost::readGeom(*this);
    if (!g)
        return noMesh();
    ColorSetData *s = findSet(g, colorSet);
    if (!s)
        return badParameter(kelphost::kIncompatibleObject);
    const MColor unset = defaultUnsetColor ? *defaultUnsetColor : MColor(-1, -1, -1, -1);
    colors.setLength(static_cast<unsigned>(g->connects.size()));
    for (size_t fv = 0; fv < g->connects.size(); ++fv) {
        const int id = s->faceColorIds[fv];
        colors[static_cast<unsigned>(fv)] = id >= 0 ? s->colors[static_cast<size_t>(id)] : unset;
    }
    return MStatus::kSuccess;
}

OPENMAYA_NAMESPACE_CLOSE
