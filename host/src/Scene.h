#ifndef KELPHOST_SCENE_H
#define KELPHOST_SCENE_H
// The stand-in host's internal scene API (not part of the plug-in interface).
//
// The graph side (host/src/graph, host/src/data) implements it; the command
// side (modifiers, selection, script interpreter, plug-in loading, kelp-batch)
// builds on it together with the public classes (MPlug, MFnDependencyNode,
// MFnDagNode, MDagPath, ...), which work on the same scene.
//
// Model:
// - One process-wide scene, single-threaded. Nodes are MObjects (reference
//   counted): a node taken out of the scene stays valid while something holds
//   its MObject, and can be put back (undo of a delete, redo of a create).
// - Node names are unique in the whole scene. A requested name that is taken
//   gets a number: trailing digits are stripped and the lowest free number
//   from 1 up is appended ("pCube1" taken -> "pCube2", "KelpReader" taken ->
//   "KelpReader1"); a trailing '#' is replaced by the lowest free number.
//   Characters other than letters, digits and '_' become '_', and a leading
//   digit gets a '_' in front. An empty request uses the type's default name.
// - Every fresh scene holds "time1" (type "time", attribute outTime, driven by
//   the current time) and "initialShadingGroup" (type "shadingEngine").
// - Values are pulled: reading a plug evaluates what it depends on; setting a
//   plug or changing a connection marks the plugs downstream dirty.
// - DAG: transforms and shapes; a node may have several parents (instances);
//   world-level nodes have no parent.
#include <maya/MDagPath.h>
#include <maya/MObject.h>
#include <maya/MObjectArray.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MTime.h>
#include <maya/MTypeId.h>

#include <string>
#include <vector>

namespace kelphost {
namespace scene {

// ---- node types ----------------------------------------------------------
bool typeExists(const MString &typeName);
bool typeIsDag(const MString &typeName);   // "transform" and shapes
bool typeIsShape(const MString &typeName); // DAG but not a transform: needs a parent
MString typeNameOf(const MTypeId &id, MStatus *status = nullptr);
MStringArray typeNames();
MString typeNameOfNode(const MObject &node); // same as MFnDependencyNode::typeName
bool nodeIsType(const MObject &node, const MString &typeName);

// ---- creating and removing nodes ------------------------------------------
// A node made but not yet in the scene: its creator and postConstructor have
// run, it has no name ("") and takes part in no evaluation.
MObject makeNode(const MString &typeName, MStatus *status = nullptr);
MObject makeNode(const MTypeId &typeId, MStatus *status = nullptr);
// Enter a made node (or one removed earlier) into the scene under a unique
// name derived from `requestedName` (empty: the type's default name, e.g.
// "transform1", "polySurfaceShape1", "particleShape1", "<type>1").
// A shape entered without parent stays at world level until parented.
MStatus addNode(const MObject &node, const MString &requestedName = MString());
// Default name for the transform made automatically above a shape of this
// type: "polySurface" for "mesh", else the type name ("particle"). Add '#'
// when passing it to addNode, which replaces the '#' by the lowest free number.
MString defaultParentName(const MString &shapeTypeName);

// What removeNode took apart, so restoreNode can put it back exactly.
struct RemovedNode {
    MObject node;
    MString name;
    std::vector<MObject> parents;                     // DAG parents, in order
    std::vector<std::pair<MPlug, MPlug>> connections; // (source, destination)
    std::vector<MObject> sets;                        // sets it was a member of
};
// Take a node out of the scene: its connections are broken, it leaves its
// parents and sets; DAG children are NOT removed (remove them first).
MStatus removeNode(const MObject &node, RemovedNode *record = nullptr);
MStatus restoreNode(const RemovedNode &record);
bool isInScene(const MObject &node);

// make + add (+ parent). For a shape type with a null parent, a transform is
// made above it (named by defaultParentName) and *createdParent receives it.
MObject createNode(const MString &typeName, const MString &name,
                   const MObject &parent = MObject::kNullObj, MObject *createdParent = nullptr,
                   MStatus *status = nullptr);

// ---- names ----------------------------------------------------------------
MString nodeName(const MObject &node);
// Rename; *given receives the unique name actually given.
MStatus renameNode(const MObject &node, const MString &requestedName, MString *given = nullptr);
// By name, or by DAG path ("|a|b" or "a|b"); null object when not found.
MObject findNode(const MString &nameOrPath);
MObjectArray allNodes(); // in the order they entered the scene

// ---- DAG ------------------------------------------------------------------
MObjectArray dagParents(const MObject &node);
MObjectArray dagChildren(const MObject &node);
MObjectArray worldNodes(); // DAG nodes without parent
// Make `parent` (a transform, or null for the world) the only parent of `child`.
MStatus setParent(const MObject &child, const MObject &parent);
// Add `parent` as a further parent (an instance of child).
MStatus addParent(const MObject &child, const MObject &parent);
MStatus removeParent(const MObject &child, const MObject &parent);

// ---- plugs and connections --------------------------------------------------
// "node.attr", "node.attr[3]", "node.translateX"; long or short attribute names.
MPlug findPlug(const MString &plugPath, MStatus *status = nullptr);
// Connect; a destination that already has a source fails with kFailure unless
// `force`, in which case the old connection is broken and returned in
// *replacedSource (a null plug if there was none). Refuses with
// kInvalidParameter: unreadable/non-connectable source, non-writable
// destination, numeric to data or mismatching data types, a plug to itself.
MStatus connect(const MPlug &source, const MPlug &destination, bool force = false,
                MPlug *replacedSource = nullptr);
MStatus disconnect(const MPlug &source, const MPlug &destination);
MPlug sourceOf(const MPlug &destination); // null plug when unconnected
MPlugArray destinationsOf(const MPlug &source);
std::vector<std::pair<MPlug, MPlug>> connectionsOf(const MObject &node);
bool isConnected(const MPlug &source, const MPlug &destination);

// ---- values and evaluation -------------------------------------------------
// Values are read and written through MPlug (asDouble, setValue, ...), which
// evaluates on read. Setting a connected destination fails with kFailure.
// Pull one plug now (compute upstream as needed).
MStatus evaluate(const MPlug &plug);
// Pull every output attribute of a node (the "dgeval <node>" form).
MStatus evaluateNode(const MObject &node);
bool isDirty(const MPlug &plug);

// ---- time -------------------------------------------------------------------
MTime currentTime();
MStatus setCurrentTime(const MTime &time); // drives time1.outTime, dirties downstream

// ---- sets (objectSet, shadingEngine) ----------------------------------------
// Add a member. With forceElement, the member leaves every other
// shadingEngine first (shading groups partition geometry); the sets it left
// are appended to *leftSets.
MStatus addToSet(const MObject &set, const MObject &member, bool forceElement = false,
                 MObjectArray *leftSets = nullptr);
MStatus removeFromSet(const MObject &set, const MObject &member);
MObjectArray setMembers(const MObject &set);
bool isSetMember(const MObject &set, const MObject &member);

// ---- commands registered by plug-ins ----------------------------------------
struct CommandEntry {
    MString name;
    MCreatorFunction creator = nullptr;
    MCreateSyntaxFunction syntax = nullptr;
    MObject plugin;
};
const CommandEntry *findCommand(const MString &name); // null when not registered
MStringArray commandNames();

// ---- plug-in objects ----------------------------------------------------------
// The object the loader passes to initializePlugin/uninitializePlugin (kPlugin).
// `name` is the registry name (file name without extension), `path` the file.
MObject createPluginObject(const MString &name, const MString &path);
MObject findPluginObject(const MString &name); // null when not loaded
MStringArray pluginNames();
// Forget a plug-in after its uninitializePlugin: commands and node types it
// still has registered are removed (existing nodes of its types stop
// evaluating and keep their values).
void forgetPlugin(const MObject &plugin);

// ---- whole scene ------------------------------------------------------------------
// Empty the scene and make the default nodes again; registrations stay.
void resetScene();
// Functions the command side registers to clear its own state (selection,
// undo queue) whenever the scene is reset.
void addResetHook(void (*hook)());

} // namespace scene
} // namespace kelphost

#endif
