#ifndef _MColor
#define _MColor
// RGBA colour, floats.
#include <maya/MTypes.h>
#include <maya/MStatus.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MColor {
public:
    enum MColorType { kRGB, kHSV, kCMY, kCMYK };
    MColor();
    MColor(const MColor &src);
    MColor(float rr, float gg, float bb = 0.0, float aa = 1.0);
    MColor(const float[3]);
    ~MColor();
    MColor &operator=(const MColor &src);
    float operator()(unsigned int i) const;
    float operator[](unsigned int i) const;
    float &operator[](unsigned int i);
    bool operator==(const MColor &other) const;
    bool operator!=(const MColor &other) const;
    MStatus get(float[3]) const;
    float r;
    float g;
    float b;
    float a;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
