#ifndef _MDistance
#define _MDistance
// Linear distance with a unit (internal unit: centimetres).
#include <maya/MTypes.h>
#include <maya/MStatus.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MDistance {
public:
    enum Unit {
        kInvalid,
        kInches,
        kFeet,
        kYards,
        kMiles,
        kMillimeters,
        kCentimeters,
        kKilometers,
        kMeters,
        kLast
    };
    MDistance();
    MDistance(double value, Unit unitSystem = kCentimeters);
    MDistance(const MDistance &src);
    ~MDistance();
    MDistance &operator=(const MDistance &src);
    Unit unit() const;
    double value() const;
    MStatus setUnit(Unit newUnit);
    MStatus setValue(double newValue);
    double as(Unit newUnit, MStatus *ReturnStatus = nullptr) const;
    double asCentimeters() const;
    static Unit uiUnit();
    static Unit internalUnit();

private:
    double val;
    Unit valUnit;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
