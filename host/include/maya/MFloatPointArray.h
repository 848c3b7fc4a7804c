#ifndef _MFloatPointArray
#define _MFloatPointArray
// Array of MFloatPoint. Copies own their data; the arrays that data objects hand out
// (for example MFnArrayAttrsData channels) are views: edits land in the data.
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MFloatPoint.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFloatPointArray {
public:
    MFloatPointArray();
    MFloatPointArray(const MFloatPointArray &other);
    MFloatPointArray(const MFloatPoint src[], unsigned int count);
    MFloatPointArray(const float src[][4], unsigned int count);
    MFloatPointArray(const double src[][4], unsigned int count);
    MFloatPointArray(unsigned int initialSize,
                     const MFloatPoint &initialValue = MFloatPoint::origin);
    ~MFloatPointArray();
    MFloatPointArray &operator=(const MFloatPointArray &other);
    MStatus set(const MFloatPoint &element, unsigned int index);
    MStatus set(unsigned int index, float x, float y, float z = 0, float w = 1);
    MStatus append(float x, float y, float z = 0, float w = 1);
    MStatus get(float[][4]) const;
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(const MFloatPoint &element, unsigned int index);
    MStatus append(const MFloatPoint &element);
    MStatus copy(const MFloatPointArray &source);
    MStatus clear();
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const;
    MFloatPoint &operator[](unsigned int index);
    const MFloatPoint &operator[](unsigned int index) const;
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os,
                                                    const MFloatPointArray &array);

private:
    friend class ::kelphost::Access;
    MFloatPointArray(void *);
    void *arr;                // the element storage (std::vector), owned or viewed
    ::kelphost::Object *keep; // the data object a view keeps alive
    bool own;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
