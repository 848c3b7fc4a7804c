// The walk over one geometry document of Houdini's JSON-based format: what
// the model needs, gathered in file terms (vertex numbers, not yet
// polygons' point lists). Everything else is read past by its extent.
#ifndef KELP_GEOMETRY_JSON_JSONDOCUMENT_H
#define KELP_GEOMETRY_JSON_JSONDOCUMENT_H

#include "json/JsonFields.h"
#include "json/JsonTokens.h"

#include <Kelp>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelp {

// A block of `repeat` closed polygons of `count` vertices each, one after
// the other: their vertex numbers consecutive from `first`, or listed in
// JsonDocument::listedVertices from index `first`; they are primitives
// `primitive`, `primitive` + 1, ... of the file.
struct PolygonBlock {
    std::uint64_t first = 0;
    std::uint32_t count = 0;
    std::uint32_t repeat = 0;
    std::uint32_t primitive = 0;
    bool listed = false;
};

// A packed primitive ("PackedGeometry" or "PackedFragment") whose geometry is
// embedded in the same document: where it goes, and which embedded geometry.
struct PackedPiece {
    std::string key; // "embedded" of its parameters
    bool fragment = false;
    // A fragment shows the primitives of its geometry whose string attribute
    // `attribute` holds `value`.
    std::string attribute = "name";
    std::string value;
    double transform[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}; // row-vector 3 x 3
    double pivot[3] = {0, 0, 0};
    std::int64_t vertex = -1; // its one vertex, whose point places it
    std::uint32_t primitive = 0;
    std::size_t offset = 0; // where the primitive is in the file
};

// A string attribute of primitives, kept so that fragments can select by it.
struct PrimitiveStrings {
    std::string name;
    std::vector<std::string> strings;
    std::vector<std::int32_t> indices; // one per primitive, -1 for none
};

struct JsonDocument {
    std::string fileVersion;
    std::uint64_t pointCount = 0;
    std::uint64_t vertexCount = 0;
    std::uint64_t primitiveCount = 0;
    bool havePointCount = false;
    bool haveVertexCount = false;
    bool havePrimitiveCount = false;
    // The first section sized from the counts ("topology", "attributes" or
    // "primitives"), null until one is read: no count may come after it.
    const char *firstSizedSection = nullptr;

    // The point number of every vertex, in vertex order. Once read it holds
    // exactly vertexCount entries; before that, no vertex is backed by the
    // file and nothing sized by vertices may grow.
    IndexArray topology;
    bool haveTopology = false;
    // Vertices owned by the polygon runs read so far (each vertex belongs
    // to one primitive): never more than the topology holds.
    std::uint64_t primitiveVertices = 0;

    // "P" (vector, one value per point), and the other point and vertex
    // attributes the model can hold, with one value per point or per vertex
    // (vertex values still in the file's vertex order).
    AttributeData position;
    bool havePosition = false;
    std::vector<AttributeData> pointAttributes;
    std::vector<AttributeData> vertexAttributes;
    // The primitive attributes that colour the mesh, "Cd" (three reals, a
    // vector) and "Alpha" (one real, a float), with one value per primitive
    // in file order; the others are only counted.
    std::vector<AttributeData> primitiveAttributes;
    std::uint32_t primitiveAttributeCount = 0;
    std::uint32_t globalAttributeCount = 0;
    std::uint32_t pointGroupCount = 0;
    std::uint32_t primitiveGroupCount = 0;

    // The kept polygons in file order, in blocks, and how many polygons and
    // vertices they hold.
    std::vector<PolygonBlock> polygons;
    std::uint64_t polygonCount = 0;
    std::uint64_t polygonVertices = 0;
    std::vector<std::uint32_t> listedVertices;
    // Primitives met so far in the "primitives" section, kept or read past:
    // the number of the next one.
    std::uint64_t primitivesRead = 0;
    // What was read past, by kind (see skipPrimitives).
    std::uint64_t skippedPacked = 0;
    std::uint64_t skippedPackedDisk = 0;
    std::uint64_t skippedCurves = 0;
    std::uint64_t skippedSoups = 0;
    std::uint64_t skippedOther = 0;

    // Packed geometry: how deep this document is embedded (0 for the file
    // itself), the packed pieces to expand (numbered with primitivesRead),
    // the primitive string attributes, and the embedded documents by key.
    unsigned depth = 0;
    std::vector<PackedPiece> packed;
    std::vector<PrimitiveStrings> primitiveStrings;
    std::vector<std::pair<std::string, std::shared_ptr<JsonDocument>>> embedded;
    // The primitive colours the move into the model gave to the polygons'
    // vertices; the faces of packed pieces then take them from their own
    // packed primitive.
    std::vector<std::string> spreadColours;
};

// Embedded geometry nested deeper than this fails the load.
const unsigned kMaxPackedDepth = 8;

// Counts n primitives of the type (the definition's "type", or "Poly" for
// open polygons) as read past, by kind: packed, packed disk, curves, polygon
// soups or other.
void skipPrimitives(JsonDocument &doc, std::string_view type, std::uint64_t n);

// Adds `repeat` closed polygons of `count` vertices from vertex (or listed
// vertex) `first` on, the next primitives in file order.
void keepPolygons(JsonDocument &doc, std::uint64_t first, std::uint32_t count, std::uint32_t repeat,
                  bool listed);

// The last primitive attribute of the name (a later record of a name takes
// the place of an earlier one), or null.
const AttributeData *lastPrimitiveAttribute(const JsonDocument &doc, const std::string &name);

// An attribute named and kinded as `like`, with its defaults and no values.
AttributeData emptyLike(const AttributeData &like);

// Reads the document from the reader's position (after the magic). False
// with the reason recorded in the reader.
bool readDocument(TokenReader &reader, JsonDocument &doc, bool trace);

// The sections, each reading its value from the reader's position; the
// counts must have been read before them.
bool readAttributes(TokenReader &reader, JsonDocument &doc, bool trace);
bool readPrimitives(TokenReader &reader, JsonDocument &doc, bool trace);
// "sharedprimitivedata": the embedded documents, each read once (JsonPacked.cpp).
bool readSharedData(TokenReader &reader, JsonDocument &doc, bool trace);
// The body of a primitive string attribute (JsonPacked.cpp).
bool readPrimitiveStrings(TokenReader &reader, JsonDocument &doc, std::string_view name);
// One field of a packed primitive into the piece (JsonPacked.cpp).
bool readPackedField(TokenReader &reader, std::string_view key, PackedPiece &piece);

} // namespace kelp

#endif
