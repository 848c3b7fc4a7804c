#include "classic/ClassicLoader.h"

#include "io/HugePages.h"
#include "classic/LoadTrace.h"

#include <algorithm>
#include <cstring>

namespace kelp {

namespace {

const std::uint32_t kRunMarker = 0xFFFFFFFFu;
const std::uint32_t kPolygon = 0x1;
const std::uint32_t kParticles = 0x8000;
// A polygon's closure byte: '<' closed, ':' open (a polyline, which a mesh
// cannot show: read past and counted).
const char kOpen = ':';

void addSkipped(std::uint32_t &count, std::uint32_t more = 1) {
    count = count > UINT32_MAX - more ? UINT32_MAX : count + more;
}

// Smallest dictionary entry: name length, size and type with an empty name
// and no default.
const std::size_t kMinEntryBytes = 8;

std::string num(std::uint64_t v) {
    return std::to_string(v);
}

std::string hex(std::uint32_t v) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), digits[v & 15]);
        v >>= 4;
    } while (v);
    return "0x" + text;
}

std::string byteHex(unsigned char b) {
    static const char digits[] = "0123456789ABCDEF";
    return std::string("0x") + digits[b >> 4] + digits[b & 15];
}

Imath::Vec3<float> vectorAt(const unsigned char *p, std::int16_t size) {
    return Imath::Vec3<float>(loadF32BE(p), size > 1 ? loadF32BE(p + 4) : 0.0f,
                              size > 2 ? loadF32BE(p + 8) : 0.0f);
}

// Where the values of one destination attribute are written.
struct Sink {
    std::size_t offset; // within the element record
    int store;          // 0 float, 1 vector, 2 int, 3 nothing
    std::int16_t size;
    float *floats;
    Imath::Vec3<float> *vectors;
    std::int32_t *ints;
};

// The values grown to start + count (on huge pages where they can be), and
// where the new ones begin.
template <class Values>
typename Values::value_type *grownFrom(Values &values, std::size_t start, std::size_t count) {
    reserveHuge(values, start + count);
    values.resize(start + count);
    return values.data() + start;
}

template <class Plan>
std::vector<Sink> makeSinks(const std::vector<Plan> &plans, std::vector<AttributeData> *records,
                            std::size_t first, std::size_t start, std::size_t count,
                            std::size_t offset) {
    std::vector<Sink> sinks;
    for (std::size_t a = 0; a < plans.size(); ++a) {
        Sink s{offset, 3, plans[a].size, nullptr, nullptr, nullptr};
        if (records) {
            AttributeData &r = (*records)[first + a];
            switch (plans[a].store) {
            case decltype(plans[a].store)::Float:
                s.store = 0;
                s.floats = grownFrom(r.float_data, start, count);
                break;
            case decltype(plans[a].store)::Vector:
                s.store = 1;
                s.vectors = grownFrom(r.vector_data, start, count);
                break;
            case decltype(plans[a].store)::Int:
                r.int_data.resize(start + count);
                s.store = 2;
                s.ints = r.int_data.data() + start;
                break;
            default:
                break;
            }
        }
        sinks.push_back(s);
        offset += plans[a].bytes;
    }
    return sinks;
}

inline void storeElement(const Sink &s, const unsigned char *record, std::size_t element) {
    const unsigned char *p = record + s.offset;
    switch (s.store) {
    case 0:
        s.floats[element] = loadF32BE(p);
        break;
    case 1:
        s.vectors[element] = vectorAt(p, s.size);
        break;
    case 2:
        s.ints[element] = loadI32BE(p);
        break;
    default:
        break;
    }
}

} // namespace

ClassicLoader::ClassicLoader(Kelp &model, const unsigned char *data, std::size_t size)
    : m_model(model), m_ownCursor(data, size), m_cur(m_ownCursor) {}

ClassicLoader::ClassicLoader(Kelp &model, ByteCursor &cursor)
    : m_model(model), m_ownCursor(nullptr, 0), m_cur(cursor) {}

bool ClassicLoader::load(bool trace) {
    const auto parse = [this](auto &tr) { return run(tr); };
    // The model is left as far as it got; the caller throws it away.
    return parseTraced(trace, parse, [this] {
        m_error.clear();
        return fail("not enough memory to hold the " + std::string(m_section) + " (at byte " +
                    num(m_cur.offset()) + " of " + num(m_cur.size()) + ")");
    });
}

bool ClassicLoader::fail(const std::string &reason) {
    if (m_error.empty())
        m_error = reason;
    return false;
}

bool ClassicLoader::failEnded() {
    return fail("the file ends early in the " + std::string(m_section) + ": " +
                num(m_cur.failedWanted()) + " bytes needed at byte " + num(m_cur.failedAt()) +
                ", " + num(m_cur.size() - m_cur.failedAt()) + " left");
}

template <class Tr> bool ClassicLoader::run(Tr &tr) {
    if (!readHeader(tr))
        return false;
    tr.text("\nPointAttrib  : \n");
    m_model.createPointVectorAttr("P");
    m_pointIndex = static_cast<std::size_t>(m_model.attrExists("P", "POINT"));
    m_firstPointAttr = m_model.pointAttributes.size();
    m_section = "point attribute dictionary";
    if (!readDictionary(tr, Dict::Point, m_model.numberOfPointAttributes, m_pointPlans))
        return false;
    m_section = "point records";
    if (!readPoints(tr))
        return false;
    tr.text("VERTEX ATTRIBS \n");
    m_firstVertexAttr = m_model.vertexAttributes.size();
    m_section = "vertex attribute dictionary";
    if (!readDictionary(tr, Dict::Vertex, m_model.numberOfVertexAttributes, m_vertexPlans))
        return false;
    m_section = "primitive attribute dictionary";
    if (Tr::on && m_model.numberOfPrimitiveAttributes)
        tr.text("PRIMITIVE ATTRIBS \n");
    if (!readDictionary(tr, Dict::Primitive, m_model.numberOfPrimitiveAttributes, m_primPlans))
        return false;
    for (const Plan &p : m_vertexPlans)
        m_vertexBytes += p.bytes;
    for (const Plan &p : m_primPlans)
        m_primBytes += p.bytes;

    // The primitives are read once, checked and kept as they come; only a
    // file whose point index width is in doubt is read through first.
    const std::size_t start = m_cur.offset();
    unsigned width = 2;
    if (!chooseIndexWidth(start, width))
        return false;
    m_section = "primitives";
    if (m_model.numberOfPrimitives != 0 && !readPrimitives(tr, width))
        return false;
    return readEnd(tr);
}

bool ClassicLoader::scanToEnd(unsigned indexWidth) {
    m_section = "primitives";
    if (!scanPrimitives(indexWidth))
        return false;
    NoTrace quiet;
    return readEnd(quiet);
}

// Point indices are 16-bit while the point count fits in 16 bits and 32-bit
// above. Some writers switch to 32-bit from 65533 points on, so for 65533 to
// 65535 points the width is the one whose reading ends the file exactly; a
// file that reads to its end both ways, or neither way, is not loaded.
bool ClassicLoader::chooseIndexWidth(std::size_t start, unsigned &width) {
    const std::uint32_t points = m_model.numberOfPoints;
    if (points < 65533 || points > 65535 || m_model.numberOfPrimitives == 0) {
        width = points <= 65535 ? 2 : 4;
        return true;
    }
    // Both readings start here: the bytes are kept until the second is done.
    m_cur.hold();
    const bool narrow = scanToEnd(2);
    const std::string narrowError = m_error;
    m_error.clear();
    m_cur.rewind(start);
    const bool wide = scanToEnd(4);
    const std::string wideError = m_error;
    m_error.clear();
    if (narrow && wide)
        return fail("with " + num(points) +
                    " points the primitives read to the end of the file with 16-bit and with "
                    "32-bit point indices alike, so which points they name is unknown");
    if (!narrow && !wide)
        return fail("with " + num(points) +
                    " points the primitives read to the end of the file neither with 16-bit nor "
                    "with 32-bit point indices (16-bit: " +
                    narrowError + "; 32-bit: " + wideError + ")");
    width = narrow ? 2 : 4;
    m_cur.rewind(start);
    m_cur.release();
    return true;
}

// After the primitives: the detail attribute dictionary and its one record of
// values, the point and primitive groups, and the extra section, which ends
// the file. Our own saver writes its attribute-name map ("varmap") without the
// record of values; that form is taken too.
template <class Tr> bool ClassicLoader::readEnd(Tr &tr) {
    m_section = "detail attribute dictionary";
    if (Tr::on && m_model.numberOfAttributes)
        tr.text("\nDETAIL ATTRIBS \n");
    m_detailPlans.clear();
    if (!readDictionary(tr, Dict::Detail, m_model.numberOfAttributes, m_detailPlans))
        return false;
    std::size_t recordBytes = 0;
    for (const Plan &p : m_detailPlans)
        recordBytes += p.bytes;
    const std::size_t afterDictionary = m_cur.offset();
    m_section = "detail attribute values";
    m_cur.hold(); // for a second reading without the record

    const unsigned char *values = m_cur.take(recordBytes);
    if (values && readGroupsAndExtra(tr)) {
        traceRecord(tr, m_detailPlans, values);
        return true;
    }
    if (!values)
        failEnded();
    if (recordBytes == 0)
        return false;
    // The saver's form: no record of values after the dictionary.
    const std::string withRecord = m_error;
    m_error.clear();
    m_cur.rewind(afterDictionary);
    if (readGroupsAndExtra(tr))
        return true;
    m_error = withRecord;
    return false;
}

template <class Tr> bool ClassicLoader::readGroupsAndExtra(Tr &tr) {
    const Kelp &m = m_model;
    m_section = "point groups";
    for (std::uint32_t g = 0; g < m.numberOfPointGroups; ++g)
        if (!readGroup(tr, "point", g, m.numberOfPoints))
            return false;
    m_section = "primitive groups";
    for (std::uint32_t g = 0; g < m.numberOfPrimitiveGroups; ++g)
        if (!readGroup(tr, "primitive", g, m.numberOfPrimitives))
            return false;
    // The extra section: the byte 00, data Kelp does not read, the byte FF,
    // and there the file ends.
    m_section = "extra section";
    const std::size_t at = m_cur.offset();
    if (m_cur.atEnd())
        return fail("the file ends at byte " + num(at) +
                    " without its extra section (00 ... FF) after the groups");
    const unsigned char first = m_cur.u8();
    if (first != 0x00)
        return fail("the extra section at byte " + num(at) + " starts with " + byteHex(first) +
                    ", not 00");
    unsigned char last = first;
    const std::size_t left = 1 + m_cur.skipToEnd(last);
    if (left < 2 || last != 0xFF)
        return fail("the extra section at byte " + num(at) +
                    " is not closed by FF at the end of "
                    "the file (last byte " +
                    byteHex(last) + " at byte " + num(at + left - 1) + ")");
    return true;
}

// A group: i16 name length, the name, i32 element count (the point or
// primitive count of the file), then one membership bit per element, eight
// to a byte.
template <class Tr>
bool ClassicLoader::readGroup(Tr &tr, const char *kind, std::uint32_t index,
                              std::uint32_t elements) {
    const std::size_t at = m_cur.offset();
    const std::int16_t length = m_cur.i16();
    if (m_cur.failed())
        return failEnded();
    if (length < 0)
        return fail(std::string(kind) + " group " + num(index) + " at byte " + num(at) +
                    " has a negative name length");
    const unsigned char *name = m_cur.take(static_cast<std::size_t>(length));
    const std::uint32_t count = m_cur.u32();
    if (m_cur.failed())
        return failEnded();
    tr.bytes("\ngroup: ", name, static_cast<std::size_t>(length));
    tr.value(" ", count);
    if (count != elements)
        return fail(std::string(kind) + " group " + num(index) + " at byte " + num(at) + " has " +
                    num(count) + " members' bits, but the file has " + num(elements) + " " + kind +
                    "s");
    if (!m_cur.skip(count / 8 + (count % 8 != 0)))
        return failEnded();
    return true;
}

template <class Tr> bool ClassicLoader::readHeader(Tr &tr) {
    const unsigned char *magic = m_cur.take(5);
    if (!magic)
        return failEnded();
    tr.bytes("Kelp: ", magic, 5);
    if (std::memcmp(magic, "BgeoV", 5) != 0)
        return fail("not a classic binary geometry file (it does not start with BgeoV)");
    Kelp &m = m_model;
    m.tempHeader = m_cur.i32();
    tr.value("\nbgeo version ", m.tempHeader);
    // The eight counts, in file order, each traced after its label.
    static const struct {
        std::uint32_t Kelp::*count;
        const char *label;
    } counts[] = {{&Kelp::numberOfPoints, "\nNPoints  "},
                  {&Kelp::numberOfPrimitives, " NPrims  "},
                  {&Kelp::numberOfPointGroups, "\nNPointGroups  "},
                  {&Kelp::numberOfPrimitiveGroups, " NPrimGroups  "},
                  {&Kelp::numberOfPointAttributes, "\nNPointAttrib  "},
                  {&Kelp::numberOfVertexAttributes, " NVertexAttrib "},
                  {&Kelp::numberOfPrimitiveAttributes, " NPrimAttrib "},
                  {&Kelp::numberOfAttributes, " NAttrib "}};
    for (const auto &c : counts) {
        m.*c.count = m_cur.u32();
        tr.value(c.label, m.*c.count);
    }
    if (m_cur.failed())
        return failEnded();
    return true;
}

template <class Tr>
bool ClassicLoader::readDictionary(Tr &tr, Dict dict, std::uint32_t count,
                                   std::vector<Plan> &plans) {
    const char *what = dict == Dict::Point       ? "point"
                       : dict == Dict::Vertex    ? "vertex"
                       : dict == Dict::Primitive ? "primitive"
                                                 : "detail";
    if (count > m_cur.remaining() / kMinEntryBytes)
        return fail(std::string("the ") + what + " attribute count " + num(count) +
                    " cannot fit in the " + num(m_cur.remaining()) + " bytes left at byte " +
                    num(m_cur.offset()));
    std::vector<AttributeData> *records = dict == Dict::Point    ? &m_model.pointAttributes
                                          : dict == Dict::Vertex ? &m_model.vertexAttributes
                                                                 : nullptr;
    plans.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (dict == Dict::Vertex)
            tr.value("vertex attr: ", i + 1);
        else if (dict == Dict::Primitive)
            tr.value("prim attr: ", i + 1);
        else if (dict == Dict::Detail)
            tr.value("detail attr: ", i + 1);
        AttributeData record;
        Plan plan;
        if (!readEntry(tr, dict, record, plan))
            return false;
        if (dict == Dict::Point)
            tr.text("\n");
        plans.push_back(plan);
        if (records)
            records->push_back(std::move(record));
    }
    return true;
}

template <class Tr>
bool ClassicLoader::readEntry(Tr &tr, Dict dict, AttributeData &record, Plan &plan) {
    const std::size_t at = m_cur.offset();
    std::int16_t length = m_cur.i16();
    if (m_cur.failed())
        return failEnded();
    tr.value("LON: ", length);
    if (length < 0)
        return fail("negative attribute name length " + std::to_string(length) + " at byte " +
                    num(at));
    const unsigned char *name = m_cur.take(static_cast<std::size_t>(length));
    if (!name)
        return fail("attribute name length " + num(static_cast<std::uint64_t>(length)) +
                    " at byte " + num(at) + " is longer than the " + num(m_cur.size() - at - 2) +
                    " bytes left");
    tr.bytes(" ", name, static_cast<std::size_t>(length));
    record.name.assign(reinterpret_cast<const char *>(name),
                       std::find(name, name + length, 0) - name);
    std::int16_t size = m_cur.i16();
    tr.value(" ", size);
    std::int32_t type = m_cur.i32();
    tr.value(dict == Dict::Point ? " " : "  ", type);
    if (m_cur.failed())
        return failEnded();
    // The saver's attribute-name map has size 0 when there is nothing to map.
    if (size < (dict == Dict::Detail ? 0 : 1))
        return fail("attribute \"" + record.name + "\" at byte " + num(at) + " has size " +
                    std::to_string(size));
    if (!knownAttributeType(type))
        return fail("attribute \"" + record.name + "\" at byte " + num(at) + " has type " +
                    std::to_string(type) + ", whose layout Kelp does not know");

    const AttributeForm form = keptForm(dict, type, size);
    plan.size = size;
    plan.bytes = static_cast<std::uint32_t>(size) * 4;
    plan.floats = form.floats;
    plan.store = form.store;
    const std::int32_t storedType = form.storedType;
    record.size = size;
    record.type = storedType;

    if (type == 4)
        return readStringTable(tr, record.name); // instead of a default
    return readDefault(tr, record, plan);
}

template <class Tr> bool ClassicLoader::readStringTable(Tr &tr, const std::string &name) {
    std::int32_t strings = m_cur.i32();
    tr.value(" ", strings);
    if (m_cur.failed())
        return failEnded();
    if (strings < 0 || static_cast<std::uint32_t>(strings) > m_cur.remaining() / 2)
        return fail("attribute \"" + name + "\" has " + std::to_string(strings) +
                    " strings, more than the " + num(m_cur.remaining()) + " bytes left at byte " +
                    num(m_cur.offset()) + " can hold");
    for (std::int32_t s = 0; s < strings; ++s) {
        std::uint16_t n = m_cur.u16();
        const unsigned char *text = m_cur.take(n);
        if (!text)
            return failEnded();
        tr.bytes(" ", text, n);
    }
    return true;
}

template <class Tr>
bool ClassicLoader::readDefault(Tr &tr, AttributeData &record, const Plan &plan) {
    const unsigned char *p = m_cur.take(plan.bytes);
    if (!p)
        return failEnded();
    traceElement(tr, " ", plan, p);
    if (plan.store == Store::Float)
        record.float_default = loadF32BE(p);
    else if (plan.store == Store::Vector)
        record.vector_default = vectorAt(p, plan.size);
    else if (plan.store == Store::Int)
        record.int_default = loadI32BE(p);
    return true;
}

// One record of values, one attribute after another.
template <class Tr>
void ClassicLoader::traceRecord(Tr &tr, const std::vector<Plan> &plans,
                                const unsigned char *values) {
    if (!Tr::on)
        return;
    std::size_t offset = 0;
    for (const Plan &plan : plans) {
        traceElement(tr, " ", plan, values + offset);
        offset += plan.bytes;
    }
}

template <class Tr>
void ClassicLoader::traceElement(Tr &tr, const char *label, const Plan &plan,
                                 const unsigned char *p) {
    if (!Tr::on)
        return;
    std::int16_t c = 0;
    if (plan.floats && plan.size >= 3) {
        tr.vector(label, vectorAt(p, 3));
        c = 3;
    }
    for (; c < plan.size; ++c) {
        if (plan.floats)
            tr.value(label, loadF32BE(p + 4 * c));
        else
            tr.value(label, loadI32BE(p + 4 * c));
    }
}

template <class Tr> bool ClassicLoader::readPoints(Tr &tr) {
    const std::size_t count = m_model.numberOfPoints;
    std::size_t record = 16;
    for (const Plan &p : m_pointPlans)
        record += p.bytes;
    if (count > m_cur.remaining() / record)
        return fail("the point count " + num(count) + " needs " + num(count) + " records of " +
                    num(record) + " bytes, but only " + num(m_cur.remaining()) +
                    " bytes are left at byte " + num(m_cur.offset()));
    std::vector<Imath::Vec3<float>> &positions = m_model.pointAttributes[m_pointIndex].vector_data;
    const std::size_t start = positions.size();
    Imath::Vec3<float> *pos = grownFrom(positions, start, count);
    const std::vector<Sink> sinks =
        makeSinks(m_pointPlans, &m_model.pointAttributes, m_firstPointAttr, start, count, 16);
    // The records come a window at a time.
    std::size_t inPiece = 0;
    const unsigned char *p = nullptr;
    for (std::size_t i = 0; i < count; ++i, p += record, --inPiece) {
        if (inPiece == 0 && !(p = m_cur.takeUnits(record, count - i, inPiece)))
            return failEnded();
        pos[i] = vectorAt(p, 3);
        for (const Sink &s : sinks)
            storeElement(s, p, i);
        if (Tr::on) {
            tr.vector("P: ", pos[i]);
            tr.value("  ", loadF32BE(p + 12));
            for (std::size_t a = 0; a < m_pointPlans.size(); ++a)
                traceElement(tr, "\t", m_pointPlans[a], p + sinks[a].offset);
            tr.text("\n");
        }
    }
    return true;
}

// The checks both readings of the primitives make, with their messages.
bool ClassicLoader::checkRun(std::size_t at, std::uint32_t done, std::uint32_t inRun,
                             std::uint32_t type) {
    const std::uint32_t count = m_model.numberOfPrimitives;
    if (inRun > count - done)
        return fail("a run of " + num(inRun) + " primitives at byte " + num(at) +
                    " goes past the primitive count " + num(count));
    if (type != kPolygon && type != kParticles)
        return fail("primitive " + num(done) + " at byte " + num(at) + " has type " + hex(type) +
                    ", which Kelp does not read (only polygons and particles)");
    return true;
}

bool ClassicLoader::checkBody(std::uint32_t type, std::uint32_t index, std::size_t bodyAt,
                              std::uint32_t vertices, std::size_t vertexRecord) {
    if (type == kParticles && static_cast<std::int32_t>(vertices) < 0)
        return fail("particle primitive " + num(index) + " at byte " + num(bodyAt) +
                    " has a negative vertex count");
    if (vertices > m_cur.remaining() / vertexRecord)
        return fail("primitive " + num(index) + " at byte " + num(bodyAt) + " has " +
                    num(vertices) + " vertices of " + num(vertexRecord) + " bytes, but only " +
                    num(m_cur.remaining()) + " bytes are left");
    return true;
}

bool ClassicLoader::failPoint(std::uint32_t type, std::uint32_t index, std::uint32_t id,
                              std::size_t at) {
    return fail(std::string(type == kPolygon ? "polygon" : "particle primitive") + " " +
                num(index) + " names point " + num(id) + " at byte " + num(at) +
                ", but the file has " + num(m_model.numberOfPoints) + " points");
}

bool ClassicLoader::scanPrimitives(unsigned indexWidth) {
    const std::uint32_t count = m_model.numberOfPrimitives;
    const std::size_t vertexRecord = indexWidth + m_vertexBytes;
    std::uint32_t done = 0;
    while (done < count) {
        const std::size_t at = m_cur.offset();
        std::uint32_t key = m_cur.u32();
        std::uint32_t type = key;
        std::uint32_t inRun = 1;
        if (key == kRunMarker) {
            inRun = m_cur.u16();
            type = m_cur.u32();
        }
        if (m_cur.failed())
            return failEnded();
        if (!checkRun(at, done, inRun, type))
            return false;
        for (std::uint32_t k = 0; k < inRun; ++k) {
            const std::size_t bodyAt = m_cur.offset();
            std::uint32_t vertices = m_cur.u32();
            if (type == kPolygon)
                m_cur.u8(); // the closure
            if (m_cur.failed())
                return failEnded();

            if (!checkBody(type, done + k, bodyAt, vertices, vertexRecord))
                return false;
            std::size_t inPiece = 0;
            const unsigned char *p = nullptr;
            for (std::uint32_t v = 0; v < vertices; ++v, p += vertexRecord, --inPiece) {
                if (inPiece == 0 && !(p = m_cur.takeUnits(vertexRecord, vertices - v, inPiece)))
                    return failEnded();
                const std::uint32_t id = indexWidth == 2 ? loadU16BE(p) : loadU32BE(p);
                if (id >= m_model.numberOfPoints)
                    return failPoint(type, done + k, id,
                                     bodyAt + 4 + (type == kPolygon) + v * vertexRecord);
            }
            if (!m_cur.skip(m_primBytes))
                return failEnded();
        }
        done += inRun;
    }
    return true;
}

// Where the vertices of the kept polygons go: the model's polygons and
// vertex attribute arrays, grown polygon by polygon within the room
// reserved for them from what the rest of the file can hold.
struct ClassicLoader::PrimitiveFill {
    unsigned indexWidth = 0;
    std::size_t vertexRecord = 0;
    std::size_t vertexStart = 0; // the first vertex this file fills
    std::size_t vertex = 0;      // vertices filled so far
    std::vector<Sink> sinks;
};

namespace {

template <class Values> void reserveFrom(Values &values, std::size_t start, std::size_t room) {
    if (room > 0)
        reserveHuge(values, start + room);
}

// The vertex arrays grown to hold count vertices from start, the sinks
// pointed at them again.
void growVertexArrays(std::vector<Sink> &sinks, std::vector<AttributeData> &records,
                      std::size_t first, std::size_t start, std::size_t count) {
    for (std::size_t a = 0; a < sinks.size(); ++a) {
        AttributeData &r = records[first + a];
        Sink &s = sinks[a];
        if (s.store == 0) {
            r.float_data.resize(start + count);
            s.floats = r.float_data.data() + start;
        } else if (s.store == 1) {
            r.vector_data.resize(start + count);
            s.vectors = r.vector_data.data() + start;
        } else if (s.store == 2) {
            r.int_data.resize(start + count);
            s.ints = r.int_data.data() + start;
        }
    }
}

} // namespace

// A primitive's key, or a run marker with the run's length and type.
template <class Tr>
bool ClassicLoader::readPrimitiveKey(Tr &tr, std::uint32_t &key, std::uint32_t &type,
                                     std::uint32_t &inRun) {
    key = m_cur.u32();
    type = key;
    inRun = 1;
    if (key == kRunMarker) {
        tr.value(" poly mode", static_cast<std::int32_t>(key));
        inRun = m_cur.u16();
        tr.value("\nnumber of Polygons: ", static_cast<std::uint16_t>(inRun));
        type = m_cur.u32();
        tr.value("\npolygon run mode: ", static_cast<std::int32_t>(type));
    } else {
        tr.value("\npoly mode: ", static_cast<std::int32_t>(key));
    }
    return !m_cur.failed() || failEnded();
}

// The vertices of one primitive, a window at a time: every point index
// checked, and for a kept polygon the indices and vertex values stored.
template <class Tr>
bool ClassicLoader::readVertices(Tr &tr, std::uint32_t type, std::uint32_t index,
                                 std::uint32_t vertices, std::size_t valuesAt, bool kept,
                                 PrimitiveFill &fill) {
    const std::uint32_t points = m_model.numberOfPoints;
    const unsigned indexWidth = fill.indexWidth;
    const std::size_t vertexRecord = fill.vertexRecord;
    std::uint32_t *ids = nullptr;
    if (kept) {
        m_model.polygons.emplace_back();
        PolygonData &poly = m_model.polygons.back();
        poly.numberOfVertices = vertices;
        poly.ids.resize(vertices);
        ids = poly.ids.data();
        growVertexArrays(fill.sinks, m_model.vertexAttributes, m_firstVertexAttr, fill.vertexStart,
                         fill.vertex + vertices);
    }
    const Sink *sinks = fill.sinks.data();
    const Sink *sinksEnd = sinks + fill.sinks.size();
    std::size_t inPiece = 0;
    const unsigned char *p = nullptr;
    for (std::uint32_t v = 0; v < vertices; ++v, p += vertexRecord, --inPiece) {
        if (inPiece == 0 && !(p = m_cur.takeUnits(vertexRecord, vertices - v, inPiece)))
            return failEnded();
        const std::uint32_t id = indexWidth == 2 ? loadU16BE(p) : loadU32BE(p);
        if (id >= points)
            return failPoint(type, index, id, valuesAt + v * vertexRecord);
        if (kept) {
            ids[v] = id;
            for (const Sink *s = sinks; s != sinksEnd; ++s)
                storeElement(*s, p, fill.vertex + v);
        }
        if (Tr::on) {
            tr.value(" ", id);
            for (std::size_t a = 0; a < m_vertexPlans.size(); ++a)
                traceElement(tr, " ", m_vertexPlans[a], p + sinks[a].offset);
        }
    }
    if (kept)
        fill.vertex += vertices;
    return true;
}

// One primitive of the given type (number index in the file): its vertex
// count, closure, vertices and values. Closed polygons are kept, the rest
// counted and read past.
template <class Tr>
bool ClassicLoader::readPrimitive(Tr &tr, std::uint32_t type, std::uint32_t index,
                                  PrimitiveFill &fill) {
    Kelp &m = m_model;
    const std::size_t bodyAt = m_cur.offset();
    const std::uint32_t vertices = m_cur.u32();
    bool kept = false;
    if (type == kPolygon) {
        tr.value("\nnumber of poly verts: ", vertices);
        const char flag = static_cast<char>(m_cur.u8());
        tr.character(" ", flag);
        m.tempChar = flag;
        kept = flag != kOpen;
    } else {
        tr.value("\nnumber of particle verts: ", static_cast<std::int32_t>(vertices));
    }
    if (m_cur.failed())
        return failEnded();
    if (!checkBody(type, index, bodyAt, vertices, fill.vertexRecord))
        return false;
    if (!readVertices(tr, type, index, vertices, m_cur.offset(), kept, fill))
        return false;
    if (type == kPolygon && !kept)
        addSkipped(m.skippedPrimitives.curves);
    else if (type == kParticles)
        addSkipped(m.skippedPrimitives.other);
    const unsigned char *values = m_cur.take(m_primBytes);
    if (!values)
        return failEnded();
    traceRecord(tr, m_primPlans, values);
    return true;
}

// The first vertex this file's vertex attributes fill: after what the model
// already holds.
std::size_t ClassicLoader::vertexStart() const {
    std::size_t start = 0;
    for (std::size_t a = m_firstVertexAttr; a < m_model.vertexAttributes.size(); ++a) {
        const AttributeData &r = m_model.vertexAttributes[a];
        start = std::max(start, std::max(r.float_data.size(),
                                         std::max(r.vector_data.size(), r.int_data.size())));
    }
    return start;
}

// Room for the polygons and vertices the rest of the file can hold (an
// estimate over a compressed stream): reserved, not touched, so that the
// arrays grow in place.
void ClassicLoader::reserveForPrimitives(PrimitiveFill &fill) {
    Kelp &m = m_model;
    const std::size_t left = m_cur.expectedRemaining();
    const std::size_t polygons = std::min<std::size_t>(m.numberOfPrimitives, left / 5);
    reserveHuge(m.polygons, m.polygons.size() + polygons);
    const std::size_t vertices = left / fill.vertexRecord;
    for (std::size_t a = 0; a < m_vertexPlans.size(); ++a) {
        AttributeData &r = m.vertexAttributes[m_firstVertexAttr + a];
        if (m_vertexPlans[a].store == Store::Float)
            reserveFrom(r.float_data, fill.vertexStart, vertices);
        else if (m_vertexPlans[a].store == Store::Vector)
            reserveFrom(r.vector_data, fill.vertexStart, vertices);
        else if (m_vertexPlans[a].store == Store::Int)
            reserveFrom(r.int_data, fill.vertexStart, vertices);
    }
}

template <class Tr> bool ClassicLoader::readPrimitives(Tr &tr, unsigned indexWidth) {
    Kelp &m = m_model;
    const std::uint32_t count = m.numberOfPrimitives;
    PrimitiveFill fill;
    fill.indexWidth = indexWidth;
    fill.vertexRecord = indexWidth + m_vertexBytes;
    fill.vertexStart = vertexStart();
    reserveForPrimitives(fill);
    fill.sinks = makeSinks(m_vertexPlans, &m.vertexAttributes, m_firstVertexAttr, fill.vertexStart,
                           0, indexWidth);
    std::uint32_t done = 0;
    while (done < count) {
        const std::size_t at = m_cur.offset();
        std::uint32_t key, type, inRun;
        if (!readPrimitiveKey(tr, key, type, inRun))
            return false;
        if (!checkRun(at, done, inRun, type))
            return false;
        if (done == 0) {
            m.tempInt = static_cast<std::int32_t>(type);
            m.numberOfPolygons = static_cast<std::uint16_t>(
                key == kRunMarker ? inRun : std::min<std::uint32_t>(count, 0xFFFF));
        }
        for (std::uint32_t k = 0; k < inRun; ++k)
            if (!readPrimitive(tr, type, done + k, fill))
                return false;
        done += inRun;
    }
    m.numberOfVertices = static_cast<std::uint32_t>(fill.vertex);
    return true;
}

} // namespace kelp
