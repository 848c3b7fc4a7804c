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
AttributeData spreadOverVertices(const AttributeData &perPrimitive, const JsonDocument &doc,
                                 std::uint64_t vertices) {
    AttributeData record = emptyLike(perPrimitive);
    const bool vector = record.type == 5;
    if (vector)
        record.vector_data.reserve(static_cast<std::size_t>(vertices));
    else
        record.float_data.reserve(static_cast<std::size_t>(vertices));
    const std::vector<PrimitiveSpan> &spans = doc.primitiveSpans;
    PrimitiveSpan span; // kept polygon 0 is primitive 0 unless a span says otherwise
    std::size_t nextSpan = 0;
    for (std::size_t k = 0; k < doc.polygons.size(); ++k) {
        if (nextSpan < spans.size() && spans[nextSpan].polygon == k)
            span = spans[nextSpan++];
        const std::uint64_t primitive = span.primitive + (k - span.polygon);
        const std::uint32_t n = doc.polygons[k].count;
        if (vector) {
            const bool have = primitive < perPrimitive.vector_data.size();
            const Imath::Vec3<float> value =
                have ? perPrimitive.vector_data[static_cast<std::size_t>(primitive)]
                     : perPrimitive.vector_default;
            record.vector_data.insert(record.vector_data.end(), n, value);
        } else {
            const bool have = primitive < perPrimitive.float_data.size();
            const float value = have ? perPrimitive.float_data[static_cast<std::size_t>(primitive)]
                                     : perPrimitive.float_default;
            record.float_data.insert(record.float_data.end(), n, value);
        }
    }
    return record;
}

// Whether the polygons' vertices are simply 0, 1, 2, ... in order: then
// vertex values need no reordering.
bool verticesInOrder(const JsonDocument &doc) {
    std::uint64_t next = 0;
    for (const PolygonRef &ref : doc.polygons) {
        if (ref.listed || ref.first != next)
            return false;
        next = ref.first + ref.count;
    }
    return next == doc.vertexCount;
}

// The polygons as point lists; when order is given, it receives the file's
// vertex number of every polygon vertex in model order. Returns the
// vertices added.
std::uint64_t movePolygons(std::vector<PolygonData> &polygons, const JsonDocument &doc,
                           std::vector<std::uint32_t> *order) {
    const std::vector<std::uint32_t> &topology = doc.topology;
    std::uint64_t vertices = 0;
    for (const PolygonRef &ref : doc.polygons)
        vertices += ref.count;
    if (order)
        order->reserve(static_cast<std::size_t>(vertices));
    polygons.reserve(polygons.size() + doc.polygons.size());
    for (const PolygonRef &ref : doc.polygons) {
        polygons.emplace_back();
        PolygonData &polygon = polygons.back();
        polygon.numberOfVertices = ref.count;
        polygon.ids.resize(ref.count);
        std::uint32_t *ids = polygon.ids.data();
        if (ref.listed) {
            const std::uint32_t *listed = doc.listedVertices.data() + ref.first;
            for (std::uint32_t k = 0; k < ref.count; ++k)
                ids[k] = topology[listed[k]];
            if (order)
                order->insert(order->end(), listed, listed + ref.count);
        } else {
            const std::uint32_t *points = topology.data() + ref.first;
            std::copy(points, points + ref.count, ids);
            if (order)
                for (std::uint32_t k = 0; k < ref.count; ++k)
                    order->push_back(static_cast<std::uint32_t>(ref.first + k));
        }
    }
    return vertices;
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
    const std::uint64_t vertices = movePolygons(model.polygons, doc, inOrder ? nullptr : &order);
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
    if (!doc.polygons.empty() || !doc.packed.empty())
        for (const char *name : {"Cd", "Alpha"}) {
            const AttributeData *perPrimitive = lastPrimitiveAttribute(doc, name);
            if (!perPrimitive || model.attrExists(name, "VERTEX") >= 0 ||
                model.attrExists(name, "POINT") >= 0)
                continue;
            model.vertexAttributes.push_back(spreadOverVertices(*perPrimitive, doc, vertices));
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
