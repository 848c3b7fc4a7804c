#include <maya/MFnMesh.h>
void f(MFnMesh &fn) {
    MFnMesh *p = &fn;
    (void)p;
} // nor have their address taken
