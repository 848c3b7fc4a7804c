#ifndef _MObject
#define _MObject
// Generic handle to anything the host owns: nodes, attributes, data.
#include <maya/MTypes.h>
#include <maya/MFn.h>
#include <maya/MStatus.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MObject {
public:
    MObject();
    MObject(const MObject &other);
    ~MObject();
    MObject &operator=(const MObject &other);
    bool hasFn(MFn::Type fs) const;
    bool isNull() const;
    MFn::Type apiType() const;
    const char *apiTypeStr() const;
    bool operator==(const MObject &other) const;
    bool operator!=(const MObject &other) const;
    static const char *className();

    static MObject kNullObj;

private:
    friend class ::kelphost::Access;
    ::kelphost::Object *ptr;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
