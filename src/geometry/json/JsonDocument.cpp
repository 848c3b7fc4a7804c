// The top level of a geometry document: a key/value list whose keys are
// looked up, not taken by position. The counts come first in every file
// Houdini writes, each once, and the sections that are sized by them must
// follow them: a count given twice, or after a section it sizes, fails.
//
// What a load may allocate. Everything the reader holds is either
//  - proportional to bytes already known to be in the decompressed data: a
//    uniform array is checked against the bytes left before it is copied
//    (at most 8 bytes kept per byte read: int8 counts kept as int64, flag
//    bits as bytes), a plain array grows one element per token read, and
//    strings are copied (binary) or decoded (text with escapes) into no
//    more bytes than they take in the data; or
//  - what the elements actually present need in the model: one value per
//    point for each point attribute kept, one value per vertex for each
//    vertex attribute kept, one point id per vertex a polygon uses, and a
//    few words per block of polygons (at most one per polygon). Of the primitive attributes only the colours
//    are kept, one value per primitive, sized like point values from a
//    block that holds them, and spread over the kept polygons' vertices
//    only when the model is filled.
// The counts only size those second allocations once the file has shown
// the elements: vertices are the topology entries read (vertex values wait
// for the topology, and polygons may own no more vertices than it holds,
// checked before any polygon is added), and the values of a block are
// sized only after its data was checked to hold one value per element, or
// one tuple per constant page of at most 4096 elements. Points are those
// "P" holds, in the same way. So no count from the file can make a load
// grow past a small constant times the decompressed bytes plus the model
// the file describes; the JSON allocation tests measure it.
#include "json/JsonDocument.h"

#include "json/JsonFields.h"

#include <iostream>
#include <string>
#include <string_view>

namespace kelp {

namespace {

const std::int64_t kMaxCount = 0xFFFFFFFFLL;

// The start of a section sized from the counts: both element counts must be
// known, and from here on no count may change.
bool startSizedSection(TokenReader &reader, JsonDocument &doc, const char *key) {
    if (!doc.havePointCount || !doc.haveVertexCount)
        return reader.fail("\"" + std::string(key) + "\" before the point and vertex counts");
    if (!doc.firstSizedSection)
        doc.firstSizedSection = key;
    return true;
}

// One of the three counts, at most once and before the sections.
bool readCount(TokenReader &reader, JsonDocument &doc, const char *key, bool &have,
               std::uint64_t &count) {
    const std::size_t at = reader.offset();
    if (have)
        return reader.fail("\"" + std::string(key) + "\" given a second time", at);
    if (doc.firstSizedSection)
        return reader.fail("\"" + std::string(key) + "\" after \"" + doc.firstSizedSection +
                               "\"; the counts must come before the sections they size",
                           at);
    std::int64_t n;
    if (!readIntIn(reader, 0, kMaxCount, n, key))
        return false;
    count = static_cast<std::uint64_t>(n);
    have = true;
    return true;
}

// "topology": ["pointref", ["indices", [point of each vertex]]].
bool readTopology(TokenReader &reader, JsonDocument &doc) {
    if (doc.haveTopology)
        return reader.fail("a second \"topology\"");
    ObjectReader topology(reader, "topology");
    std::string_view key;
    while (topology.nextKey(key)) {
        if (key != "pointref") {
            if (!reader.skipValue())
                return false;
            continue;
        }
        ObjectReader pointref(reader, "pointref");
        while (pointref.nextKey(key)) {
            if (key != "indices") {
                if (!reader.skipValue())
                    return false;
                continue;
            }
            const std::size_t at = reader.offset();
            if (doc.haveTopology)
                return reader.fail("a second \"indices\" in \"topology\"", at);
            // Every entry must name one of the points.
            const std::uint32_t highest =
                doc.pointCount ? static_cast<std::uint32_t>(doc.pointCount - 1) : 0;
            if (!readUInt32Array(reader, highest, doc.topology, "indices"))
                return false;
            if (doc.topology.size() != doc.vertexCount)
                return reader.fail("topology has " + std::to_string(doc.topology.size()) +
                                       " vertices, the file says " +
                                       std::to_string(doc.vertexCount),
                                   at);
            if (doc.pointCount == 0 && !doc.topology.empty())
                return reader.fail("topology names points of a file without points", at);
            doc.haveTopology = true;
        }
    }
    return !reader.failed();
}

// Groups are not held; only their number is kept.
bool countEntries(TokenReader &reader, std::uint32_t &count, const char *what) {
    ArrayReader list(reader, what);
    while (list.nextElement()) {
        ++count;
        if (!reader.skipValue())
            return false;
    }
    return !reader.failed();
}

} // namespace

bool readDocument(TokenReader &reader, JsonDocument &doc, bool trace) {
    ObjectReader top(reader, "geometry");
    std::string_view key;
    while (top.nextKey(key)) {
        bool ok;
        if (key == "fileversion") {
            std::string_view version;
            ok = readString(reader, version, "fileversion");
            doc.fileVersion = std::string(version);
        } else if (key == "pointcount") {
            ok = readCount(reader, doc, "pointcount", doc.havePointCount, doc.pointCount);
        } else if (key == "vertexcount") {
            ok = readCount(reader, doc, "vertexcount", doc.haveVertexCount, doc.vertexCount);
        } else if (key == "primitivecount") {
            ok = readCount(reader, doc, "primitivecount", doc.havePrimitiveCount,
                           doc.primitiveCount);
        } else if (key == "topology") {
            ok = startSizedSection(reader, doc, "topology") && readTopology(reader, doc);
        } else if (key == "attributes") {
            ok = startSizedSection(reader, doc, "attributes") && readAttributes(reader, doc, trace);
        } else if (key == "primitives") {
            ok = startSizedSection(reader, doc, "primitives") && readPrimitives(reader, doc, trace);
        } else if (key == "pointgroups") {
            ok = countEntries(reader, doc.pointGroupCount, "pointgroups");
        } else if (key == "primitivegroups") {
            ok = countEntries(reader, doc.primitiveGroupCount, "primitivegroups");
        } else if (key == "sharedprimitivedata") {
            ok = readSharedData(reader, doc, trace);
        } else {
            // info, vertex and edge groups, the seek index.
            ok = reader.skipValue();
        }
        if (!ok)
            return false;
        if (trace && (key == "pointcount" || key == "vertexcount" || key == "primitivecount"))
            std::cerr << key << " "
                      << (key == "pointcount"    ? doc.pointCount
                          : key == "vertexcount" ? doc.vertexCount
                                                 : doc.primitiveCount)
                      << '\n';
    }
    if (reader.failed())
        return false;
    if (!doc.havePointCount || !doc.haveVertexCount)
        return reader.fail("the file has no point or vertex count");
    if (doc.pointCount > 0 && !doc.havePosition)
        return reader.fail("the file has " + std::to_string(doc.pointCount) +
                           " points but no \"P\" attribute");
    if (doc.polygonCount > 0 && !doc.haveTopology)
        return reader.fail("the file has polygons but no topology");
    return true;
}

const AttributeData *lastPrimitiveAttribute(const JsonDocument &doc, const std::string &name) {
    const AttributeData *found = nullptr;
    for (const AttributeData &record : doc.primitiveAttributes)
        if (record.name == name)
            found = &record;
    return found;
}

AttributeData emptyLike(const AttributeData &like) {
    AttributeData record;
    record.name = like.name;
    record.size = like.size;
    record.type = like.type;
    record.float_default = like.float_default;
    record.int_default = like.int_default;
    record.vector_default = like.vector_default;
    return record;
}

} // namespace kelp
