#ifndef _MAngle
#define _MAngle
// Angle with a unit (internal unit: radians).
#include <maya/MTypes.h>
#include <maya/MStatus.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MAngle {
public:
    enum Unit { kInvalid, kRadians, kDegrees, kAngMinutes, kAngSeconds, kLast };
    MAngle();
    MAngle(double value, Unit unitSystem = kRadians);
    MAngle(const MAngle &src);
    ~MAngle();
    MAngle &operator=(const MAngle &src);
    Unit unit() const;
    double value() const;
    MStatus setUnit(Unit newUnit);
    MStatus setValue(double newValue);
    double as(Unit newUnit, MStatus *ReturnStatus = nullptr) const;
    double asRadians() const;
    double asDegrees() const;
    static Unit uiUnit();
    static Unit internalUnit();

private:
    double val;
    Unit valUnit;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
