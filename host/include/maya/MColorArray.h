#ifndef _MColorArray
#define _MColorArray
// Array of MColor. Copies own their data; the arrays that data objects hand out
// (for example MFnArrayAttrsData channels) are views: edits land in the data.
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MColor.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MColorArray {
public:
    MColorArray();
    MColorArray(const MColorArray &other);
    MColorArray(const MColor src[], unsigned int count);
    MColorArray(unsigned int initialSize, const MColor &initialValue = MColor());
    ~MColorArray();
    MColorArray &operator=(const MColorArray &other);
    MStatus set(const MColor &element, unsigned int index);
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(const MColor &element, unsigned int index);
    MStatus append(const MColor &element);
    MStatus copy(const MColorArray &source);
    MStatus clear();
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const;
    MColor &operator[](unsigned int index);
    const MColor &operator[](unsigned int index) const;
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MColorArray &array);

private:
    friend class ::kelphost::Access;
    MColorArray(void *);
    void *arr;                // the element storage (std::vector), owned or viewed
    ::kelphost::Object *keep; // the data object a view keeps alive
    bool own;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
