#ifndef _MTime
#define _MTime
// Time value with a unit; the stand-in's UI unit is film (24 frames a second).
#include <maya/MTypes.h>
#include <maya/MStatus.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MTime {
public:
    enum Unit {
        kInvalid,
        kHours,
        kMinutes,
        kSeconds,
        kMilliseconds,
        kGames,
        kFilm,
        kPALFrame,
        kNTSCFrame,
        kShowScan,
        kPALField,
        kNTSCField,
        kLast
    };
    MTime();
    MTime(double value, Unit unitSystem = uiUnit());
    MTime(const MTime &src);
    ~MTime();
    MTime &operator=(const MTime &rhs);
    Unit unit() const;
    double value() const;
    MStatus setUnit(Unit newUnit);
    MStatus setValue(double newValue);
    double as(Unit otherUnit) const;
    double asUnits(Unit otherUnit) const;
    static Unit uiUnit();
    static MStatus setUIUnit(Unit newUnit);
    MTime operator+(const MTime &rhs) const;
    MTime operator-(const MTime &rhs) const;
    bool operator==(const MTime &rhs) const;
    bool operator!=(const MTime &rhs) const;
    bool operator<(const MTime &rhs) const;
    bool operator>(const MTime &rhs) const;
    bool operator<=(const MTime &rhs) const;
    bool operator>=(const MTime &rhs) const;
    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &os, const MTime &t);

private:
    double val;
    Unit valUnit;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
