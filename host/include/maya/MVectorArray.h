#ifndef _MVectorArray
#define _MVectorArray
// Array of MVector. Copies own their data; the arrays that data objects hand out
// (for example MFnArrayAttrsData channels) are views: edits land in the data.
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MVector.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MVectorArray {
public:
    MVectorArray();
    MVectorArray(const MVectorArray &other);
    MVectorArray(const MVector src[], unsigned int count);
    MVectorArray(const double src[][3], unsigned int count);
    MVectorArray(const float src[][3], unsigned int count);
    MVectorArray(unsigned int initialSize, const MVector &initialValue = MVector::zero);
    ~MVectorArray();
    MVectorArray &operator=(const MVectorArray &other);
    MStatus set(const MVector &element, unsigned int index);
    MStatus set(double element[3], unsigned int index);
    MStatus set(float element[3], unsigned int index);
    MStatus get(double[][3]) const;
    MStatus get(float[][3]) const;
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(const MVector &element, unsigned int index);
    MStatus append(const MVector &element);
    MStatus copy(const MVectorArray &source);
    MStatus clear();
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const;
    MVector &operator[](unsigned int index);
    const MVector &operator[](unsigned int index) const;
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MVectorArray &array);

private:
    friend class ::kelphost::Access;
    MVectorArray(void *);
    void *arr;                // the element storage (std::vector), owned or viewed
    ::kelphost::Object *keep; // the data object a view keeps alive
    bool own;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
