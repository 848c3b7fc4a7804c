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
//
// Colours ("Cd", "Alpha"): where the document colours its own polygons by
// primitive (no vertex or point attribute of the name), the faces of each
// piece take their packed primitive's value, whatever the embedded geometry
// holds, as unpacking gives them. Where the document has no such colour at
// all, the pieces keep their own: the model gains it as a vertex attribute
// (the document's own vertices at the default), each piece's vertices taking
// the embedded vertex value, or else the value of their point.
//
// Loaded for particles, nothing is expanded: each piece is the point of its
// one vertex, and takes its packed primitive's colours there.
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
    // attribute of this model it copies from, or -1 for the default. A
    // colour the embedded geometry holds on its points only gives the
    // vertices of the pieces the value of their point (vertexPointSource).
    std::vector<int> pointSource;
    std::vector<int> vertexSource;
    std::vector<int> vertexPointSource;
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

// The points, vertices and polygons all pieces add.
struct Totals {
    std::uint64_t points = 0, vertices = 0, polygons = 0;
};

bool isColour(const std::string &name) {
    return name == "Cd" || name == "Alpha";
}

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

// Appends n copies of element e of `from`, or of the default when from is
// null or holds no element e.
// The value is copied first: `from` may be `to` itself.
void appendCopies(AttributeData &to, const AttributeData *from, std::size_t e, std::size_t n) {
    if (to.type == 5) {
        const bool have = from && e < from->vector_data.size();
        const Imath::Vec3<float> value = have ? from->vector_data[e] : to.vector_default;
        to.vector_data.insert(to.vector_data.end(), n, value);
    } else if (to.type == 0) {
        const bool have = from && e < from->float_data.size();
        const float value = have ? from->float_data[e] : to.float_default;
        to.float_data.insert(to.float_data.end(), n, value);
    } else {
        const bool have = from && to.type != 4 && e < from->int_data.size();
        const std::int32_t value = have ? from->int_data[e] : to.type == 4 ? -1 : to.int_default;
        to.int_data.insert(to.int_data.end(), n, value);
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

JsonDocument *embeddedDocument(JsonDocument &doc, const PackedPiece &piece, std::string &error) {
    for (auto &held : doc.embedded)
        if (held.first == piece.key)
            return held.second.get();
    error = pieceName(piece) + " names embedded geometry \"" + piece.key +
            "\" which the file does not hold";
    return nullptr;
}

// The point the piece's one vertex names, or false (with the reason).
bool piecePoint(const JsonDocument &doc, const PackedPiece &piece, std::uint32_t &point,
                std::string &error) {
    if (piece.vertex < 0 || static_cast<std::uint64_t>(piece.vertex) >= doc.topology.size()) {
        error = pieceName(piece) +
                (piece.vertex < 0
                     ? " has no vertex"
                     : " uses vertex " + std::to_string(piece.vertex) + " beyond the topology");
        return false;
    }
    point = doc.topology[static_cast<std::size_t>(piece.vertex)];
    return true;
}

// Where the file itself holds no colour of a name its pieces have, the
// pieces keep their own: the model gains the colour as a vertex attribute,
// its own vertices at the default.
std::vector<AttributeData>
coloursOfPieces(const Kelp &model, const std::map<std::string, std::unique_ptr<Embedded>> &used) {
    std::vector<AttributeData> out;
    for (const char *name : {"Cd", "Alpha"}) {
        if (model.attrExists(name, "VERTEX") >= 0 || model.attrExists(name, "POINT") >= 0)
            continue;
        const AttributeData *like = nullptr;
        for (const auto &e : used) {
            const Kelp &m = e.second->model;
            const int v = m.attrExists(name, "VERTEX"), p = m.attrExists(name, "POINT");
            if (!like && v >= 0 && m.getVertexAttributes()[v].type != 4)
                like = &m.getVertexAttributes()[v];
            if (!like && p >= 0 && m.getPointAttributes()[p].type != 4)
                like = &m.getPointAttributes()[p];
        }
        if (!like)
            continue;
        out.push_back(emptyLike(*like));
        appendCopies(out.back(), nullptr, 0, model.getNumVerts());
    }
    return out;
}

void linkSources(Embedded &e, const Kelp &model) {
    e.pointSource = sources(model.getPointAttributes(), e.model.getPointAttributes());
    e.vertexSource = sources(model.getVertexAttributes(), e.model.getVertexAttributes());
    const std::vector<int> byPoint =
        sources(model.getVertexAttributes(), e.model.getPointAttributes());
    e.vertexPointSource.assign(e.vertexSource.size(), -1);
    for (std::size_t i = 0; i < e.vertexSource.size(); ++i)
        if (e.vertexSource[i] < 0 && isColour(model.getVertexAttributes()[i].name))
            e.vertexPointSource[i] = byPoint[i];
}

// The model vertex each polygon starts at.
std::vector<std::uint64_t> firstVertices(const Kelp &model) {
    std::vector<std::uint64_t> out;
    out.reserve(model.getPolygons().size());
    std::uint64_t vertex = 0;
    for (const PolygonData &polygon : model.getPolygons()) {
        out.push_back(vertex);
        vertex += polygon.numberOfVertices;
    }
    return out;
}

Selection selectAll(Embedded &from) {
    Selection s;
    s.from = &from;
    s.pointCount = from.model.getPointAttributes()[0].vector_data.size();
    s.polygonCount = from.model.getPolygons().size();
    s.vertexCount = from.firstVertex.empty() ? 0
                                             : from.firstVertex.back() +
                                                   from.model.getPolygons().back().numberOfVertices;
    return s;
}

// The polygons of the fragment's geometry whose string attribute holds the
// fragment's value, and the points they use.
bool selectFragment(Embedded &from, const PackedPiece &piece, Selection &s, std::string &error) {
    const PrimitiveStrings *by = nullptr;
    for (const PrimitiveStrings &strings : from.primitiveStrings)
        if (strings.name == piece.attribute)
            by = &strings;
    if (!by) {
        error = pieceName(piece) + " selects by primitive attribute \"" + piece.attribute +
                "\", which embedded geometry \"" + piece.key + "\" does not have";
        return false;
    }
    std::int32_t wanted = -2; // no such string: the fragment is empty
    for (std::size_t k = 0; k < by->strings.size(); ++k)
        if (by->strings[k] == piece.value)
            wanted = static_cast<std::int32_t>(k);
    const std::vector<PolygonData> &polygons = from.model.getPolygons();
    s.from = &from;
    s.all = false;
    s.newPoint.assign(from.model.getPointAttributes()[0].vector_data.size(), UINT32_MAX);
    for (std::size_t p = 0; p < polygons.size(); ++p) {
        const std::uint32_t primitive = from.polygonPrimitive[p];
        if (primitive >= by->indices.size() || by->indices[primitive] != wanted)
            continue;
        s.polygons.push_back(static_cast<std::uint32_t>(p));
        s.vertexCount += polygons[p].numberOfVertices;
        for (std::uint32_t point : polygons[p].ids)
            if (s.newPoint[point] == UINT32_MAX) {
                s.newPoint[point] = static_cast<std::uint32_t>(s.points.size());
                s.points.push_back(point);
            }
    }
    s.pointCount = s.points.size();
    s.polygonCount = s.polygons.size();
    return true;
}

// What each piece copies (fragments selected once per key and value), with
// every piece's point and the totals checked (against the budget and the
// model's 32-bit numbering) before anything grows.
bool choose(const Kelp &model, const JsonDocument &doc,
            std::map<std::string, std::unique_ptr<Embedded>> &embedded, std::uint64_t &used,
            std::uint64_t limit, std::map<std::string, Selection> &selections,
            std::vector<Selection *> &chosen, Totals &totals, std::string &error) {
    chosen.reserve(doc.packed.size());
    for (const PackedPiece &piece : doc.packed) {
        std::uint32_t at = 0;
        if (!piecePoint(doc, piece, at, error))
            return false;
        Embedded &from = *embedded[piece.key];
        const std::string id =
            piece.fragment ? piece.key + '\0' + piece.attribute + '\0' + piece.value : piece.key;
        auto found = selections.find(id);
        if (found == selections.end()) {
            Selection s;
            if (!piece.fragment)
                s = selectAll(from);
            else if (!selectFragment(from, piece, s, error))
                return false;
            found = selections.emplace(id, std::move(s)).first;
        }
        const Selection &s = found->second;
        if (!addChecked(used, s.pointCount + s.vertexCount + s.polygonCount, limit)) {
            error = "packed geometry would add more than " + std::to_string(limit) +
                    " points, vertices and polygons, the most the size of the file allows; " +
                    "refused at " + pieceName(piece);
            return false;
        }
        totals.points += s.pointCount;
        totals.vertices += s.vertexCount;
        totals.polygons += s.polygonCount;
        chosen.push_back(&found->second);
    }
    if (model.getPointAttributes()[0].vector_data.size() + totals.points > UINT32_MAX ||
        model.getNumVerts() + totals.vertices > UINT32_MAX) {
        error = "packed geometry would take the model past 2^32 points or vertices";
        return false;
    }
    return true;
}

// The receiving model's view while pieces are appended: for each vertex
// attribute, the primitive colour its pieces' faces take from their packed
// primitive (null where they take the embedded geometry's values).
struct Receiver {
    std::vector<PolygonData> &polygons;
    std::vector<AttributeData> &points;
    std::vector<AttributeData> &vertices;
    std::vector<const AttributeData *> fromPacked;
    std::vector<std::uint32_t> *polygonPrimitive;
};

void appendPoints(Receiver &to, const Selection &s, const Placement &place) {
    const Embedded &from = *s.from;
    const auto &fromPoints = from.model.getPointAttributes();
    const std::size_t n = s.all ? static_cast<std::size_t>(s.pointCount) : s.points.size();
    for (std::size_t j = 0; j < n; ++j) {
        const std::size_t e = s.all ? j : s.points[j];
        to.points[0].vector_data.push_back(place.point(fromPoints[0].vector_data[e]));
        for (std::size_t i = 1; i < to.points.size(); ++i) {
            const int src = from.pointSource[i];
            appendValue(to.points[i], src < 0 ? nullptr : &fromPoints[src], e);
            if (src >= 0 && to.points[i].type == 5 && to.points[i].name == "N")
                to.points[i].vector_data.back() = place.direction(to.points[i].vector_data.back());
        }
    }
}

// The values of one embedded polygon's vertices for vertex attribute i.
void appendVertexValues(Receiver &to, std::size_t i, const Embedded &from, std::size_t p,
                        const PackedPiece &piece, const Placement &place) {
    const PolygonData &polygon = from.model.getPolygons()[p];
    AttributeData &out = to.vertices[i];
    if (to.fromPacked[i]) {
        appendCopies(out, to.fromPacked[i], piece.primitive, polygon.numberOfVertices);
        return;
    }
    const int src = from.vertexSource[i], byPoint = from.vertexPointSource[i];
    const AttributeData *values = src >= 0 ? &from.model.getVertexAttributes()[src] : nullptr;
    const AttributeData *pointValues =
        byPoint >= 0 ? &from.model.getPointAttributes()[byPoint] : nullptr;
    for (std::uint32_t v = 0; v < polygon.numberOfVertices; ++v) {
        if (pointValues)
            appendValue(out, pointValues, polygon.ids[v]);
        else
            appendValue(out, values, static_cast<std::size_t>(from.firstVertex[p] + v));
        if (values && out.type == 5 && out.name == "N")
            out.vector_data.back() = place.direction(out.vector_data.back());
    }
}

void appendPolygons(Receiver &to, const Selection &s, const PackedPiece &piece,
                    const Placement &place, std::uint32_t base) {
    const Embedded &from = *s.from;
    const std::size_t count =
        s.all ? from.model.getPolygons().size() : static_cast<std::size_t>(s.polygonCount);
    for (std::size_t q = 0; q < count; ++q) {
        const std::size_t p = s.all ? q : s.polygons[q];
        const PolygonData &polygon = from.model.getPolygons()[p];
        to.polygons.emplace_back();
        PolygonData &out = to.polygons.back();
        out.numberOfVertices = polygon.numberOfVertices;
        out.ids.resize(polygon.numberOfVertices);
        for (std::uint32_t v = 0; v < polygon.numberOfVertices; ++v)
            out.ids[v] = base + (s.all ? polygon.ids[v] : s.newPoint[polygon.ids[v]]);
        for (std::size_t i = 0; i < to.vertices.size(); ++i)
            appendVertexValues(to, i, from, p, piece, place);
        if (to.polygonPrimitive)
            to.polygonPrimitive->push_back(piece.primitive);
    }
}

void reserveFor(Receiver &to, const Totals &totals) {
    for (AttributeData &a : to.points)
        reserveMore(a, totals.points);
    for (AttributeData &a : to.vertices)
        reserveMore(a, totals.vertices);
    to.polygons.reserve(to.polygons.size() + static_cast<std::size_t>(totals.polygons));
    if (to.polygonPrimitive)
        to.polygonPrimitive->reserve(to.polygonPrimitive->size() +
                                     static_cast<std::size_t>(totals.polygons));
}

// For each vertex attribute, the primitive colour the pieces' faces take
// from their packed primitive: those the document's own polygons took.
std::vector<const AttributeData *> coloursFromPacked(const std::vector<AttributeData> &vertices,
                                                     const JsonDocument &doc) {
    std::vector<const AttributeData *> out;
    for (const AttributeData &a : vertices) {
        const bool spread = std::find(doc.spreadColours.begin(), doc.spreadColours.end(), a.name) !=
                            doc.spreadColours.end();
        out.push_back(spread ? lastPrimitiveAttribute(doc, a.name) : nullptr);
    }
    return out;
}

} // namespace

bool JsonLoader::expandPacked(Kelp &model, JsonDocument &doc, ExpansionBudget &budget,
                              std::vector<std::uint32_t> *polygonPrimitive, std::string &error) {
    if (polygonPrimitive) {
        polygonPrimitive->clear();
        polygonPrimitive->reserve(static_cast<std::size_t>(doc.polygonCount));
        for (const PolygonBlock &block : doc.polygons)
            for (std::uint32_t r = 0; r < block.repeat; ++r)
                polygonPrimitive->push_back(block.primitive + r);
    }
    if (doc.packed.empty())
        return true;

    // Each embedded document a piece uses, into a model once.
    std::map<std::string, std::unique_ptr<Embedded>> embedded;
    for (const PackedPiece &piece : doc.packed) {
        if (embedded.count(piece.key))
            continue;
        JsonDocument *source = embeddedDocument(doc, piece, error);
        if (!source)
            return false;
        auto e = std::make_unique<Embedded>();
        fill(e->model, *source);
        if (!expandPacked(e->model, *source, budget, &e->polygonPrimitive, error))
            return false;
        e->primitiveStrings = std::move(source->primitiveStrings);
        e->firstVertex = firstVertices(e->model);
        embedded.emplace(piece.key, std::move(e));
    }
    for (AttributeData &record : coloursOfPieces(model, embedded)) {
        model.vertexAttributes.push_back(std::move(record));
        ++model.numberOfVertexAttributes;
    }
    for (auto &e : embedded)
        linkSources(*e.second, model);

    std::map<std::string, Selection> selections;
    std::vector<Selection *> chosen;
    Totals totals;
    std::uint64_t used = budget.used;
    if (!choose(model, doc, embedded, used, budget.limit, selections, chosen, totals, error))
        return false;
    budget.used = used;
    Receiver to{model.polygons, model.pointAttributes, model.vertexAttributes,
                coloursFromPacked(model.vertexAttributes, doc), polygonPrimitive};
    reserveFor(to, totals);
    for (std::size_t k = 0; k < doc.packed.size(); ++k) {
        const PackedPiece &piece = doc.packed[k];
        const std::uint32_t at = doc.topology[static_cast<std::size_t>(piece.vertex)];
        const Placement place(piece, to.points[0].vector_data[at]);
        const std::uint32_t base = static_cast<std::uint32_t>(to.points[0].vector_data.size());
        appendPoints(to, *chosen[k], place);
        appendPolygons(to, *chosen[k], piece, place, base);
    }
    model.numberOfPoints = static_cast<std::uint32_t>(model.pointAttributes[0].vector_data.size());
    model.numberOfVertices += static_cast<std::uint32_t>(totals.vertices);
    markPolygons(model);
    return true;
}

bool JsonLoader::placeParticles(Kelp &model, JsonDocument &doc, std::string &error) {
    std::vector<AttributeData> &points = model.pointAttributes;
    std::vector<bool> taken(points[0].vector_data.size(), false);
    std::vector<std::uint32_t> particle; // the point of each piece
    particle.reserve(doc.packed.size());
    for (const PackedPiece &piece : doc.packed) {
        std::uint32_t at = 0;
        if (!piecePoint(doc, piece, at, error))
            return false;
        if (at >= taken.size()) {
            error = pieceName(piece) + " stands on point " + std::to_string(at) +
                    ", which the file does not hold";
            return false;
        }
        if (taken[at]) {
            // Another piece stands on this point: this one gets a point of
            // its own, a copy.
            for (AttributeData &a : points)
                appendCopies(a, &a, at, 1);
            at = static_cast<std::uint32_t>(points[0].vector_data.size() - 1);
            taken.push_back(true);
        }
        taken[at] = true;
        particle.push_back(at);
    }
    // The pieces' primitive colours on their particles, where the file has
    // no point attribute of the name (a point's own value wins, as it does
    // over a primitive's on the mesh).
    for (const char *name : {"Cd", "Alpha"}) {
        const AttributeData *perPrimitive = lastPrimitiveAttribute(doc, name);
        if (!perPrimitive || model.attrExists(name, "POINT") >= 0)
            continue;
        AttributeData record = emptyLike(*perPrimitive);
        appendCopies(record, nullptr, 0, points[0].vector_data.size());
        for (std::size_t k = 0; k < particle.size(); ++k) {
            const std::size_t primitive = doc.packed[k].primitive;
            if (record.type == 5 && primitive < perPrimitive->vector_data.size())
                record.vector_data[particle[k]] = perPrimitive->vector_data[primitive];
            else if (record.type == 0 && primitive < perPrimitive->float_data.size())
                record.float_data[particle[k]] = perPrimitive->float_data[primitive];
        }
        points.push_back(std::move(record));
        ++model.numberOfPointAttributes;
    }
    model.numberOfPoints = static_cast<std::uint32_t>(points[0].vector_data.size());
    return true;
}

} // namespace kelp
