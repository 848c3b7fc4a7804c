#ifndef _MDataHandle
#define _MDataHandle
// Handle to one value in a node's data block; valid during compute only.
// The as*() accessors return references into the block.
#include <maya/MTypes.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MFnData.h>
#include <maya/MFnNumericData.h>
#include <maya/MTypeId.h>
#include <maya/MTime.h>
#include <maya/MVector.h>
#include <maya/MFloatVector.h>
#include <maya/MMatrix.h>
#include <maya/MFloatMatrix.h>
#include <maya/MDistance.h>
#include <maya/MAngle.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MPxData;

class OPENMAYA_EXPORT MDataHandle {
public:
    MDataHandle();
    MDataHandle(const MDataHandle &);
    MDataHandle &operator=(const MDataHandle &);
    bool isNumeric() const;
    bool isGeneric(bool &isNumeric, bool &isNull) const;
    MFnNumericData::Type numericType() const;
    MFnData::Type type() const;
    MTypeId typeId() const;
    MObject attribute();
    MObject data();
    MStatus copy(const MDataHandle &src);
    void setClean();

    bool &asBool() const;
    char &asChar() const;
    unsigned char &asUChar() const;
    short &asShort() const;
    OPENMAYA_DEPRECATED(2019, "Use MDataHandle::asInt instead")
    int &asLong() const;
    int &asInt() const;
    MInt64 &asInt64() const;
    void *&asAddr() const;
    float &asFloat() const;
    double &asDouble() const;
    MDistance asDistance() const;
    MAngle asAngle() const;
    MTime asTime() const;
    short2 &asShort2() const;
    int2 &asInt2() const;
    float2 &asFloat2() const;
    double2 &asDouble2() const;
    short3 &asShort3() const;
    int3 &asInt3() const;
    float3 &asFloat3() const;
    double3 &asDouble3() const;
    MVector &asVector() const;
    MFloatVector &asFloatVector() const;
    MMatrix &asMatrix() const;
    MFloatMatrix &asFloatMatrix() const;
    MString &asString() const;
    MObject asMesh() const;
    MObject asMeshTransformed() const;
    const MMatrix &geometryTransformMatrix() const;
    MPxData *asPluginData() const;

    void set(bool);
    void set(char);
    void set(short);
    void set(int);
    void set(MInt64);
    void set(float);
    void set(double);
    void set(const MMatrix &);
    void set(const MFloatMatrix &);
    void set(const MVector &);
    void set(const MFloatVector &);
    void set(const MDistance &);
    void set(const MAngle &);
    void set(const MTime &);
    void set(short, short);
    void set(int, int);
    void set(float, float);
    void set(double, double);
    void set(short, short, short);
    void set(int, int, int);
    void set(float, float, float);
    void set(double, double, double);
    void set(const MString &);
    MStatus set(const MObject &data);
    MStatus set(MPxData *data);

    void setBool(bool);
    void setChar(char);
    void setShort(short);
    void setInt(int);
    void setInt64(MInt64);
    void setFloat(float);
    void setDouble(double);
    void setMMatrix(const MMatrix &);
    void setMVector(const MVector &);
    void setMTime(const MTime &);
    void setString(const MString &);
    MStatus setMObject(const MObject &data);

    MDataHandle child(const MObject &attribute);

private:
    friend class ::kelphost::Access;
    ::kelphost::Slot *fSlot;
    ::kelphost::Object *fNode;
    ::kelphost::Object *fAttr;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
