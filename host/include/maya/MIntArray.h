#ifndef _MIntArray
#define _MIntArray
// Array of int. Copies own their data; the arrays that data objects hand out
// (for example MFnArrayAttrsData channels) are views: edits land in the data.
#include <maya/MTypes.h>
#include <maya/MStatus.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MIntArray {
public:
    MIntArray();
    MIntArray(const MIntArray &other);
    MIntArray(const int src[], unsigned int count);
    MIntArray(unsigned int initialSize, int initialValue = 0);
    ~MIntArray();
    MIntArray &operator=(const MIntArray &other);
    MStatus set(int element, unsigned int index);
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(int element, unsigned int index);
    MStatus append(int element);
    MStatus copy(const MIntArray &source);
    MStatus clear();
    MStatus get(int[]) const;
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const;
    int &operator[](unsigned int index);
    int operator[](unsigned int index) const;
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MIntArray &array);

private:
    friend class ::kelphost::Access;
    MIntArray(void *);
    void *arr;                // the element storage (std::vector), owned or viewed
    ::kelphost::Object *keep; // the data object a view keeps alive
    bool own;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
