// The document a JSON-based save writes: the keys and forms of Houdini's own
// files (fileversion, the counts, info, topology as one int32 array, point
// and vertex attributes as paged values in binary or tuples in text, and all
// polygons as one polygon run), nothing else.
#include "json/JsonSaver.h"

#include "classic/SaveForm.h"
#include "io/BloscPack.h"
#include "io/GzipWriter.h"
#include "io/OutputFile.h"
#include "json/JsonWriter.h"

#include <cstdint>
#include <ctime>
#include <iostream>
#include <limits>

namespace kelp {

namespace {

// The schema version the documents follow: that of the newest files read.
const char *const kFileVersion = "19.5.403";
const std::int64_t kPageSize = 1024;

std::string nowUtc() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
#ifdef _WIN32
    gmtime_s(&parts, &now);
#else
    gmtime_r(&now, &parts);
#endif
    char text[32];
    const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return std::string(text, n);
}

// One attribute as the document holds it: a tuple of `width` reals or one
// integer per element.
struct Column {
    const AttributeData *record = nullptr;
    bool real = true;
    int width = 1;
    const float *reals = nullptr; // element-major, width per element
    const std::int32_t *ints = nullptr;
    std::vector<float> pairs; // two-component tuples, gathered from the vectors
};

// How the model's record is written; false for records that hold no values
// the document can carry (index and other codes). Fails on a count mismatch.
bool columnOf(const AttributeData &record, std::size_t elements, const char *owner,
              const char *owners, Column &column, std::string &error, bool &usable) {
    usable = true;
    column.record = &record;
    std::size_t have = 0;
    if (record.type == 5 || (record.type == 0 && record.size == 3)) {
        have = record.vector_data.size();
        column.width = record.size == 2 ? 2 : 3;
        if (have == elements && column.width == 2) {
            column.pairs.resize(2 * have);
            for (std::size_t k = 0; k < have; ++k) {
                column.pairs[2 * k] = record.vector_data[k].x;
                column.pairs[2 * k + 1] = record.vector_data[k].y;
            }
            column.reals = column.pairs.data();
        } else if (have) {
            column.reals = &record.vector_data[0].x;
        }
    } else if (record.type == 0) {
        have = record.float_data.size();
        column.reals = record.float_data.data();
    } else if (record.type == 1) {
        have = record.int_data.size();
        column.real = false;
        column.ints = record.int_data.data();
    } else {
        usable = false;
        return true;
    }
    if (have != elements) {
        error = std::string(owner) + " attribute \"" + record.name + "\" has " +
                std::to_string(have) + " values for " + std::to_string(elements) + " " + owners;
        return false;
    }
    return true;
}

const char *typeInfo(const AttributeData &record, bool point, int width) {
    if (point && record.name == "P")
        return "point";
    if (record.name == "N")
        return "normal";
    if (record.name == "Cd")
        return "color";
    // Texture coordinates: "uv" and its numbered sets, and the float triples
    // the mesh export makes of every UV set.
    if (record.name.compare(0, 2, "uv") == 0 || (record.type == 0 && record.size == 3))
        return "texturecoord";
    if (width > 1)
        return "vector";
    return nullptr;
}

void writeDefaults(TokenWriter &w, const Column &c) {
    const AttributeData &r = *c.record;
    w.beginArray();
    w.string("size");
    if (!c.real) {
        const std::int64_t value = r.int_default;
        w.integer(1);
        w.string("storage");
        w.string("int64");
        w.string("values");
        w.uniformInt64(&value, 1);
    } else {
        double values[3] = {r.float_default, r.float_default, r.float_default};
        if (c.width > 1) {
            values[0] = r.vector_default.x;
            values[1] = r.vector_default.y;
            values[2] = r.vector_default.z;
        }
        bool same = true;
        for (int k = 1; k < c.width; ++k)
            same = same && values[k] == values[0];
        const int n = same ? 1 : c.width;
        w.integer(n);
        w.string("storage");
        w.string("fpreal64");
        w.string("values");
        w.uniformReal64(values, static_cast<std::size_t>(n));
    }
    w.endArray();
}

void writeValues(TokenWriter &w, const Column &c, std::size_t elements) {
    w.beginArray();
    w.string("size");
    w.integer(c.width);
    w.string("storage");
    w.string(c.real ? "fpreal32" : "int32");
    if (w.binary()) {
        // No page is marked constant, so the raw page data is every value,
        // element after element.
        w.string("pagesize");
        w.integer(kPageSize);
        w.string("rawpagedata");
        if (c.real)
            w.uniformReal32(c.reals, elements * static_cast<std::size_t>(c.width));
        else
            w.uniformInt32(c.ints, elements);
    } else if (c.width > 1) {
        w.string("tuples");
        w.beginArray();
        for (std::size_t e = 0; e < elements; ++e)
            w.uniformReal32(c.reals + e * static_cast<std::size_t>(c.width),
                            static_cast<std::size_t>(c.width));
        w.endArray();
    } else {
        w.string("arrays");
        w.beginArray();
        if (c.real)
            w.uniformReal32(c.reals, elements);
        else
            w.uniformInt32(c.ints, elements);
        w.endArray();
    }
    w.endArray();
}

void writeAttribute(TokenWriter &w, const Column &c, bool point, std::size_t elements) {
    w.beginArray();
    w.beginArray();
    w.string("scope");
    w.string("public");
    w.string("type");
    w.string("numeric");
    w.string("name");
    w.string(c.record->name);
    w.string("options");
    w.beginMap();
    if (const char *info = typeInfo(*c.record, point, c.width)) {
        w.key("type");
        w.beginMap();
        w.key("type");
        w.string("string");
        w.key("value");
        w.string(info);
        w.endMap();
    }
    w.endMap();
    w.endArray();
    w.beginArray();
    w.string("size");
    w.integer(c.width);
    w.string("storage");
    w.string(c.real ? "fpreal32" : "int32");
    w.string("defaults");
    writeDefaults(w, c);
    w.string("values");
    writeValues(w, c, elements);
    w.endArray();
    w.endArray();
}

bool gatherColumns(const std::vector<AttributeData> &records, std::size_t elements,
                   const char *owner, const char *owners, std::vector<Column> &columns,
                   std::string &error) {
    columns.reserve(records.size());
    for (const AttributeData &record : records) {
        Column column;
        bool usable = false;
        if (!columnOf(record, elements, owner, owners, column, error, usable))
            return false;
        if (usable)
            columns.push_back(std::move(column));
    }
    return true;
}

// What a document is written from, checked before a byte is written.
struct Plan {
    const std::vector<PolygonData> *polygons = nullptr;
    std::size_t points = 0;
    std::size_t vertices = 0;
    std::vector<Column> pointColumns, vertexColumns;
};

bool planDocument(const Kelp &detail, Plan &plan, std::string &error) {
    const std::vector<PolygonData> &polygons = detail.getPolygons();
    const std::size_t points = detail.getNumPoints();
    if (points > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        error = std::to_string(points) + " points are more than the format numbers";
        return false;
    }

    // Topology: every polygon's point numbers, one vertex each, in order,
    // written from the polygons themselves once they are known to be good.
    std::size_t vertices = 0;
    for (std::size_t k = 0; k < polygons.size(); ++k) {
        vertices += polygons[k].ids.size();
        for (std::uint32_t id : polygons[k].ids) {
            if (id >= points) {
                error = "polygon " + std::to_string(k) + " uses point " + std::to_string(id) +
                        " of " + std::to_string(points);
                return false;
            }
        }
    }

    plan.polygons = &polygons;
    plan.points = points;
    plan.vertices = vertices;
    std::vector<Column> &pointColumns = plan.pointColumns;
    std::vector<Column> &vertexColumns = plan.vertexColumns;
    if (!gatherColumns(detail.getPointAttributes(), points, "point", "points", pointColumns,
                       error) ||
        !gatherColumns(detail.getVertexAttributes(), vertices, "vertex", "vertices", vertexColumns,
                       error))
        return false;
    bool havePosition = false;
    for (const Column &c : pointColumns)
        havePosition = havePosition || c.record->name == "P";
    if (!havePosition && points > 0) {
        error = "the detail has " + std::to_string(points) + " points and no \"P\"";
        return false;
    }
    return true;
}

// Room for the whole binary stream: the big arrays' bytes and some for the
// rest.
std::size_t binaryBytes(const Plan &plan) {
    std::size_t bytes = 4 * plan.vertices + 4 * plan.polygons->size() + 65536;
    for (const Column &c : plan.pointColumns)
        bytes += 4 * static_cast<std::size_t>(c.width) * plan.points + 1024;
    for (const Column &c : plan.vertexColumns)
        bytes += 4 * static_cast<std::size_t>(c.width) * plan.vertices + 1024;
    return bytes;
}

void writeCounts(const Plan &plan, const JsonStamp &stamp, TokenWriter &w) {
    w.string("fileversion");
    w.string(kFileVersion);
    w.string("pointcount");
    w.integer(static_cast<std::int64_t>(plan.points));
    w.string("vertexcount");
    w.integer(static_cast<std::int64_t>(plan.vertices));
    w.string("primitivecount");
    w.integer(static_cast<std::int64_t>(plan.polygons->size()));
    w.string("info");
    w.beginMap();
    w.key("software");
    w.string(stamp.software);
    w.key("date");
    w.string(stamp.date.empty() ? nowUtc() : stamp.date);
    w.endMap();
}

void writeTopology(const Plan &plan, TokenWriter &w) {
    w.string("topology");
    w.beginArray();
    w.string("pointref");
    w.beginArray();
    w.string("indices");
    // Gathered through a small reused block: a few calls for the whole array
    // rather than one per polygon.
    w.beginUniformInt32(plan.vertices);
    std::vector<std::uint32_t> block;
    block.reserve(65536);
    for (const PolygonData &p : *plan.polygons) {
        if (block.size() + p.ids.size() > block.capacity()) {
            w.uniformInt32Piece(block.data(), block.size());
            block.clear();
        }
        if (p.ids.size() > block.capacity())
            w.uniformInt32Piece(p.ids.data(), p.ids.size());
        else
            block.insert(block.end(), p.ids.begin(), p.ids.end());
    }
    w.uniformInt32Piece(block.data(), block.size());
    w.endUniformInt32();
    w.endArray();
    w.endArray();
}

void writeAttributes(const Plan &plan, TokenWriter &w) {
    w.string("attributes");
    w.beginArray();
    if (!plan.vertexColumns.empty()) {
        w.string("vertexattributes");
        w.beginArray();
        for (const Column &c : plan.vertexColumns)
            writeAttribute(w, c, false, plan.vertices);
        w.endArray();
    }
    if (!plan.pointColumns.empty()) {
        w.string("pointattributes");
        w.beginArray();
        // "P" first, as in every real file.
        for (const Column &c : plan.pointColumns)
            if (c.record->name == "P") {
                writeAttribute(w, c, true, plan.points);
                break;
            }
        bool positionDone = false;
        for (const Column &c : plan.pointColumns) {
            if (c.record->name == "P" && !positionDone) {
                positionDone = true;
                continue;
            }
            writeAttribute(w, c, true, plan.points);
        }
        w.endArray();
    }
    w.endArray();
}

// All polygons as one run from vertex 0: counts run-length encoded (count,
// repeat, ...) when that is shorter, else one count each, in the narrowest
// integers that hold them.
void writePrimitives(const Plan &plan, TokenWriter &w) {
    const std::vector<PolygonData> &polygons = *plan.polygons;
    const bool binary = w.binary();
    w.string("primitives");
    w.beginArray();
    if (!polygons.empty()) {
        std::vector<std::int32_t> runs, counts;
        counts.reserve(polygons.size());
        for (const PolygonData &p : polygons) {
            const std::int32_t n = static_cast<std::int32_t>(p.ids.size());
            counts.push_back(n);
            if (!runs.empty() && runs[runs.size() - 2] == n)
                ++runs.back();
            else {
                runs.push_back(n);
                runs.push_back(1);
            }
        }
        const bool rle = runs.size() < counts.size();
        w.beginArray();
        w.beginArray();
        w.string("type");
        w.string(binary ? "p_r" : "Polygon_run");
        w.endArray();
        w.beginArray();
        w.string(binary ? "s_v" : "startvertex");
        w.integer(0);
        w.string(binary ? "n_p" : "nprimitives");
        w.integer(static_cast<std::int64_t>(polygons.size()));
        if (rle) {
            w.string(binary ? "r_v" : "nvertices_rle");
            w.uniformIntNarrow(runs.data(), runs.size());
        } else {
            w.string(binary ? "n_v" : "nvertices");
            w.uniformIntNarrow(counts.data(), counts.size());
        }
        w.endArray();
        w.endArray();
    }
    w.endArray();
}

void writeDocument(const Plan &plan, const JsonStamp &stamp, TokenWriter &w) {
    w.beginArray();
    writeCounts(plan, stamp, w);
    writeTopology(plan, w);
    writeAttributes(plan, w);
    writePrimitives(plan, w);
    w.endArray();
}

} // namespace

bool writeJsonDocument(const Kelp &detail, bool binary, const JsonStamp &stamp,
                       std::vector<unsigned char> &out, std::string &error) {
    Plan plan;
    if (!planDocument(detail, plan, error))
        return false;
    TokenWriter w(binary);
    if (binary)
        w.reserve(binaryBytes(plan)); // never copied as it grows
    writeDocument(plan, stamp, w);
    out.swap(w.bytes());
    return true;
}

std::int32_t saveJsonForm(const Kelp &detail, const std::string &filename, const SaveForm &form) {
    const bool binary = form.kind == SaveForm::Binary;
    Plan plan;
    std::string problem;
    if (!planDocument(detail, plan, problem)) {
        std::cerr << "could not save file: " << filename << ": " << problem << "\n";
        return 0;
    }

    OutputFile file(filename);
    const bool opened = file.open();
    std::cerr << "JSON code saving file as: " << form.ext << " ("
              << (binary ? "binary JSON" : "ASCII JSON")
              << (form.blosc        ? " + Blosc"
                  : form.compressed ? " + gzip"
                                    : "")
              << ")\n";
    if (!opened) {
        std::cerr << file.error() << "\n";
        return 0;
    }

    // The document goes out block by block as it is written, through the
    // compressor when there is one; it is never whole in memory.
    bool done;
    std::string line; // what failed, when the file's own error does not say
    TokenWriter w(binary);
    if (form.blosc) {
        BloscWriter blosc(file);
        w.drainTo(blosc);
        writeDocument(plan, JsonStamp(), w);
        done = w.finish() && blosc.finish();
        if (!done && !blosc.compressionError().empty())
            line = "could not save file: " + filename + ": " + blosc.compressionError();
    } else if (form.compressed) {
        GzipWriter gzip(file, filename);
        w.drainTo(gzip);
        writeDocument(plan, JsonStamp(), w);
        done = w.finish() && gzip.finish();
        if (!done)
            line = gzip.error();
    } else {
        w.drainTo(file);
        writeDocument(plan, JsonStamp(), w);
        done = w.finish();
    }
    if (done)
        done = file.commit();
    if (!done) {
        if (line.empty())
            line = file.error();
        if (line.empty())
            line = "could not write file: " + filename;
        std::cerr << line << "\n";
        return 0;
    }
    return 1;
}

} // namespace kelp
