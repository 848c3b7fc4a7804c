#ifndef KELPHOST_FNSET_H
#define KELPHOST_FNSET_H
// Boilerplate shared by the function-set implementations.
#include <maya/MFnBase.h>

#define KELP_FN_COMMON(X, TYPE)                                                                    \
    MFn::Type X::type() const {                                                                    \
        return TYPE;                                                                               \
    }                                                                                              \
    X::~X() = default;                                                                             \
    const char *X::className() {                                                                   \
        return #X;                                                                                 \
    }                                                                                              \
    X::X(MObject &o, MStatus *rs) {                                                                \
        MStatus s_ = setObject(o);                                                                 \
        if (rs)                                                                                    \
            *rs = s_;                                                                              \
    }                                                                                              \
    X::X(const MObject &o, MStatus *rs) {                                                          \
        MStatus s_ = setObject(o);                                                                 \
        if (rs)                                                                                    \
            *rs = s_;                                                                              \
    }

#endif
