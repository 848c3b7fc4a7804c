#ifndef _MStringArray
#define _MStringArray
// Array of MString. Copies own their data; the arrays that data objects hand out
// (for example MFnArrayAttrsData channels) are views: edits land in the data.
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MStringArray {
public:
    MStringArray();
    MStringArray(const MStringArray &other);
    MStringArray(const MString src[], unsigned int count);
    MStringArray(unsigned int initialSize, const MString &initialValue);
    ~MStringArray();
    MStringArray &operator=(const MStringArray &other);
    MStatus set(const MString &element, unsigned int index);
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(const MString &element, unsigned int index);
    MStatus append(const MString &element);
    MStatus copy(const MStringArray &source);
    MStatus clear();
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const;
    MString &operator[](unsigned int index);
    MString operator[](unsigned int index) const;
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MStringArray &array);

private:
    friend class ::kelphost::Access;
    MStringArray(void *);
    void *arr;                // the element storage (std::vector), owned or viewed
    ::kelphost::Object *keep; // the data object a view keeps alive
    bool own;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
