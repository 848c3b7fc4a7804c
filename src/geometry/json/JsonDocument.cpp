// The top level of a geometry document: a key/value list whose keys are
// looked up, not taken by position. The counts come first in every file
// Houdini writes, and the sections that are sized by them must follow them.
#include "json/JsonDocument.h"

#include "json/JsonFields.h"

#include <iostream>
#include <string>
#include <string_view>

namespace kelp {

namespace {

const std::int64_t kMaxCount = 0xFFFFFFFFLL;

bool needCounts(TokenReader &reader, const JsonDocument &doc, std::string_view key) {
    if (doc.havePointCount && doc.haveVertexCount)
        return true;
    return reader.fail("\"" + std::string(key) + "\" before the point and vertex counts");
}

// "topology": ["pointref", ["indices", [point of each vertex]]].
bool readTopology(TokenReader &reader, JsonDocument &doc) {
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
            std::int64_t n;
            ok = doc.havePointCount = readIntIn(reader, 0, kMaxCount, n, "pointcount");
            doc.pointCount = static_cast<std::uint64_t>(n);
        } else if (key == "vertexcount") {
            std::int64_t n;
            ok = doc.haveVertexCount = readIntIn(reader, 0, kMaxCount, n, "vertexcount");
            doc.vertexCount = static_cast<std::uint64_t>(n);
        } else if (key == "primitivecount") {
            std::int64_t n;
            ok = readIntIn(reader, 0, kMaxCount, n, "primitivecount");
            doc.primitiveCount = static_cast<std::uint64_t>(n);
        } else if (key == "topology") {
            ok = needCounts(reader, doc, key) && readTopology(reader, doc);
        } else if (key == "attributes") {
            ok = needCounts(reader, doc, key) && readAttributes(reader, doc, trace);
        } else if (key == "primitives") {
            ok = needCounts(reader, doc, key) && readPrimitives(reader, doc, trace);
        } else if (key == "pointgroups") {
            ok = countEntries(reader, doc.pointGroupCount, "pointgroups");
        } else if (key == "primitivegroups") {
            ok = countEntries(reader, doc.primitiveGroupCount, "primitivegroups");
        } else {
            // info, vertex and edge groups, shared primitive data (embedded
            // packed geometry), the seek index.
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
    if (!doc.polygons.empty() && !doc.haveTopology)
        return reader.fail("the file has polygons but no topology");
    return true;
}

} // namespace kelp
