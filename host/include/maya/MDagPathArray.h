#ifndef _MDagPathArray
#define _MDagPathArray
// Array of DAG paths.
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MDagPath.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MDagPathArray {
public:
    MDagPathArray();
    MDagPathArray(const MDagPathArray &other);
    MDagPathArray(unsigned int initialSize, const MDagPath &initialValue = MDagPath());
    ~MDagPathArray();
    MDagPathArray &operator=(const MDagPathArray &other);
    MStatus set(const MDagPath &element, unsigned int index);
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(const MDagPath &element, unsigned int index);
    MStatus append(const MDagPath &element);
    MStatus copy(const MDagPathArray &source);
    MStatus clear();
    MDagPath &operator[](unsigned int index);
    const MDagPath &operator[](unsigned int index) const;

private:
    friend class ::kelphost::Access;
    void *arr;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
