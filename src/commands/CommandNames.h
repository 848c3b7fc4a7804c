#ifndef KELP_COMMAND_NAMES_H
#define KELP_COMMAND_NAMES_H
// Small helpers shared by the two commands: a node's current name, a
// networked plug of a node by attribute name, and the command that selects
// nodes.
#include <maya/MObject.h>
#include <maya/MObjectArray.h>
#include <maya/MPlug.h>
#include <maya/MString.h>

// The name the host currently gives the node (after a modifier has run, the
// name it finally chose).
MString currentNodeName(const MObject &node);

// The node's plug of that attribute; a null plug when there is none.
MPlug namedPlug(const MObject &node, const char *attributeName);

// "select -r a b ...": the nodes by their current names.
MString selectCommand(const MObjectArray &nodes);

#endif
