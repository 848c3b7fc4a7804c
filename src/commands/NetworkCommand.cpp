#include "NetworkCommand.h"

MStatus NetworkCommand::undoIt() {
    scriptModifier.undoIt();
    nodeModifier.undoIt();
    return MS::kSuccess;
}

MStatus NetworkCommand::redoIt() {
    nodeModifier.doIt();
    scriptModifier.doIt();
    return MS::kSuccess;
}

bool NetworkCommand::isUndoable() const {
    return true;
}
