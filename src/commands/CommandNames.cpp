#include "CommandNames.h"

#include <maya/MFnDependencyNode.h>

MString currentNodeName(const MObject &node) {
    MFnDependencyNode nodeFn(node);
    return nodeFn.name();
}

MPlug namedPlug(const MObject &node, const char *attributeName) {
    MFnDependencyNode nodeFn(node);
    return nodeFn.findPlug(MString(attributeName), true);
}
