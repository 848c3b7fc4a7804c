// Test plug-in command: "doublerMake [-n name] [-v value]" creates a DoublerNode
// named `name` (default "doubler"), sets its input to `value` through the
// modifier's script, selects it, and returns the node's name. Undoable.
#pragma once

#include <maya/MDGModifier.h>
#include <maya/MPxCommand.h>
#include <maya/MSyntax.h>

class DoublerCmd : public MPxCommand {
public:
    static void *creator();
    static MSyntax newSyntax();
    MStatus doIt(const MArgList &args) override;
    MStatus undoIt() override;
    MStatus redoIt() override;
    bool isUndoable() const override;

private:
    MDGModifier nodeMod_;
    MDGModifier scriptMod_;
};
