#include "DoublerCmd.h"

#include "DoublerNode.h"

#include <maya/MArgDatabase.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MString.h>

void *DoublerCmd::creator() {
    return new DoublerCmd;
}

MSyntax DoublerCmd::newSyntax() {
    MSyntax syntax;
    syntax.addFlag("-n", "-name", MSyntax::kString);
    syntax.addFlag("-v", "-value", MSyntax::kDouble);
    syntax.enableQuery(false);
    syntax.enableEdit(false);
    return syntax;
}

MStatus DoublerCmd::doIt(const MArgList &args) {
    MStatus st;
    MArgDatabase db(syntax(), args, &st);
    if (!st)
        return st;
    MString name("doubler");
    double value = 1.0;
    if (db.isFlagSet("name"))
        db.getFlagArgument("name", 0, name);
    if (db.isFlagSet("-v"))
        db.getFlagArgument("-v", 0, value);
    MObject node = nodeMod_.createNode(DoublerNode::id, &st);
    CHECK_MSTATUS_AND_RETURN_IT(st);
    nodeMod_.renameNode(node, name);
    st = nodeMod_.doIt();
    CHECK_MSTATUS_AND_RETURN_IT(st);
    MFnDependencyNode fn(node);
    MString actual = fn.name();
    MString script = MString("setAttr ") + actual + ".input " + value + ";";
    scriptMod_.commandToExecute(script);
    scriptMod_.commandToExecute(MString("select -r ") + actual + ";");
    st = scriptMod_.doIt();
    CHECK_MSTATUS_AND_RETURN_IT(st);
    clearResult();
    setResult(actual);
    return MS::kSuccess;
}

MStatus DoublerCmd::undoIt() {
    scriptMod_.undoIt();
    nodeMod_.undoIt();
    return MS::kSuccess;
}

MStatus DoublerCmd::redoIt() {
    nodeMod_.doIt();
    scriptMod_.doIt();
    return MS::kSuccess;
}

bool DoublerCmd::isUndoable() const {
    return true;
}
