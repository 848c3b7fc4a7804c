// How the model keeps one attribute of a classic file, binary or text: which
// array its values go to and the type code it is stored with.
#ifndef KELP_GEOMETRY_ATTRIBUTEFORM_H
#define KELP_GEOMETRY_ATTRIBUTEFORM_H

#include <cstdint>

namespace kelp {

enum class AttrDict { Point, Vertex, Primitive, Detail };
enum class AttrStore { Float, Vector, Int, None };

// Type codes of the classic format whose layout Kelp knows.
const std::int32_t kTypeFloat = 0;
const std::int32_t kTypeInt = 1;
const std::int32_t kTypeIndex = 4;
const std::int32_t kTypeVector = 5;

inline bool knownAttributeType(std::int32_t type) {
    return type == kTypeFloat || type == kTypeInt || type == kTypeIndex || type == kTypeVector;
}

struct AttributeForm {
    AttrStore store = AttrStore::None;
    std::int32_t storedType = 0;
    bool floats = false; // components are floats (else integers)
};

// Floats and vectors of three or more components are kept as vectors (their
// first three), one float as a float, a point float pair as its first value,
// a vertex float pair or a two-component vector as a vector with z 0;
// integers and string indices as their first component. Primitive and detail
// attributes are read past, not kept.
inline AttributeForm keptForm(AttrDict dict, std::int32_t type, std::int16_t size) {
    AttributeForm f;
    f.floats = type == kTypeFloat || type == kTypeVector;
    f.storedType = type;
    if (type == kTypeInt || type == kTypeIndex) {
        f.store = AttrStore::Int;
    } else if (size >= 3 || (size == 2 && !(dict == AttrDict::Point && type == kTypeFloat))) {
        f.store = AttrStore::Vector;
        f.storedType = kTypeVector;
    } else {
        f.store = AttrStore::Float;
        f.storedType = kTypeFloat;
    }
    if (dict == AttrDict::Primitive || dict == AttrDict::Detail)
        f.store = AttrStore::None;
    return f;
}

} // namespace kelp

#endif
