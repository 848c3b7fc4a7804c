#include <maya/MFnDependencyNode.h>
MPlug f(MFnDependencyNode &fn) {
    return fn.findPlug("x");
} // deprecated without the bool
