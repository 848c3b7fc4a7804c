#include "classic/DetailWalk.h"

#include "io/BlockBuffer.h"
#include "io/ByteOrder.h"
#include "classic/Encoding.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <streambuf>

namespace kelp {

namespace {

typedef Imath::Vec3<float> V3f;

// Output without a trace: values are encoded straight into the block buffer.
class FastOut {
public:
    FastOut(BlockBuffer &buffer, bool binary) : m_buffer(buffer), m_binary(binary) {}

    template <typename T> void num(T value, const char *label, int writeLabel) {
        if (m_binary) {
            m_buffer.putBig(value);
        } else {
            if (writeLabel)
                m_buffer.append(label, std::strlen(label));
            m_buffer.putText(value);
        }
    }
    void vec(const V3f &value, const char *) {
        if (m_binary) {
            m_buffer.putBig(value.x);
            m_buffer.putBig(value.y);
            m_buffer.putBig(value.z);
        } else {
            m_buffer.putText(value.x);
            m_buffer.append(' ');
            m_buffer.putText(value.y);
            m_buffer.append(' ');
            m_buffer.putText(value.z);
        }
    }
    void str(const std::string &text, const char *) { m_buffer.append(text.data(), text.size()); }
    void chr(char c, const char *) { m_buffer.append(c); }
    // Text that only the text form carries; not traced.
    void text(const char *literal) { m_buffer.append(literal, std::strlen(literal)); }
    void trace(const char *) {}
    template <typename T> void traceValue(T) {}
    // The buffer, for whole records written in bulk (binary form only).
    BlockBuffer *bulk() { return m_binary ? &m_buffer : nullptr; }

private:
    BlockBuffer &m_buffer;
    bool m_binary;
};

inline char *putBE32(char *at, const void *value) {
    std::uint32_t bits;
    std::memcpy(&bits, value, 4);
    storeU32BE(reinterpret_cast<unsigned char *>(at), bits);
    return at + 4;
}

// Where the values of one attribute come from: one float or three per element.
struct Column {
    const float *data;
    std::size_t words;
};

// A stream buffer that hands its characters to a BlockBuffer.
class BlockStreamBuf : public std::streambuf {
public:
    explicit BlockStreamBuf(BlockBuffer &buffer) : m_buffer(buffer) {}

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        m_buffer.append(traits_type::to_char_type(c));
        return c;
    }
    std::streamsize xsputn(const char *s, std::streamsize n) override {
        m_buffer.append(s, static_cast<std::size_t>(n));
        return n;
    }

private:
    BlockBuffer &m_buffer;
};

// Output with the trace: every value goes through the encoders, which echo
// it with its label to standard error.
class TracedOut {
public:
    TracedOut(std::ostream &stream, bool binary) : m_stream(stream), m_binary(binary ? 1 : 0) {}

    template <typename T> void num(T value, const char *label, int writeLabel) {
        writeSwitchEndian(m_stream, value, label, m_binary, writeLabel);
    }
    void vec(const V3f &value, const char *label) {
        writeVectorSwitchEndian(m_stream, value, label, m_binary);
    }
    void str(const std::string &text, const char *label) {
        writeString(m_stream, text, static_cast<int>(text.size()), label);
    }
    void chr(char c, const char *label) { writeChar(m_stream, c, label); }
    void text(const char *literal) {
        m_stream.write(literal, static_cast<std::streamsize>(std::strlen(literal)));
    }
    void trace(const char *message) { std::cerr << message; }
    template <typename T> void traceValue(T value) { std::cerr << value; }
    BlockBuffer *bulk() { return nullptr; }

private:
    std::ostream &m_stream;
    int m_binary;
};

// The attributes a file can carry: one float, or three floats stored with
// type 5 (vector) or type 0 ("uv" from the mesh export, colours), whose values
// are kept in vector_data.
bool isFloat(const AttributeData &a) {
    return a.type == 0 && a.size == 1;
}
bool isVector(const AttributeData &a) {
    return a.size == 3 && (a.type == 0 || a.type == 5);
}

std::string describe(const char *kind, std::size_t index, const AttributeData &a) {
    return std::string(kind) + " attribute " + std::to_string(index) + " \"" +
           a.name.substr(0, 64) + (a.name.size() > 64 ? "...\"" : "\"");
}

std::string mapEntry(const std::string &name) {
    std::string entry = name + " -> ";
    for (char c : name)
        entry += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return entry;
}

// The entry as a quoted text-form string.
std::string quoted(const std::string &text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::uint64_t skippedTotal(const SkippedPrimitives &skipped) {
    return skipped.total();
}

// Why one attribute of count elements cannot be saved; empty when it can.
std::string attributeProblem(const char *kind, std::size_t index, const AttributeData &a,
                             std::size_t count, const char *elements) {
    if (a.name.size() > DetailWalk::kMaxNameLength)
        return describe(kind, index, a) + ": its name of " + std::to_string(a.name.size()) +
               " bytes is longer than the 32767 a file can hold";
    if (isFloat(a)    ? a.float_data.size() < count
        : isVector(a) ? a.vector_data.size() < count
                      : false)
        return describe(kind, index, a) + ": fewer values than " + elements;
    if (!isFloat(a) && !isVector(a))
        return describe(kind, index, a) + ": size " + std::to_string(a.size) + " and type " +
               std::to_string(a.type) + " cannot be saved (one float or three floats can)";
    return std::string();
}

} // namespace

std::string DetailWalk::pointProblem(const Kelp &d) {
    const std::vector<AttributeData> &pa = d.pointAttributes;
    if (pa.empty()) {
        if (d.numberOfPoints != 0 || d.numberOfPointAttributes != 0)
            return "the detail has " + std::to_string(d.numberOfPoints) +
                   " points but no position attribute";
    } else {
        if (pa[0].vector_data.size() < d.numberOfPoints)
            return "the detail has " + std::to_string(d.numberOfPoints) + " points but only " +
                   std::to_string(pa[0].vector_data.size()) + " positions";
        if (d.numberOfPointAttributes != pa.size() - 1)
            return "the point attribute count " + std::to_string(d.numberOfPointAttributes) +
                   " differs from the " + std::to_string(pa.size() - 1) + " point attributes held";
    }
    for (std::size_t i = 1; i < pa.size(); ++i) {
        std::string why = attributeProblem("point", i, pa[i], d.numberOfPoints, "points");
        if (!why.empty())
            return why;
    }
    return std::string();
}

// Why the polygons disagree with the primitive count or their own vertex
// counts; vertices is set to the number of vertices they hold.
std::string DetailWalk::polygonProblem(const Kelp &d, std::size_t &vertices) {
    vertices = 0;
    if (d.numberOfPrimitives == 0)
        return std::string();
    if (d.numberOfPrimitives != d.polygons.size() + skippedTotal(d.skippedPrimitives))
        return "the primitive count " + std::to_string(d.numberOfPrimitives) +
               " differs from the " + std::to_string(d.polygons.size()) + " polygons held";
    for (std::size_t p = 0; p < d.polygons.size(); ++p) {
        const PolygonData &poly = d.polygons[p];
        if (poly.numberOfVertices != poly.ids.size())
            return "polygon " + std::to_string(p) + " has " +
                   std::to_string(poly.numberOfVertices) + " vertices but " +
                   std::to_string(poly.ids.size()) + " point indices";
        vertices += poly.ids.size();
    }
    return std::string();
}

std::string DetailWalk::mapProblem(const Kelp &d) {
    const std::vector<AttributeData> &pa = d.pointAttributes;
    if (d.numberOfAttributes == 0)
        return std::string();
    if (pa.size() > 1 + 32767)
        return "too many point attributes for the attribute-name map";
    for (std::size_t i = 1; i < pa.size(); ++i)
        if (2 * pa[i].name.size() + 4 > kMaxNameLength)
            return describe("point", i, pa[i]) +
                   ": its name is too long for the attribute-name map (16381 bytes at most)";
    return std::string();
}

namespace {

// The columns of the attributes, and the bytes they take in one record.
std::vector<Column> columnsOf(const std::vector<AttributeData> &attributes, std::size_t first,
                              std::size_t &recordBytes) {
    std::vector<Column> columns;
    for (std::size_t i = first; i < attributes.size(); ++i) {
        const AttributeData &a = attributes[i];
        if (a.size == 1)
            columns.push_back({a.float_data.data(), 1});
        else
            columns.push_back({reinterpret_cast<const float *>(a.vector_data.data()), 3});
        recordBytes += 4 * columns.back().words;
    }
    return columns;
}

inline char *putColumns(char *at, const std::vector<Column> &columns, std::size_t element) {
    for (const Column &c : columns)
        for (std::size_t k = 0; k < c.words; ++k)
            at = putBE32(at, c.data + c.words * element + k);
    return at;
}

} // namespace

std::string DetailWalk::problem() const {
    const Kelp &d = m_detail;
    const std::vector<AttributeData> &va = d.vertexAttributes;
    std::string why = pointProblem(d);
    if (!why.empty())
        return why;
    if (d.numberOfVertexAttributes != va.size())
        return "the vertex attribute count " + std::to_string(d.numberOfVertexAttributes) +
               " differs from the " + std::to_string(va.size()) + " vertex attributes held";
    std::size_t vertices = 0;
    why = polygonProblem(d, vertices);
    if (!why.empty())
        return why;
    for (std::size_t j = 0; j < va.size(); ++j) {
        why = attributeProblem("vertex", j, va[j], vertices, "vertices");
        if (!why.empty())
            return why;
    }
    return mapProblem(d);
}

template <class Out> void DetailWalk::writeHeader(Out &out) {
    Kelp &d = m_detail;
    const bool bin = m_binary;
    d.tempHeader = 5;
    out.str(bin ? std::string("BgeoV") : std::string("PGEOMETRY V"), "");
    out.num(d.tempHeader, "", 0);
    // The counts of what this walk writes: the polygons (not the primitives a
    // load read past), no groups and no primitive attributes, and of the
    // detail attributes only the attribute-name map.
    const std::uint32_t primitives =
        d.numberOfPrimitives != 0 ? static_cast<std::uint32_t>(d.polygons.size()) : 0;
    out.num(d.numberOfPoints, "\nNPoints ", 1);
    out.num(primitives, " NPrims ", 1);
    out.num(std::uint32_t(0), "\nNPointGroups ", 1);
    out.num(std::uint32_t(0), " NPrimGroups ", 1);
    out.num(d.numberOfPointAttributes, "\nNPointAttrib ", 1);
    out.num(d.numberOfVertexAttributes, " NVertexAttrib ", 1);
    out.num(std::uint32_t(0), " NPrimAttrib ", 1);
    out.num(std::uint32_t(d.numberOfAttributes != 0 ? 1 : 0), " NAttrib ", 1);
    if (!bin)
        out.text("\n");
}

// "P" is never listed.
template <class Out> void DetailWalk::writePointDictionary(Out &out) {
    const Kelp &d = m_detail;
    const bool bin = m_binary;
    if (!bin && d.numberOfPointAttributes != 0)
        out.text("PointAttrib\n");
    for (std::size_t i = 1; i <= d.numberOfPointAttributes; ++i) {
        const AttributeData &a = d.pointAttributes[i];
        if (bin)
            out.num(static_cast<std::int16_t>(a.name.size()), "\nLAN: ", 0);
        out.str(a.name, "");
        out.num(a.size, " ", 1);
        if (bin)
            out.num(a.type, " ", 1);
        if (a.size == 1) {
            if (!bin)
                out.text(" float");
            out.num(a.float_default, " ", 1);
        } else if (a.size == 3) {
            if (!bin)
                out.text(" vector ");
            out.vec(a.vector_default, " ");
        }
        if (!bin)
            out.text("\n");
    }
    if (bin)
        out.trace("\n");
}

// Binary without a trace: whole point records at once. Returns the first
// point left to write value by value (all of them when a record does not fit
// a block).
std::uint32_t DetailWalk::writePointRecords(BlockBuffer &bb) {
    const Kelp &d = m_detail;
    const std::vector<AttributeData> &pa = d.pointAttributes;
    std::size_t record = 16;
    const std::vector<Column> columns = columnsOf(pa, 1, record);
    if (record > BlockBuffer::kBlockSize)
        return 0;
    const float one = 1.0f;
    const float *pos = reinterpret_cast<const float *>(pa[0].vector_data.data());
    for (std::uint32_t p = 0; p < d.numberOfPoints; ++p) {
        char *at = bb.room(record);
        at = putBE32(at, pos + 3 * std::size_t(p));
        at = putBE32(at, pos + 3 * std::size_t(p) + 1);
        at = putBE32(at, pos + 3 * std::size_t(p) + 2);
        at = putBE32(at, &one);
        putColumns(at, columns, p);
        bb.commit(record);
    }
    return d.numberOfPoints;
}

// Position, weight 1, then the other point attributes.
template <class Out> void DetailWalk::writePoints(Out &out) {
    const Kelp &d = m_detail;
    const bool bin = m_binary;
    const std::vector<AttributeData> &pa = d.pointAttributes;
    std::vector<std::string> pointLabels;
    for (std::size_t i = 1; i < pa.size(); ++i)
        pointLabels.push_back(" " + pa[i].name + ": ");
    std::uint32_t firstSlowPoint = 0;
    if (BlockBuffer *bb = d.numberOfPoints != 0 ? out.bulk() : nullptr)
        firstSlowPoint = writePointRecords(*bb);
    for (std::uint32_t p = firstSlowPoint; p < d.numberOfPoints; ++p) {
        out.vec(pa[0].vector_data[p], "P: ");
        out.num(1.0f, " ", 1);
        if (pa.size() > 1) {
            if (!bin)
                out.text(" (");
            for (std::size_t i = 1; i < pa.size(); ++i) {
                const AttributeData &a = pa[i];
                out.trace("writting other point attrs ");
                if (!bin && i > 1)
                    out.text("\t");
                if (a.size == 1)
                    out.num(a.float_data[p], pointLabels[i - 1].c_str(), 0);
                else
                    out.vec(a.vector_data[p], pointLabels[i - 1].c_str());
            }
            if (!bin)
                out.text(")");
        }
        if (bin)
            out.trace("\n");
        else
            out.text("\n");
    }
}

template <class Out> void DetailWalk::writeVertexDictionary(Out &out) {
    const Kelp &d = m_detail;
    const bool bin = m_binary;
    for (std::size_t j = 0; j < d.numberOfVertexAttributes; ++j) {
        const AttributeData &a = d.vertexAttributes[j];
        out.trace("vertex attr: ");
        out.traceValue(j);
        if (!bin && j == 0)
            out.text("VertexAttrib\n");
        if (bin)
            out.num(static_cast<std::int16_t>(a.name.size()), "vertex attribute name length: ", 0);
        out.str(a.name, "vertex attribute name: ");
        out.num(a.size, " ", 1);
        if (bin)
            out.num(static_cast<std::int32_t>(a.name == "uv" ? 0 : a.type),
                    "vertex attribute Type: ", 0);
        if (a.type == 0 && a.size == 1) {
            if (!bin)
                out.text(" float ");
            out.num(a.float_default, "vertex attribute float default: ", 0);
        } else if ((a.type == 0 && a.size == 3) || a.type == 5) {
            if (!bin)
                out.text(" vector ");
            out.vec(a.vector_default, "vertex attribute vector default: ");
        }
        if (!bin)
            out.text("\n");
    }
}

template <class Out> void DetailWalk::writeRunHeader(Out &out, std::uint16_t run) {
    if (m_binary) {
        out.trace("\n");
        out.num(static_cast<std::int32_t>(-1), "poly header: ", 0);
        out.num(run, " ", 0);
        out.num(m_detail.tempInt, " ", 0);
    } else {
        out.text("Run");
        out.num(run, " ", 1);
        out.text(" Poly\n");
    }
}

// Binary without a trace: whole polygon records of polys[p, end) at once,
// up to the first one too large for a block. Returns where it stopped.
std::size_t DetailWalk::writePolygonRecords(BlockBuffer &bb, std::size_t p, std::size_t end,
                                            PolygonCursor &at) {
    const Kelp &d = m_detail;
    const bool wide = d.numberOfPoints > kMaxShortIndexPoints;
    std::size_t vertexBytes = wide ? 4 : 2;
    // Vertex attributes are one float (type 0, size 1) or three.
    std::vector<Column> columns;
    for (const AttributeData &a : d.vertexAttributes) {
        if (a.type == 0 && a.size == 1)
            columns.push_back({a.float_data.data(), 1});
        else
            columns.push_back({reinterpret_cast<const float *>(a.vector_data.data()), 3});
        vertexBytes += 4 * columns.back().words;
    }
    std::size_t v = at.vertex;
    std::uint32_t maxId = at.maxId;
    for (; p < end; ++p) {
        const PolygonData &poly = d.polygons[p];
        const std::uint32_t n = poly.numberOfVertices;
        const std::size_t bytes = 5 + n * vertexBytes;
        if (bytes > BlockBuffer::kBlockSize)
            break; // a huge polygon: value by value
        char *out = bb.room(bytes);
        out = putBE32(out, &n);
        *out++ = d.tempPolyV;
        const std::uint32_t *ids = poly.ids.data();
        for (std::uint32_t k = 0; k < n; ++k, ++v) {
            const std::uint32_t id = ids[k];
            maxId = std::max(maxId, id);
            if (wide) {
                out = putBE32(out, &id);
            } else {
                out[0] = static_cast<char>(id >> 8);
                out[1] = static_cast<char>(id);
                out += 2;
            }
            out = putColumns(out, columns, v);
        }
        at.anyId = at.anyId || n != 0;
        bb.commit(bytes);
    }
    at.vertex = v;
    at.maxId = maxId;
    return p;
}

template <class Out>
void DetailWalk::writePolygon(Out &out, const PolygonData &poly,
                              const std::vector<std::string> &vertexLabels, PolygonCursor &at) {
    const Kelp &d = m_detail;
    const bool bin = m_binary;
    const bool wide = d.numberOfPoints > kMaxShortIndexPoints;
    const std::vector<AttributeData> &va = d.vertexAttributes;
    out.trace("\n");
    out.num(poly.numberOfVertices, " ", 1);
    if (bin) {
        out.chr(d.tempPolyV, " ");
    } else {
        out.text(" ");
        out.chr('<', " ");
    }
    const std::uint32_t *ids = poly.ids.data();
    for (std::uint32_t k = 0; k < poly.numberOfVertices; ++k, ++at.vertex) {
        const std::uint32_t id = ids[k];
        at.maxId = std::max(at.maxId, id);
        at.anyId = true;
        if (!bin)
            out.num(id, " ", 1);
        else if (wide)
            out.num(id, " ", 0);
        else
            out.num(static_cast<std::uint16_t>(id), " ", 0);
        if (va.empty())
            continue;
        if (!bin)
            out.text(" (");
        for (std::size_t j = 0; j < va.size(); ++j) {
            const AttributeData &a = va[j];
            if (!bin && j > 0)
                out.text("\t");
            if (a.type == 0 && a.size == 1)
                out.num(a.float_data[at.vertex], vertexLabels[j].c_str(), 0);
            else
                out.vec(a.vector_data[at.vertex], vertexLabels[j].c_str());
        }
        if (!bin)
            out.text(")");
    }
    if (!bin)
        out.text("\n");
}

// Polygons, in runs of at most 65535, each with its own run header.
template <class Out> void DetailWalk::writePrimitives(Out &out) {
    const Kelp &d = m_detail;
    if (d.numberOfPrimitives == 0)
        return;
    const std::vector<PolygonData> &polys = d.polygons;
    std::vector<std::string> vertexLabels;
    for (const AttributeData &a : d.vertexAttributes)
        vertexLabels.push_back(a.name + ": ");
    PolygonCursor at;
    for (std::size_t start = 0; start < polys.size(); start += kMaxRun) {
        const std::size_t end = std::min(polys.size(), start + kMaxRun);
        writeRunHeader(out, static_cast<std::uint16_t>(end - start));
        std::size_t p = start;
        if (BlockBuffer *bb = out.bulk())
            p = writePolygonRecords(*bb, p, end, at);
        for (; p < end; ++p)
            writePolygon(out, polys[p], vertexLabels, at);
    }
    out.trace("\n");
    m_badIndex = at.anyId && at.maxId >= d.numberOfPoints;
}

// The detail attributes: only the attribute-name map.
template <class Out> void DetailWalk::writeDetailAttributes(Out &out) {
    Kelp &d = m_detail;
    const bool bin = m_binary;
    const std::vector<AttributeData> &pa = d.pointAttributes;
    if (d.numberOfAttributes == 0)
        return;
    if (pa.size() != 1)
        d.varMapping = 1;
    const std::size_t count = pa.empty() ? 0 : pa.size() - 1;
    if (bin) {
        out.num(static_cast<std::int16_t>(6), "varmap String length: ", 0);
        out.str(std::string("varmap"), "varmap string: ");
        out.num(d.varMapping, "are we varMapping: ", 0);
        out.num(static_cast<std::int16_t>(0), "var mapping value: ", 0);
        out.num(static_cast<std::int16_t>(4), "var mapping value: ", 0);
        out.num(static_cast<std::int16_t>(0), "var mapping value: ", 0);
        out.num(static_cast<std::int16_t>(count), "number of varible maps: ", 0);
    } else {
        // Text form: a detail attribute dictionary as real text files carry it.
        out.text("DetailAttrib\nvarmap 1 index");
        out.num(static_cast<std::int16_t>(count), " ", 1);
    }
    for (std::size_t i = 1; i <= count; ++i) {
        const std::string entry = mapEntry(pa[i].name);
        const std::int16_t length = static_cast<std::int16_t>(entry.size());
        out.trace("var map : ");
        out.traceValue(i);
        out.trace("nattr namelength: ");
        out.traceValue(length);
        if (bin) {
            out.num(length, "mapping lenght: ", 0);
            out.str(entry, "varMapping: ");
        } else {
            out.text(" ");
            out.str(quoted(entry), "varMapping: ");
        }
    }
    if (!bin)
        out.text("\n (0)\n");
}

template <class Out> void DetailWalk::writeEnd(Out &out) {
    if (m_binary)
        out.num(static_cast<std::int16_t>(255), "", 0);
    else
        out.text("beginExtra\nendExtra\n");
}

// The walk writes no groups: its header counts none.
template <class Out> void DetailWalk::walk(Out &out) {
    writeHeader(out);
    writePointDictionary(out);
    writePoints(out);
    writeVertexDictionary(out);
    writePrimitives(out);
    writeDetailAttributes(out);
    writeEnd(out);
}

bool DetailWalk::write(ByteSink &sink, bool traced) {
    m_error.clear();
    m_badIndex = false;
    BlockBuffer buffer(sink);
    if (traced) {
        BlockStreamBuf streamBuf(buffer);
        std::ostream stream(&streamBuf);
        TracedOut out(stream, m_binary);
        walk(out);
        stream.flush();
    } else {
        FastOut out(buffer, m_binary);
        walk(out);
    }
    if (m_badIndex) {
        m_error = "a polygon names a point beyond the " + std::to_string(m_detail.numberOfPoints) +
                  " points of the detail";
        return false;
    }
    return buffer.flush(); // the sink says what failed
}

} // namespace kelp
