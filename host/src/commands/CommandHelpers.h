// Helpers shared by the built-in commands.
#pragma once

#include "Interpreter.h"
#include "NameLookup.h"
#include "../Scene.h"

#include <maya/MObject.h>
#include <maya/MPlug.h>

#include <string>
#include <vector>

namespace kelphost {

// The node called `name` (or DAG path); sets ctx.error when there is none.
bool findNodeOrFail(BuiltinContext &ctx, const std::string &name, MObject &node);
// The plug "node.attr"; sets ctx.error when there is none.
bool findPlugOrFail(BuiltinContext &ctx, const std::string &path, MPlug &plug);
// The objects named (wildcards allowed); with no names, the active selection.
bool objectsOrSelection(BuiltinContext &ctx, const std::vector<std::string> &names,
                        std::vector<SelectionItem> &items);
// Replaces the active selection, recording the change for undo.
void replaceSelection(const std::vector<SelectionItem> &items);
std::string nameOf(const MObject &node);
// The plug's name as the host writes it ("node.attr[2]").
std::string plugName(const MPlug &plug);

} // namespace kelphost
