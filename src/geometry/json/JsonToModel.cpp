// From the document's file terms to the model: polygons become point lists
// through the topology, and vertex values are reordered to the order of the
// polygons' vertices (the model numbers vertices polygon by polygon; the file
// numbers them over all primitives, including those read past).
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

} // namespace

void JsonLoader::fill(Kelp &model, JsonDocument &doc) {
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
    addSkipped(model.skippedPrimitives.packed, doc.skippedPacked);
    addSkipped(model.skippedPrimitives.curves, doc.skippedCurves);
    addSkipped(model.skippedPrimitives.other, doc.skippedOther);

    model.createPointVectorAttr("P");
    AttributeData &position =
        model.pointAttributes[static_cast<std::size_t>(model.attrExists("P", "POINT"))];
    position.vector_data = std::move(doc.position.vector_data);
    position.vector_default = doc.position.vector_default;
    for (AttributeData &record : doc.pointAttributes)
        model.pointAttributes.push_back(std::move(record));

    // Polygons, and whether their vertices are simply 0, 1, 2, ... in order
    // (then vertex values need no reordering).
    const std::vector<std::uint32_t> &topology = doc.topology;
    std::uint64_t next = 0;
    bool inOrder = true;
    for (const PolygonRef &ref : doc.polygons) {
        inOrder = inOrder && !ref.listed && ref.first == next;
        next = ref.first + ref.count;
    }
    inOrder = inOrder && next == doc.vertexCount;
    std::vector<std::uint32_t> order;
    if (!inOrder) {
        std::uint64_t total = 0;
        for (const PolygonRef &ref : doc.polygons)
            total += ref.count;
        order.reserve(static_cast<std::size_t>(total));
    }
    std::uint64_t vertices = 0;
    model.polygons.reserve(model.polygons.size() + doc.polygons.size());
    for (const PolygonRef &ref : doc.polygons) {
        model.polygons.emplace_back();
        PolygonData &polygon = model.polygons.back();
        polygon.numberOfVertices = ref.count;
        polygon.ids.resize(ref.count);
        std::uint32_t *ids = polygon.ids.data();
        if (ref.listed) {
            const std::uint32_t *listed = doc.listedVertices.data() + ref.first;
            for (std::uint32_t k = 0; k < ref.count; ++k)
                ids[k] = topology[listed[k]];
            if (!inOrder)
                order.insert(order.end(), listed, listed + ref.count);
        } else {
            const std::uint32_t *points = topology.data() + ref.first;
            std::copy(points, points + ref.count, ids);
            if (!inOrder)
                for (std::uint32_t k = 0; k < ref.count; ++k)
                    order.push_back(static_cast<std::uint32_t>(ref.first + k));
        }
        vertices += ref.count;
    }

    for (AttributeData &record : doc.vertexAttributes) {
        if (!inOrder) {
            gather(record.float_data, order);
            gather(record.int_data, order);
            gather(record.vector_data, order);
        }
        model.vertexAttributes.push_back(std::move(record));
    }

    model.numberOfVertices = static_cast<std::uint32_t>(vertices);
    if (!doc.polygons.empty()) {
        model.tempInt = 1; // the classic polygon type
        model.tempChar = '<';
        model.numberOfPolygons =
            static_cast<std::uint16_t>(std::min<std::size_t>(doc.polygons.size(), 0xFFFF));
    }
}

} // namespace kelp
