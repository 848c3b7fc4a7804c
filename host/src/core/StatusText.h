#ifndef KELPHOST_STATUSTEXT_H
#define KELPHOST_STATUSTEXT_H
// The stand-in's internal status codes: pick the text errorString() shows.
#include <maya/MStatus.h>

#include "Access.h"

namespace kelphost {

enum InternalStatus : unsigned char {
    kIncompatibleObject = 1,
    kNoElement,
    kArrayLengthMismatch,
    kIndexOutOfRange,
    kInvalidOwner,
    kNoObject,
    kAttributeNotFound,
    kDuplicateName,
    kDuplicateId,
    kNotOwned,
    kWorldSpace,
    kNotInInitialize,
    kAlreadyAdded,
    kNotConnectable,
    kAlreadyConnected,
    kLocked,
    kNoSuchNode,
    kRegistrationRefused,
    kBadTopology,
    kKeyableOutput,
};

const char *statusText(unsigned char internal);

inline MStatus fail(MStatus::MStatusCode code, InternalStatus why) {
    return Access::status(code, why);
}

// Store `s` through an optional MStatus* and return it.
inline void report(MStatus *out, const MStatus &s) {
    if (out)
        *out = s;
}

} // namespace kelphost

#endif
