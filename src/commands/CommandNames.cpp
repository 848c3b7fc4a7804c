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

MString selectCommand(const MObjectArray &nodes) {
    MString select("select -r");
    for (unsigned int i = 0; i < nodes.length(); ++i)
        select += " " + currentNodeName(nodes[i]);
    return select;
}
