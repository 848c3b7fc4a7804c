#include <maya/MString.h>
MString f() {
    return MString("x") + 0;
} // ambiguous: const char* or double
