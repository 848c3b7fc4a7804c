#ifndef _MFnNumericAttribute
#define _MFnNumericAttribute
// Numeric attributes (bool, short, int, float, double and their 2/3-tuples).
#include <maya/MFnAttribute.h>
#include <maya/MFnNumericData.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFnNumericAttribute : public MFnAttribute {
    declareMFn(MFnNumericAttribute, MFnAttribute);
    declareMFnConstConstructor(MFnNumericAttribute, MFnAttribute);

public:
    MObject create(const MString &fullName, const MString &briefName, MFnNumericData::Type unitType,
                   double defaultValue = 0, MStatus *ReturnStatus = nullptr);
    MObject createColor(const MString &fullName, const MString &briefName,
                        MStatus *ReturnStatus = nullptr);
    MObject createPoint(const MString &fullName, const MString &briefName,
                        MStatus *ReturnStatus = nullptr);
    MObject create(const MString &fullName, const MString &briefName, const MObject &child1,
                   const MObject &child2, const MObject &child3 = MObject::kNullObj,
                   MStatus *ReturnStatus = nullptr);
    MFnNumericData::Type unitType(MStatus *ReturnStatus = nullptr) const;
    MObject child(unsigned int index, MStatus *ReturnStatus = nullptr) const;

    bool hasMin(MStatus *ReturnStatus = nullptr) const;
    bool hasMax(MStatus *ReturnStatus = nullptr) const;
    bool hasSoftMin(MStatus *ReturnStatus = nullptr) const;
    bool hasSoftMax(MStatus *ReturnStatus = nullptr) const;
    MStatus getMin(double &min1) const;
    MStatus getMax(double &max1) const;
    MStatus setMin(double min1);
    MStatus setMin(double min1, double min2);
    MStatus setMin(double min1, double min2, double min3);
    MStatus setMax(double max1);
    MStatus setMax(double max1, double max2);
    MStatus setMax(double max1, double max2, double max3);
    MStatus setSoftMin(double min1);
    MStatus setSoftMax(double max1);

    MStatus getDefault(bool &def1);
    MStatus getDefault(char &def1);
    MStatus getDefault(int &def1);
    MStatus getDefault(int &def1, int &def2);
    MStatus getDefault(int &def1, int &def2, int &def3);
    MStatus getDefault(MInt64 &def1);
    MStatus getDefault(float &def1);
    MStatus getDefault(float &def1, float &def2);
    MStatus getDefault(float &def1, float &def2, float &def3);
    MStatus getDefault(double &def1);
    MStatus getDefault(double &def1, double &def2);
    MStatus getDefault(double &def1, double &def2, double &def3);
    MStatus getDefault(double &def1, double &def2, double &def3, double &def4);
    MStatus setDefault(bool def1);
    MStatus setDefault(char def1);
    MStatus setDefault(int def1);
    MStatus setDefault(int def1, int def2);
    MStatus setDefault(int def1, int def2, int def3);
    MStatus setDefault(MInt64 def1);
    MStatus setDefault(float def1);
    MStatus setDefault(float def1, float def2);
    MStatus setDefault(float def1, float def2, float def3);
    MStatus setDefault(double def1);
    MStatus setDefault(double def1, double def2);
    MStatus setDefault(double def1, double def2, double def3);
    MStatus setDefault(double def1, double def2, double def3, double def4);
    MStatus setDefault(void *def1);
};

OPENMAYA_NAMESPACE_CLOSE

#endif
