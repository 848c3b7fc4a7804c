#include <maya/MString.h>
void f() {
    MString s = 3.0;
    (void)s;
} // no converting constructor from double
