#ifndef _MArgList
#define _MArgList
// The words a command was invoked with (command side).
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MDistance.h>
#include <maya/MAngle.h>
#include <maya/MTime.h>
#include <maya/MVector.h>
#include <maya/MPoint.h>
#include <maya/MMatrix.h>
#include <maya/MIntArray.h>
#include <maya/MDoubleArray.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MArgList {
public:
    MArgList();
    MArgList(const MArgList &other);
    ~MArgList();
    unsigned int length(MStatus *ReturnStatus = nullptr) const;
    bool asBool(unsigned int index, MStatus *ReturnStatus = nullptr) const;
    int asInt(unsigned int index, MStatus *ReturnStatus = nullptr) const;
    double asDouble(unsigned int index, MStatus *ReturnStatus = nullptr) const;
    MString asString(unsigned int index, MStatus *ReturnStatus = nullptr) const;
    MDistance asDistance(unsigned int index, MStatus *ReturnStatus = nullptr) const;
    MAngle asAngle(unsigned int index, MStatus *ReturnStatus = nullptr) const;
    MTime asTime(unsigned int index, MStatus *ReturnStatus = nullptr) const;
    MVector asVector(unsigned int &index, unsigned int numElements = 3,
                     MStatus *ReturnStatus = nullptr) const;
    MPoint asPoint(unsigned int &index, unsigned int numElements = 3,
                   MStatus *ReturnStatus = nullptr) const;
    MMatrix asMatrix(unsigned int &index, MStatus *ReturnStatus = nullptr) const;
    MStringArray asStringArray(unsigned int &index, MStatus *ReturnStatus = nullptr) const;
    MDoubleArray asDoubleArray(unsigned int &index, MStatus *ReturnStatus = nullptr) const;
    MIntArray asIntArray(unsigned int &index, MStatus *ReturnStatus = nullptr) const;
    unsigned int flagIndex(const char *shortFlag, const char *longFlag = nullptr) const;
    MStatus addArg(bool arg);
    MStatus addArg(int arg);
    MStatus addArg(double arg);
    MStatus addArg(const MString &arg);
    MStatus addArg(const MDistance &arg);
    MStatus addArg(const MAngle &arg);
    MStatus addArg(const MTime &arg);
    MStatus addArg(const MVector &arg);
    MStatus addArg(const MPoint &arg);
    MStatus addArg(const MMatrix &arg);
    MStatus addArg(const MStringArray &arg);
    MStatus addArg(const MDoubleArray &arg);
    MStatus addArg(const MIntArray &arg);
    MArgList &operator=(const MArgList &other);

    static const unsigned int kInvalidArgIndex;

private:
    friend class ::kelphost::Access;
    ::kelphost::ArgListData *fData;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
