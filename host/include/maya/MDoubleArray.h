#ifndef _MDoubleArray
#define _MDoubleArray
// Array of double. Copies own their data; the arrays that data objects hand out
// (for example MFnArrayAttrsData channels) are views: edits land in the data.
#include <maya/MTypes.h>
#include <maya/MStatus.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MDoubleArray {
public:
    MDoubleArray();
    MDoubleArray(const MDoubleArray &other);
    MDoubleArray(const double src[], unsigned int count);
    MDoubleArray(const float src[], unsigned int count);
    MDoubleArray(unsigned int initialSize, double initialValue = 0);
    ~MDoubleArray();
    MDoubleArray &operator=(const MDoubleArray &other);
    MStatus set(double element, unsigned int index);
    MStatus set(float element, unsigned int index);
    MStatus get(float[]) const;
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(double element, unsigned int index);
    MStatus append(double element);
    MStatus copy(const MDoubleArray &source);
    MStatus clear();
    MStatus get(double[]) const;
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const;
    double &operator[](unsigned int index);
    double operator[](unsigned int index) const;
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MDoubleArray &array);

private:
    friend class ::kelphost::Access;
    MDoubleArray(void *);
    void *arr;                // the element storage (std::vector), owned or viewed
    ::kelphost::Object *keep; // the data object a view keeps alive
    bool own;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
