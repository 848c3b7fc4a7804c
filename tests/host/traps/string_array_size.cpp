#include <maya/MStringArray.h>
void f() {
    MStringArray a(3);
    (void)a;
} // no size-only constructor
