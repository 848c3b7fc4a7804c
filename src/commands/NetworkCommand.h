#ifndef KELP_NETWORK_COMMAND_H
#define KELP_NETWORK_COMMAND_H
// What the reader and writer commands share: a network of nodes built in one
// undoable step, the nodes, renames and connections through one modifier and
// the scripted steps (shading group, time connections, selection) through a
// second one run after it; undone in the reverse order.
#include <maya/MDagModifier.h>
#include <maya/MPxCommand.h>
#include <maya/MStatus.h>

class NetworkCommand : public MPxCommand {
public:
    MStatus undoIt() override;
    MStatus redoIt() override;
    bool isUndoable() const override;

protected:
    MDagModifier nodeModifier;   // node creation, renames, plug connections
    MDagModifier scriptModifier; // shading group, time connections, selection
};

#endif
