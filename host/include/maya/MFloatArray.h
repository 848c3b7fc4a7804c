#ifndef _MFloatArray
#define _MFloatArray
// Array of float. Copies own their data; the arrays that data objects hand out
// (for example MFnArrayAttrsData channels) are views: edits land in the data.
#include <maya/MTypes.h>
#include <maya/MStatus.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFloatArray {
public:
    MFloatArray();
    MFloatArray(const MFloatArray &other);
    MFloatArray(const float src[], unsigned int count);
    MFloatArray(const double src[], unsigned int count);
    MFloatArray(unsigned int initialSize, float initialValue = 0);
    ~MFloatArray();
    MFloatArray &operator=(const MFloatArray &other);
    MStatus set(float element, unsigned int index);
    MStatus set(double element, unsigned int index);
    MStatus get(double[]) const;
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(float element, unsigned int index);
    MStatus append(float element);
    MStatus copy(const MFloatArray &source);
    MStatus clear();
    MStatus get(float[]) const;
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const;
    float &operator[](unsigned int index);
    float operator[](unsigned int index) const;
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MFloatArray &array);

private:
    friend class ::kelphost::Access;
    MFloatArray(void *);
    void *arr;                // the element storage (std::vector), owned or viewed
    ::kelphost::Object *keep; // the data object a view keeps alive
    bool own;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
