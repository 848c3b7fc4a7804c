#ifndef _MPointArray
#define _MPointArray
// Array of MPoint. Copies own their data; the arrays that data objects hand out
// (for example MFnArrayAttrsData channels) are views: edits land in the data.
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MPoint.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MPointArray {
public:
    MPointArray();
    MPointArray(const MPointArray &other);
    MPointArray(const MPoint src[], unsigned int count);
    MPointArray(const double src[][4], unsigned int count);
    MPointArray(const float src[][4], unsigned int count);
    MPointArray(unsigned int initialSize, const MPoint &initialValue = MPoint::origin);
    ~MPointArray();
    MPointArray &operator=(const MPointArray &other);
    MStatus set(const MPoint &element, unsigned int index);
    MStatus set(unsigned int index, double x, double y, double z = 0, double w = 1);
    MStatus set(unsigned int index, float x, float y, float z = 0, float w = 1);
    MStatus append(double x, double y, double z = 0, double w = 1);
    MStatus get(double[][4]) const;
    MStatus get(float[][4]) const;
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(const MPoint &element, unsigned int index);
    MStatus append(const MPoint &element);
    MStatus copy(const MPointArray &source);
    MStatus clear();
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const;
    MPoint &operator[](unsigned int index);
    const MPoint &operator[](unsigned int index) const;
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MPointArray &array);

private:
    friend class ::kelphost::Access;
    MPointArray(void *);
    void *arr;                // the element storage (std::vector), owned or viewed
    ::kelphost::Object *keep; // the data object a view keeps alive
    bool own;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
