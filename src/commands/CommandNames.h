#ifndef KELP_COMMAND_NAMES_H
#define KELP_COMMAND_NAMES_H
// Small helpers shared by the two commands: a node's current name and a
// networked plug of a node by attribute name.
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MString.h>

// The name the host currently gives the node (after a modifier has run, the
// name it finally chose).
MString currentNodeName(const MObject &node);

// The node's plug of that attribute; a null plug when there is none.
MPlug namedPlug(const MObject &node, const char *attributeName);

#endif
