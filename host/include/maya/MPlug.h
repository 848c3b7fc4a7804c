#ifndef _MPlug
#define _MPlug
// A node's attribute (or one element of an array attribute) as a place in the graph.
#include <maya/MTypes.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MDGContext.h>
#include <maya/MTime.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MPlugArray;
class MIntArray;
class MDGModifier;

class OPENMAYA_EXPORT MPlug {
public:
    MPlug();
    MPlug(const MPlug &in);
    MPlug(const MObject &node, const MObject &attribute);
    virtual ~MPlug();

    MStatus setAttribute(MObject &attribute);
    MObject attribute(MStatus *ReturnStatus = nullptr) const;
    MObject node(MStatus *ReturnStatus = nullptr) const;
    MString name(MStatus *ReturnStatus = nullptr) const;
    MString partialName(bool includeNodeName = false, bool includeNonMandatoryIndices = false,
                        bool includeInstancedIndices = false, bool useAlias = false,
                        bool useFullAttributePath = false, bool useLongNames = false,
                        MStatus *ReturnStatus = nullptr) const;
    bool isNull(MStatus *ReturnStatus = nullptr) const;
    bool isArray(MStatus *ReturnStatus = nullptr) const;
    bool isElement(MStatus *ReturnStatus = nullptr) const;
    bool isConnected(MStatus *ReturnStatus = nullptr) const;
    bool isSource(MStatus *ReturnStatus = nullptr) const;
    bool isDestination(MStatus *ReturnStatus = nullptr) const;
    bool isKeyable(MStatus *ReturnStatus = nullptr) const;
    bool connectedTo(MPlugArray &array, bool asDst, bool asSrc,
                     MStatus *ReturnStatus = nullptr) const;
    MPlug source(MStatus *ReturnStatus = nullptr) const;
    bool destinations(MPlugArray &theDestinations, MStatus *ReturnStatus = nullptr) const;

    unsigned int numElements(MStatus *ReturnStatus = nullptr) const;
    unsigned int evaluateNumElements(MStatus *ReturnStatus = nullptr) const;
    unsigned int getExistingArrayAttributeIndices(MIntArray &indices,
                                                  MStatus *ReturnStatus = nullptr);
    MPlug elementByLogicalIndex(unsigned int logicalIndex, MStatus *ReturnStatus = nullptr) const;
    MPlug elementByPhysicalIndex(unsigned int physicalIndex, MStatus *ReturnStatus = nullptr) const;
    unsigned int logicalIndex(MStatus *ReturnStatus = nullptr) const;
    MPlug child(MObject &attr, MStatus *ReturnStatus = nullptr) const;
    MPlug child(unsigned int index, MStatus *ReturnStatus = nullptr) const;
    unsigned int numChildren(MStatus *ReturnStatus = nullptr) const;
    MPlug parent(MStatus *ReturnStatus = nullptr) const;
    MPlug array(MStatus *ReturnStatus = nullptr) const;
    bool isChild(MStatus *ReturnStatus = nullptr) const;
    bool isCompound(MStatus *ReturnStatus = nullptr) const;

    MStatus getValue(MObject &val) const;
    MStatus getValue(double &val) const;
    MStatus getValue(float &val) const;
    MStatus getValue(int &val) const;
    MStatus getValue(short &val) const;
    MStatus getValue(bool &val) const;
    MStatus getValue(MString &val) const;
    MStatus getValue(MTime &val) const;
    OPENMAYA_DEPRECATED(2018, "Use MPlug::getValue without a context")
    MStatus getValue(MObject &val, MDGContext &ctx) const;
    OPENMAYA_DEPRECATED(2018, "Use MPlug::getValue without a context")
    MStatus getValue(double &val, MDGContext &ctx) const;
    OPENMAYA_DEPRECATED(2018, "Use MPlug::getValue without a context")
    MStatus getValue(float &val, MDGContext &ctx) const;
    OPENMAYA_DEPRECATED(2018, "Use MPlug::getValue without a context")
    MStatus getValue(int &val, MDGContext &ctx) const;
    OPENMAYA_DEPRECATED(2018, "Use MPlug::getValue without a context")
    MStatus getValue(short &val, MDGContext &ctx) const;
    OPENMAYA_DEPRECATED(2018, "Use MPlug::getValue without a context")
    MStatus getValue(bool &val, MDGContext &ctx) const;
    OPENMAYA_DEPRECATED(2018, "Use MPlug::getValue without a context")
    MStatus getValue(MString &val, MDGContext &ctx) const;
    OPENMAYA_DEPRECATED(2018, "Use MPlug::getValue without a context")
    MStatus getValue(MTime &val, MDGContext &ctx) const;

    MStatus setValue(MObject &val);
    MStatus setValue(const MString &val);
    MStatus setValue(const char *val);
    MStatus setValue(double val);
    MStatus setValue(float val);
    MStatus setValue(int val);
    MStatus setValue(short val);
    MStatus setValue(bool val);
    MStatus setValue(MTime &val);

    MObject asMObject(MStatus *ReturnStatus = nullptr) const;
    double asDouble(MStatus *ReturnStatus = nullptr) const;
    float asFloat(MStatus *ReturnStatus = nullptr) const;
    int asInt(MStatus *ReturnStatus = nullptr) const;
    short asShort(MStatus *ReturnStatus = nullptr) const;
    bool asBool(MStatus *ReturnStatus = nullptr) const;
    MString asString(MStatus *ReturnStatus = nullptr) const;
    MTime asMTime(MStatus *ReturnStatus = nullptr) const;
    MStatus setBool(bool value);
    MStatus setInt(int value);
    MStatus setShort(short value);
    MStatus setFloat(float value);
    MStatus setDouble(double value);
    MStatus setString(const MString &value);
    MStatus setMObject(const MObject &value);
    MStatus setMTime(const MTime &value);

    bool operator==(const MPlug &other) const;
    bool operator==(const MObject &other) const;
    bool operator!=(const MPlug &other) const;
    bool operator!=(const MObject &other) const;
    MPlug &operator=(const MPlug &other);
    MPlug operator[](unsigned int physicalIndex) const;
    MPlug operator[](MObject &attr) const;
    bool operator!() const;
    operator MObject() const;
    operator double() const;
    operator float() const;
    operator int() const;
    operator bool() const;

private:
    friend class ::kelphost::Access;
    MObject fNode;
    MObject fAttr;
    int fIndex; // logical index of an array element, -1 otherwise
};

OPENMAYA_NAMESPACE_CLOSE

#endif
