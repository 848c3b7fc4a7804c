// libFuzzer target for the classic format, by structure: the input is a
// stream of choices (Choices.h) from which a classic binary file is built:
// the header's counts, attribute dictionaries of every type and size, point
// records, primitives in runs and with their own keys (polygons open and
// closed, particles, keys of other types), 16- or 32-bit point indices,
// detail attributes, groups and the extra section, and gzip around it. One
// choice writes the same file in the text form instead ("PGEOMETRY V5",
// words and brackets in the binary form's order).
// Mostly the file is what a writer would produce; each choice may also bend
// one part of it. Whatever loads must pass the model checks, and when no
// choice bent the file, a load that succeeds must give the points and
// polygons that were written.
#include "Choices.h"
#include "LoadStream.h"
#include "io/ByteCursor.h"
#include "ModelChecks.h"

#include <Kelp>

#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using kelpfuzz::Choices;
typedef std::vector<unsigned char> Bytes;

// Big-endian bytes, as in the files.
struct Out {
    Bytes b;
    void u8(std::uint8_t v) { b.push_back(v); }
    void u16(std::uint16_t v) { u8(v >> 8), u8(v & 0xFF); }
    void u32(std::uint32_t v) { u16(v >> 16), u16(v & 0xFFFF); }
    void f32(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        u32(bits);
    }
    void text(const std::string &s) { b.insert(b.end(), s.begin(), s.end()); }

    // The text form: words separated by one blank, lines ended by line().
    void word(const std::string &s) {
        if (!b.empty() && b.back() != '\n')
            u8(' ');
        text(s);
    }
    void line() { u8('\n'); }
    void number(std::uint32_t v) { word(std::to_string(v)); }
    void integer(std::int32_t v) { word(std::to_string(v)); }
    void real(float v) {
        char digits[32];
        std::snprintf(digits, sizeof digits, "%.9g", static_cast<double>(v));
        word(digits);
    }
    void quoted(const std::string &s) {
        std::string q = "\"";
        for (char c : s) {
            if (c == '"' || c == '\\')
                q += '\\';
            q += c;
        }
        word(q + "\"");
    }
};

struct Attr {
    std::int16_t size;
    std::int32_t type;
    std::uint32_t strings; // index attributes
};

class Builder {
public:
    Builder(Choices &c, bool text) : c(c), m_text(text) {}

    Bytes file() {
        // Point counts: small, or at the edge of the 16-bit indices.
        static const std::uint32_t kEdges[] = {65533, 65534, 65535, 65536, 65532};
        points = c.oneIn(24) ? c.pick(kEdges) : c.range(0, 40);
        const std::uint32_t prims = planPrimitives();
        const std::uint32_t pointAttrs = c.range(0, 4), vertexAttrs = c.range(0, 3),
                            primAttrs = c.range(0, 2), detailAttrs = c.range(0, 2);
        const std::uint32_t pointGroups = c.oneIn(4) ? c.range(1, 2) : 0;
        const std::uint32_t primGroups = c.oneIn(4) ? c.range(1, 2) : 0;

        const char *magic = m_text ? "PGEOMETRY V" : "BgeoV";
        if (c.oneIn(64))
            o.text(magic + c.text(1)), bent = true;
        else
            o.text(magic);
        if (m_text) {
            o.text(std::to_string(stated(5)));
            const char *labels[] = {"NPoints",      "NPrims",        "NPointGroups", "NPrimGroups",
                                    "NPointAttrib", "NVertexAttrib", "NPrimAttrib",  "NAttrib"};
            const std::uint32_t counts[] = {points,     prims,       pointGroups, primGroups,
                                            pointAttrs, vertexAttrs, primAttrs,   detailAttrs};
            for (int i = 0; i < 8; ++i) {
                if (i % 2 == 0 && i != 6)
                    o.line();
                o.word(c.oneIn(64) ? (bent = true, c.text(8)) : labels[i]);
                o.number(stated(counts[i]));
            }
            o.line();
        } else {
            o.u32(stated(5));
            o.u32(stated(points)), o.u32(stated(prims));
            o.u32(stated(pointGroups)), o.u32(stated(primGroups));
            o.u32(stated(pointAttrs)), o.u32(stated(vertexAttrs));
            o.u32(stated(primAttrs)), o.u32(stated(detailAttrs));
        }

        dictionary(pointAttrs, pointDict, "PointAttrib");
        for (std::uint32_t p = 0; p < points; ++p) {
            // Edge-sized files keep their records cheap to make.
            const bool plain = points > 1000;
            real(plain ? static_cast<float>(p) : c.real()), real(plain ? 0.0f : c.real());
            real(plain ? 0.0f : c.real()), real(1.0f);
            values(pointDict, plain, '(', ')');
            if (m_text)
                o.line();
        }
        dictionary(vertexAttrs, vertexDict, "VertexAttrib");
        dictionary(primAttrs, primDict, "PrimitiveAttrib");
        primitives();
        dictionary(detailAttrs, detailDict, "DetailAttrib");
        values(detailDict, false, '(', ')');
        groups(pointGroups, points);
        groups(primGroups, prims);
        if (m_text) {
            // beginExtra, optional text, endExtra.
            o.word(c.oneIn(20) ? (bent = true, c.text(10)) : "beginExtra"), o.line();
            if (c.oneIn(4))
                o.text(c.text(29)), o.line();
            o.word(c.oneIn(20) ? (bent = true, c.text(8)) : "endExtra"), o.line();
        } else {
            // The extra section: 00, optional bytes, FF.
            o.u8(c.oneIn(20) ? (bent = true, c.byte()) : 0x00);
            if (c.oneIn(4))
                o.text(c.text(29));
            o.u8(c.oneIn(20) ? (bent = true, c.byte()) : 0xFF);
        }
        if (c.oneIn(10))
            o.text(c.text(6)), bent = true;
        if (c.oneIn(10) && !o.b.empty())
            o.b.resize(c.range(0, static_cast<std::uint32_t>(o.b.size() - 1))), bent = true;
        return o.b;
    }

    // Whether some choice made the file other than a writer would: when
    // none did, a load that succeeds must give exactly what was built.
    bool bent = false;

    bool matches(const Kelp &k) const {
        if (k.getNumPoints() != points)
            return false;
        std::vector<const Prim *> polygons;
        std::uint32_t open = 0;
        std::uint32_t particles = 0;
        for (const Group &g : m_groups)
            for (const Prim &p : g.prims) {
                if (p.key == 1 && !p.open)
                    polygons.push_back(&p);
                open += p.key == 1 && p.open;
                particles += p.key != 1;
            }
        // Open polygons (polylines) and particle systems are read past, and
        // counted.
        if (k.getPolygons().size() != polygons.size() || k.getSkippedPrimitives().curves != open ||
            k.getSkippedPrimitives().other != particles)
            return false;
        for (std::size_t p = 0; p < polygons.size(); ++p) {
            const PolygonIds &ids = k.getPolygons()[p].ids;
            if (!std::equal(ids.begin(), ids.end(), polygons[p]->ids.begin(),
                            polygons[p]->ids.end()))
                return false;
        }
        return true;
    }

private:
    Choices &c;
    const bool m_text;
    Out o;
    std::uint32_t points = 0;
    std::vector<Attr> pointDict, vertexDict, primDict, detailDict;

    // A primitive: its key and its vertices' points.
    struct Prim {
        std::uint32_t key;
        bool open;
        std::vector<std::uint32_t> ids;
    };
    // Groups of primitives written as runs (count > 0) or keyed (count 0).
    struct Group {
        bool run;
        std::vector<Prim> prims;
    };
    std::vector<Group> m_groups;
    bool m_wide = false;

    std::uint32_t stated(std::uint32_t truth) {
        if (!c.oneIn(10))
            return truth;
        bent = true;
        switch (c.byte() % 5) {
        case 0:
            return truth + 1;
        case 1:
            return truth - 1;
        case 2:
            return 0;
        case 3:
            return 0xFFFFFFFFu;
        default:
            return c.u32();
        }
    }

    std::uint32_t planPrimitives() {
        // The index width a writer uses for this point count; or the other one.
        // From 65533 to 65535 points writers use either.
        m_wide = points > 65535;
        if (!m_text && c.oneIn(points >= 65533 ? 2 : 16)) {
            m_wide = !m_wide;
            bent = bent || points < 65533 || points > 65535;
        }
        static const std::uint32_t kKeys[] = {1, 1, 1, 0x8000, 0x2, 0x10, 0x1000, 0};
        std::uint32_t total = 0;
        for (std::uint32_t g = c.range(0, 4); g; --g) {
            Group group;
            group.run = c.flag();
            const std::uint32_t key = c.oneIn(30) ? c.u32() : c.pick(kKeys);
            bent = bent || (key != 1 && key != 0x8000);
            for (std::uint32_t n = group.run ? c.range(0, 6) : 1; n; --n) {
                Prim p;
                p.key = group.run ? key : c.oneIn(4) ? c.pick(kKeys) : key;
                bent = bent || (p.key != 1 && p.key != 0x8000);
                p.open = c.oneIn(5);
                const std::uint32_t verts = p.key == 0x8000 && points <= 1000 && c.flag() ? points
                                            : c.oneIn(20) ? c.range(0, 70000)
                                                          : c.range(0, 6);
                for (std::uint32_t v = 0; v < std::min<std::uint32_t>(verts, 4096); ++v) {
                    const std::uint32_t id = c.oneIn(30) ? c.u32()
                                             : points ? (points > 1000 ? points - 1 - c.range(0, 3)
                                                                       : c.range(0, points - 1))
                                                      : 0;
                    bent = bent || id >= points;
                    p.ids.push_back(id);
                }
                if (verts > 4096)
                    p.ids.resize(verts), bent = true; // stated, not written
                group.prims.push_back(p);
            }
            bent = bent || group.prims.empty();
            total += static_cast<std::uint32_t>(group.prims.size());
            m_groups.push_back(group);
        }
        return total;
    }

    void real(float v) { m_text ? o.real(v) : o.f32(v); }

    static const char *typeWord(std::int32_t type) {
        switch (type) {
        case 0:
            return "float";
        case 1:
            return "int";
        case 4:
            return "index";
        case 5:
            return "vector";
        case 2:
            return "string";
        case 3:
            return "mixed";
        default:
            return "type7";
        }
    }

    void dictionary(std::uint32_t count, std::vector<Attr> &dict, const char *keyword) {
        if (m_text && count)
            o.word(c.oneIn(40) ? (bent = true, c.text(12)) : keyword), o.line();
        static const char *const kNames[] = {"Cd",     "N",     "uv",        "v",      "id",
                                             "pscale", "Alpha", "generator", "varmap", "P"};
        static const std::int32_t kTypes[] = {0, 0, 1, 5, 5, 4, 2, 3, 7};
        for (std::uint32_t a = 0; a < count; ++a) {
            const std::string name = c.oneIn(8) ? c.text(10) : c.pick(kNames);
            Attr attr;
            attr.type = c.pick(kTypes);
            attr.size = static_cast<std::int16_t>(c.oneIn(12) ? c.u16() % 8 - 2 : c.range(1, 4));
            if (attr.type == 4 && !c.oneIn(6))
                attr.size = 1;
            bent = bent || attr.size < 1 || (attr.type == 4 && attr.size != 1) ||
                   (attr.type != 0 && attr.type != 1 && attr.type != 4 && attr.type != 5);
            attr.strings = 0;
            if (m_text) {
                o.quoted(name);
                o.integer(attr.size);
                o.word(typeWord(attr.type));
            } else {
                o.u16(static_cast<std::uint16_t>(name.size())), o.text(name);
                o.u16(static_cast<std::uint16_t>(attr.size));
                o.u32(static_cast<std::uint32_t>(attr.type));
            }
            if (attr.type == 4) {
                attr.strings = c.range(0, 4);
                m_text ? o.number(stated(attr.strings)) : o.u32(stated(attr.strings));
                for (std::uint32_t s = 0; s < attr.strings; ++s) {
                    const std::string text =
                        name == "varmap" && c.flag() ? "name -> NAME" : c.text(8);
                    if (m_text)
                        o.quoted(text);
                    else
                        o.u16(static_cast<std::uint16_t>(text.size())), o.text(text);
                }
            } else {
                for (std::int16_t k = 0; k < std::max<std::int16_t>(attr.size, 0); ++k) {
                    if (attr.type != 1)
                        real(c.real());
                    else if (m_text)
                        o.number(c.u16());
                    else
                        o.u32(c.u16());
                }
            }
            if (m_text)
                o.line();
            dict.push_back(attr);
        }
    }

    // One element's values; in the text form inside the brackets given.
    void values(const std::vector<Attr> &dict, bool plain, char open, char close) {
        if (m_text && dict.empty())
            return;
        if (m_text)
            o.word(std::string(1, open));
        for (const Attr &a : dict)
            for (std::int16_t k = 0; k < std::max<std::int16_t>(a.size, 0); ++k) {
                std::uint32_t bits = 0;
                if (plain)
                    bits = 0;
                else if (a.type == 4)
                    bits = c.oneIn(8) ? (bent = true, c.u32())
                                      : c.range(0, a.strings ? a.strings - 1 : 0);
                else if (a.type == 1)
                    bits = c.u32();
                else {
                    real(c.real());
                    continue;
                }
                if (!m_text)
                    o.u32(bits);
                else if (plain || a.type == 0 || a.type == 5)
                    o.real(0.0f);
                else
                    o.integer(static_cast<std::int32_t>(bits));
            }
        if (m_text)
            o.word(std::string(1, close));
    }

    void index(std::uint32_t id) {
        if (m_text)
            o.number(id);
        else
            m_wide ? o.u32(id) : o.u16(static_cast<std::uint16_t>(id));
    }

    // The word of a primitive type in the text form.
    std::string typeName(std::uint32_t key) {
        switch (key) {
        case 1:
            return "Poly";
        case 0x8000:
            return "Part";
        case 0x2:
            return "NURBCurve";
        case 0x10:
            return "Mesh";
        case 0x1000:
            return "Sphere";
        default:
            return std::to_string(key);
        }
    }

    void body(const Prim &p) {
        const std::uint32_t count = stated(static_cast<std::uint32_t>(p.ids.size()));
        if (m_text)
            o.number(count);
        else
            o.u32(count);
        if (p.key != 0x8000)
            m_text ? o.word(p.open ? ":" : "<") : o.u8(p.open ? ':' : '<');
        const std::size_t written = std::min<std::size_t>(p.ids.size(), 4096);
        for (std::size_t v = 0; v < written; ++v) {
            index(p.ids[v]);
            values(vertexDict, false, '(', ')');
        }
        values(primDict, false, '[', ']');
        if (m_text)
            o.line();
    }

    void primitives() {
        for (const Group &g : m_groups) {
            const std::uint32_t key = g.prims.empty() ? 1 : g.prims[0].key;
            if (g.run && m_text) {
                // A text run may be of any length.
                o.word("Run"), o.number(stated(static_cast<std::uint32_t>(g.prims.size())));
                o.word(typeName(key)), o.line();
                for (const Prim &p : g.prims)
                    body(p);
            } else if (g.run) {
                o.u32(0xFFFFFFFFu);
                o.u16(
                    static_cast<std::uint16_t>(stated(static_cast<std::uint32_t>(g.prims.size()))));
                o.u32(key);
                for (const Prim &p : g.prims)
                    body(p);
            } else {
                for (const Prim &p : g.prims) {
                    if (m_text)
                        o.word(typeName(p.key));
                    else
                        o.u32(p.key);
                    body(p);
                }
            }
        }
    }

    // Name, element count and a bit per element.
    void groups(std::uint32_t count, std::uint32_t elements) {
        for (std::uint32_t g = 0; g < count; ++g) {
            const std::string name = c.text(6);
            if (m_text) {
                // Name, element count, one 0 or 1 per element.
                o.quoted(name), o.number(elements), o.line();
                std::string flags;
                for (std::uint32_t k = 0; k < elements && k < 4096 * 8; ++k)
                    flags += static_cast<char>('0' + (k % 8 == 0 ? c.byte() : 0) % 2);
                o.word(flags), o.line();
                continue;
            }
            o.u16(static_cast<std::uint16_t>(name.size())), o.text(name);
            o.u32(elements);
            for (std::uint32_t k = 0; k < (elements + 7) / 8 && k < 4096; ++k)
                o.u8(c.byte());
        }
    }
};

Bytes gzip(const Bytes &data) {
    z_stream zs{};
    deflateInit2(&zs, 1, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    Choices c(data, size);
    const bool compressed = c.oneIn(6);
    const bool text = c.oneIn(4);
    Builder builder(c, text);
    Bytes file = builder.file();
    if (compressed)
        file = gzip(file);
    kelpfuzz::saveBuiltFile(file);
    // Half the time through a window of a few bytes, so that its edges fall
    // inside every kind of record.
    const std::size_t window = c.oneIn(2) ? 1 + c.byte() % 64 : kelp::kStreamWindow;
    Kelp detail;
    if (kelp::loadMemoryThroughWindow(detail, file.data(), file.size(),
                                      text ? "fuzz.geo" : "fuzz.bgeo", window) == 1) {
        kelpfuzz::trapOnProblem(detail);
        if (!builder.bent && !builder.matches(detail))
            __builtin_trap();
    }
    return 0;
}
