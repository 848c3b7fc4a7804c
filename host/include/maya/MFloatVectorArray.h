#ifndef _MFloatVectorArray
#define _MFloatVectorArray
// Array of MFloatVector. Copies own their data; the arrays that data objects hand out
// (for example MFnArrayAttrsData channels) are views: edits land in the data.
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MFloatVector.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFloatVectorArray {
public:
    MFloatVectorArray();
    MFloatVectorArray(const MFloatVectorArray &other);
    MFloatVectorArray(const MFloatVector src[], unsigned int count);
    MFloatVectorArray(const float src[][3], unsigned int count);
    MFloatVectorArray(unsigned int initialSize,
                      const MFloatVector &initialValue = MFloatVector::zero);
    ~MFloatVectorArray();
    MFloatVectorArray &operator=(const MFloatVectorArray &other);
    MStatus set(const MFloatVector &element, unsigned int index);
    MStatus set(float element[3], unsigned int index);
    MStatus get(float[][3]) const;
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(const MFloatVector &element, unsigned int index);
    MStatus append(const MFloatVector &element);
    MStatus copy(const MFloatVectorArray &source);
    MStatus clear();
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const;
    MFloatVector &operator[](unsigned int index);
    const MFloatVector &operator[](unsigned int index) const;
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os,
                                                    const MFloatVectorArray &array);

private:
    friend class ::kelphost::Access;
    MFloatVectorArray(void *);
    void *arr;                // the element storage (std::vector), owned or viewed
    ::kelphost::Object *keep; // the data object a view keeps alive
    bool own;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
