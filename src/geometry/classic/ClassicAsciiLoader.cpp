#include "classic/ClassicAsciiLoader.h"

#include "classic/LoadTrace.h"

#include <algorithm>
#include <utility>

namespace kelp {

namespace {

const std::int32_t kPolygonKey = 0x1;
const std::int32_t kParticlesKey = 0x8000;

// Fewest bytes of text an item can take: every number is at least one digit
// and one separator, a blank or a bracket ("0 0 0 1(0)" is a whole point
// with one value). A dictionary entry is at least "a 0 int" and a blank.
const std::size_t kMinNumberText = 2;
const std::size_t kMinEntryText = 8;
// The longest name the binary form can carry (a signed 16-bit length).
const std::size_t kMaxNameLength = 32767;

std::string num(std::uint64_t v) {
    return std::to_string(v);
}

bool typeFromWord(const TextWord &w, std::int32_t &type) {
    if (w.is("float"))
        type = kTypeFloat;
    else if (w.is("int"))
        type = kTypeInt;
    else if (w.is("index"))
        type = kTypeIndex;
    else if (w.is("vector"))
        type = kTypeVector;
    else
        return false;
    return true;
}

// A word that can be a name or a string: anything but a bare bracket.
bool nameWord(const TextWord &w) {
    return !w.empty() && !w.bad && (w.quoted || !TextCursor::bracket(w.text[0]));
}

std::string nameOf(const TextWord &w) {
    std::string name = w.str();
    const std::string::size_type zero = name.find('\0');
    if (zero != std::string::npos)
        name.resize(zero);
    return name;
}

} // namespace

ClassicAsciiLoader::ClassicAsciiLoader(Kelp &model, const unsigned char *data, std::size_t size)
    : m_model(model), m_cur(data, size) {}

bool ClassicAsciiLoader::load(bool trace) {
    const auto parse = [this](auto &tr) { return run(tr); };
    return parseTraced(trace, parse, [this] {
        m_error.clear();
        return fail("not enough memory to hold the " + std::string(m_section) + " (at " +
                    where(m_cur.offset()) + ")");
    });
}

std::string ClassicAsciiLoader::where(std::size_t offset) const {
    return "line " + num(m_cur.lineOf(offset)) + ", byte " + num(offset) + " of " +
           num(m_cur.size());
}

bool ClassicAsciiLoader::fail(const std::string &reason) {
    if (m_error.empty())
        m_error = reason;
    return false;
}

bool ClassicAsciiLoader::failAt(const TextWord &w, const std::string &reason) {
    if (w.empty())
        return fail("the text ends early in the " + std::string(m_section) + " (" +
                    where(m_cur.size()) + "): " + reason);
    if (w.bad)
        return fail("the quoted string at " + where(w.offset) + " is not closed");
    return fail("in the " + std::string(m_section) + " at " + where(w.offset) + ": " + reason);
}

bool ClassicAsciiLoader::expectWord(const char *word) {
    const TextWord w = m_cur.next();
    if (w.is(word))
        return true;
    return failAt(w, std::string("expected ") + word + ", found " + w.shown());
}

bool ClassicAsciiLoader::readU32(std::uint32_t &value, const char *what) {
    const TextWord w = m_cur.next();
    if (wordToU32(w, value))
        return true;
    return failAt(w, std::string("expected ") + what + " (0 to 4294967295), found " + w.shown());
}

bool ClassicAsciiLoader::readI32(std::int32_t &value, const char *what) {
    const TextWord w = m_cur.next();
    if (wordToI32(w, value))
        return true;
    return failAt(w, std::string("expected ") + what + " (a 32-bit integer), found " + w.shown());
}

bool ClassicAsciiLoader::readF32(float &value, const char *what) {
    const TextWord w = m_cur.next();
    if (wordToF32(w, value))
        return true;
    return failAt(w, std::string("expected ") + what + " (a 32-bit float), found " + w.shown());
}

template <class Tr> bool ClassicAsciiLoader::run(Tr &tr) {
    Kelp &m = m_model;
    if (!readHeader(tr))
        return false;
    tr.text("\nPointAttrib  : \n");
    m.createPointVectorAttr("P");
    m_pointIndex = static_cast<std::size_t>(m.attrExists("P", "POINT"));
    const std::size_t firstPoint = m.pointAttributes.size();
    m_section = "point attribute dictionary";
    if (m.numberOfPointAttributes && !expectWord("PointAttrib"))
        return false;
    if (!readDictionary(tr, AttrDict::Point, m.numberOfPointAttributes, m_pointPlans))
        return false;
    linkPlans(m_pointPlans, m.pointAttributes, firstPoint);
    m_section = "point records";
    if (!readPoints(tr))
        return false;

    tr.text("VERTEX ATTRIBS \n");
    const std::size_t firstVertex = m.vertexAttributes.size();
    m_section = "vertex attribute dictionary";
    if (m.numberOfVertexAttributes && !expectWord("VertexAttrib"))
        return false;
    if (!readDictionary(tr, AttrDict::Vertex, m.numberOfVertexAttributes, m_vertexPlans))
        return false;
    linkPlans(m_vertexPlans, m.vertexAttributes, firstVertex);
    for (const Plan &p : m_vertexPlans)
        m_vertexValues += static_cast<std::size_t>(p.size);

    m_section = "primitive attribute dictionary";
    if (m.numberOfPrimitiveAttributes && !expectWord("PrimitiveAttrib"))
        return false;
    if (!readDictionary(tr, AttrDict::Primitive, m.numberOfPrimitiveAttributes, m_primPlans))
        return false;

    m_section = "primitives";
    if (m.numberOfPrimitives != 0 && !readPrimitives(tr))
        return false;

    m_section = "detail attribute dictionary";
    if (m.numberOfAttributes) {
        tr.text("\nDETAIL ATTRIBS \n");
        if (!expectWord("DetailAttrib") ||
            !readDictionary(tr, AttrDict::Detail, m.numberOfAttributes, m_detailPlans))
            return false;
        m_section = "detail attribute values";
        if (!readValues(tr, m_detailPlans, '(', ')', false))
            return false;
    }
    m_section = "point groups";
    if (!readGroups(tr, "point", m.numberOfPointGroups, m.numberOfPoints))
        return false;
    m_section = "primitive groups";
    if (!readGroups(tr, "primitive", m.numberOfPrimitiveGroups, m.numberOfPrimitives))
        return false;
    return readExtra();
}

template <class Tr> bool ClassicAsciiLoader::readHeader(Tr &tr) {
    Kelp &m = m_model;
    TextWord w = m_cur.next();
    if (!w.is("PGEOMETRY"))
        return failAt(w, "expected PGEOMETRY, found " + w.shown());
    tr.text("Kelp: PGEOMETRY");
    w = m_cur.next();
    std::int32_t version = 0;
    TextWord digits = w;
    const bool versioned = !w.empty() && !w.quoted && w.size > 1 && w.text[0] == 'V';
    if (versioned) {
        ++digits.text;
        --digits.size;
    }
    if (!versioned || !wordToI32(digits, version))
        return failAt(w, "expected the version (V5), found " + w.shown());
    m.tempHeader = version;
    tr.value("\nbgeo version ", m.tempHeader);

    struct Count {
        const char *label;
        const char *trace;
        std::uint32_t *field;
    } counts[] = {
        {"NPoints", "\nNPoints  ", &m.numberOfPoints},
        {"NPrims", " NPrims  ", &m.numberOfPrimitives},
        {"NPointGroups", "\nNPointGroups  ", &m.numberOfPointGroups},
        {"NPrimGroups", " NPrimGroups  ", &m.numberOfPrimitiveGroups},
        {"NPointAttrib", "\nNPointAttrib  ", &m.numberOfPointAttributes},
        {"NVertexAttrib", " NVertexAttrib ", &m.numberOfVertexAttributes},
        {"NPrimAttrib", " NPrimAttrib ", &m.numberOfPrimitiveAttributes},
        {"NAttrib", " NAttrib ", &m.numberOfAttributes},
    };
    for (const Count &c : counts) {
        if (!expectWord(c.label) || !readU32(*c.field, c.label))
            return false;
        tr.value(c.trace, *c.field);
    }
    return true;
}

template <class Tr>
bool ClassicAsciiLoader::readDictionary(Tr &tr, AttrDict dict, std::uint32_t count,
                                        std::vector<Plan> &plans) {
    if (count > m_cur.remaining() / kMinEntryText)
        return fail("the " + std::string(m_section) + " count " + num(count) +
                    " cannot fit in the " + num(m_cur.remaining()) + " bytes of text left at " +
                    where(m_cur.offset()));
    std::vector<AttributeData> *records = dict == AttrDict::Point    ? &m_model.pointAttributes
                                          : dict == AttrDict::Vertex ? &m_model.vertexAttributes
                                                                     : nullptr;
    plans.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        tr.value("\nattr: ", i + 1);
        AttributeData record;
        Plan plan;
        if (!readEntry(tr, dict, record, plan))
            return false;
        plans.push_back(plan);
        if (records)
            records->push_back(std::move(record));
    }
    return true;
}

void ClassicAsciiLoader::linkPlans(std::vector<Plan> &plans, std::vector<AttributeData> &records,
                                   std::size_t first) {
    for (std::size_t a = 0; a < plans.size(); ++a)
        plans[a].record = &records[first + a];
}

template <class Tr>
bool ClassicAsciiLoader::readEntry(Tr &tr, AttrDict dict, AttributeData &record, Plan &plan) {
    const TextWord name = m_cur.next();
    if (!nameWord(name))
        return failAt(name, "expected an attribute name, found " + name.shown());
    if (name.size > kMaxNameLength)
        return failAt(name, "the attribute name of " + num(name.size) +
                                " bytes is longer than the 32767 a name can hold");
    record.name = nameOf(name);
    tr.text(" ");
    tr.text(record.name.c_str());

    std::int32_t size = 0;
    const TextWord sizeWord = m_cur.next();
    if (!wordToI32(sizeWord, size))
        return failAt(sizeWord, "expected the size of attribute \"" + record.name + "\", found " +
                                    sizeWord.shown());
    if (size < (dict == AttrDict::Detail ? 0 : 1) || size > 32767)
        return failAt(sizeWord, "attribute \"" + record.name + "\" has size " + num(size));
    tr.value(" ", size);
    const TextWord typeWord = m_cur.next();
    std::int32_t type = 0;
    if (!typeFromWord(typeWord, type))
        return failAt(typeWord,
                      typeWord.empty()
                          ? std::string("expected the type of attribute \"") + record.name + "\""
                          : "attribute \"" + record.name + "\" has type " + typeWord.shown() +
                                ", whose layout Kelp does not know");
    tr.value(" ", type);

    const AttributeForm form = keptForm(dict, type, static_cast<std::int16_t>(size));
    plan.store = form.store;
    plan.floats = form.floats;
    plan.size = static_cast<std::int16_t>(size);
    record.size = plan.size;
    record.type = form.storedType;

    // A string table instead of a default.
    if (type == kTypeIndex)
        return readStringTable(tr, record.name);
    Element first;
    if (!readElement(tr, plan, first, "a default value", "a default value"))
        return false;
    if (plan.store == AttrStore::Float)
        record.float_default = first.floats[0];
    else if (plan.store == AttrStore::Vector)
        record.vector_default =
            Imath::Vec3<float>(first.floats[0], first.floats[1], first.floats[2]);
    else if (plan.store == AttrStore::Int)
        record.int_default = first.integer;
    return true;
}

template <class Tr> bool ClassicAsciiLoader::readStringTable(Tr &tr, const std::string &name) {
    std::uint32_t strings = 0;
    if (!readU32(strings, "the string count"))
        return false;
    tr.value(" ", strings);
    if (strings > m_cur.remaining() / kMinNumberText)
        return fail("attribute \"" + name + "\" has " + num(strings) + " strings, more than the " +
                    num(m_cur.remaining()) + " bytes of text left at " + where(m_cur.offset()) +
                    " can hold");
    for (std::uint32_t s = 0; s < strings; ++s) {
        const TextWord text = m_cur.next();
        if (!nameWord(text))
            return failAt(text, "expected string " + num(s) + " of attribute \"" + name +
                                    "\", found " + text.shown());
    }
    return true;
}

// The components of one element; what the model keeps of them (the first
// three floats, the first integer) in e.
template <class Tr>
bool ClassicAsciiLoader::readElement(Tr &tr, const Plan &plan, Element &e, const char *floatWhat,
                                     const char *intWhat) {
    for (std::int16_t c = 0; c < plan.size; ++c) {
        if (plan.floats) {
            float v = 0.0f;
            if (!readF32(v, floatWhat))
                return false;
            if (c < 3)
                e.floats[c] = v;
            tr.value(" ", v);
        } else {
            std::int32_t v = 0;
            if (!readI32(v, intWhat))
                return false;
            if (c == 0)
                e.integer = v;
            tr.value(" ", v);
        }
    }
    return true;
}

template <class Tr>
bool ClassicAsciiLoader::readValues(Tr &tr, const std::vector<Plan> &plans, char open, char close,
                                    bool keep) {
    const char opening[2] = {open, 0};
    const char closing[2] = {close, 0};
    if (!expectWord(opening))
        return false;
    for (const Plan &plan : plans) {
        Element e;
        if (!readElement(tr, plan, e, "a value", "an integer value"))
            return false;
        if (!keep || !plan.record)
            continue;
        AttributeData &r = *plan.record;
        if (plan.store == AttrStore::Float)
            r.float_data.push_back(e.floats[0]);
        else if (plan.store == AttrStore::Vector)
            r.vector_data.emplace_back(e.floats[0], e.floats[1], e.floats[2]);
        else if (plan.store == AttrStore::Int)
            r.int_data.push_back(e.integer);
    }
    return expectWord(closing);
}

template <class Tr> bool ClassicAsciiLoader::readPoints(Tr &tr) {
    const std::size_t count = m_model.numberOfPoints;
    for (const Plan &p : m_pointPlans)
        m_pointValues += static_cast<std::size_t>(p.size);
    const std::size_t least = kMinNumberText * (4 + m_pointValues);
    if (count > m_cur.remaining() / least)
        return fail("the point count " + num(count) + " needs at least " + num(least) +
                    " bytes of text per point, but only " + num(m_cur.remaining()) +
                    " are left at " + where(m_cur.offset()));
    std::vector<Imath::Vec3<float>> &positions = m_model.pointAttributes[m_pointIndex].vector_data;
    positions.reserve(positions.size() + count);
    for (const Plan &p : m_pointPlans) {
        if (p.store == AttrStore::Float)
            p.record->float_data.reserve(count);
        else if (p.store == AttrStore::Vector)
            p.record->vector_data.reserve(count);
        else if (p.store == AttrStore::Int)
            p.record->int_data.reserve(count);
    }
    for (std::size_t i = 0; i < count; ++i) {
        float xyzw[4];
        for (float &v : xyzw)
            if (!readF32(v, "a point coordinate"))
                return false;
        positions.emplace_back(xyzw[0], xyzw[1], xyzw[2]);
        if (Tr::on) {
            tr.vector("P: ", positions.back());
            tr.value("  ", xyzw[3]);
        }
        if (!m_pointPlans.empty() && !readValues(tr, m_pointPlans, '(', ')', true))
            return false;
        tr.text("\n");
    }
    return true;
}

template <class Tr> bool ClassicAsciiLoader::readPrimitives(Tr &tr) {
    Kelp &m = m_model;
    const std::uint32_t count = m.numberOfPrimitives;
    std::uint32_t done = 0;
    while (done < count) {
        const TextWord w = m_cur.next();
        std::uint32_t inRun = 1;
        TextWord type = w;
        const bool run = w.is("Run");
        if (run) {
            if (!readU32(inRun, "the run length"))
                return false;
            type = m_cur.next();
            tr.value("\nnumber of Polygons: ", inRun);
        }
        const bool polygon = type.is("Poly");
        if (!polygon && !type.is("Part"))
            return failAt(type, "primitive " + num(done) + " has type " + type.shown() +
                                    ", which Kelp does not read (only Poly and Part)");
        if (inRun > count - done)
            return failAt(w, "a run of " + num(inRun) +
                                 " primitives goes past the primitive count " + num(count));
        if (m_firstPrimitive) {
            m.tempInt = polygon ? kPolygonKey : kParticlesKey;
            m.numberOfPolygons =
                static_cast<std::uint16_t>(std::min<std::uint32_t>(run ? inRun : count, 0xFFFF));
            m_firstPrimitive = false;
        }
        for (std::uint32_t k = 0; k < inRun; ++k)
            if (!readBody(tr, polygon, done + k))
                return false;
        done += inRun;
    }
    m.numberOfVertices = static_cast<std::uint32_t>(m_vertex);
    return true;
}

template <class Tr> bool ClassicAsciiLoader::readBody(Tr &tr, bool polygon, std::uint32_t index) {
    Kelp &m = m_model;
    std::uint32_t vertices = 0;
    if (!readU32(vertices, "the vertex count"))
        return false;
    tr.value(polygon ? "\nnumber of poly verts: " : "\nnumber of particle verts: ", vertices);
    const std::size_t least = kMinNumberText * (1 + m_vertexValues);
    if (vertices > m_cur.remaining() / least)
        return fail("primitive " + num(index) + " has " + num(vertices) +
                    " vertices, more than the " + num(m_cur.remaining()) +
                    " bytes of text left at " + where(m_cur.offset()) + " can hold");
    PolygonData poly;
    // Open polygons (closure ':') are polylines, which the detail does not
    // keep: read past with their values and counted, as are particles.
    bool kept = false;
    if (polygon) {
        const TextWord closure = m_cur.next();
        if (!closure.isChar('<') && !closure.isChar(':'))
            return failAt(closure, "expected < or : after the vertex count of polygon " +
                                       num(index) + ", found " + closure.shown());
        m.tempChar = closure.text[0];
        tr.character(" ", m.tempChar);
        kept = closure.isChar('<');
        if (kept) {
            poly.numberOfVertices = vertices;
            poly.ids.resize(vertices);
        }
    }
    for (std::uint32_t v = 0; v < vertices; ++v) {
        const TextWord w = m_cur.next();
        std::uint32_t id = 0;
        if (!wordToU32(w, id))
            return failAt(w, "expected a point index, found " + w.shown());
        if (id >= m.numberOfPoints)
            return failAt(w, std::string(polygon ? "polygon " : "particle primitive ") +
                                 num(index) + " names point " + num(id) + ", but the file has " +
                                 num(m.numberOfPoints) + " points");
        tr.value(" ", id);
        if (kept)
            poly.ids[v] = id;
        if (!m_vertexPlans.empty() && !readValues(tr, m_vertexPlans, '(', ')', kept))
            return false;
    }
    if (!m_primPlans.empty() && !readValues(tr, m_primPlans, '[', ']', false))
        return false;
    if (kept) {
        m.polygons.push_back(std::move(poly));
        m_vertex += vertices;
    } else {
        std::uint32_t &skipped = polygon ? m.skippedPrimitives.curves : m.skippedPrimitives.other;
        if (skipped != UINT32_MAX)
            ++skipped;
    }
    return true;
}

// A group: its name, its element count (the file's point or primitive
// count), then one 0 or 1 per element, written together or apart.
template <class Tr>
bool ClassicAsciiLoader::readGroups(Tr &tr, const char *kind, std::uint32_t count,
                                    std::uint32_t elements) {
    for (std::uint32_t g = 0; g < count; ++g) {
        const TextWord name = m_cur.next();
        if (!nameWord(name))
            return failAt(name, "expected the name of " + std::string(kind) + " group " + num(g) +
                                    ", found " + name.shown());
        if (Tr::on) {
            tr.text("\ngroup: ");
            tr.text(nameOf(name).c_str());
        }
        const TextWord countWord = m_cur.next();
        std::uint32_t members = 0;
        if (!wordToU32(countWord, members))
            return failAt(countWord, "expected the element count of " + std::string(kind) +
                                         " group " + num(g) + ", found " + countWord.shown());
        if (members != elements)
            return failAt(countWord, std::string(kind) + " group " + num(g) + " has " +
                                         num(members) + " members' flags, but the file has " +
                                         num(elements) + " " + kind + "s");
        std::uint64_t seen = 0;
        while (seen < elements) {
            const TextWord bits = m_cur.next();
            const bool digits = !bits.empty() && !bits.quoted &&
                                std::all_of(bits.text, bits.text + bits.size,
                                            [](char c) { return c == '0' || c == '1'; });
            if (!digits || seen + bits.size > elements)
                return failAt(bits, "expected " + num(elements - seen) + " more 0 or 1 flags of " +
                                        std::string(kind) + " group " + num(g) + ", found " +
                                        bits.shown());
            seen += bits.size;
        }
    }
    return true;
}

// The extra section: beginExtra, text Kelp does not read, endExtra, and
// there the file ends (blanks may follow).
bool ClassicAsciiLoader::readExtra() {
    m_section = "extra section";
    if (!expectWord("beginExtra"))
        return false;
    const std::size_t at = m_cur.offset();
    const char *rest = nullptr;
    std::size_t size = 0;
    m_cur.restTrimmed(rest, size);
    static const char kEnd[] = "endExtra";
    const std::size_t n = sizeof kEnd - 1;
    const bool closed = size >= n && std::equal(kEnd, kEnd + n, rest + size - n) &&
                        (size == n || TextCursor::blank(rest[size - n - 1]));
    if (!closed)
        return fail("the extra section opened before " + where(at) +
                    " is not closed by endExtra at the end of the file");
    return true;
}

} // namespace kelp
