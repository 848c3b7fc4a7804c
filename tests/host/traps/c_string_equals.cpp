#include <maya/MString.h>
bool f(const MString &s) {
    return "x" == s;
} // only the member operator== exists
