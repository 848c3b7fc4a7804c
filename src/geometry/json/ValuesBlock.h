// The values block of an attribute ("values" of a numeric attribute,
// "indices" of a string attribute): tuple size, storage, then the values in
// one of three layouts: "rawpagedata" (pages of pagesize elements, the tuple
// cut into sub-vectors by "packing", a page of a sub-vector either one
// constant tuple or every element's values), "tuples" (one array per
// element) or "arrays" (one array per component).
#ifndef KELP_GEOMETRY_JSON_VALUESBLOCK_H
#define KELP_GEOMETRY_JSON_VALUESBLOCK_H

#include "json/JsonTokens.h"

#include <cstdint>
#include <functional>

namespace kelp {

// Where decoded values go: `width` (1 to 4) components kept per element, the
// others read past. Exactly one of floats/ints is set, or neither to read the
// whole block past.
struct ValueTarget {
    float *floats = nullptr;
    std::int32_t *ints = nullptr;
    int width = 0;
};

// Called once, when the tuple size and storage are known and the data is
// known to hold `elements` tuples; returns false to fail the read.
using PrepareTarget = std::function<bool(int tupleSize, bool realStorage, ValueTarget &target)>;

// Reads a values block of `elements` tuples. Values are converted by the
// storage the block names, not by the tokens that carry them.
bool readValuesBlock(TokenReader &reader, std::uint64_t elements, const PrepareTarget &prepare,
                     const char *what);

} // namespace kelp

#endif
