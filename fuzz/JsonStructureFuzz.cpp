// libFuzzer target for the JSON-based format, by structure: the input is a
// stream of choices (Choices.h) from which a binary JSON geometry document is
// built: counts, topology, attributes with values blocks of every form,
// primitives of every polygon form, packed primitives (single and in runs,
// fragments, disk and Alembic references among them, now and then coloured
// by primitive "Cd" or "Alpha") with embedded documents under
// "sharedprimitivedata",
// string-table definitions, redefinitions and undefinitions, keys in any
// order and repeated, nested documents, and
// gzip or the Blosc container around it. Mostly the document is what a
// writer would produce; each choice may also bend one part of it. One choice
// writes the document out as JSON text instead (the same tree, with blanks,
// escapes and number spellings of its own). Loaded for the mesh or, now and
// then, for particles; whatever loads must pass the model checks.
#include "Choices.h"
#include "LoadStream.h"
#include "io/ByteCursor.h"
#include "ModelChecks.h"

#include <Kelp>

#include <blosc.h>
#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

using kelpfuzz::Choices;
typedef std::vector<unsigned char> Bytes;

// Binary JSON tokens.
class Writer {
public:
    explicit Writer(bool big) : m_big(big) {}

    void raw(std::uint8_t b) { m_out.push_back(b); }
    template <class T> void value(T v) {
        unsigned char b[sizeof(T)];
        std::memcpy(b, &v, sizeof(T));
        for (std::size_t k = 0; k < sizeof(T); ++k)
            raw(b[m_big ? sizeof(T) - 1 - k : k]);
    }
    void length(std::uint64_t n, int form) {
        if (form == 0 && n < 0xF1)
            return raw(static_cast<std::uint8_t>(n));
        if (form <= 1 && n <= 0xFFFF)
            return raw(0xF2), value(static_cast<std::uint16_t>(n));
        if (form <= 2 && n <= 0xFFFFFFFFu)
            return raw(0xF4), value(static_cast<std::uint32_t>(n));
        raw(0xF8), value(n);
    }
    void bytes(const std::string &s) {
        for (char c : s)
            raw(static_cast<std::uint8_t>(c));
    }
    std::size_t size() const { return m_out.size(); }
    Bytes &out() { return m_out; }

private:
    Bytes m_out;
    bool m_big;
};

const char *const kKeys[] = {"fileversion",
                             "hasindex",
                             "pointcount",
                             "vertexcount",
                             "primitivecount",
                             "info",
                             "topology",
                             "pointref",
                             "indices",
                             "attributes",
                             "vertexattributes",
                             "pointattributes",
                             "primitiveattributes",
                             "globalattributes",
                             "primitives",
                             "type",
                             "scope",
                             "public",
                             "name",
                             "options",
                             "size",
                             "storage",
                             "defaults",
                             "values",
                             "pagesize",
                             "rawpagedata",
                             "constantpageflags",
                             "packing",
                             "tuples",
                             "arrays",
                             "strings",
                             "numeric",
                             "string",
                             "fpreal32",
                             "fpreal64",
                             "fpreal16",
                             "int32",
                             "int64",
                             "int8",
                             "p_r",
                             "Polygon_run",
                             "c_r",
                             "PolygonCurve_run",
                             "s_v",
                             "startvertex",
                             "n_p",
                             "nprimitives",
                             "n_v",
                             "nvertices",
                             "r_v",
                             "nvertices_rle",
                             "Poly",
                             "vertex",
                             "closed",
                             "run",
                             "runtype",
                             "varyingfields",
                             "uniformfields",
                             "Part",
                             "Sphere",
                             "P",
                             "N",
                             "uv",
                             "Cd",
                             "v",
                             "id",
                             "pscale",
                             "Alpha",
                             "pointgroups",
                             "primitivegroups",
                             "sharedprimitivedata",
                             "index",
                             "indexposition",
                             "software",
                             "selection",
                             "unordered",
                             "boolRLE"};

class Document {
public:
    Document(Choices &c, bool big) : c(c), w(big) {}

    Choices &c;
    Writer w;
    std::vector<std::string> table; // the string table as the reader will see it
    int depth = 0;

    // Strings: plain, or through the string table (defined once, referred
    // to after), and now and then a redefinition or undefinition first.
    void str(const std::string &s) {
        if (c.oneIn(23))
            tableNoise();
        switch (c.byte() % 4) {
        case 0:
            w.raw(0x27), w.length(s.size(), lengthForm()), w.bytes(s);
            return;
        default: {
            std::size_t id = std::find(table.begin(), table.end(), s) - table.begin();
            if (id == table.size() || c.oneIn(11)) {
                if (id == table.size())
                    id = c.oneIn(5) ? c.range(0, static_cast<std::uint32_t>(table.size()))
                                    : table.size();
                define(id, s);
            }
            w.raw(0x26), w.length(id, lengthForm());
        }
        }
    }
    void key(const char *k) { str(c.oneIn(97) ? c.text(12) : std::string(k)); }
    void define(std::size_t id, const std::string &s) {
        w.raw(0x2B), w.length(id, lengthForm()), w.length(s.size(), lengthForm()), w.bytes(s);
        if (id >= table.size())
            table.resize(id + 1);
        table[id] = s;
    }
    void tableNoise() {
        const std::size_t id = c.range(0, static_cast<std::uint32_t>(table.size()));
        if (c.flag()) {
            define(id, c.flag() ? std::string(c.pick(kKeys)) : c.text(8));
        } else {
            w.raw(0x2D), w.length(id, 0);
            if (id < table.size())
                table[id] = std::string("\x01undefined");
        }
    }
    int lengthForm() {
        const std::uint8_t b = c.byte();
        return b < 200 ? 0 : b % 4;
    }

    void arr() { w.raw(0x5B); }
    void end() { w.raw(0x5D); }
    void integer(std::int64_t v) {
        switch (c.oneIn(7) ? c.byte() % 4 : 9) {
        case 0:
            w.raw(0x11), w.value(static_cast<std::int8_t>(v));
            return;
        case 1:
            w.raw(0x12), w.value(static_cast<std::int16_t>(v));
            return;
        case 2:
            w.raw(0x14), w.value(v);
            return;
        case 3:
            w.raw(0x1A), w.value(static_cast<double>(v));
            return;
        default:
            if (v >= -128 && v <= 127)
                w.raw(0x11), w.value(static_cast<std::int8_t>(v));
            else if (v >= -32768 && v <= 32767)
                w.raw(0x12), w.value(static_cast<std::int16_t>(v));
            else
                w.raw(0x13), w.value(static_cast<std::int32_t>(v));
        }
    }
    // A count as the file states it: mostly the true one.
    std::int64_t stated(std::int64_t truth) {
        if (!c.oneIn(6))
            return truth;
        switch (c.byte() % 6) {
        case 0:
            return truth + 1;
        case 1:
            return truth - 1;
        case 2:
            return 0;
        case 3:
            return -1;
        case 4:
            return c.u32();
        default:
            return static_cast<std::int64_t>(c.range(0, 0x7FFFFFFF));
        }
    }
    void boolean(bool v) {
        if (c.oneIn(9))
            w.raw(0x10), w.raw(v ? 1 : 0);
        else
            w.raw(v ? 0x31 : 0x30);
    }

    // An array of integers: uniform of a chosen element type, or plain tokens.
    void ints(const std::vector<std::int64_t> &v) {
        static const std::uint8_t kTypes[] = {0x11, 0x12, 0x13, 0x14, 0x21, 0x22, 0x19, 0x1A};
        if (c.oneIn(4)) {
            arr();
            for (std::int64_t x : v)
                integer(x);
            return end();
        }
        const std::uint8_t type = c.pick(kTypes);
        w.raw(0x40), w.raw(type),
            w.length(stated(static_cast<std::int64_t>(v.size())), lengthForm());
        for (std::int64_t x : v)
            element(type, static_cast<double>(x), x);
    }
    void reals(const std::vector<double> &v) {
        static const std::uint8_t kTypes[] = {0x19, 0x19, 0x1A, 0x18, 0x13, 0x14, 0x11, 0x12, 0x21};
        if (c.oneIn(5)) {
            arr();
            for (double x : v) {
                if (c.flag())
                    w.raw(0x1A), w.value(x);
                else
                    w.raw(0x19), w.value(static_cast<float>(x));
            }
            return end();
        }
        const std::uint8_t type = c.pick(kTypes);
        w.raw(0x40), w.raw(type),
            w.length(stated(static_cast<std::int64_t>(v.size())), lengthForm());
        for (double x : v)
            element(type, x, x > -1e18 && x < 1e18 ? static_cast<std::int64_t>(x) : 0);
    }
    void element(std::uint8_t type, double real, std::int64_t whole) {
        switch (type) {
        case 0x11:
            return w.value(static_cast<std::int8_t>(whole));
        case 0x12:
            return w.value(static_cast<std::int16_t>(whole));
        case 0x13:
            return w.value(static_cast<std::int32_t>(whole));
        case 0x14:
            return w.value(whole);
        case 0x21:
            return w.value(static_cast<std::uint8_t>(whole));
        case 0x22:
            return w.value(static_cast<std::uint16_t>(whole));
        case 0x18:
            return w.value(static_cast<std::uint16_t>(0x3C00));
        case 0x19:
            return w.value(static_cast<float>(real));
        default:
            return w.value(real);
        }
    }
    void bools(const std::vector<bool> &v) {
        if (c.oneIn(4)) {
            arr();
            for (bool b : v)
                boolean(b);
            return end();
        }
        w.raw(0x40), w.raw(0x10), w.length(stated(static_cast<std::int64_t>(v.size())), 0);
        for (std::size_t k = 0; k < (v.size() + 31) / 32; ++k) {
            std::uint32_t word = 0;
            for (std::size_t b = 0; b < 32 && 32 * k + b < v.size(); ++b)
                word |= static_cast<std::uint32_t>(v[32 * k + b]) << b;
            w.value(word);
        }
    }

    // Something the loader does not know, nested.
    void anyValue() {
        if (++depth > 6 || c.exhausted()) {
            --depth;
            return w.raw(0x00);
        }
        switch (c.byte() % 9) {
        case 0:
            integer(static_cast<std::int32_t>(c.u32()));
            break;
        case 1:
            str(c.flag() ? c.pick(kKeys) : c.text(6));
            break;
        case 2: {
            arr();
            for (std::uint32_t n = c.range(0, 4); n; --n)
                anyValue();
            end();
            break;
        }
        case 3: {
            w.raw(0x7B);
            for (std::uint32_t n = c.range(0, 3); n; --n)
                key(c.pick(kKeys)), anyValue();
            w.raw(0x7D);
            break;
        }
        case 4:
            reals(std::vector<double>(c.range(0, 6), 0.5));
            break;
        case 5:
            boolean(c.flag());
            break;
        case 6: {
            // A uniform array of strings or token references.
            const bool refs = c.flag();
            const std::uint32_t n = c.range(0, 3);
            w.raw(0x40), w.raw(refs ? 0x26 : 0x27), w.length(n, 0);
            for (std::uint32_t k = 0; k < n; ++k) {
                if (refs)
                    w.length(c.range(0, static_cast<std::uint32_t>(table.size())), 0);
                else {
                    std::string s = c.text(5);
                    w.length(s.size(), 0), w.bytes(s);
                }
            }
            break;
        }
        case 7:
            // A whole document nested inside, as packed geometry embeds one.
            nested();
            break;
        default:
            w.raw(c.byte());
            break;
        }
        --depth;
    }
    void nested();
};

// The geometry the document describes, kept so that the sections agree
// unless a choice says otherwise.
struct Shape {
    std::uint32_t points = 0;
    std::vector<std::int64_t> topology;
    std::uint32_t primitives = 0;
};

class Builder {
public:
    Builder(Document &d, unsigned level = 0) : d(d), c(d.c), m_level(level) {}

    void document() {
        Shape s;
        s.points = c.oneIn(16) ? c.range(0, 5000) : c.range(0, 24);
        std::uint32_t vertices = c.oneIn(16) ? c.range(0, 3000) : c.range(0, 48);
        if (s.points == 0 && !c.oneIn(8))
            vertices = 0;
        for (std::uint32_t v = 0; v < vertices; ++v)
            s.topology.push_back(c.oneIn(40) ? static_cast<std::int32_t>(c.u32())
                                 : s.points  ? c.range(0, s.points - 1)
                                             : 0);
        m_shape = s;
        primitivesFirst();

        d.arr();
        // The sections in the order writers use, or shuffled, any of them
        // left out or repeated.
        static const int kCanonical[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 11};
        std::vector<int> order(std::begin(kCanonical), std::end(kCanonical));
        if (c.oneIn(3)) {
            for (std::size_t k = order.size(); k > 1; --k)
                std::swap(order[k - 1], order[c.range(0, static_cast<std::uint32_t>(k - 1))]);
        }
        for (std::uint32_t extra = c.oneIn(3) ? c.range(1, 4) : 0; extra; --extra)
            order.insert(order.begin() + c.range(0, static_cast<std::uint32_t>(order.size())),
                         static_cast<int>(c.range(0, 11)));
        for (int section : order)
            if (!c.oneIn(20))
                this->section(section);
        d.end();
    }

private:
    Document &d;
    Choices &c;
    unsigned m_level; // 0 for the file, 1 for a document embedded in it, ...
    Shape m_shape;
    std::vector<std::vector<std::int64_t>> m_polys; // vertex counts per entry

    void section(int which) {
        switch (which) {
        case 0:
            d.key("fileversion"), d.str("19.5.403");
            break;
        case 1:
            d.key("hasindex"), d.boolean(false);
            break;
        case 2:
            d.key("pointcount"), d.integer(d.stated(m_shape.points));
            break;
        case 3:
            d.key("vertexcount"),
                d.integer(d.stated(static_cast<std::int64_t>(m_shape.topology.size())));
            break;
        case 4:
            d.key("primitivecount"), d.integer(d.stated(m_shape.primitives));
            break;
        case 5:
            d.key("info"), d.w.raw(0x7B), d.key("software"), d.str("Houdini 19.5.403"),
                d.w.raw(0x7D);
            break;
        case 6:
            topology();
            break;
        case 7:
            attributes();
            break;
        case 8:
            primitives();
            break;
        case 9:
            d.key(c.flag() ? "pointgroups" : "primitivegroups"), groups();
            break;
        case 11:
            sharedData();
            break;
        default:
            d.key(c.pick(kKeys)), d.anyValue();
            break;
        }
    }

    void topology() {
        d.key("topology"), d.arr(), d.key("pointref"), d.arr(), d.key("indices");
        d.ints(m_shape.topology);
        d.end(), d.end();
    }

    // Decide the primitives up front so that the count can be stated first.
    struct Entry {
        int form; // 0 p_r n_v, 1 p_r r_v, 2 c_r, 3 Poly, 4 run Poly, 5 Part, 6 other,
                  // 7 packed
        std::int64_t start;
        std::vector<std::int64_t> counts;
    };
    std::vector<Entry> m_entries;

    bool hasPacked() const {
        for (const Entry &e : m_entries)
            if (e.form == 7)
                return true;
        return false;
    }

    void primitivesFirst() {
        std::int64_t next = 0;
        const std::int64_t total = static_cast<std::int64_t>(m_shape.topology.size());
        for (std::uint32_t n = c.range(0, 5); n; --n) {
            Entry e;
            e.form = static_cast<int>(c.range(0, 7));
            e.start = c.oneIn(10) ? static_cast<std::int64_t>(c.range(0, 70000)) : next;
            const std::uint32_t polys =
                e.form >= 3 && e.form != 4 && e.form != 7 ? 1 : c.range(1, 8);
            for (std::uint32_t p = 0; p < polys; ++p) {
                std::int64_t left = std::max<std::int64_t>(0, total - next);
                std::int64_t count =
                    c.oneIn(12) ? c.range(0, 100000) : std::min<std::int64_t>(left, c.range(1, 5));
                e.counts.push_back(count);
                next += count;
            }
            m_shape.primitives += static_cast<std::uint32_t>(e.counts.size());
            m_entries.push_back(e);
        }
    }

    void primitives() {
        d.key("primitives"), d.arr();
        for (const Entry &e : m_entries) {
            d.arr();
            switch (e.form) {
            case 0:
            case 1:
            case 2:
                run(e);
                break;
            case 3:
            case 5:
            case 6: {
                d.arr(), d.key("type");
                d.str(e.form == 3 ? "Poly" : e.form == 5 ? "Part" : "Sphere");
                d.end();
                d.arr(), d.key("vertex");
                std::vector<std::int64_t> v;
                for (std::int64_t k = 0; k < std::min<std::int64_t>(e.counts[0], 4096); ++k)
                    v.push_back(e.start + k);
                if (e.form == 6 && c.flag())
                    d.integer(v.empty() ? 0 : v[0]);
                else
                    d.ints(v);
                if (e.form == 3)
                    d.key("closed"), d.boolean(!c.oneIn(4));
                d.end();
                break;
            }
            case 7:
                packed(e);
                break;
            default:
                legacyRun(e);
                break;
            }
            d.end();
        }
        d.end();
    }

    void run(const Entry &e) {
        const bool longNames = c.flag();
        d.arr(), d.key("type");
        d.str(e.form == 2 ? (longNames ? "PolygonCurve_run" : "c_r")
                          : (longNames ? "Polygon_run" : "p_r"));
        d.end();
        d.arr();
        d.key(longNames ? "startvertex" : "s_v"), d.integer(e.start);
        d.key(longNames ? "nprimitives" : "n_p"),
            d.integer(d.stated(static_cast<std::int64_t>(e.counts.size())));
        if (e.form == 0 || (e.form == 2 && c.flag())) {
            d.key(longNames ? "nvertices" : "n_v"), d.ints(e.counts);
        } else {
            // Run-length pairs: count, repeat.
            std::vector<std::int64_t> pairs;
            for (std::size_t k = 0; k < e.counts.size();) {
                std::size_t same = 1;
                while (k + same < e.counts.size() && e.counts[k + same] == e.counts[k])
                    ++same;
                pairs.push_back(e.counts[k]);
                pairs.push_back(c.oneIn(10) ? c.range(0, 1000000)
                                            : static_cast<std::int64_t>(same));
                k += same;
            }
            if (c.oneIn(10))
                pairs.push_back(c.range(0, 9));
            d.key(longNames ? "nvertices_rle" : "r_v"), d.ints(pairs);
        }
        d.end();
    }

    // The fields of one packed piece, in the order of `fields` (any subset
    // of parameters, pivot, transform, vertex).
    void packedFields(const std::vector<int> &fields, bool fragment, std::int64_t vertex) {
        for (int field : fields) {
            switch (field) {
            case 0:
                d.w.raw(0x7B), d.key("embedded");
                d.str(c.oneIn(10) ? c.text(6) : "embed:" + std::to_string(c.range(0, 2)));
                if (fragment)
                    d.key("attribute"), d.str(c.oneIn(4) ? c.text(4) : "name"), d.key("name"),
                        d.str(c.oneIn(2) ? "a" : c.text(2));
                d.w.raw(0x7D);
                break;
            case 1:
            case 2: {
                std::vector<double> m;
                for (std::uint32_t k = field == 1 ? 3 : (c.oneIn(20) ? c.range(0, 12) : 9); k; --k)
                    m.push_back(c.oneIn(3) ? 0.0 : static_cast<double>(c.range(0, 8)) - 4.0);
                d.reals(m);
                break;
            }
            default:
                if (c.oneIn(10))
                    d.ints({vertex, vertex});
                else
                    d.integer(vertex);
                break;
            }
        }
    }

    // PackedGeometry or PackedFragment, single or as a run of one row per
    // vertex count of the entry.
    void packed(const Entry &e) {
        const bool fragment = c.oneIn(3);
        const char *type = fragment      ? "PackedFragment"
                           : c.oneIn(8)  ? "PackedDisk"
                           : c.oneIn(16) ? (c.flag() ? "AlembicRef" : "PolySoup")
                                         : "PackedGeometry";
        static const char *const kFields[] = {"parameters", "pivot", "transform", "vertex"};
        std::vector<int> fields = {0, 1, 2, 3};
        if (c.oneIn(4))
            fields.erase(fields.begin() + c.range(0, 3));
        if (c.flag()) {
            d.arr(), d.key("type"), d.str(type), d.end();
            d.arr();
            for (int field : fields) {
                d.key(kFields[field]);
                packedFields({field}, fragment, e.start);
            }
            d.end();
            return;
        }
        d.arr(), d.key("type"), d.str("run"), d.key("runtype"), d.str(type);
        d.key("varyingfields"), d.arr();
        for (int field : fields)
            d.str(kFields[field]);
        d.end();
        d.key("uniformfields"), d.w.raw(0x7B), d.key("viewportlod"), d.str("full"), d.w.raw(0x7D);
        d.end();
        d.arr();
        for (std::size_t row = 0; row < e.counts.size(); ++row) {
            d.arr();
            packedFields(fields, fragment, e.start + static_cast<std::int64_t>(row));
            d.end();
        }
        d.end();
    }

    // ["PackedGeometry", ["gu:embeddedgeo", "embed:k", document], ...]: the
    // embedded documents are built as the file is, their string tables
    // redefining the file's ids; now and then deeper than the loader allows.
    void sharedData() {
        d.key("sharedprimitivedata"), d.arr();
        const unsigned most = c.oneIn(30) ? 10 : 3;
        for (std::uint32_t n = m_level < most ? c.range(0, 3) : 0; n; --n) {
            d.str(c.oneIn(10) ? "PackedDisk" : "PackedGeometry");
            d.arr(), d.str("gu:embeddedgeo"), d.str("embed:" + std::to_string(c.range(0, 2)));
            Builder inner(d, m_level + 1);
            inner.document();
            d.end();
        }
        d.end();
    }

    void legacyRun(const Entry &e) {
        d.arr(), d.key("type"), d.str("run"), d.key("runtype"), d.str("Poly");
        d.key("varyingfields"), d.arr(), d.str("vertex"), d.end();
        d.key("uniformfields"), d.w.raw(0x7B), d.key("closed"), d.boolean(true), d.w.raw(0x7D);
        d.end();
        d.arr();
        std::int64_t at = e.start;
        for (std::int64_t count : e.counts) {
            d.arr();
            std::vector<std::int64_t> v;
            for (std::int64_t k = 0; k < std::min<std::int64_t>(count, 4096); ++k)
                v.push_back(at + k);
            at += count;
            d.ints(v);
            d.end();
        }
        d.end();
    }

    void attributes() {
        d.key("attributes"), d.arr();
        std::int64_t primitives = m_shape.primitives;
        static const char *const kClasses[] = {"vertexattributes", "pointattributes",
                                               "primitiveattributes", "globalattributes"};
        // Point attributes (P first, mostly) and any of the other classes,
        // in any order, now and then one of them twice.
        std::vector<std::uint32_t> classes{1};
        for (std::uint32_t n = c.range(0, 4); n; --n)
            classes.insert(classes.begin() + c.range(0, static_cast<std::uint32_t>(classes.size())),
                           c.range(0, 3));
        if (c.oneIn(16))
            classes.erase(classes.begin() +
                          c.range(0, static_cast<std::uint32_t>(classes.size() - 1)));
        bool position = false;
        for (std::uint32_t which : classes) {
            const std::int64_t elements = which == 0
                                              ? static_cast<std::int64_t>(m_shape.topology.size())
                                          : which == 1 ? m_shape.points
                                          : which == 2 ? primitives
                                                       : 1;
            d.key(kClasses[which]), d.arr();
            const bool withP = which == 1 && !position && !c.oneIn(16);
            position = position || which == 1;
            if (withP)
                attribute("P", elements);
            // The colours packed pieces take from their packed primitive.
            if (which == 2 && hasPacked() && !c.oneIn(3))
                attribute(c.flag() ? "Cd" : "Alpha", elements);
            for (std::uint32_t a = c.range(0, 3); a; --a)
                attribute(nullptr, elements);
            d.end();
        }
        d.end();
    }

    void attribute(const char *name, std::int64_t elements) {
        static const char *const kNames[] = {"P",  "N",      "uv",    "Cd",  "v",
                                             "id", "pscale", "Alpha", "name"};
        const std::string attrName = name ? name : c.oneIn(8) ? c.text(6) : c.pick(kNames);
        const bool isString = name ? c.oneIn(64) : c.oneIn(5);
        const std::uint32_t named = name && std::string(name) == "Alpha" ? 1 : 3;
        const std::uint32_t size = c.oneIn(10) ? c.range(0, 9) : name ? named : c.range(1, 4);
        d.arr();
        d.arr(), d.key("scope"), d.str("public"), d.key("type");
        d.str(isString ? "string" : c.oneIn(12) ? "arraydata" : "numeric");
        d.key("name"), d.str(attrName);
        d.key("options"), d.w.raw(0x7B);
        if (c.flag())
            d.key("type"), d.w.raw(0x7B), d.key("type"), d.str("string"), d.key("value"),
                d.str(c.flag() ? "vector" : "point"), d.w.raw(0x7D);
        d.w.raw(0x7D);
        d.end();
        d.arr();
        d.key("size"), d.integer(size);
        static const char *const kStorage[] = {"fpreal32", "fpreal32", "fpreal64", "int32",
                                               "int64",    "fpreal16", "int8"};
        const std::string storage = isString ? "int32" : c.pick(kStorage);
        d.key("storage"), d.str(storage);
        if (isString) {
            const std::uint32_t strings = c.range(0, 4);
            d.key("strings"), d.arr();
            for (std::uint32_t s = 0; s < strings; ++s)
                d.str(c.text(6));
            d.end();
            d.key("indices");
            values(1, "int32", elements, static_cast<std::int64_t>(strings) - 1, true);
        } else {
            if (c.flag()) {
                d.key("defaults"), d.arr(), d.key("size"), d.integer(1), d.key("storage");
                d.str("fpreal64"), d.key("values"), d.reals({0.0}), d.end();
            }
            d.key("values");
            values(size, storage, elements, 0, false);
        }
        d.end();
        d.end();
    }

    // A values block of elements tuples of width size.
    void values(std::uint32_t size, const std::string &storage, std::int64_t elements,
                std::int64_t top, bool indices) {
        d.arr();
        d.key("size"), d.integer(size);
        d.key("storage"), d.str(storage);
        const std::int64_t n = std::min<std::int64_t>(d.stated(elements), 20000);
        const std::int64_t count = std::max<std::int64_t>(n, 0);
        auto one = [&](bool whole) -> double {
            if (indices)
                return c.oneIn(8) ? static_cast<std::int32_t>(c.u32())
                                  : static_cast<double>(
                                        c.range(0, static_cast<std::uint32_t>(
                                                       std::max<std::int64_t>(top + 1, 0)))) -
                                        1;
            return whole ? static_cast<double>(static_cast<std::int32_t>(c.u16())) : c.real();
        };
        const bool whole = storage.compare(0, 3, "int") == 0;
        switch (c.range(0, 4)) {
        case 0: {
            // Tuples: one array per element.
            d.key("tuples"), d.arr();
            for (std::int64_t e = 0; e < count; ++e) {
                std::vector<double> t;
                for (std::uint32_t k = 0; k < size; ++k)
                    t.push_back(one(whole));
                d.reals(t);
            }
            d.end();
            break;
        }
        case 1: {
            // Arrays: one array per component.
            d.key("arrays"), d.arr();
            for (std::uint32_t k = 0; k < size; ++k) {
                std::vector<double> t;
                for (std::int64_t e = 0; e < count; ++e)
                    t.push_back(one(whole));
                d.reals(t);
            }
            d.end();
            break;
        }
        default:
            paged(size, count, whole, one);
            break;
        }
        d.end();
    }

    template <class One> void paged(std::uint32_t size, std::int64_t count, bool whole, One &one) {
        static const std::int64_t kPageSizes[] = {1024, 1024, 1, 2, 3, 7, 0, -1};
        std::int64_t pagesize = c.pick(kPageSizes);
        d.key("pagesize"), d.integer(pagesize);
        if (pagesize <= 0)
            pagesize = 1024;
        // Sub-vectors: the whole tuple, or split as [3,1] and the like.
        std::vector<std::uint32_t> packing{size};
        if (size > 1 && c.oneIn(3)) {
            const std::uint32_t first = c.range(1, size - 1);
            packing = {first, size - first};
        }
        if (packing.size() > 1 || c.oneIn(6)) {
            std::vector<std::int64_t> p(packing.begin(), packing.end());
            d.key("packing"), d.ints(p);
        }
        const std::int64_t pages = (count + pagesize - 1) / pagesize;
        std::vector<std::vector<bool>> constant(packing.size());
        const bool anyConstant = c.oneIn(3);
        if (anyConstant) {
            d.key("constantpageflags"), d.arr();
            for (std::vector<bool> &flags : constant) {
                if (!c.oneIn(5))
                    for (std::int64_t p = 0; p < pages && p < 4096; ++p)
                        flags.push_back(c.flag());
                d.bools(flags);
            }
            d.end();
        }
        std::vector<double> raw;
        for (std::int64_t p = 0; p < pages; ++p) {
            const std::int64_t inPage = std::min(pagesize, count - p * pagesize);
            for (std::size_t s = 0; s < packing.size(); ++s) {
                const bool isConstant =
                    static_cast<std::size_t>(p) < constant[s].size() && constant[s][p];
                const std::int64_t n = isConstant ? 1 : inPage;
                for (std::int64_t k = 0; k < n * packing[s]; ++k)
                    raw.push_back(one(whole));
            }
        }
        if (c.oneIn(10))
            raw.resize(c.range(0, static_cast<std::uint32_t>(raw.size() + 3)));
        d.key("rawpagedata");
        if (whole) {
            std::vector<std::int64_t> ints;
            for (double x : raw)
                ints.push_back(x > -1e18 && x < 1e18 ? static_cast<std::int64_t>(x) : 0);
            d.ints(ints);
        } else {
            d.reals(raw);
        }
    }

    void groups() {
        d.arr();
        for (std::uint32_t g = c.range(0, 2); g; --g) {
            d.arr();
            d.arr(), d.key("name"), d.str(c.text(5)), d.end();
            d.arr(), d.key("selection"), d.arr(), d.str("unordered"), d.arr();
            d.str("boolRLE"), d.ints({static_cast<std::int64_t>(m_shape.points), 1});
            d.end(), d.end(), d.end();
            d.end();
        }
        d.end();
    }
};

void Document::nested() {
    Builder inner(*this);
    inner.document();
}

// The built binary document as JSON text, token by token: string-table
// references resolved, uniform arrays as plain arrays, separators and blanks
// between values. A byte no token starts with (a bent document) is written
// as it is, and the rest of the document after it.
class TextWriter {
public:
    TextWriter(const Bytes &in, bool big, Choices &c) : m_in(in), m_big(big), c(c) {}

    Bytes run() {
        m_bend = c.oneIn(8);
        m_at = 5; // the magic
        while (m_at < m_in.size() && token())
            ;
        if (m_at < m_in.size())
            m_out.insert(m_out.end(), m_in.begin() + static_cast<std::ptrdiff_t>(m_at), m_in.end());
        return std::move(m_out);
    }

private:
    struct Level {
        bool map;
        std::size_t items;
    };

    const Bytes &m_in;
    bool m_big;
    Choices &c;
    // Mostly the text is what a writer would produce; a bent one now and
    // then loses or doubles a separator, or spells an integer as a real.
    bool m_bend = false;
    std::size_t m_at = 0;
    Bytes m_out;
    std::vector<Level> m_open;
    std::vector<std::string> m_table;

    bool has(std::size_t n) const { return n <= m_in.size() - m_at; }
    template <class T> bool load(T &v) {
        if (!has(sizeof(T)))
            return false;
        unsigned char b[sizeof(T)];
        for (std::size_t k = 0; k < sizeof(T); ++k)
            b[k] = m_in[m_at + (m_big ? sizeof(T) - 1 - k : k)];
        std::memcpy(&v, b, sizeof(T));
        m_at += sizeof(T);
        return true;
    }
    bool length(std::uint64_t &n) {
        if (!has(1))
            return false;
        const std::uint8_t b = m_in[m_at++];
        if (b < 0xF1) {
            n = b;
            return true;
        }
        std::uint16_t u16;
        std::uint32_t u32;
        switch (b) {
        case 0xF2:
            return load(u16) && (n = u16, true);
        case 0xF4:
            return load(u32) && (n = u32, true);
        case 0xF8:
            return load(n);
        default:
            return false;
        }
    }
    bool bytes(std::uint64_t n, std::string &s) {
        if (!has(n))
            return false;
        s.assign(reinterpret_cast<const char *>(m_in.data() + m_at), static_cast<std::size_t>(n));
        m_at += static_cast<std::size_t>(n);
        return true;
    }

    void put(const std::string &s) { m_out.insert(m_out.end(), s.begin(), s.end()); }
    void blanks() {
        static const char kBlanks[] = {' ', '\t', '\n', '\r'};
        if (c.oneIn(4))
            for (std::uint32_t n = c.range(1, 3); n; --n)
                m_out.push_back(static_cast<unsigned char>(c.pick(kBlanks)));
    }
    // The separator before a value: ',' between items, ':' after a key;
    // now and then left out or doubled.
    void before() {
        blanks();
        if (m_open.empty())
            return;
        Level &level = m_open.back();
        const char sep = level.map && level.items % 2 ? ':' : level.items ? ',' : 0;
        ++level.items;
        if (!sep || (m_bend && c.oneIn(251)))
            return;
        m_out.push_back(static_cast<unsigned char>(sep));
        if (m_bend && c.oneIn(251))
            m_out.push_back(static_cast<unsigned char>(sep));
        blanks();
    }
    void quoted(const std::string &s) {
        static const char digits[] = "0123456789abcdef";
        std::string out = "\"";
        for (unsigned char ch : s) {
            if (ch == '"' || ch == '\\') {
                out += '\\';
                out += static_cast<char>(ch);
            } else if (ch == '\n' && c.flag()) {
                out += "\\n";
            } else if (ch == '/' && c.flag()) {
                out += "\\/";
            } else if (ch < 0x20 || (ch < 0x80 && c.oneIn(16))) {
                out += "\\u00";
                out += digits[ch >> 4];
                out += digits[ch & 15];
            } else {
                out += static_cast<char>(ch);
            }
        }
        put(out + "\"");
    }
    void integer(std::int64_t v) {
        before();
        put(std::to_string(v));
        if (m_bend && c.oneIn(97))
            put(c.flag() ? ".0" : "e0"); // a real where an integer belongs
    }
    template <class T> void real(T v) {
        before();
        // Text has no infinities or NaNs: a bent document says 1e999, the
        // others write the largest finite value or 0.
        if (!std::isfinite(v) && m_bend)
            return put(c.flag() ? "1e999" : "-1e999");
        if (std::isnan(v))
            v = 0;
        else if (std::isinf(v))
            v = v > 0 ? std::numeric_limits<T>::max() : std::numeric_limits<T>::lowest();
        char buf[64];
        const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, v);
        put(std::string(buf, r.ptr));
    }
    void open(bool map) {
        before();
        m_out.push_back(map ? '{' : '[');
        m_open.push_back(Level{map, 0});
    }
    void close(bool map) {
        blanks();
        m_out.push_back(map ? '}' : ']');
        if (!m_open.empty())
            m_open.pop_back();
    }

    // One token; false when the binary stream stops making sense.
    bool token() {
        const std::uint8_t id = m_in[m_at++];
        std::uint64_t n = 0;
        std::string s;
        std::int8_t i8;
        std::int16_t i16;
        std::int32_t i32;
        std::int64_t i64;
        std::uint8_t u8;
        std::uint16_t u16;
        double f64;
        float f32;
        switch (id) {
        case 0x00:
            return before(), put("null"), true;
        case 0x30:
        case 0x31:
            return before(), put(id == 0x31 ? "true" : "false"), true;
        case 0x10:
            return load(u8) && (before(), put(u8 ? "true" : "false"), true);
        case 0x11:
            return load(i8) && (integer(i8), true);
        case 0x12:
            return load(i16) && (integer(i16), true);
        case 0x13:
            return load(i32) && (integer(i32), true);
        case 0x14:
            return load(i64) && (integer(i64), true);
        case 0x21:
            return load(u8) && (integer(u8), true);
        case 0x22:
            return load(u16) && (integer(u16), true);
        case 0x18:
            return load(u16) && (real(1.0f), true);
        case 0x19:
            return load(f32) && (real(f32), true);
        case 0x1A:
            return load(f64) && (real(f64), true);
        case 0x27:
            return length(n) && bytes(n, s) && (before(), quoted(s), true);
        case 0x26:
            if (!length(n))
                return false;
            before();
            if (n < m_table.size() && m_table[n] != "\x01undefined")
                quoted(m_table[n]);
            else
                put("&"); // an undefined reference has no spelling in text
            return true;
        case 0x2B: {
            std::uint64_t size;
            if (!length(n) || !length(size) || !bytes(size, s))
                return false;
            if (n < (1u << 20)) {
                if (n >= m_table.size())
                    m_table.resize(static_cast<std::size_t>(n) + 1);
                m_table[static_cast<std::size_t>(n)] = s;
            }
            return true;
        }
        case 0x2D:
            if (!length(n))
                return false;
            if (n < m_table.size())
                m_table[n] = "\x01undefined";
            return true;
        case 0x40:
            return uniform();
        case 0x5B:
        case 0x7B:
            return open(id == 0x7B), true;
        case 0x5D:
        case 0x7D:
            return close(id == 0x7D), true;
        default:
            --m_at;
            return false;
        }
    }

    bool uniform() {
        std::uint8_t type;
        std::uint64_t n;
        if (!load(type) || !length(n) || n > m_in.size())
            return false;
        open(false);
        std::uint32_t word = 0;
        for (std::uint64_t k = 0; k < n; ++k) {
            std::int8_t i8;
            std::int16_t i16;
            std::int32_t i32;
            std::int64_t i64;
            std::uint8_t u8;
            std::uint16_t u16;
            float f32;
            double f64;
            std::uint64_t len;
            std::string s;
            bool ok = true;
            switch (type) {
            case 0x11:
                ok = load(i8) && (integer(i8), true);
                break;
            case 0x12:
                ok = load(i16) && (integer(i16), true);
                break;
            case 0x13:
                ok = load(i32) && (integer(i32), true);
                break;
            case 0x14:
                ok = load(i64) && (integer(i64), true);
                break;
            case 0x21:
                ok = load(u8) && (integer(u8), true);
                break;
            case 0x22:
                ok = load(u16) && (integer(u16), true);
                break;
            case 0x18:
                ok = load(u16) && (real(1.0f), true);
                break;
            case 0x19:
                ok = load(f32) && (real(f32), true);
                break;
            case 0x1A:
                ok = load(f64) && (real(f64), true);
                break;
            case 0x10:
                // 32 flags to a word, the first flag in the lowest bit.
                ok = (k % 32 || load(word)) &&
                     (before(), put((word >> (k % 32)) & 1 ? "true" : "false"), true);
                break;
            case 0x27:
                ok = length(len) && bytes(len, s) && (before(), quoted(s), true);
                break;
            case 0x26:
                ok = length(len);
                if (ok) {
                    before();
                    if (len < m_table.size())
                        quoted(m_table[static_cast<std::size_t>(len)]);
                    else
                        put("&");
                }
                break;
            default:
                ok = false;
            }
            if (!ok)
                return false;
        }
        close(false);
        return true;
    }
};

Bytes gzip(const Bytes &data, int level) {
    z_stream zs{};
    deflateInit2(&zs, level, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&zs, static_cast<uLong>(data.size())) + 32);
    zs.next_in = const_cast<Bytef *>(data.data());
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

// The Blosc container: "scf1", eight zero bytes, the chunks, the index of
// chunk starts and sizes, "1fcs".
Bytes blosc(const Bytes &data, std::size_t chunkBytes) {
    Bytes out = {'s', 'c', 'f', '1', 0, 0, 0, 0, 0, 0, 0, 0};
    std::vector<std::uint64_t> starts;
    std::size_t last = 0;
    for (std::size_t at = 0; at < data.size() || at == 0; at += chunkBytes) {
        const std::size_t n = std::min(chunkBytes, data.size() - at);
        Bytes chunk(n + BLOSC_MAX_OVERHEAD);
        const int written = blosc_compress_ctx(5, BLOSC_SHUFFLE, 4, n, data.data() + at,
                                               chunk.data(), chunk.size(), "lz4", 0, 1);
        if (written <= 0)
            return data;
        starts.push_back(out.size() - 12);
        out.insert(out.end(), chunk.begin(), chunk.begin() + written);
        last = n;
        if (n < chunkBytes)
            break;
    }
    auto be64 = [&](std::uint64_t v) {
        for (int k = 7; k >= 0; --k)
            out.push_back(static_cast<unsigned char>(v >> (8 * k)));
    };
    for (std::size_t k = 1; k < starts.size(); ++k)
        be64(starts[k]);
    be64(chunkBytes);
    be64(last);
    be64(8 * (starts.size() + 1));
    out.insert(out.end(), {'1', 'f', 'c', 's'});
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    Choices c(data, size);
    const std::uint8_t head = c.byte();
    const bool big = head & 0x80;
    Document d(c, big);
    d.w.raw(0x7F);
    d.w.value(std::uint32_t(0x624A534E));
    Builder(d).document();
    Bytes file = std::move(d.w.out());
    if ((head & 0x60) == 0x60)
        file = TextWriter(file, big, c).run();
    if (c.oneIn(8) && !file.empty())
        file.resize(c.range(0, static_cast<std::uint32_t>(file.size() - 1)));
    switch (head & 0x7) {
    case 1:
        file = gzip(file, 1);
        break;
    case 2:
        file = blosc(file, 64u << (c.byte() % 8));
        break;
    case 3:
        file = gzip(blosc(file, 1 << 20), 1);
        break;
    default:
        break;
    }
    kelpfuzz::saveBuiltFile(file);
    Kelp detail;
    // Now and then loaded for particles: packed pieces as points, not expanded.
    if (c.oneIn(4))
        detail.setLoadFor(KelpLoadFor::Particles);
    // Half the time through a window of a few bytes, so that its edges fall
    // inside every kind of record.
    const std::size_t window = c.oneIn(2) ? 1 + c.byte() % 64 : kelp::kStreamWindow;
    if (kelp::loadMemoryThroughWindow(detail, file.data(), file.size(), "fuzz.bgeo", window) == 1)
        kelpfuzz::trapOnProblem(detail);
    return 0;
}
