// Packed geometry embedded in the document: "PackedGeometry" and
// "PackedFragment" primitives name a geometry held under
// "sharedprimitivedata" (a complete nested document, whose string-table ids
// redefine the file's own), and place it with a 3 x 3 transform, a pivot and
// the point of their one vertex. The pieces are appended to the model after
// the document's own polygons, in primitive order: a point p of the embedded
// geometry lands at (p - pivot) * M + P (row vectors, as Houdini writes the
// matrix), normals go by the inverse transpose of M.
//
// Each embedded document is read once and turned into a model once (its own
// packed pieces expanded, to kMaxPackedDepth levels); pieces copy from it.
// Before anything is appended the points, vertices and polygons all pieces
// add are summed and checked against the load's budget, then reserved once.
//
// Attributes: the model keeps one value per point and per vertex for each
// attribute of the file itself. An appended point or vertex takes the value
// of the embedded attribute of the same name and kind, or the attribute's
// default. Attributes only the embedded geometry has are dropped: the file's
// own points and vertices have no values for them. String attributes are
// held as indices into each document's own table, so they take the default
// (no string) rather than an index into another table.
#include "json/JsonLoader.h"

#include "json/JsonDocument.h"
#include "json/JsonFields.h"
#include "json/ValuesBlock.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace kelp {

namespace {

const std::int64_t kMaxCount = 0xFFFFFFFFLL;

bool allFinite(const std::vector<double> &values) {
    for (double v : values)
        if (!std::isfinite(v))
            return false;
    return true;
}

bool readParameters(TokenReader &reader, PackedPiece &piece) {
    ObjectReader object(reader, "parameters");
    std::string_view key, value;
    while (object.nextKey(key)) {
        bool ok;
        if (key == "embedded" || key == "attribute" || key == "name") {
            ok = readString(reader, value, "parameters");
            if (ok)
                (key == "embedded"    ? piece.key
                 : key == "attribute" ? piece.attribute
                                      : piece.value) = std::string(value);
        } else {
            ok = reader.skipValue();
        }
        if (!ok)
            return false;
    }
    return !reader.failed();
}

} // namespace

bool readPackedField(TokenReader &reader, std::string_view key, PackedPiece &piece) {
    const std::size_t at = reader.offset();
    if (key == "parameters")
        return readParameters(reader, piece);
    if (key == "pivot" || key == "transform") {
        const bool pivot = key == "pivot";
        std::vector<double> values;
        if (!readNumberArray(reader, values, pivot ? "pivot" : "transform"))
            return false;
        if (values.size() != (pivot ? 3u : 9u))
            return reader.fail(std::string(pivot ? "pivot" : "transform") + " of " +
                                   std::to_string(values.size()) + " values",
                               at);
        if (!allFinite(values))
            return reader.fail(std::string(pivot ? "pivot" : "transform") + " is not finite", at);
        std::copy(values.begin(), values.end(), pivot ? piece.pivot : piece.transform);
        return true;
    }
    if (key == "vertex") {
        std::vector<std::int64_t> vertices;
        if (!readIntOrIntArray(reader, 0, kMaxCount, vertices, "vertex"))
            return false;
        if (vertices.size() != 1)
            return reader.fail(
                "packed primitive with " + std::to_string(vertices.size()) + " vertices", at);
        piece.vertex = vertices[0];
        return true;
    }
    return reader.skipValue();
}

bool readPrimitiveStrings(TokenReader &reader, JsonDocument &doc, std::string_view name) {
    const std::size_t at = reader.offset();
    PrimitiveStrings record;
    record.name = std::string(name);
    bool sawIndices = false;
    PrepareTarget prepare = [&](int, bool realStorage, ValueTarget &target) {
        if (realStorage)
            return reader.fail("string attribute \"" + record.name + "\" has real-valued indices");
        record.indices.resize(static_cast<std::size_t>(doc.primitiveCount));
        target.ints = record.indices.data();
        target.width = 1;
        return true;
    };
    ObjectReader body(reader, "attribute");
    std::string_view key;
    while (body.nextKey(key)) {
        bool ok;
        if (key == "strings") {
            std::vector<std::string_view> table;
            ok = readStringArray(reader, table, "strings");
            record.strings.assign(table.begin(), table.end());
        } else if (key == "indices") {
            ok = readValuesBlock(reader, doc.primitiveCount, prepare, record.name.c_str());
            sawIndices = true;
        } else {
            ok = reader.skipValue();
        }
        if (!ok)
            return false;
    }
    if (reader.failed())
        return false;
    if (!sawIndices)
        return true; // nothing to select by
    for (std::int32_t index : record.indices)
        if (index < -1 ||
            static_cast<std::uint64_t>(std::int64_t{index} + 1) > record.strings.size())
            return reader.fail("string attribute \"" + record.name + "\" uses string " +
                                   std::to_string(index) + " of " +
                                   std::to_string(record.strings.size()),
                               at);
    doc.primitiveStrings.push_back(std::move(record));
    return true;
}

// ["PackedGeometry", ["gu:embeddedgeo", "embed:<key>", <document>], ...]:
// every embedded document is read (a damaged one fails the load even when
// no piece uses it); other kinds of shared data are read past.
bool readSharedData(TokenReader &reader, JsonDocument &doc, bool trace) {
    ArrayReader list(reader, "sharedprimitivedata");
    while (list.nextElement()) {
        std::string_view type;
        if (!readString(reader, type, "shared primitive data type"))
            return false;
        if (!list.nextElement())
            return reader.fail("shared primitive data \"" + std::string(type) +
                               "\" without its data");
        if (type != "PackedGeometry") {
            if (!reader.skipValue())
                return false;
            continue;
        }
        ArrayReader entry(reader, "shared primitive data");
        std::string_view kind, key;
        if (!entry.nextElement() || !readString(reader, kind, "shared primitive data kind"))
            return reader.fail("shared packed geometry without its kind");
        if (kind == "gu:embeddedgeo") {
            const std::size_t at = reader.offset();
            if (!entry.nextElement() || !readString(reader, key, "embedded geometry key"))
                return reader.fail("embedded geometry without its key", at);
            const std::string name(key);
            if (!entry.nextElement())
                return reader.fail("embedded geometry \"" + name + "\" without its document", at);
            for (const auto &held : doc.embedded)
                if (held.first == name)
                    return reader.fail("embedded geometry \"" + name + "\" given twice", at);
            if (doc.depth >= kMaxPackedDepth)
                return reader.fail("packed geometry nested more than " +
                                       std::to_string(kMaxPackedDepth) + " levels deep",
                                   at);
            auto nested = std::make_shared<JsonDocument>();
            nested->depth = doc.depth + 1;
            if (trace)
                std::cerr << "embedded geometry " << name << " at level " << nested->depth << '\n';
            if (!readDocument(reader, *nested, trace))
                return false;
            doc.embedded.emplace_back(name, std::move(nested));
        }
        while (entry.nextElement())
            if (!reader.skipValue())
                return false;
        if (reader.failed())
            return false;
    }
    return !reader.failed();
}

namespace {

// An embedded document turned into a model, with the primitive each of its
// polygons came from and the vertex each polygon starts at.
struct Embedded {
    Kelp model;
    std::vector<std::uint32_t> polygonPrimitive;
    std::vector<std::uint64_t> firstVertex;
    std::vector<PrimitiveStrings> primitiveStrings;
    // For each point and vertex attribute of the receiving model, the
    // attribute of this model it copies from, or -1 for the default.
    std::vector<int> pointSource;
    std::vector<int> vertexSource;
};

// What one piece copies: all of an embedded model, or (fragments) some of
// its polygons and the points they use.
struct Selection {
    Embedded *from = nullptr;
    bool all = true;
    std::vector<std::uint32_t> polygons;
    std::vector<std::uint32_t> points;   // in the order appended
    std::vector<std::uint32_t> newPoint; // embedded point -> offset from the piece's first
    std::uint64_t pointCount = 0, vertexCount = 0, polygonCount = 0;
};

bool sameKind(const AttributeData &a, const AttributeData &b) {
    return a.name == b.name && a.type == b.type && a.type != 4;
}

std::vector<int> sources(const std::vector<AttributeData> &to,
                         const std::vector<AttributeData> &from) {
    std::vector<int> out(to.size(), -1);
    for (std::size_t i = 0; i < to.size(); ++i)
        for (std::size_t j = 0; j < from.size(); ++j)
            if (sameKind(to[i], from[j])) {
                out[i] = static_cast<int>(j);
                break;
            }
    return out;
}

// Appends element e of `from` (or the default when from is null) to `to`.
void appendValue(AttributeData &to, const AttributeData *from, std::size_t e) {
    switch (to.type) {
    case 5:
        to.vector_data.push_back(from ? from->vector_data[e] : to.vector_default);
        break;
    case 0:
        to.float_data.push_back(from ? from->float_data[e] : to.float_default);
        break;
    case 4:
        to.int_data.push_back(-1);
        break;
    default:
        to.int_data.push_back(from ? from->int_data[e] : to.int_default);
        break;
    }
}

void reserveMore(AttributeData &a, std::uint64_t n) {
    const std::size_t more = static_cast<std::size_t>(n);
    if (a.type == 5)
        a.vector_data.reserve(a.vector_data.size() + more);
    else if (a.type == 0)
        a.float_data.reserve(a.float_data.size() + more);
    else
        a.int_data.reserve(a.int_data.size() + more);
}

// The placement of one piece: p' = (p - pivot) * M + at, normals by the
// cofactor matrix of M (the inverse transpose times the determinant, sign
// kept so that mirrored pieces keep their normals outward), renormalised.
struct Placement {
    double m[9];
    double pivot[3];
    double at[3];
    double normal[9];

    Placement(const PackedPiece &piece, const Imath::Vec3<float> &position) {
        std::copy(piece.transform, piece.transform + 9, m);
        std::copy(piece.pivot, piece.pivot + 3, pivot);
        at[0] = position.x;
        at[1] = position.y;
        at[2] = position.z;
        // cof[i][j] = (-1)^(i+j) minor(i, j); the cofactor matrix of M is
        // det(M) * (M^-1)^T, and a row-vector normal n goes to n * cof^T...
        // written directly: n'_j = sum_i n_i * inverse(M)[j][i] * det.
        auto at3 = [&](int r, int c) { return m[3 * r + c]; };
        double cof[9];
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) {
                const int r1 = (r + 1) % 3, r2 = (r + 2) % 3;
                const int c1 = (c + 1) % 3, c2 = (c + 2) % 3;
                cof[3 * r + c] = at3(r1, c1) * at3(r2, c2) - at3(r1, c2) * at3(r2, c1);
            }
        const double det = m[0] * cof[0] + m[1] * cof[1] + m[2] * cof[2];
        const double sign = det < 0 ? -1.0 : 1.0;
        // inverse(M)[j][i] * det = cof[i][j], so n'_j = sum_i n_i * cof[i][j].
        for (int k = 0; k < 9; ++k)
            normal[k] = sign * cof[k];
    }

    Imath::Vec3<float> point(const Imath::Vec3<float> &p) const {
        const double d[3] = {p.x - pivot[0], p.y - pivot[1], p.z - pivot[2]};
        double out[3];
        for (int j = 0; j < 3; ++j)
            out[j] = d[0] * m[j] + d[1] * m[3 + j] + d[2] * m[6 + j] + at[j];
        return Imath::Vec3<float>(static_cast<float>(out[0]), static_cast<float>(out[1]),
                                  static_cast<float>(out[2]));
    }

    Imath::Vec3<float> direction(const Imath::Vec3<float> &n) const {
        double out[3];
        for (int j = 0; j < 3; ++j)
            out[j] = n.x * normal[j] + n.y * normal[3 + j] + n.z * normal[6 + j];
        const double length = std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]);
        if (!(length > 0) || !std::isfinite(length))
            return n;
        return Imath::Vec3<float>(static_cast<float>(out[0] / length),
                                  static_cast<float>(out[1] / length),
                                  static_cast<float>(out[2] / length));
    }
};

bool addChecked(std::uint64_t &total, std::uint64_t n, std::uint64_t limit) {
    if (n > limit || total > limit - n)
        return false;
    total += n;
    return true;
}

std::string pieceName(const PackedPiece &piece) {
    return std::string(piece.fragment ? "packed fragment" : "packed primitive") + " " +
           std::to_string(piece.primitive) + " (byte " + std::to_string(piece.offset) + ")";
}

} // namespace

bool JsonLoader::expandPacked(Kelp &model, JsonDocument &doc, ExpansionBudget &budget,
                              std::vector<std::uint32_t> *polygonPrimitive, std::string &error) {
    if (polygonPrimitive) {
        polygonPrimitive->clear();
        for (const PolygonRef &ref : doc.polygons)
            polygonPrimitive->push_back(ref.primitive);
    }
    if (doc.packed.empty())
        return true;

    // Each embedded document a piece uses, into a model once.
    std::map<std::string, std::unique_ptr<Embedded>> embedded;
    for (const PackedPiece &piece : doc.packed) {
        if (embedded.count(piece.key))
            continue;
        JsonDocument *source = nullptr;
        for (auto &held : doc.embedded)
            if (held.first == piece.key)
                source = held.second.get();
        if (!source) {
            error = pieceName(piece) + " names embedded geometry \"" + piece.key +
                    "\" which the file does not hold";
            return false;
        }
        auto e = std::make_unique<Embedded>();
        fill(e->model, *source);
        if (!expandPacked(e->model, *source, budget, &e->polygonPrimitive, error))
            return false;
        e->primitiveStrings = std::move(source->primitiveStrings);
        std::uint64_t vertex = 0;
        for (const PolygonData &polygon : e->model.polygons) {
            e->firstVertex.push_back(vertex);
            vertex += polygon.numberOfVertices;
        }
        e->pointSource = sources(model.pointAttributes, e->model.pointAttributes);
        e->vertexSource = sources(model.vertexAttributes, e->model.vertexAttributes);
        embedded.emplace(piece.key, std::move(e));
    }

    // What each piece copies (fragments selected once per key and value),
    // and the totals, before anything grows.
    std::map<std::string, Selection> selections;
    std::vector<Selection *> chosen;
    chosen.reserve(doc.packed.size());
    std::uint64_t addPoints = 0, addVertices = 0, addPolygons = 0, total = budget.used;
    for (const PackedPiece &piece : doc.packed) {
        Embedded &from = *embedded[piece.key];
        const std::string id =
            piece.fragment ? piece.key + '\0' + piece.attribute + '\0' + piece.value : piece.key;
        auto found = selections.find(id);
        if (found == selections.end()) {
            Selection s;
            s.from = &from;
            const std::size_t points = from.model.pointAttributes[0].vector_data.size();
            if (!piece.fragment) {
                s.pointCount = points;
                s.polygonCount = from.model.polygons.size();
                s.vertexCount =
                    from.firstVertex.empty()
                        ? 0
                        : from.firstVertex.back() + from.model.polygons.back().numberOfVertices;
            } else {
                const PrimitiveStrings *by = nullptr;
                for (const PrimitiveStrings &strings : from.primitiveStrings)
                    if (strings.name == piece.attribute)
                        by = &strings;
                if (!by) {
                    error = pieceName(piece) + " selects by primitive attribute \"" +
                            piece.attribute + "\", which embedded geometry \"" + piece.key +
                            "\" does not have";
                    return false;
                }
                std::int32_t wanted = -2; // no such string: the fragment is empty
                for (std::size_t k = 0; k < by->strings.size(); ++k)
                    if (by->strings[k] == piece.value)
                        wanted = static_cast<std::int32_t>(k);
                s.all = false;
                s.newPoint.assign(points, UINT32_MAX);
                for (std::size_t p = 0; p < from.model.polygons.size(); ++p) {
                    const std::uint32_t primitive = from.polygonPrimitive[p];
                    if (primitive >= by->indices.size() || by->indices[primitive] != wanted)
                        continue;
                    s.polygons.push_back(static_cast<std::uint32_t>(p));
                    const PolygonData &polygon = from.model.polygons[p];
                    s.vertexCount += polygon.numberOfVertices;
                    for (std::uint32_t point : polygon.ids)
                        if (s.newPoint[point] == UINT32_MAX) {
                            s.newPoint[point] = static_cast<std::uint32_t>(s.points.size());
                            s.points.push_back(point);
                        }
                }
                s.pointCount = s.points.size();
                s.polygonCount = s.polygons.size();
            }
            found = selections.emplace(id, std::move(s)).first;
        }
        const Selection &s = found->second;
        if (!addChecked(total, s.pointCount + s.vertexCount + s.polygonCount, budget.limit)) {
            error = "packed geometry would add more than " + std::to_string(budget.limit) +
                    " points, vertices and polygons, the most the size of the file allows; " +
                    "refused at " + pieceName(piece);
            return false;
        }
        addPoints += s.pointCount;
        addVertices += s.vertexCount;
        addPolygons += s.polygonCount;
        chosen.push_back(&found->second);
    }
    if (model.pointAttributes[0].vector_data.size() + addPoints > UINT32_MAX ||
        model.numberOfVertices + addVertices > UINT32_MAX) {
        error = "packed geometry would take the model past 2^32 points or vertices";
        return false;
    }
    budget.used = total;

    for (AttributeData &a : model.pointAttributes)
        reserveMore(a, addPoints);
    for (AttributeData &a : model.vertexAttributes)
        reserveMore(a, addVertices);
    model.polygons.reserve(model.polygons.size() + static_cast<std::size_t>(addPolygons));
    if (polygonPrimitive)
        polygonPrimitive->reserve(polygonPrimitive->size() + static_cast<std::size_t>(addPolygons));

    std::vector<AttributeData> &points = model.pointAttributes;
    std::vector<AttributeData> &vertices = model.vertexAttributes;
    for (std::size_t k = 0; k < doc.packed.size(); ++k) {
        const PackedPiece &piece = doc.packed[k];
        const Selection &s = *chosen[k];
        const Embedded &from = *s.from;
        if (piece.vertex < 0 || static_cast<std::uint64_t>(piece.vertex) >= doc.topology.size()) {
            error = pieceName(piece) +
                    (piece.vertex < 0
                         ? " has no vertex"
                         : " uses vertex " + std::to_string(piece.vertex) + " beyond the topology");
            return false;
        }
        const Placement place(piece, points[0].vector_data[doc.topology[piece.vertex]]);
        const std::uint32_t base = static_cast<std::uint32_t>(points[0].vector_data.size());
        const auto &fromPoints = from.model.pointAttributes;
        const std::size_t n = s.all ? static_cast<std::size_t>(s.pointCount) : s.points.size();
        for (std::size_t j = 0; j < n; ++j) {
            const std::size_t e = s.all ? j : s.points[j];
            points[0].vector_data.push_back(place.point(fromPoints[0].vector_data[e]));
            for (std::size_t i = 1; i < points.size(); ++i) {
                const int src = from.pointSource[i];
                appendValue(points[i], src < 0 ? nullptr : &fromPoints[src], e);
                if (src >= 0 && points[i].type == 5 && points[i].name == "N")
                    points[i].vector_data.back() = place.direction(points[i].vector_data.back());
            }
        }
        const std::size_t polygonsHere =
            s.all ? from.model.polygons.size() : static_cast<std::size_t>(s.polygonCount);
        for (std::size_t q = 0; q < polygonsHere; ++q) {
            const std::size_t p = s.all ? q : s.polygons[q];
            const PolygonData &polygon = from.model.polygons[p];
            model.polygons.emplace_back();
            PolygonData &out = model.polygons.back();
            out.numberOfVertices = polygon.numberOfVertices;
            out.ids.resize(polygon.numberOfVertices);
            for (std::uint32_t v = 0; v < polygon.numberOfVertices; ++v)
                out.ids[v] = base + (s.all ? polygon.ids[v] : s.newPoint[polygon.ids[v]]);
            for (std::size_t i = 0; i < vertices.size(); ++i) {
                const int src = from.vertexSource[i];
                const AttributeData *values = src < 0 ? nullptr : &from.model.vertexAttributes[src];
                for (std::uint32_t v = 0; v < polygon.numberOfVertices; ++v) {
                    appendValue(vertices[i], values,
                                static_cast<std::size_t>(from.firstVertex[p] + v));
                    if (values && vertices[i].type == 5 && vertices[i].name == "N")
                        vertices[i].vector_data.back() =
                            place.direction(vertices[i].vector_data.back());
                }
            }
            if (polygonPrimitive)
                polygonPrimitive->push_back(piece.primitive);
        }
    }

    model.numberOfPoints = static_cast<std::uint32_t>(points[0].vector_data.size());
    model.numberOfVertices += static_cast<std::uint32_t>(addVertices);
    if (!model.polygons.empty()) {
        model.tempInt = 1; // the classic polygon type
        model.tempChar = '<';
        model.numberOfPolygons =
            static_cast<std::uint16_t>(std::min<std::size_t>(model.polygons.size(), 0xFFFF));
    }
    return true;
}

} // namespace kelp
