#ifndef _MObjectArray
#define _MObjectArray
// Array of MObject. Copies own their data; the arrays that data objects hand out
// (for example MFnArrayAttrsData channels) are views: edits land in the data.
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MObject.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MObjectArray {
public:
    MObjectArray();
    MObjectArray(const MObjectArray &other);
    MObjectArray(const MObject src[], unsigned int count);
    MObjectArray(unsigned int initialSize, const MObject &initialValue = MObject::kNullObj);
    ~MObjectArray();
    MObjectArray &operator=(const MObjectArray &other);
    MStatus set(const MObject &element, unsigned int index);
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(const MObject &element, unsigned int index);
    MStatus append(const MObject &element);
    MStatus copy(const MObjectArray &source);
    MStatus clear();
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const;
    MObject &operator[](unsigned int index);
    const MObject &operator[](unsigned int index) const;
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MObjectArray &array);

private:
    friend class ::kelphost::Access;
    MObjectArray(void *);
    void *arr;                // the element storage (std::vector), owned or viewed
    ::kelphost::Object *keep; // the data object a view keeps alive
    bool own;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
