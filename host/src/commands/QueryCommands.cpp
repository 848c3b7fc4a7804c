// Built-in command attributeQuery: what an attribute of a node is.
//   attributeQuery -node NODE [-exists] [-usedAsFilename] [-usedAsColor]
//                  [-keyable] [-longName] [-shortName] ATTRIBUTE
// One query flag per call, as in the host; -exists answers 0 for a missing
// attribute, the other queries fail on it.
#include "BuiltinArgs.h"
#include "CommandHelpers.h"

#include <maya/MFnAttribute.h>
#include <maya/MFnDependencyNode.h>

namespace kelphost {

namespace {

bool attributeQueryCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args,
                          {{"n", "node", 1},
                           {"ex", "exists", 0},
                           {"uaf", "usedAsFilename", 0},
                           {"uac", "usedAsColor", 0},
                           {"k", "keyable", 0},
                           {"ln", "longName", 0},
                           {"sn", "shortName", 0}},
                          a, ctx.error))
        return false;
    if (!a.has("node") || a.positional.size() != 1) {
        ctx.error = "attributeQuery needs -node and one attribute name";
        return false;
    }
    MObject node;
    if (!findNodeOrFail(ctx, a.arg("node"), node))
        return false;
    MFnDependencyNode nodeFn(node);
    const MString attrName(a.positional[0].c_str());
    const bool exists = nodeFn.hasAttribute(attrName);
    if (a.has("exists")) {
        ctx.result.setInt(exists ? 1 : 0);
        return true;
    }
    if (!exists) {
        ctx.error = "No attribute named " + a.positional[0] + " on " + a.arg("node");
        return false;
    }
    MFnAttribute attrFn(nodeFn.attribute(attrName));
    if (a.has("usedAsFilename"))
        ctx.result.setInt(attrFn.isUsedAsFilename() ? 1 : 0);
    else if (a.has("usedAsColor"))
        ctx.result.setInt(attrFn.isUsedAsColor() ? 1 : 0);
    else if (a.has("keyable"))
        ctx.result.setInt(attrFn.isKeyable() ? 1 : 0);
    else if (a.has("longName"))
        ctx.result.setString(attrFn.name().asChar());
    else if (a.has("shortName"))
        ctx.result.setString(attrFn.shortName().asChar());
    else {
        ctx.error = "attributeQuery needs a query flag";
        return false;
    }
    return true;
}

} // namespace

void registerQueryCommands(Interpreter &in) {
    in.addBuiltin("attributeQuery", attributeQueryCommand);
}

} // namespace kelphost
