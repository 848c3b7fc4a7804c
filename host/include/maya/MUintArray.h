#ifndef _MUintArray
#define _MUintArray
// Array of unsigned int. Copies own their data; the arrays that data objects hand out
// (for example MFnArrayAttrsData channels) are views: edits land in the data.
#include <maya/MTypes.h>
#include <maya/MStatus.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MUintArray {
public:
    MUintArray();
    MUintArray(const MUintArray &other);
    MUintArray(const unsigned int src[], unsigned int count);
    MUintArray(unsigned int initialSize, unsigned int initialValue = 0);
    ~MUintArray();
    MUintArray &operator=(const MUintArray &other);
    MStatus set(unsigned int element, unsigned int index);
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(unsigned int element, unsigned int index);
    MStatus append(unsigned int element);
    MStatus copy(const MUintArray &source);
    MStatus clear();
    MStatus get(unsigned int[]) const;
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const;
    unsigned int &operator[](unsigned int index);
    unsigned int operator[](unsigned int index) const;
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MUintArray &array);

private:
    friend class ::kelphost::Access;
    MUintArray(void *);
    void *arr;                // the element storage (std::vector), owned or viewed
    ::kelphost::Object *keep; // the data object a view keeps alive
    bool own;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
