#ifndef _MDGContext
#define _MDGContext
// Evaluation context; the stand-in evaluates in the normal context only.
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MTime.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MDGContext {
public:
    MDGContext();
    MDGContext(const MTime &when);
    MDGContext(const MDGContext &in);
    virtual ~MDGContext();
    MDGContext &operator=(const MDGContext &other);
    bool isNormal(MStatus *ReturnStatus = nullptr) const;
    MStatus getTime(MTime &) const;
    static MDGContext fsNormal;

private:
    bool fNormal;
    MTime fTime;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
