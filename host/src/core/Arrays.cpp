// The host array types. An array owns a std::vector, or (made through the
// private X(void*) constructor) views a vector that a data object owns and
// keeps that object alive. Copies and assignments always own their data.
#include <maya/MColorArray.h>
#include <maya/MDagPathArray.h>
#include <maya/MDoubleArray.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MIntArray.h>
#include <maya/MObjectArray.h>
#include <maya/MPlugArray.h>
#include <maya/MPointArray.h>
#include <maya/MStringArray.h>
#include <maya/MUintArray.h>
#include <maya/MVectorArray.h>

#include "Access.h"
#include "BulkStorage.h"

#include <type_traits>
#include <vector>

using kelphost::ArrayInit;

#define KELP_ARRAY_COMMON(A, T, CREF)                                                              \
    namespace {                                                                                    \
    inline std::vector<T> &V(A &a);                                                                \
    }                                                                                              \
    A::A() : arr(new std::vector<T>), keep(nullptr), own(true) {}                                  \
    A::A(const A &o)                                                                               \
        : arr(new std::vector<T>(*static_cast<const std::vector<T> *>(o.arr))), keep(nullptr),     \
          own(true) {}                                                                             \
    A::A(void *p) : arr(nullptr), keep(nullptr), own(true) {                                       \
        ArrayInit *init = static_cast<ArrayInit *>(p);                                             \
        arr = init->vec;                                                                           \
        keep = init->keep;                                                                         \
        own = keep == nullptr;                                                                     \
        if (keep)                                                                                  \
            keep->ref();                                                                           \
    }                                                                                              \
    A::~A() {                                                                                      \
        if (own)                                                                                   \
            delete static_cast<std::vector<T> *>(arr);                                             \
        if (keep)                                                                                  \
            keep->unref();                                                                         \
    }                                                                                              \
    A &A::operator=(const A &o) {                                                                  \
        if (this == &o)                                                                            \
            return *this;                                                                          \
        std::vector<T> *copy = new std::vector<T>(*static_cast<const std::vector<T> *>(o.arr));    \
        if (own)                                                                                   \
            delete static_cast<std::vector<T> *>(arr);                                             \
        if (keep)                                                                                  \
            keep->unref();                                                                         \
        arr = copy;                                                                                \
        keep = nullptr;                                                                            \
        own = true;                                                                                \
        return *this;                                                                              \
    }                                                                                              \
    MStatus A::setLength(unsigned int n) {                                                         \
        kelphost::growTable(V(*this), n);                                                          \
        return MStatus::kSuccess;                                                                  \
    }                                                                                              \
    unsigned int A::length() const {                                                               \
        return static_cast<unsigned int>(static_cast<const std::vector<T> *>(arr)->size());        \
    }                                                                                              \
    MStatus A::remove(unsigned int i) {                                                            \
        std::vector<T> &v = V(*this);                                                              \
        if (i >= v.size())                                                                         \
            return MStatus::kFailure;                                                              \
        v.erase(v.begin() + i);                                                                    \
        return MStatus::kSuccess;                                                                  \
    }                                                                                              \
    MStatus A::insert(CREF e, unsigned int i) {                                                    \
        std::vector<T> &v = V(*this);                                                              \
        if (i > v.size())                                                                          \
            return MStatus::kFailure;                                                              \
        v.insert(v.begin() + i, e);                                                                \
        return MStatus::kSuccess;                                                                  \
    }                                                                                              \
    MStatus A::append(CREF e) {                                                                    \
        V(*this).push_back(e);                                                                     \
        return MStatus::kSuccess;                                                                  \
    }                                                                                              \
    MStatus A::set(CREF e, unsigned int i) {                                                       \
        std::vector<T> &v = V(*this);                                                              \
        if (i >= v.size())                                                                         \
            return MStatus::kFailure;                                                              \
        v[i] = e;                                                                                  \
        return MStatus::kSuccess;                                                                  \
    }                                                                                              \
    MStatus A::copy(const A &o) {                                                                  \
        if (this != &o)                                                                            \
            V(*this) = *static_cast<const std::vector<T> *>(o.arr);                                \
        return MStatus::kSuccess;                                                                  \
    }                                                                                              \
    MStatus A::clear() {                                                                           \
        V(*this).clear();                                                                          \
        return MStatus::kSuccess;                                                                  \
    }                                                                                              \
    void A::setSizeIncrement(unsigned int) {}                                                      \
    unsigned int A::sizeIncrement() const {                                                        \
        return 1;                                                                                  \
    }                                                                                              \
    T &A::operator[](unsigned int i) {                                                             \
        return V(*this)[i];                                                                        \
    }                                                                                              \
    namespace {                                                                                    \
    inline std::vector<T> &V(A &a) {                                                               \
        return *kelphost::Access::vec<A, std::vector<T>>(a);                                       \
    }                                                                                              \
    }

#define KELP_ARRAY_FROM_C(A, T, SRC)                                                               \
    A::A(const SRC src[], unsigned int count)                                                      \
        : arr(new std::vector<T>(kelphost::bulkCopy<T>(src, src + count))), keep(nullptr),         \
          own(true) {}

#define KELP_ARRAY_SIZED(A, T, CREF)                                                               \
    A::A(unsigned int n, CREF init) : arr(new std::vector<T>(n, init)), keep(nullptr), own(true) {}

#define KELP_ARRAY_CONST_INDEX_VALUE(A, T)                                                         \
    T A::operator[](unsigned int i) const {                                                        \
        return (*static_cast<const std::vector<T> *>(arr))[i];                                     \
    }
#define KELP_ARRAY_CONST_INDEX_REF(A, T)                                                           \
    const T &A::operator[](unsigned int i) const {                                                 \
        return (*static_cast<const std::vector<T> *>(arr))[i];                                     \
    }
#define KELP_ARRAY_GET(A, T)                                                                       \
    MStatus A::get(T out[]) const {                                                                \
        const std::vector<T> &v = *static_cast<const std::vector<T> *>(arr);                       \
        for (size_t i = 0; i < v.size(); ++i)                                                      \
            out[i] = v[i];                                                                         \
        return MStatus::kSuccess;                                                                  \
    }
#define KELP_ARRAY_PRINT(A)                                                                        \
    std::ostream &operator<<(std::ostream &os, const A &a) {                                       \
        os << "[";                                                                                 \
        for (unsigned i = 0; i < a.length(); ++i)                                                  \
            os << (i ? ", " : "") << a[i];                                                         \
        return os << "]";                                                                          \
    }

namespace {
// Rows of a C array as elements: one pass, with the huge-page hint on the
// fresh storage.
template <class E, class Row> std::vector<E> *fromRows(const Row *src, unsigned int count) {
    std::vector<E> *v = new std::vector<E>;
    v->reserve(count);
    kelphost::adviseHugePages(v->data(), count * sizeof(E));
    for (unsigned int i = 0; i < count; ++i)
        v->push_back(E(src[i]));
    return v;
}
template <class A, class Row> MStatus toRows(const A &a, Row *out) {
    for (unsigned int i = 0; i < a.length(); ++i)
        for (unsigned int k = 0; k < sizeof(Row) / sizeof(out[0][0]); ++k)
            out[i][k] =
                static_cast<typename std::remove_reference<decltype(out[0][0])>::type>(a[i][k]);
    return MStatus::kSuccess;
}

} // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

// ---- numeric arrays
KELP_ARRAY_COMMON(MIntArray, int, int)
KELP_ARRAY_FROM_C(MIntArray, int, int)
KELP_ARRAY_SIZED(MIntArray, int, int)
KELP_ARRAY_CONST_INDEX_VALUE(MIntArray, int)
KELP_ARRAY_GET(MIntArray, int)
KELP_ARRAY_PRINT(MIntArray)

KELP_ARRAY_COMMON(MUintArray, unsigned int, unsigned int)
KELP_ARRAY_FROM_C(MUintArray, unsigned int, unsigned int)
KELP_ARRAY_SIZED(MUintArray, unsigned int, unsigned int)
KELP_ARRAY_CONST_INDEX_VALUE(MUintArray, unsigned int)
KELP_ARRAY_GET(MUintArray, unsigned int)
KELP_ARRAY_PRINT(MUintArray)

KELP_ARRAY_COMMON(MFloatArray, float, float)
KELP_ARRAY_FROM_C(MFloatArray, float, float)
KELP_ARRAY_FROM_C(MFloatArray, float, double)
KELP_ARRAY_SIZED(MFloatArray, float, float)
KELP_ARRAY_CONST_INDEX_VALUE(MFloatArray, float)
KELP_ARRAY_GET(MFloatArray, float)
KELP_ARRAY_PRINT(MFloatArray)
MStatus MFloatArray::set(double e, unsigned int i) {
    return set(static_cast<float>(e), i);
}
MStatus MFloatArray::get(double out[]) const {
    for (unsigned i = 0; i < length(); ++i)
        out[i] = (*this)[i];
    return MStatus::kSuccess;
}

KELP_ARRAY_COMMON(MDoubleArray, double, double)
KELP_ARRAY_FROM_C(MDoubleArray, double, double)
KELP_ARRAY_FROM_C(MDoubleArray, double, float)
KELP_ARRAY_SIZED(MDoubleArray, double, double)
KELP_ARRAY_CONST_INDEX_VALUE(MDoubleArray, double)
KELP_ARRAY_GET(MDoubleArray, double)
KELP_ARRAY_PRINT(MDoubleArray)
MStatus MDoubleArray::set(float e, unsigned int i) {
    return set(static_cast<double>(e), i);
}
MStatus MDoubleArray::get(float out[]) const {
    for (unsigned i = 0; i < length(); ++i)
        out[i] = static_cast<float>((*this)[i]);
    return MStatus::kSuccess;
}

// ---- points and vectors
KELP_ARRAY_COMMON(MPointArray, MPoint, const MPoint &)
KELP_ARRAY_FROM_C(MPointArray, MPoint, MPoint)
KELP_ARRAY_SIZED(MPointArray, MPoint, const MPoint &)
KELP_ARRAY_CONST_INDEX_REF(MPointArray, MPoint)
KELP_ARRAY_PRINT(MPointArray)
MPointArray::MPointArray(const double src[][4], unsigned int count)
    : arr(fromRows<MPoint>(src, count)), keep(nullptr), own(true) {}
MPointArray::MPointArray(const float src[][4], unsigned int count)
    : arr(fromRows<MPoint>(src, count)), keep(nullptr), own(true) {}
MStatus MPointArray::set(unsigned int i, double x, double y, double z, double w) {
    return set(MPoint(x, y, z, w), i);
}
MStatus MPointArray::set(unsigned int i, float x, float y, float z, float w) {
    return set(MPoint(x, y, z, w), i);
}
MStatus MPointArray::append(double x, double y, double z, double w) {
    return append(MPoint(x, y, z, w));
}
MStatus MPointArray::get(double out[][4]) const {
    return toRows(*this, out);
}
MStatus MPointArray::get(float out[][4]) const {
    return toRows(*this, out);
}

KELP_ARRAY_COMMON(MFloatPointArray, MFloatPoint, const MFloatPoint &)
KELP_ARRAY_FROM_C(MFloatPointArray, MFloatPoint, MFloatPoint)
KELP_ARRAY_SIZED(MFloatPointArray, MFloatPoint, const MFloatPoint &)
KELP_ARRAY_CONST_INDEX_REF(MFloatPointArray, MFloatPoint)
KELP_ARRAY_PRINT(MFloatPointArray)
MFloatPointArray::MFloatPointArray(const float src[][4], unsigned int count)
    : arr(fromRows<MFloatPoint>(src, count)), keep(nullptr), own(true) {}
MFloatPointArray::MFloatPointArray(const double src[][4], unsigned int count)
    : arr(fromRows<MFloatPoint>(src, count)), keep(nullptr), own(true) {}
MStatus MFloatPointArray::set(unsigned int i, float x, float y, float z, float w) {
    return set(MFloatPoint(x, y, z, w), i);
}
MStatus MFloatPointArray::append(float x, float y, float z, float w) {
    return append(MFloatPoint(x, y, z, w));
}
MStatus MFloatPointArray::get(float out[][4]) const {
    return toRows(*this, out);
}

KELP_ARRAY_COMMON(MVectorArray, MVector, const MVector &)
KELP_ARRAY_FROM_C(MVectorArray, MVector, MVector)
KELP_ARRAY_SIZED(MVectorArray, MVector, const MVector &)
KELP_ARRAY_CONST_INDEX_REF(MVectorArray, MVector)
KELP_ARRAY_PRINT(MVectorArray)
MVectorArray::MVectorArray(const double src[][3], unsigned int count)
    : arr(fromRows<MVector>(src, count)), keep(nullptr), own(true) {}
MVectorArray::MVectorArray(const float src[][3], unsigned int count)
    : arr(fromRows<MVector>(src, count)), keep(nullptr), own(true) {}
MStatus MVectorArray::set(double e[3], unsigned int i) {
    return set(MVector(e), i);
}
MStatus MVectorArray::set(float e[3], unsigned int i) {
    return set(MVector(e), i);
}
MStatus MVectorArray::get(double out[][3]) const {
    return toRows(*this, out);
}
MStatus MVectorArray::get(float out[][3]) const {
    return toRows(*this, out);
}

KELP_ARRAY_COMMON(MFloatVectorArray, MFloatVector, const MFloatVector &)
KELP_ARRAY_FROM_C(MFloatVectorArray, MFloatVector, MFloatVector)
KELP_ARRAY_SIZED(MFloatVectorArray, MFloatVector, const MFloatVector &)
KELP_ARRAY_CONST_INDEX_REF(MFloatVectorArray, MFloatVector)
KELP_ARRAY_PRINT(MFloatVectorArray)
MFloatVectorArray::MFloatVectorArray(const float src[][3], unsigned int count)
    : arr(fromRows<MFloatVector>(src, count)), keep(nullptr), own(true) {}
MStatus MFloatVectorArray::set(float e[3], unsigned int i) {
    return set(MFloatVector(e), i);
}
MStatus MFloatVectorArray::get(float out[][3]) const {
    return toRows(*this, out);
}

// ---- others
KELP_ARRAY_COMMON(MObjectArray, MObject, const MObject &)
KELP_ARRAY_FROM_C(MObjectArray, MObject, MObject)
KELP_ARRAY_SIZED(MObjectArray, MObject, const MObject &)
KELP_ARRAY_CONST_INDEX_REF(MObjectArray, MObject)
std::ostream &operator<<(std::ostream &os, const MObjectArray &a) {
    return os << "[" << a.length() << " objects]";
}

KELP_ARRAY_COMMON(MPlugArray, MPlug, const MPlug &)
KELP_ARRAY_FROM_C(MPlugArray, MPlug, MPlug)
KELP_ARRAY_SIZED(MPlugArray, MPlug, const MPlug &)
KELP_ARRAY_CONST_INDEX_REF(MPlugArray, MPlug)
std::ostream &operator<<(std::ostream &os, const MPlugArray &a) {
    os << "[";
    for (unsigned i = 0; i < a.length(); ++i)
        os << (i ? ", " : "") << a[i].name();
    return os << "]";
}

KELP_ARRAY_COMMON(MColorArray, MColor, const MColor &)
KELP_ARRAY_FROM_C(MColorArray, MColor, MColor)
KELP_ARRAY_SIZED(MColorArray, MColor, const MColor &)
KELP_ARRAY_CONST_INDEX_REF(MColorArray, MColor)
std::ostream &operator<<(std::ostream &os, const MColorArray &a) {
    return os << "[" << a.length() << " colors]";
}

KELP_ARRAY_COMMON(MStringArray, MString, const MString &)
KELP_ARRAY_FROM_C(MStringArray, MString, MString)
KELP_ARRAY_SIZED(MStringArray, MString, const MString &)
KELP_ARRAY_CONST_INDEX_VALUE(MStringArray, MString)
KELP_ARRAY_PRINT(MStringArray)

// ---- DAG paths (no views)
namespace {
std::vector<MDagPath> &P(void *a) {
    return *static_cast<std::vector<MDagPath> *>(a);
}
const std::vector<MDagPath> &P(const void *a) {
    return *static_cast<const std::vector<MDagPath> *>(a);
}
} // namespace
MDagPathArray::MDagPathArray() : arr(new std::vector<MDagPath>) {}
MDagPathArray::MDagPathArray(const MDagPathArray &o) : arr(new std::vector<MDagPath>(P(o.arr))) {}
MDagPathArray::MDagPathArray(unsigned int n, const MDagPath &init)
    : arr(new std::vector<MDagPath>(n, init)) {}
MDagPathArray::~MDagPathArray() {
    delete static_cast<std::vector<MDagPath> *>(arr);
}
MDagPathArray &MDagPathArray::operator=(const MDagPathArray &o) {
    if (this != &o)
        P(arr) = P(o.arr);
    return *this;
}
MStatus MDagPathArray::set(const MDagPath &e, unsigned int i) {
    if (i >= P(arr).size())
        return MStatus::kFailure;
    P(arr)[i] = e;
    return MStatus::kSuccess;
}
MStatus MDagPathArray::setLength(unsigned int n) {
    P(arr).resize(n);
    return MStatus::kSuccess;
}
unsigned int MDagPathArray::length() const {
    return static_cast<unsigned>(P(static_cast<const void *>(arr)).size());
}
MStatus MDagPathArray::remove(unsigned int i) {
    if (i >= P(arr).size())
        return MStatus::kFailure;
    P(arr).erase(P(arr).begin() + i);
    return MStatus::kSuccess;
}
MStatus MDagPathArray::insert(const MDagPath &e, unsigned int i) {
    if (i > P(arr).size())
        return MStatus::kFailure;
    P(arr).insert(P(arr).begin() + i, e);
    return MStatus::kSuccess;
}
MStatus MDagPathArray::append(const MDagPath &e) {
    P(arr).push_back(e);
    return MStatus::kSuccess;
}
MStatus MDagPathArray::copy(const MDagPathArray &o) {
    *this = o;
    return MStatus::kSuccess;
}
MStatus MDagPathArray::clear() {
    P(arr).clear();
    return MStatus::kSuccess;
}
MDagPath &MDagPathArray::operator[](unsigned int i) {
    return P(arr)[i];
}
const MDagPath &MDagPathArray::operator[](unsigned int i) const {
    return P(static_cast<const void *>(arr))[i];
}

OPENMAYA_NAMESPACE_CLOSE
