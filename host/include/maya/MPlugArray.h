#ifndef _MPlugArray
#define _MPlugArray
// Array of MPlug. Copies own their data; the arrays that data objects hand out
// (for example MFnArrayAttrsData channels) are views: edits land in the data.
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MPlug.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MPlugArray {
public:
    MPlugArray();
    MPlugArray(const MPlugArray &other);
    MPlugArray(const MPlug src[], unsigned int count);
    MPlugArray(unsigned int initialSize, const MPlug &initialValue = MPlug());
    ~MPlugArray();
    MPlugArray &operator=(const MPlugArray &other);
    MStatus set(const MPlug &element, unsigned int index);
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(const MPlug &element, unsigned int index);
    MStatus append(const MPlug &element);
    MStatus copy(const MPlugArray &source);
    MStatus clear();
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const;
    MPlug &operator[](unsigned int index);
    const MPlug &operator[](unsigned int index) const;
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MPlugArray &array);

private:
    friend class ::kelphost::Access;
    MPlugArray(void *);
    void *arr;                // the element storage (std::vector), owned or viewed
    ::kelphost::Object *keep; // the data object a view keeps alive
    bool own;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
