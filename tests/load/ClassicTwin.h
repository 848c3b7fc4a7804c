// One classic file described once and written both ways, binary and text,
// so that a test can load the two and compare what they give. It holds what
// Kelp's saver cannot write: integer and string attributes, floats of size 2
// and vectors of size 4, particle primitives, open polygons, primitive and
// detail attributes, groups and data in the extra section.
#ifndef KELP_TESTS_CLASSICTWIN_H
#define KELP_TESTS_CLASSICTWIN_H

#include "ClassicBytes.h"

#include <Kelp>

#include <cstdint>
#include <string>
#include <vector>

namespace kelptest {

struct TwinAttr {
    std::string name;
    std::int16_t size;
    std::int32_t type; // 0 float, 1 int, 4 index, 5 vector
    std::vector<std::string> strings;
};

struct TwinPrim {
    bool polygon;
    bool open;
    std::vector<std::uint32_t> ids;
};

struct TwinGroup {
    std::string name;
    std::vector<bool> members;
};

class ClassicTwin {
public:
    std::uint32_t points = 0;
    std::vector<TwinAttr> pointAttrs, vertexAttrs, primAttrs, detailAttrs;
    std::vector<TwinPrim> prims;
    std::vector<TwinGroup> pointGroups, primGroups;
    bool runs = true;       // consecutive primitives of one type in runs
    std::string extraText;  // between beginExtra and endExtra
    std::string extraBytes; // between 00 and FF

    Bytes binary() const {
        ClassicBytes b;
        b.header(points, count(prims), count(pointAttrs), count(vertexAttrs), count(primAttrs),
                 count(detailAttrs), count(pointGroups), count(primGroups));
        std::uint32_t k = 0;
        dictionary(b, pointAttrs);
        for (std::uint32_t p = 0; p < points; ++p) {
            b.point(coordinate(p, 0), coordinate(p, 1), coordinate(p, 2));
            values(b, pointAttrs, k);
        }
        dictionary(b, vertexAttrs);
        dictionary(b, primAttrs);
        for (std::size_t i = 0; i < prims.size();) {
            const std::size_t end = runEnd(i);
            const std::uint32_t key = prims[i].polygon ? 1 : 0x8000;
            const bool keyed = end - i == 1;
            if (!keyed)
                b.runHeader(static_cast<std::uint16_t>(end - i), key);
            for (; i < end; ++i) {
                const TwinPrim &p = prims[i];
                if (keyed)
                    b.u32(key);
                b.u32(static_cast<std::uint32_t>(p.ids.size()));
                if (p.polygon)
                    b.u8(p.open ? ':' : '<');
                for (std::uint32_t id : p.ids) {
                    points > 65535 ? b.u32(id) : b.u16(static_cast<std::uint16_t>(id));
                    values(b, vertexAttrs, k);
                }
                values(b, primAttrs, k);
            }
        }
        dictionary(b, detailAttrs);
        values(b, detailAttrs, k);
        groups(b, pointGroups);
        groups(b, primGroups);
        b.u8(0x00).raw(extraBytes).u8(0xFF);
        return b.bytes();
    }

    std::string text() const {
        std::string t = "PGEOMETRY V5\n";
        t += "NPoints " + std::to_string(points) + " NPrims " + std::to_string(prims.size()) +
             "\nNPointGroups " + std::to_string(pointGroups.size()) + " NPrimGroups " +
             std::to_string(primGroups.size()) + "\nNPointAttrib " +
             std::to_string(pointAttrs.size()) + " NVertexAttrib " +
             std::to_string(vertexAttrs.size()) + " NPrimAttrib " +
             std::to_string(primAttrs.size()) + " NAttrib " + std::to_string(detailAttrs.size()) +
             "\n";
        std::uint32_t k = 0;
        dictionary(t, "PointAttrib", pointAttrs);
        for (std::uint32_t p = 0; p < points; ++p) {
            t += number(coordinate(p, 0)) + " " + number(coordinate(p, 1)) + " " +
                 number(coordinate(p, 2)) + " 1";
            if (!pointAttrs.empty())
                t += " " + values(pointAttrs, k, '(', ')');
            t += "\n";
        }
        dictionary(t, "VertexAttrib", vertexAttrs);
        dictionary(t, "PrimitiveAttrib", primAttrs);
        for (std::size_t i = 0; i < prims.size();) {
            const std::size_t end = runEnd(i);
            const char *word = prims[i].polygon ? "Poly" : "Part";
            const bool keyed = end - i == 1;
            if (!keyed)
                t += "Run " + std::to_string(end - i) + " " + word + "\n";
            for (; i < end; ++i) {
                const TwinPrim &p = prims[i];
                t += keyed ? word : "";
                t += " " + std::to_string(p.ids.size());
                if (p.polygon)
                    t += p.open ? " :" : " <";
                for (std::uint32_t id : p.ids) {
                    t += " " + std::to_string(id);
                    if (!vertexAttrs.empty())
                        t += " " + values(vertexAttrs, k, '(', ')');
                }
                if (!primAttrs.empty())
                    t += " " + values(primAttrs, k, '[', ']');
                t += "\n";
            }
        }
        dictionary(t, "DetailAttrib", detailAttrs);
        if (!detailAttrs.empty())
            t += values(detailAttrs, k, '(', ')') + "\n";
        groups(t, pointGroups);
        groups(t, primGroups);
        return t + "beginExtra\n" + extraText + "endExtra\n";
    }

    // Values with few digits, so that their text is exact.
    static float coordinate(std::uint32_t p, int axis) {
        return static_cast<float>(static_cast<int>((p * 7 + axis * 3) % 13) - 6) * 0.25f;
    }
    static float floatValue(std::uint32_t k) {
        return static_cast<float>(static_cast<int>(k % 29) - 14) * 0.125f;
    }
    static std::int32_t intValue(std::uint32_t k) { return static_cast<std::int32_t>(k * 5) - 7; }

private:
    template <class V> static std::uint32_t count(const V &v) {
        return static_cast<std::uint32_t>(v.size());
    }

    // The end of the run that starts at i, when runs are on: neighbours of one type.
    std::size_t runEnd(std::size_t i) const {
        std::size_t end = i + 1;
        while (runs && end < prims.size() && prims[end].polygon == prims[i].polygon)
            ++end;
        return end;
    }
    static std::string number(float v) {
        std::string s = std::to_string(v);
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.')
            s.pop_back();
        return s == "-0" ? "0" : s;
    }
    static std::string quoted(const std::string &s) {
        std::string out = "\"";
        for (char c : s) {
            if (c == '"' || c == '\\')
                out += '\\';
            out += c;
        }
        return out + "\"";
    }
    static const char *typeWord(std::int32_t type) {
        return type == 0 ? "float" : type == 1 ? "int" : type == 4 ? "index" : "vector";
    }
    static bool integer(const TwinAttr &a) { return a.type == 1 || a.type == 4; }
    // The value of component c of an element whose values start at k.
    static float componentValue(const TwinAttr &a, std::uint32_t k) {
        if (a.type == 4)
            return static_cast<float>(a.strings.empty() ? 0 : k % a.strings.size());
        return integer(a) ? static_cast<float>(intValue(k)) : floatValue(k);
    }

    static void dictionary(ClassicBytes &b, const std::vector<TwinAttr> &attrs) {
        for (const TwinAttr &a : attrs) {
            if (a.type == 4) {
                b.i16(static_cast<std::int16_t>(a.name.size())).raw(a.name).i16(a.size).i32(4);
                b.i32(static_cast<std::int32_t>(a.strings.size()));
                for (const std::string &s : a.strings)
                    b.u16(static_cast<std::uint16_t>(s.size())).raw(s);
                continue;
            }
            b.i16(static_cast<std::int16_t>(a.name.size())).raw(a.name).i16(a.size).i32(a.type);
            for (std::int16_t c = 0; c < a.size; ++c)
                integer(a) ? b.i32(intValue(1000 + c)) : b.f32(floatValue(1000 + c));
        }
    }
    static void dictionary(std::string &t, const char *word, const std::vector<TwinAttr> &attrs) {
        if (attrs.empty())
            return;
        t += std::string(word) + "\n";
        for (const TwinAttr &a : attrs) {
            t += quoted(a.name) + " " + std::to_string(a.size) + " " + typeWord(a.type);
            if (a.type == 4) {
                t += " " + std::to_string(a.strings.size());
                for (const std::string &s : a.strings)
                    t += " " + quoted(s);
            } else {
                for (std::int16_t c = 0; c < a.size; ++c)
                    t += " " + (integer(a) ? std::to_string(intValue(1000 + c))
                                           : number(floatValue(1000 + c)));
            }
            t += "\n";
        }
    }

    static void values(ClassicBytes &b, const std::vector<TwinAttr> &attrs, std::uint32_t &k) {
        for (const TwinAttr &a : attrs)
            for (std::int16_t c = 0; c < a.size; ++c, ++k) {
                const float v = componentValue(a, k);
                integer(a) ? b.i32(static_cast<std::int32_t>(v)) : b.f32(v);
            }
    }
    static std::string values(const std::vector<TwinAttr> &attrs, std::uint32_t &k, char open,
                              char close) {
        std::string t(1, open);
        for (std::size_t i = 0; i < attrs.size(); ++i) {
            const TwinAttr &a = attrs[i];
            for (std::int16_t c = 0; c < a.size; ++c, ++k) {
                const float v = componentValue(a, k);
                if (t.size() > 1)
                    t += i > 0 && c == 0 ? "\t" : " ";
                t += integer(a) ? std::to_string(static_cast<std::int32_t>(v)) : number(v);
            }
        }
        return t + close;
    }

    static void groups(ClassicBytes &b, const std::vector<TwinGroup> &gs) {
        for (const TwinGroup &g : gs) {
            b.i16(static_cast<std::int16_t>(g.name.size())).raw(g.name);
            b.u32(static_cast<std::uint32_t>(g.members.size()));
            for (std::size_t i = 0; i < g.members.size(); i += 8) {
                std::uint8_t byte = 0;
                for (std::size_t j = 0; j < 8 && i + j < g.members.size(); ++j)
                    byte = static_cast<std::uint8_t>(byte | (g.members[i + j] ? 0x80 >> j : 0));
                b.u8(byte);
            }
        }
    }
    static void groups(std::string &t, const std::vector<TwinGroup> &gs) {
        for (const TwinGroup &g : gs) {
            t += g.name + " " + std::to_string(g.members.size()) + "\n";
            for (std::size_t i = 0; i < g.members.size(); ++i)
                t += g.members[i] ? (i % 2 ? "1 " : "1") : (i % 2 ? "0 " : "0");
            t += "\n";
        }
    }
};

} // namespace kelptest

#endif
