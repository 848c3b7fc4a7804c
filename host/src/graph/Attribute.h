#ifndef KELPHOST_ATTRIBUTE_H
#define KELPHOST_ATTRIBUTE_H
// An attribute definition: what the MFn*Attribute function sets create and
// MPxNode::addAttribute adds to the node type being initialised.
#include <maya/MFnAttribute.h>
#include <maya/MFnData.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnUnitAttribute.h>
#include <maya/MObject.h>
#include <maya/MTypeId.h>

#include "../core/Object.h"

#include <string>
#include <utility>
#include <vector>

namespace kelphost {

enum class AttrKind { Numeric, Typed, Enum, Unit, Compound, Message, Matrix };

class Attribute : public Object {
public:
    MFn::Type apiType() const override;

    std::string name;
    std::string shortName;
    AttrKind kind = AttrKind::Numeric;
    MFnNumericData::Type numericType = MFnNumericData::kInvalid;
    MFnData::Type dataType = MFnData::kInvalid;
    MTypeId dataTypeId;
    MFnUnitAttribute::Type unitType = MFnUnitAttribute::kInvalid;
    double defaults[4] = {0, 0, 0, 0};
    MObject defaultData;
    std::vector<std::pair<std::string, short>> fields; // enum fields
    bool hasMin = false, hasMax = false, hasSoftMin = false, hasSoftMax = false;
    double minValue = 0, maxValue = 0, softMin = 0, softMax = 0;

    bool readable = true, writable = true, connectable = true, storable = true, cached = true;
    bool array = false, indexMatters = true, keyable = false, channelBox = false, hidden = false;
    bool usedAsColor = false, usedAsFilename = false, worldSpace = false;
    bool affectsWorldSpace = false, affectsAppearance = false, arrayDataBuilder = false;
    bool internal = false;
    MFnAttribute::DisconnectBehavior disconnectBehavior = MFnAttribute::kNothing;

    // Numeric compounds: the children view components of this attribute's value.
    std::vector<MObject> children;
    Attribute *parent = nullptr; // set on a child
    int childIndex = -1;

    // Number of numeric components (1 to 4) of a numeric or unit attribute.
    int components() const;
    bool isNumeric() const {
        return kind == AttrKind::Numeric || kind == AttrKind::Enum || kind == AttrKind::Unit;
    }
};

} // namespace kelphost

#endif
