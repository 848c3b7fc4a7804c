#ifndef KELPHOST_SLOT_H
#define KELPHOST_SLOT_H
// One stored value of a node (an attribute, or one element of an array
// attribute). MDataHandle::as*() hand out references into it; the field last
// handed out holds the truth until the value is read another way.
#include <maya/MFloatMatrix.h>
#include <maya/MFloatVector.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MString.h>
#include <maya/MVector.h>

namespace kelphost {

class Attribute;

enum class Field {
    None,
    Bool,
    Char,
    UChar,
    Short,
    Int,
    Int64,
    Float,
    Double,
    Addr,
    Short2,
    Int2,
    Float2,
    Double2,
    Short3,
    Int3,
    Float3,
    Double3,
    Double4,
    Vector,
    FloatVector,
    String,
    Matrix,
    FloatMatrix,
    Data
};

struct Slot {
    explicit Slot(const Attribute *attribute = nullptr);
    // Reset to the attribute's default.
    void setDefault();

    const Attribute *attr;
    Field canonical = Field::None; // where the value lives
    Field authority = Field::None; // where the truth is right now
    bool dirty = false;

    bool b = false;
    char c = 0;
    unsigned char uc = 0;
    short s = 0;
    int i = 0;
    long long l = 0;
    float f = 0;
    double d = 0;
    void *addr = nullptr;
    short s2[2] = {0, 0};
    int i2[2] = {0, 0};
    float f2[2] = {0, 0};
    double d2[2] = {0, 0};
    short s3[3] = {0, 0, 0};
    int i3[3] = {0, 0, 0};
    float f3[3] = {0, 0, 0};
    double d3[3] = {0, 0, 0};
    double d4[4] = {0, 0, 0, 0};
    MVector vec;
    MFloatVector fvec;
    MString str;
    MMatrix matrix;
    MFloatMatrix fmatrix;
    MObject data;

    bool numeric() const; // numeric kinds (bool ... double4, vectors)
    // The numeric value as up to 4 doubles; returns the count.
    int get(double out[4]) const;
    // Store numbers (n of them) as the value.
    void set(const double *in, int n);
    // Move the truth into field `f` (converting) and make it the authority.
    void moveTo(Field f);
    // Copy another slot's value (converting numbers, sharing data objects).
    void assign(const Slot &other);
};

Field canonicalField(const Attribute &attr);

} // namespace kelphost

#endif
