#ifndef KELPHOST_TESTING_STANDIN_H
#define KELPHOST_TESTING_STANDIN_H
// Test-only hooks into the stand-in host (CMake target kelp_host_testing).
// Never included by plug-in code. Typical use in a GoogleTest fixture:
//
//   void SetUp() override {
//       kelphost::testing::resetHost();           // fresh scene, no plug-in state
//       kelphost::testing::captureMessages();      // record instead of print
//       MObject plugin = kelphost::testing::pluginObject("kelp");
//       ASSERT_TRUE(initializePlugin(plugin));
//   }
//   ... kelphost::testing::messages() / infos() / errors() / perrors() ...
//   ... kelphost::testing::mesh("KelpReaderShape").points ...
//
// Names below accept node names ("time1") and plug paths ("time1.outTime",
// "node.worldMesh[0]"). Reading a value evaluates the graph as the host would.
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPoint.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>
#include <maya/MVector.h>

#include "../src/Messages.h"

#include <array>
#include <map>
#include <utility>
#include <string>
#include <vector>

namespace kelphost {
namespace testing {

// ---- resetting ----------------------------------------------------------------
// Everything back to a fresh start: every plug-in registration (node types,
// commands, plug-in objects) dropped, scene emptied and the default nodes
// made again (time1 at frame 1, initialShadingGroup), the command side's
// state reset, captured messages cleared, fault injections cleared.
void resetHost();
// The scene only (registrations stay).
void resetScene();

// ---- plug-in objects -------------------------------------------------------------
// The object to pass to initializePlugin/uninitializePlugin when a test links
// plug-in sources directly (the batch host's loader makes its own).
MObject pluginObject(const std::string &name = "kelp");

// ---- messages --------------------------------------------------------------------
void captureMessages(bool echo = false); // from now on, record host messages
void stopCapturing();
void clearMessages();
const std::vector<messages::Message> &messages();
std::vector<std::string> messagesOf(messages::Kind kind);
std::vector<std::string> infos();    // MGlobal::displayInfo texts
std::vector<std::string> warnings(); // MGlobal::displayWarning texts (unformatted)
std::vector<std::string> errors();   // MGlobal::displayError texts (unformatted)
std::vector<std::string> perrors();  // MStatus::perror lines, "<prefix>: <errorString>"

// ---- graph inspection --------------------------------------------------------------
MObject node(const std::string &name); // null object when absent
bool exists(const std::string &name);
std::string typeOf(const std::string &nodeName); // "" when absent
std::vector<std::string> nodesOfType(const std::string &typeName);
std::vector<std::string> parentsOf(const std::string &nodeName);
std::vector<std::string> childrenOf(const std::string &nodeName);
std::vector<std::string> setMembers(const std::string &setName);
MPlug plug(const std::string &plugPath); // null plug when absent
// Values (evaluated). Failure to find or read gives 0 / false / "".
double getDouble(const std::string &plugPath);
int getInt(const std::string &plugPath);
bool getBool(const std::string &plugPath);
std::string getString(const std::string &plugPath);
MStatus setDouble(const std::string &plugPath, double value);
MStatus setInt(const std::string &plugPath, int value);
MStatus setBool(const std::string &plugPath, bool value);
MStatus setString(const std::string &plugPath, const std::string &value);
// "src.plug" of a destination, "" when unconnected; and the destinations of a source.
std::string sourceOf(const std::string &destinationPlug);
std::vector<std::string> destinationsOf(const std::string &sourcePlug);
bool isConnected(const std::string &sourcePlug, const std::string &destinationPlug);
bool isDirty(const std::string &plugPath);
// Number of times compute has run on this node (any plug) since it was made.
int computeCount(const std::string &nodeName);
MStatus setTime(double frame); // current time, in frames

// ---- mesh data ---------------------------------------------------------------------
struct UVSet {
    std::string name;
    std::vector<float> u, v;    // the UV values
    std::vector<int> faceUVIds; // per face-vertex, -1 where unmapped
};
struct ColorSet {
    std::string name;
    std::vector<std::array<float, 4>> colors; // r g b a
    std::vector<int> faceColorIds;            // per face-vertex, -1 where no colour
};
struct MeshSnapshot {
    bool valid = false;              // false: no mesh there (null data, not a mesh)
    std::vector<MPoint> points;      // object space
    std::vector<MPoint> worldPoints; // shapes: through the parent transforms (first instance)
    std::vector<int> polygonCounts;
    std::vector<int> polygonConnects;
    std::vector<UVSet> uvSets; // in the mesh's order ("map1" first for new meshes)
    std::string currentUVSet;
    std::vector<MVector> vertexNormals;     // as getVertexNormal(i, false) gives them
    std::vector<bool> vertexNormalSet;      // true where set explicitly (setVertexNormals)
    std::vector<MVector> faceVertexNormals; // per face-vertex, as the mesh shows them
    std::vector<ColorSet> colorSets;        // in the mesh's order
    std::string currentColorSet;
    std::vector<std::pair<int, int>> hardEdges; // point pairs, lower id first
};
// A mesh shape node by name (its evaluated geometry), or a plug holding mesh
// data ("reader.outMesh", "shape.worldMesh[0]"), evaluated.
MeshSnapshot mesh(const std::string &nodeOrPlug);
// Mesh data, mesh geometry or mesh shape object.
MeshSnapshot meshOf(const MObject &object);

// ---- particle / array-attributes data ----------------------------------------------
struct ChannelSnapshot {
    bool valid = false;
    std::map<std::string, std::vector<MVector>> vectors;
    std::map<std::string, std::vector<double>> doubles;
    std::map<std::string, std::vector<int>> ints;
    std::map<std::string, std::vector<std::string>> strings;
};
// A particle shape by name: the channels and count it last received
// (evaluates it first). For a plug path: the array-attributes data in it.
ChannelSnapshot particles(const std::string &nodeOrPlug);
int particleCount(const std::string &particleShapeName);
ChannelSnapshot channelsOf(const MObject &arrayAttrsData);

// ---- session kind and progress window ------------------------------------------------
// The stand-in is a batch session (MGlobal::mayaState() == kBatch, no
// progress window) until a test makes it interactive; resetHost undoes that.
void setInteractive(bool on);
// In an interactive session: Esc is "pressed" once the progress window's
// value reaches `progress` (MProgressWindow::isCancelled answers true).
void pressEscapeAtProgress(int progress);
struct ProgressWindowRecord {
    bool reserved = false, shown = false, interruptable = false;
    int minValue = 0, maxValue = 0;
    std::string title;
    int timesStarted = 0, timesEnded = 0;
    std::vector<int> progressValues;
    std::vector<std::string> statuses;
};
ProgressWindowRecord progressWindow();

// ---- fault injection ---------------------------------------------------------------
// The next registerNode of this type name fails with `code` (once), as a host
// refusing the registration would; registerCommand/deregister* likewise.
void failNodeRegistration(const std::string &typeName,
                          MStatus::MStatusCode code = MStatus::kFailure);
void failCommandRegistration(const std::string &commandName,
                             MStatus::MStatusCode code = MStatus::kFailure);
void failNodeDeregistration(const MTypeId &typeId, MStatus::MStatusCode code = MStatus::kFailure);
void failCommandDeregistration(const std::string &commandName,
                               MStatus::MStatusCode code = MStatus::kFailure);
void clearFaults();

} // namespace testing
} // namespace kelphost

#endif
