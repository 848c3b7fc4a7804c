// The parse of a classic binary geometry file held in memory.
//
// Reads the header, the point, vertex and primitive attribute dictionaries,
// the point records and the primitives (runs and single keyed primitives;
// polygons are kept, particle primitives are checked and read past), then
// reads past the detail attributes, the point and primitive groups and the
// extra section, which must end the file exactly. Every count is checked
// against the bytes left before anything is sized from it.
#ifndef KELP_GEOMETRY_CLASSICLOADER_H
#define KELP_GEOMETRY_CLASSICLOADER_H

#include "classic/AttributeForm.h"
#include "io/ByteCursor.h"

#include <Kelp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelp {

class ClassicLoader {
public:
    // Over a buffer in memory, or through a cursor over a stream.
    ClassicLoader(Kelp &model, const unsigned char *data, std::size_t size);
    ClassicLoader(Kelp &model, ByteCursor &cursor);

    // Fills the model; false when the data does not hold a complete file, with
    // the reason (offset, count) in error(). Running out of memory is such a
    // failure too ("not enough memory ..."); nothing is thrown. The model is
    // then partly filled: callers load into a scratch model.
    bool load(bool trace);
    const std::string &error() const { return m_error; }

private:
    using Dict = AttrDict;
    // Where the values of one attribute go in the model.
    using Store = AttrStore;
    struct Plan {
        Store store = Store::None;
        bool floats = false;   // components are f32 (else i32)
        std::int16_t size = 0; // components per element
        std::uint32_t bytes = 0;
    };

    template <class Tr> bool run(Tr &tr);
    template <class Tr> bool readHeader(Tr &tr);
    template <class Tr>
    bool readDictionary(Tr &tr, Dict dict, std::uint32_t count, std::vector<Plan> &plans);
    template <class Tr> bool readEntry(Tr &tr, Dict dict, AttributeData &record, Plan &plan);
    template <class Tr> bool readStringTable(Tr &tr, const std::string &name);
    template <class Tr> bool readDefault(Tr &tr, AttributeData &record, const Plan &plan);
    template <class Tr> bool readPoints(Tr &tr);
    bool scanPrimitives(unsigned indexWidth);
    bool checkRun(std::size_t at, std::uint32_t done, std::uint32_t inRun, std::uint32_t type);
    bool checkBody(std::uint32_t type, std::uint32_t index, std::size_t bodyAt,
                   std::uint32_t vertices, std::size_t vertexRecord);
    bool failPoint(std::uint32_t type, std::uint32_t index, std::uint32_t id, std::size_t at);
    bool scanToEnd(unsigned indexWidth);
    bool chooseIndexWidth(std::size_t start, unsigned &width);
    template <class Tr> bool readEnd(Tr &tr);
    template <class Tr> bool readGroupsAndExtra(Tr &tr);
    template <class Tr>
    bool readGroup(Tr &tr, const char *kind, std::uint32_t index, std::uint32_t elements);
    struct PrimitiveFill;
    template <class Tr> bool readPrimitives(Tr &tr, unsigned indexWidth);
    void reserveForPrimitives(PrimitiveFill &fill);
    template <class Tr>
    bool readPrimitiveKey(Tr &tr, std::uint32_t &key, std::uint32_t &type, std::uint32_t &inRun);
    template <class Tr>
    bool readPrimitive(Tr &tr, std::uint32_t type, std::uint32_t index, PrimitiveFill &fill);
    template <class Tr>
    bool readVertices(Tr &tr, std::uint32_t type, std::uint32_t index, std::uint32_t vertices,
                      std::size_t valuesAt, bool kept, PrimitiveFill &fill);
    std::size_t vertexStart() const;
    template <class Tr>
    void traceElement(Tr &tr, const char *label, const Plan &plan, const unsigned char *p);
    template <class Tr>
    void traceRecord(Tr &tr, const std::vector<Plan> &plans, const unsigned char *values);

    bool fail(const std::string &reason);
    bool failEnded();

    Kelp &m_model;
    ByteCursor m_ownCursor;
    ByteCursor &m_cur;
    std::string m_error;
    const char *m_section = "header";
    std::size_t m_pointIndex = 0; // index of "P" in the point attributes
    std::size_t m_firstPointAttr = 0;
    std::size_t m_firstVertexAttr = 0;
    std::vector<Plan> m_pointPlans;
    std::vector<Plan> m_vertexPlans;
    std::vector<Plan> m_primPlans;
    std::vector<Plan> m_detailPlans;
    std::size_t m_vertexBytes = 0; // attribute bytes per vertex
    std::size_t m_primBytes = 0;   // attribute bytes per primitive
};

} // namespace kelp

#endif
