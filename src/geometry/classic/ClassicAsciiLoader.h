// The parse of a classic geometry file in its text form ("PGEOMETRY V5").
//
// Fills the model exactly as ClassicLoader fills it from the binary form of
// the same content: the header counts, "P" and the point attributes, the
// vertex attributes, the polygons; particle primitives, primitive and detail
// attributes and the groups are checked and read past. The text is split into
// words (TextCursor.h) and read in the binary form's order:
//
//   PGEOMETRY V5
//   NPoints 3 NPrims 1
//   NPointGroups 0 NPrimGroups 0
//   NPointAttrib 1 NVertexAttrib 0 NPrimAttrib 0 NAttrib 0
//   PointAttrib                    (when NPointAttrib is not 0)
//   N 3 vector 0 0 0               (name size type defaults; index: count strings)
//   0 0 0 1 (0 0 1)                (x y z w, then the point values in brackets)
//   ...
//   VertexAttrib / PrimitiveAttrib (each when its count is not 0)
//   Run 1 Poly                     (or Poly / Part before each primitive alone)
//    3 < 0 1 2                     (n, < or :, indices each with its (values))
//   DetailAttrib, then one (values) record
//   groups: name, element count, one 0 or 1 per element
//   beginExtra ... endExtra        (and there the text ends; blanks may follow)
//
// Line breaks carry no meaning; the counts decide what comes next. Nothing is
// sized from a count that the text left cannot hold.
#ifndef KELP_GEOMETRY_CLASSICASCIILOADER_H
#define KELP_GEOMETRY_CLASSICASCIILOADER_H

#include "classic/AttributeForm.h"
#include "io/TextCursor.h"

#include <Kelp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelp {

class ClassicAsciiLoader {
public:
    ClassicAsciiLoader(Kelp &model, const unsigned char *data, std::size_t size);

    // Fills the model; false when the text does not hold a complete file, with
    // the reason (line, byte) in error(). Running out of memory is such a
    // failure too; nothing is thrown. The model is then partly filled:
    // callers load into a scratch model.
    bool load(bool trace);
    const std::string &error() const { return m_error; }

private:
    struct Plan {
        AttrStore store = AttrStore::None;
        bool floats = false;
        std::int16_t size = 0;
        AttributeData *record = nullptr; // where kept values go
    };
    struct Element {
        float floats[3] = {0.0f, 0.0f, 0.0f};
        std::int32_t integer = 0;
    };

    template <class Tr> bool run(Tr &tr);
    template <class Tr> bool readHeader(Tr &tr);
    template <class Tr>
    bool readDictionary(Tr &tr, AttrDict dict, std::uint32_t count, std::vector<Plan> &plans);
    template <class Tr> bool readEntry(Tr &tr, AttrDict dict, AttributeData &record, Plan &plan);
    template <class Tr> bool readStringTable(Tr &tr, const std::string &name);
    template <class Tr>
    bool readElement(Tr &tr, const Plan &plan, Element &e, const char *floatWhat,
                     const char *intWhat);
    template <class Tr> bool readPoints(Tr &tr);
    template <class Tr> bool readPrimitives(Tr &tr);
    template <class Tr> bool readBody(Tr &tr, bool polygon, std::uint32_t index);
    template <class Tr>
    bool readValues(Tr &tr, const std::vector<Plan> &plans, char open, char close, bool keep);
    template <class Tr>
    bool readGroups(Tr &tr, const char *kind, std::uint32_t count, std::uint32_t elements);
    bool readExtra();

    bool expectWord(const char *word);
    bool readU32(std::uint32_t &value, const char *what);
    bool readI32(std::int32_t &value, const char *what);
    bool readF32(float &value, const char *what);
    // A failure at the word just read (or at the end of the text).
    bool failAt(const TextWord &w, const std::string &reason);
    bool fail(const std::string &reason);
    std::string where(std::size_t offset) const;
    void linkPlans(std::vector<Plan> &plans, std::vector<AttributeData> &records,
                   std::size_t first);

    Kelp &m_model;
    TextCursor m_cur;
    std::string m_error;
    const char *m_section = "header";
    std::size_t m_pointIndex = 0; // index of "P" in the point attributes
    std::vector<Plan> m_pointPlans;
    std::vector<Plan> m_vertexPlans;
    std::vector<Plan> m_primPlans;
    std::vector<Plan> m_detailPlans;
    std::size_t m_pointValues = 0;  // components of the point attributes
    std::size_t m_vertexValues = 0; // components of the vertex attributes
    std::size_t m_vertex = 0;       // running polygon vertex number
    bool m_firstPrimitive = true;
};

} // namespace kelp

#endif
