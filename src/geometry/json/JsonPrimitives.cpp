// The "primitives" section: closed polygons from every form Houdini writes
// them in (polygon runs "Polygon_run"/"p_r" with per-polygon or run-length
// vertex counts, runs of "Poly" with listed vertices, single "Poly"), kept
// in file order as vertex numbers, with the primitive number of each (every
// primitive counts, kept or not), and packed primitives whose geometry is
// embedded in the file (single or in runs), kept for JsonPacked.cpp to
// expand. Everything else (particle systems, whose points are loaded anyway,
// open curves, packed primitives that refer to other files, volume, quadric
// and spline primitives) is read past by its extent.
#include "json/JsonDocument.h"

#include "json/JsonFields.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <string_view>

namespace kelp {

namespace {

const std::int64_t kMaxCount = 0xFFFFFFFFLL;

struct Definition {
    std::string_view type;
    std::string_view runType;
    std::vector<std::string_view> varyingFields;
    bool closed = true; // from "uniformfields"
    PackedPiece packed; // packed fields given in "uniformfields"
};

bool isExpandedPacked(std::string_view type) {
    return type == "PackedGeometry" || type == "PackedFragment";
}

// A packed primitive with its fields read: kept when its geometry is
// embedded, read past otherwise.
void addPacked(JsonDocument &doc, std::string_view type, PackedPiece &piece, std::size_t at) {
    if (piece.key.empty()) {
        skipPrimitives(doc, type, 1);
        return;
    }
    piece.fragment = type == "PackedFragment";
    piece.primitive = static_cast<std::uint32_t>(doc.primitivesRead++);
    piece.offset = at;
    doc.packed.push_back(piece);
}

bool readDefinition(TokenReader &reader, Definition &def) {
    return readObject(reader, "primitive definition", [&](std::string_view key) {
        if (key == "type")
            return readString(reader, def.type, "type");
        if (key == "runtype")
            return readString(reader, def.runType, "runtype");
        if (key == "varyingfields")
            return readStringArray(reader, def.varyingFields, "varyingfields");
        if (key == "uniformfields")
            return readObject(reader, "uniformfields", [&](std::string_view field) {
                return field == "closed" ? readBool(reader, def.closed, "closed")
                                         : readPackedField(reader, field, def.packed);
            });
        return reader.skipValue();
    });
}

// The vertices a polygon run owns, against what the topology holds: every
// vertex belongs to one primitive, so all runs together own no more
// vertices than the topology read (else a few bytes of runs over the same
// range could add the topology's polygons again and again). Checked before
// anything is added. Listed vertices need no such total: each one is a
// value read from the file.
bool ownVertices(TokenReader &reader, JsonDocument &doc, std::uint64_t n, std::size_t at) {
    const std::uint64_t held = doc.topology.size();
    if (n > held - std::min(held, doc.primitiveVertices))
        return reader.fail("polygon runs own more than the " + std::to_string(held) +
                               " vertices of the topology",
                           at);
    doc.primitiveVertices += n;
    return true;
}

// The highest vertex number a primitive may name: the topology read so far
// (none before it), whatever "vertexcount" says.
std::int64_t highestVertex(const JsonDocument &doc) {
    return static_cast<std::int64_t>(doc.topology.size()) - 1;
}

bool addListed(TokenReader &reader, JsonDocument &doc, const std::vector<std::int64_t> &vertices,
               std::size_t at) {
    if (vertices.empty()) {
        ++doc.primitivesRead; // a primitive with nothing to show
        return true;
    }
    if (vertices.size() > kMaxCount)
        return reader.fail("polygon of " + std::to_string(vertices.size()) + " vertices", at);
    const std::uint64_t first = doc.listedVertices.size();
    doc.listedVertices.insert(doc.listedVertices.end(), vertices.begin(), vertices.end());
    keepPolygons(doc, first, static_cast<std::uint32_t>(vertices.size()), 1, true);
    return true;
}

// One field of a polygon with listed vertices: the vertices, whether it is
// closed, or anything else, read past.
bool readPolygonField(TokenReader &reader, std::string_view field, std::int64_t maxVertex,
                      std::vector<std::int64_t> &vertices, bool &closed) {
    if (field == "vertex")
        return readIntOrIntArray(reader, 0, maxVertex, vertices, "vertex");
    if (field == "closed")
        return readBool(reader, closed, "closed");
    return reader.skipValue();
}

// A polygon with listed vertices once read: kept when closed, counted as
// read past when open.
bool keepListed(TokenReader &reader, JsonDocument &doc, const std::vector<std::int64_t> &vertices,
                bool closed, std::size_t at) {
    if (reader.failed())
        return false;
    if (!closed) {
        skipPrimitives(doc, "Poly", 1);
        return true;
    }
    return addListed(reader, doc, vertices, at);
}

// The fields of a polygon run: its start vertex, the polygon count it
// states, and its vertex counts per polygon or as (count, repeat) pairs.
struct RunFields {
    std::int64_t start = -1, primitives = -1;
    std::vector<std::int64_t> counts, runs;
    bool haveCounts = false, haveRuns = false;
};

// Runs are checked against the topology actually read (held vertices), not
// the count the file states.
bool readRunFields(TokenReader &reader, std::uint64_t held, RunFields &run, std::size_t at) {
    const std::int64_t maxVertex = static_cast<std::int64_t>(held);
    const bool ok = readObject(reader, "polygon run", [&](std::string_view key) {
        if (key == "s_v" || key == "startvertex")
            return readIntIn(reader, 0, maxVertex, run.start, "startvertex");
        if (key == "n_p" || key == "nprimitives")
            return readIntIn(reader, 0, kMaxCount, run.primitives, "nprimitives");
        if (key == "n_v" || key == "nvertices")
            return run.haveCounts = readIntArray(reader, 0, maxVertex, run.counts, "nvertices");
        if (key == "r_v" || key == "nvertices_rle")
            return run.haveRuns = readIntArray(reader, 0, kMaxCount, run.runs, "nvertices_rle");
        return reader.skipValue();
    });
    if (!ok)
        return false;
    if (run.start < 0)
        return reader.fail("polygon run without a start vertex", at);
    if (run.haveCounts == run.haveRuns)
        return reader.fail("polygon run needs either vertex counts or run-length counts", at);
    if (run.haveRuns && run.runs.size() % 2 != 0)
        return reader.fail("run-length counts of a polygon run come in pairs", at);
    return true;
}

// Totals first, so that nothing is expanded from counts the topology cannot
// back: a run of n-vertex polygons adds at most one polygon per vertex of
// the topology.
bool runTotals(TokenReader &reader, const RunFields &run, std::uint64_t held,
               std::uint64_t &polygonTotal, std::uint64_t &vertexTotal, std::size_t at) {
    polygonTotal = 0;
    vertexTotal = 0;
    const std::uint64_t room = held - static_cast<std::uint64_t>(run.start);
    if (run.haveCounts) {
        polygonTotal = run.counts.size();
        for (std::int64_t n : run.counts) {
            vertexTotal += static_cast<std::uint64_t>(n); // each at most the topology size
            if (vertexTotal > room)
                break;
        }
    } else {
        for (std::size_t k = 0; k < run.runs.size(); k += 2) {
            const std::uint64_t n = static_cast<std::uint64_t>(run.runs[k]);
            const std::uint64_t repeat = static_cast<std::uint64_t>(run.runs[k + 1]);
            polygonTotal += repeat;
            if (n && repeat > (room - std::min(room, vertexTotal)) / n)
                return reader.fail("polygon run of " + std::to_string(repeat) + " polygons of " +
                                       std::to_string(n) + " vertices from vertex " +
                                       std::to_string(run.start) + " passes the " +
                                       std::to_string(held) + " vertices of the topology",
                                   at);
            vertexTotal += n * repeat;
        }
    }
    if (vertexTotal > room)
        return reader.fail("polygon run of " + std::to_string(vertexTotal) +
                               " vertices from vertex " + std::to_string(run.start) +
                               " passes the " + std::to_string(held) + " vertices of the topology",
                           at);
    if (run.primitives >= 0 && static_cast<std::uint64_t>(run.primitives) != polygonTotal)
        return reader.fail("polygon run says " + std::to_string(run.primitives) +
                               " polygons but has " + std::to_string(polygonTotal),
                           at);
    return true;
}

// The polygons of a checked run: consecutive vertices from its start, a
// block for each (count, repeat) pair or for each stretch of equal counts.
void keepRunPolygons(JsonDocument &doc, const RunFields &run) {
    std::uint64_t first = static_cast<std::uint64_t>(run.start);
    auto add = [&](std::uint64_t n, std::uint64_t repeat) {
        if (n == 0) {
            doc.primitivesRead += repeat; // polygons without vertices have nothing to show
            return;
        }
        keepPolygons(doc, first, static_cast<std::uint32_t>(n), static_cast<std::uint32_t>(repeat),
                     false);
        first += n * repeat;
    };
    if (run.haveCounts) {
        for (std::int64_t n : run.counts)
            add(static_cast<std::uint64_t>(n), 1);
        return;
    }
    for (std::size_t k = 0; k < run.runs.size(); k += 2)
        add(static_cast<std::uint64_t>(run.runs[k]), static_cast<std::uint64_t>(run.runs[k + 1]));
}

// A polygon run: consecutive vertices from the start vertex, the counts given
// per polygon or as (count, repeat) pairs.
bool readPolygonRun(TokenReader &reader, JsonDocument &doc, bool closed) {
    const std::size_t at = reader.offset();
    const std::uint64_t held = doc.topology.size();
    RunFields run;
    std::uint64_t polygonTotal, vertexTotal;
    if (!readRunFields(reader, held, run, at) ||
        !runTotals(reader, run, held, polygonTotal, vertexTotal, at) ||
        !ownVertices(reader, doc, vertexTotal, at))
        return false;
    if (!closed) {
        skipPrimitives(doc, "Poly", polygonTotal);
        return true;
    }
    keepRunPolygons(doc, run);
    return true;
}

// A single primitive: "Poly" keeps its vertices when closed; the others are
// read past.
bool readSingle(TokenReader &reader, JsonDocument &doc, const Definition &def) {
    if (isExpandedPacked(def.type)) {
        const std::size_t at = reader.offset();
        PackedPiece piece;
        if (!readObject(reader, "packed primitive",
                        [&](std::string_view key) { return readPackedField(reader, key, piece); }))
            return false;
        addPacked(doc, def.type, piece, at);
        return true;
    }
    if (def.type != "Poly") {
        skipPrimitives(doc, def.type, 1);
        return reader.skipValue();
    }
    const std::size_t at = reader.offset();
    const std::int64_t maxVertex = highestVertex(doc);
    std::vector<std::int64_t> vertices;
    bool closed = true;
    return readObject(reader, "polygon",
                      [&](std::string_view key) {
                          return readPolygonField(reader, key, maxVertex, vertices, closed);
                      }) &&
           keepListed(reader, doc, vertices, closed, at);
}

// A run of primitives of one type, each row holding the varying fields in
// the order the definition lists them. Rows of "Poly" become polygons.
bool readRun(TokenReader &reader, JsonDocument &doc, const Definition &def) {
    if (isExpandedPacked(def.runType)) {
        // Each row starts from the uniform fields.
        ArrayReader rows(reader, "run");
        while (rows.nextElement()) {
            const std::size_t at = reader.offset();
            PackedPiece piece = def.packed;
            ArrayReader row(reader, "run row");
            for (std::size_t field = 0; row.nextElement(); ++field) {
                if (!(field < def.varyingFields.size()
                          ? readPackedField(reader, def.varyingFields[field], piece)
                          : reader.skipValue()))
                    return false;
            }
            if (reader.failed())
                return false;
            addPacked(doc, def.runType, piece, at);
        }
        return !reader.failed();
    }
    if (def.runType != "Poly") {
        // Count the rows while reading them past.
        ArrayReader rows(reader, "run");
        while (rows.nextElement()) {
            skipPrimitives(doc, def.runType, 1);
            if (!reader.skipValue())
                return false;
        }
        return !reader.failed();
    }
    const std::int64_t maxVertex = highestVertex(doc);
    ArrayReader rows(reader, "run");
    std::vector<std::int64_t> vertices;
    while (rows.nextElement()) {
        const std::size_t at = reader.offset();
        bool closed = def.closed;
        vertices.clear();
        ArrayReader row(reader, "run row");
        for (std::size_t field = 0; row.nextElement(); ++field)
            if (!readPolygonField(reader,
                                  field < def.varyingFields.size() ? def.varyingFields[field]
                                                                   : std::string_view(),
                                  maxVertex, vertices, closed))
                return false;
        if (!keepListed(reader, doc, vertices, closed, at))
            return false;
    }
    return !reader.failed();
}

} // namespace

void skipPrimitives(JsonDocument &doc, std::string_view type, std::uint64_t n) {
    const auto startsWith = [&](std::string_view prefix) {
        return type.substr(0, prefix.size()) == prefix;
    };
    if (type == "PackedDisk")
        doc.skippedPackedDisk += n;
    else if (startsWith("Packed") || type == "AlembicRef")
        doc.skippedPacked += n;
    else if (type == "PolySoup")
        doc.skippedSoups += n;
    else if (type == "NURBCurve" || type == "BezierCurve" || type == "Poly")
        doc.skippedCurves += n;
    else
        doc.skippedOther += n;
    doc.primitivesRead += n;
}

void keepPolygons(JsonDocument &doc, std::uint64_t first, std::uint32_t count, std::uint32_t repeat,
                  bool listed) {
    if (repeat == 0)
        return;
    const std::uint64_t primitive = doc.primitivesRead;
    doc.primitivesRead += repeat;
    doc.polygonCount += repeat;
    doc.polygonVertices += std::uint64_t{count} * repeat;
    if (!doc.polygons.empty()) {
        // The same shape right after the last block: it grows.
        PolygonBlock &last = doc.polygons.back();
        if (last.listed == listed && last.count == count &&
            last.first + std::uint64_t{last.count} * last.repeat == first &&
            last.primitive + std::uint64_t{last.repeat} == primitive &&
            std::uint64_t{last.repeat} + repeat <= UINT32_MAX) {
            last.repeat += repeat;
            return;
        }
    }
    PolygonBlock block;
    block.first = first;
    block.count = count;
    block.repeat = repeat;
    block.primitive = static_cast<std::uint32_t>(primitive);
    block.listed = listed;
    doc.polygons.push_back(block);
}

bool readPrimitives(TokenReader &reader, JsonDocument &doc, bool trace) {
    ArrayReader list(reader, "primitives");
    while (list.nextElement()) {
        const std::size_t at = reader.offset();
        ArrayReader entry(reader, "primitive");
        Definition def;
        if (!entry.nextElement() || !readDefinition(reader, def))
            return reader.fail("primitive without a definition", at);
        if (!entry.nextElement())
            return reader.fail("primitive \"" + std::string(def.type) + "\" without data", at);
        const std::uint64_t before = doc.polygonCount;
        bool ok;
        if (def.type == "p_r" || def.type == "Polygon_run")
            ok = readPolygonRun(reader, doc, true);
        else if (def.type == "c_r" || def.type == "PolygonCurve_run")
            ok = readPolygonRun(reader, doc, false); // open polygons: checked, not kept
        else if (def.type == "run")
            ok = readRun(reader, doc, def);
        else
            ok = readSingle(reader, doc, def);
        if (!ok)
            return false;
        if (entry.nextElement())
            return reader.fail("primitive \"" + std::string(def.type) +
                                   "\" has more than a definition and data",
                               at);
        if (reader.failed())
            return false;
        if (trace)
            std::cerr << "primitive " << def.type << (def.runType.empty() ? "" : " of ")
                      << def.runType << ": " << doc.polygonCount - before << " polygons kept\n";
    }
    return !reader.failed();
}

} // namespace kelp
