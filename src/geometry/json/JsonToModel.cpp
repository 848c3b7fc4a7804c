// From the document's file terms to the model: polygons become point lists
// through the topology, and vertex values are reordered to the order of the
// polygons' vertices (the model numbers vertices polygon by polygon; the file
// numbers them over all primitives, including those read past).
//
// The primitive colours "Cd" and "Alpha" become vertex attributes of the same
// name, each vertex of a kept polygon holding its primitive's value, since
// the model holds no primitive attributes. Where the file has the name on
// more than one class, the vertex attribute wins, then the point attribute,
// then the primitive one (the order in which the mesh reader looks for a
// colour): a primitive colour is spread over the vertices only when the file
// has no vertex and no point attribute of that name.
#include "json/JsonLoader.h"

#include "io/HugePages.h"
#include "json/JsonDocument.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace kelp {

namespace {

template <class T> void gather(std::vector<T> &values, const std::vector<std::uint32_t> &order) {
    if (values.empty())
        return;
    std::vector<T> out(order.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        out[k] = values[order[k]];
    values.swap(out);
}

void addSkipped(std::uint32_t &total, std::uint64_t n) {
    const std::uint64_t sum = total + n;
    total = sum > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(sum);
}

// One value per primitive, as one value per vertex of the kept polygons, in
// the model's vertex order. A primitive beyond the values (a file whose
// primitive count falls short of its primitives) takes the default.
template <class T>
void spreadValues(std::vector<T> &out, const std::vector<T> &perPrimitive, const T &fallback,
                  const JsonDocument &doc) {
    reserveHuge(out, static_cast<std::size_t>(doc.polygonVertices));
    out.resize(static_cast<std::size_t>(doc.polygonVertices));
    T *to = out.data();
    for (const PolygonBlock &block : doc.polygons)
        for (std::uint32_t r = 0; r < block.repeat; ++r) {
            const std::uint64_t primitive = std::uint64_t{block.primitive} + r;
            const T value = primitive < perPrimitive.size()
                                ? perPrimitive[static_cast<std::size_t>(primitive)]
                                : fallback;
            to = std::fill_n(to, block.count, value);
        }
}

AttributeData spreadOverVertices(const AttributeData &perPrimitive, const JsonDocument &doc) {
    AttributeData record = emptyLike(perPrimitive);
    if (record.type == 5)
        spreadValues(record.vector_data, perPrimitive.vector_data, perPrimitive.vector_default,
                     doc);
    else
        spreadValues(record.float_data, perPrimitive.float_data, perPrimitive.float_default, doc);
    return record;
}

// Whether the polygons' vertices are simply 0, 1, 2, ... in order: then
// vertex values need no reordering.
bool verticesInOrder(const JsonDocument &doc) {
    std::uint64_t next = 0;
    for (const PolygonBlock &block : doc.polygons) {
        if (block.listed || block.first != next)
            return false;
        next = block.first + std::uint64_t{block.count} * block.repeat;
    }
    return next == doc.vertexCount;
}

template <std::uint32_t N> inline void copyIds(std::uint32_t *ids, const std::uint32_t *from) {
    for (std::uint32_t k = 0; k < N; ++k)
        ids[k] = from[k];
}

// The point ids of n polygons of `count` vertices each, from the vertex
// numbers at `vertices` (the next n * count of them), into the polygons at
// `out`.
void fillPolygons(PolygonData *out, std::uint32_t n, std::uint32_t count,
                  const std::uint32_t *topology, const std::uint32_t *listed, std::uint64_t first) {
    for (std::uint32_t r = 0; r < n; ++r, ++out) {
        out->numberOfVertices = count;
        out->ids.resize(count);
        std::uint32_t *ids = out->ids.data();
        const std::uint64_t at = first + std::uint64_t{r} * count;
        if (listed) {
            const std::uint32_t *from = listed + at;
            for (std::uint32_t k = 0; k < count; ++k)
                ids[k] = topology[from[k]];
        } else if (count == 3) { // triangles and quads, the common shapes
            copyIds<3>(ids, topology + at);
        } else if (count == 4) {
            copyIds<4>(ids, topology + at);
        } else {
            const std::uint32_t *from = topology + at;
            for (std::uint32_t k = 0; k < count; ++k)
                ids[k] = from[k];
        }
    }
}

// The file's vertex number of every polygon vertex, in model order.
std::vector<std::uint32_t> vertexOrder(const JsonDocument &doc) {
    std::vector<std::uint32_t> order;
    reserveHuge(order, static_cast<std::size_t>(doc.polygonVertices));
    order.resize(static_cast<std::size_t>(doc.polygonVertices));
    std::uint32_t *to = order.data();
    for (const PolygonBlock &block : doc.polygons) {
        const std::uint64_t n = std::uint64_t{block.count} * block.repeat;
        if (block.listed) {
            const std::uint32_t *from = doc.listedVertices.data() + block.first;
            to = std::copy(from, from + n, to);
        } else {
            for (std::uint64_t k = 0; k < n; ++k)
                *to++ = static_cast<std::uint32_t>(block.first + k);
        }
    }
    return order;
}

// The polygons as point lists, sized once and filled block by block.
void movePolygons(std::vector<PolygonData> &polygons, const JsonDocument &doc) {
    const std::size_t start = polygons.size();
    const std::size_t total = start + static_cast<std::size_t>(doc.polygonCount);
    reserveHuge(polygons, total);
    polygons.resize(total);
    PolygonData *out = polygons.data() + start;
    for (const PolygonBlock &block : doc.polygons) {
        fillPolygons(out, block.repeat, block.count, doc.topology.data(),
                     block.listed ? doc.listedVertices.data() : nullptr, block.first);
        out += block.repeat;
    }
}

} // namespace

// The header counts, and what was read past by kind.
void JsonLoader::moveCounts(Kelp &model, const JsonDocument &doc) {
    model.numberOfPoints = static_cast<std::uint32_t>(doc.pointCount);
    model.numberOfPrimitives = static_cast<std::uint32_t>(doc.primitiveCount);
    model.numberOfPointGroups = doc.pointGroupCount;
    model.numberOfPrimitiveGroups = doc.primitiveGroupCount;
    model.numberOfPointAttributes = static_cast<std::uint32_t>(doc.pointAttributes.size());
    model.numberOfVertexAttributes = static_cast<std::uint32_t>(doc.vertexAttributes.size());
    model.numberOfPrimitiveAttributes = doc.primitiveAttributeCount;
    model.numberOfAttributes = doc.globalAttributeCount;
    // The classic version, should the model ever be saved.
    model.tempHeader = 5;
    SkippedPrimitives &skipped = model.skippedPrimitives;
    addSkipped(skipped.packed, doc.skippedPacked);
    addSkipped(skipped.packedDisk, doc.skippedPackedDisk);
    addSkipped(skipped.curves, doc.skippedCurves);
    addSkipped(skipped.soups, doc.skippedSoups);
    addSkipped(skipped.other, doc.skippedOther);
}

void JsonLoader::fill(Kelp &model, JsonDocument &doc) {
    moveCounts(model, doc);

    model.createPointVectorAttr("P");
    AttributeData &position =
        model.pointAttributes[static_cast<std::size_t>(model.attrExists("P", "POINT"))];
    position.vector_data = std::move(doc.position.vector_data);
    position.vector_default = doc.position.vector_default;
    for (AttributeData &record : doc.pointAttributes)
        model.pointAttributes.push_back(std::move(record));

    const bool inOrder = verticesInOrder(doc);
    std::vector<std::uint32_t> order;
    if (!inOrder && !doc.vertexAttributes.empty())
        order = vertexOrder(doc);
    movePolygons(model.polygons, doc);
    const std::uint64_t vertices = doc.polygonVertices;
    for (AttributeData &record : doc.vertexAttributes) {
        if (!inOrder) {
            gather(record.float_data, order);
            gather(record.int_data, order);
            gather(record.vector_data, order);
        }
        model.vertexAttributes.push_back(std::move(record));
    }

    // Packed pieces become polygons too: their faces take the colour of
    // their packed primitive, as the document's own polygons take theirs.
    doc.spreadColours.clear();
    if (doc.polygonCount > 0 || !doc.packed.empty())
        for (const char *name : {"Cd", "Alpha"}) {
            const AttributeData *perPrimitive = lastPrimitiveAttribute(doc, name);
            if (!perPrimitive || model.attrExists(name, "VERTEX") >= 0 ||
                model.attrExists(name, "POINT") >= 0)
                continue;
            model.vertexAttributes.push_back(spreadOverVertices(*perPrimitive, doc));
            ++model.numberOfVertexAttributes;
            doc.spreadColours.push_back(name);
        }

    model.numberOfVertices = static_cast<std::uint32_t>(vertices);
    markPolygons(model);
}

void JsonLoader::markPolygons(Kelp &model) {
    if (model.polygons.empty())
        return;
    model.tempInt = 1; // the classic polygon type
    model.tempChar = '<';
    model.numberOfPolygons =
        static_cast<std::uint16_t>(std::min<std::size_t>(model.polygons.size(), 0xFFFF));
}

} // namespace kelp
