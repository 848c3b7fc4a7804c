#include <maya/MFnMesh.h>
void f(MFnMesh &fn) {
    MFnMesh copy(fn);
} // function sets cannot be copied
