#include "KelpExportCmd.h"

#include "bridge/FileName.h"
#include "bridge/WriteBgeo.h"

#include <maya/MAnimControl.h>
#include <maya/MArgDatabase.h>
#include <maya/MDagPath.h>
#include <maya/MFn.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MItSelectionList.h>
#include <maya/MPlug.h>
#include <maya/MProgressWindow.h>
#include <maya/MSelectionList.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MTime.h>

#include <cmath>
#include <cstddef>
#include <vector>

namespace {

const char *const fileFlag = "-f";
const char *const fileLongFlag = "-file";
const char *const startFlag = "-sf";
const char *const startLongFlag = "-startFrame";
const char *const endFlag = "-ef";
const char *const endLongFlag = "-endFrame";
const char *const stepFlag = "-s";
const char *const stepLongFlag = "-step";
const char *const formatFlag = "-fmt";
const char *const formatLongFlag = "-format";
const char *const verbosityFlag = "-vb";
const char *const verbosityLongFlag = "-verbosity";

const char *const meshToken = "$OS";

// What the command was asked to do, gathered before any work starts.
struct ExportRequest {
    MString pattern;
    double startFrame = 0.0;
    double endFrame = 0.0;
    double step = 1.0;
    MString format = "classic";
    int verbosity = 1;
};

// One mesh to export: the selected instance and the files it goes to.
struct ExportMesh {
    MDagPath shape;
    MString transformName;
    MString pattern; // the request's pattern with "$OS" replaced
};

MStatus refuse(const MString &why) {
    MGlobal::displayError("KelpExport: " + why);
    return MS::kInvalidParameter;
}

bool contains(const MString &text, const char *piece) {
    return text.indexW(MString(piece)) >= 0;
}

MStatus readRequest(const MArgDatabase &argData, ExportRequest &request) {
    if (!argData.isFlagSet(fileFlag))
        return refuse("-file is required (the path pattern of the files to write)");
    MStatus status = argData.getFlagArgument(fileFlag, 0, request.pattern);
    if (!status)
        return status;
    const double current = MAnimControl::currentTime().as(MTime::uiUnit());
    request.startFrame = current;
    request.endFrame = current;
    if (argData.isFlagSet(startFlag) &&
        !(status = argData.getFlagArgument(startFlag, 0, request.startFrame)))
        return status;
    if (argData.isFlagSet(endFlag) &&
        !(status = argData.getFlagArgument(endFlag, 0, request.endFrame)))
        return status;
    if (argData.isFlagSet(stepFlag) &&
        !(status = argData.getFlagArgument(stepFlag, 0, request.step)))
        return status;
    if (argData.isFlagSet(formatFlag) &&
        !(status = argData.getFlagArgument(formatFlag, 0, request.format)))
        return status;
    if (argData.isFlagSet(verbosityFlag) &&
        !(status = argData.getFlagArgument(verbosityFlag, 0, request.verbosity)))
        return status;
    return MS::kSuccess;
}

unsigned int frameCount(const ExportRequest &request) {
    // A small tolerance, so that 1 to 2 by 0.1 ends at 2 despite rounding.
    const double steps = (request.endFrame - request.startFrame) / request.step;
    return static_cast<unsigned int>(std::floor(steps + 1e-6)) + 1;
}

MStatus checkRequest(const ExportRequest &request) {
    if (request.pattern.length() == 0)
        return refuse("-file must not be empty");
    if (!(request.step > 0.0))
        return refuse(MString("-step must be greater than 0, not ") + request.step);
    if (request.endFrame < request.startFrame)
        return refuse(MString("-endFrame ") + request.endFrame + " is before -startFrame " +
                      request.startFrame);
    if ((request.endFrame - request.startFrame) / request.step > 1e7)
        return refuse("the frame range holds more than ten million frames");
    if (request.format != "classic" && request.format != "json")
        return refuse("-format takes classic or json, not \"" + request.format + "\"");
    if (request.verbosity < 0 || request.verbosity > 3)
        return refuse(MString("-verbosity takes 0 to 3, not ") + request.verbosity);
    if (frameCount(request) > 1 && !contains(request.pattern, "$F"))
        return refuse("the file pattern holds no frame token ($F, $F4, $FF), so every frame "
                      "would overwrite the same file: " +
                      request.pattern);
    return MS::kSuccess;
}

void addMesh(const MDagPath &found, std::vector<ExportMesh> &meshes) {
    MDagPath path = found;
    if (!path.node().hasFn(MFn::kMesh))
        path.extendToShape();
    for (const ExportMesh &m : meshes)
        if (m.shape == path)
            return;
    ExportMesh mesh;
    mesh.shape = path;
    MFnDependencyNode transformFn(path.transform());
    mesh.transformName = transformFn.name();
    meshes.push_back(mesh);
}

// The meshes of a list; the mesh filter also finds the mesh below a
// selected transform. Returns how many items of the list gave a mesh.
unsigned int collectMeshes(const MSelectionList &list, std::vector<ExportMesh> &meshes) {
    unsigned int found = 0;
    for (MItSelectionList item(list, MFn::kMesh); !item.isDone(); item.next()) {
        MDagPath path;
        if (!item.getDagPath(path))
            continue;
        addMesh(path, meshes);
        ++found;
    }
    return found;
}

MStatus findMeshes(const MArgDatabase &argData, std::vector<ExportMesh> &meshes) {
    MStringArray names;
    argData.getObjects(names);
    if (names.length() == 0) {
        MSelectionList selection;
        MGlobal::getActiveSelectionList(selection);
        if (collectMeshes(selection, meshes) == 0)
            return refuse("select one or more meshes, or name them");
        return MS::kSuccess;
    }
    // Named objects must each be (or hold) a mesh.
    for (unsigned int i = 0; i < names.length(); ++i) {
        MSelectionList one;
        if (!one.add(names[i]))
            return refuse("no object matches name: " + names[i]);
        if (collectMeshes(one, meshes) == 0)
            return refuse(names[i] + " is not a mesh");
    }
    return MS::kSuccess;
}

// "$OS" becomes the transform's name; a name from a namespace or a path
// cannot put folders into the file name.
MString meshPattern(const MString &pattern, const MString &transformName) {
    MString name = transformName;
    name.substitute(":", "_");
    name.substitute("|", "_");
    MString expanded = pattern;
    expanded.substitute(meshToken, name);
    return expanded;
}

MStatus planFiles(const ExportRequest &request, std::vector<ExportMesh> &meshes) {
    if (meshes.size() > 1 && !contains(request.pattern, meshToken))
        return refuse(MString("") + static_cast<double>(meshes.size()) +
                      " meshes need \"$OS\" (the mesh's transform name) in the file pattern, "
                      "so that each gets its own files: " +
                      request.pattern);
    for (std::size_t i = 0; i < meshes.size(); ++i) {
        meshes[i].pattern = meshPattern(request.pattern, meshes[i].transformName);
        for (std::size_t j = 0; j < i; ++j)
            if (meshes[j].pattern == meshes[i].pattern)
                return refuse("the meshes below " + meshes[j].transformName + " and " +
                              meshes[i].transformName +
                              " would write the same files: " + meshes[i].pattern);
    }
    return MS::kSuccess;
}

// Puts the scene time back when the export ends, however it ends.
class SceneTimeGuard {
public:
    SceneTimeGuard() : m_saved(MAnimControl::currentTime()) {}
    ~SceneTimeGuard() { MAnimControl::setCurrentTime(m_saved); }
    SceneTimeGuard(const SceneTimeGuard &) = delete;
    SceneTimeGuard &operator=(const SceneTimeGuard &) = delete;

private:
    MTime m_saved;
};

// The progress window in an interactive session (Esc interrupts), else one
// line per frame at verbosity 1 or more. The window never opens in batch.
class ExportProgress {
public:
    ExportProgress(unsigned int frames, int verbosity)
        : m_frames(frames), m_verbosity(verbosity), m_window(false) {
        if (MGlobal::mayaState() != MGlobal::kInteractive || !MProgressWindow::reserve())
            return;
        m_window = true;
        MProgressWindow::setTitle("KelpExport");
        MProgressWindow::setInterruptable(true);
        MProgressWindow::setProgressRange(0, static_cast<int>(frames));
        MProgressWindow::setProgress(0);
        MProgressWindow::startProgress();
    }
    ~ExportProgress() {
        if (m_window)
            MProgressWindow::endProgress();
    }
    ExportProgress(const ExportProgress &) = delete;
    ExportProgress &operator=(const ExportProgress &) = delete;

    void frameStarts(double frame) {
        if (m_window)
            MProgressWindow::setProgressStatus(MString("Frame ") + frame);
    }

    void frameDone(unsigned int done, double frame, unsigned int files) {
        if (m_window) {
            MProgressWindow::setProgress(static_cast<int>(done));
        } else if (m_verbosity >= 1) {
            MGlobal::displayInfo(
                MString("KelpExport: frame ") + frame + " (" + static_cast<double>(done) + " of " +
                static_cast<double>(m_frames) + "): " + static_cast<double>(files) +
                (files == 1 ? " file" : " files"));
        }
    }

    bool interrupted() const { return m_window && MProgressWindow::isCancelled(); }

private:
    const unsigned int m_frames;
    const int m_verbosity;
    bool m_window;
};

// The mesh's world-space geometry at the current time.
MStatus worldMesh(const ExportMesh &mesh, MObject &data) {
    MFnDagNode shapeFn(mesh.shape);
    MStatus status;
    MPlug plug = shapeFn.findPlug("worldMesh", true, &status);
    if (!status)
        return status;
    return plug.elementByLogicalIndex(mesh.shape.instanceNumber()).getValue(data);
}

MStatus exportFrames(const ExportRequest &request, const std::vector<ExportMesh> &meshes,
                     MStringArray &written) {
    const unsigned int frames = frameCount(request);
    const int writeVerbosity = request.verbosity >= 2 ? request.verbosity : 0;
    SceneTimeGuard timeGuard;
    ExportProgress progress(frames, request.verbosity);
    for (unsigned int i = 0; i < frames; ++i) {
        const double frame = request.startFrame + i * request.step;
        progress.frameStarts(frame);
        MAnimControl::setCurrentTime(MTime(frame, MTime::uiUnit()));
        for (const ExportMesh &mesh : meshes) {
            MObject data;
            MStatus status = worldMesh(mesh, data);
            if (!status || data.isNull()) {
                MGlobal::displayError("KelpExport: no world-space mesh for " +
                                      mesh.shape.partialPathName() + " at frame " + frame);
                return status ? MStatus(MS::kFailure) : status;
            }
            MString failure;
            status = writeBgeo(data, mesh.pattern, static_cast<float>(frame), 0, writeVerbosity,
                               true, false, false, request.format == "json" ? 1 : 0, &failure);
            if (!status) {
                MGlobal::displayError(failure);
                return status;
            }
            written.append(buildFileName(mesh.pattern, static_cast<float>(frame)));
        }
        progress.frameDone(i + 1, frame, static_cast<unsigned int>(meshes.size()));
        if (i + 1 < frames && progress.interrupted()) {
            MGlobal::displayError(MString("KelpExport: interrupted after frame ") + frame + "; " +
                                  static_cast<double>(written.length()) + " files written");
            return MS::kFailure;
        }
    }
    return MS::kSuccess;
}

} // namespace

KelpExportCmd::KelpExportCmd() {}

KelpExportCmd::~KelpExportCmd() {}

void *KelpExportCmd::creator() {
    return new KelpExportCmd();
}

MSyntax KelpExportCmd::newSyntax() {
    MSyntax syntax;
    syntax.addFlag(fileFlag, fileLongFlag, MSyntax::kString);
    syntax.addFlag(startFlag, startLongFlag, MSyntax::kDouble);
    syntax.addFlag(endFlag, endLongFlag, MSyntax::kDouble);
    syntax.addFlag(stepFlag, stepLongFlag, MSyntax::kDouble);
    syntax.addFlag(formatFlag, formatLongFlag, MSyntax::kString);
    syntax.addFlag(verbosityFlag, verbosityLongFlag, MSyntax::kLong);
    syntax.setObjectType(MSyntax::kStringObjects);
    syntax.enableQuery(false);
    syntax.enableEdit(false);
    return syntax;
}

bool KelpExportCmd::isUndoable() const {
    return false;
}

MStatus KelpExportCmd::doIt(const MArgList &args) {
    MStatus status;
    MArgDatabase argData(syntax(), args, &status);
    if (!status)
        return status;

    ExportRequest request;
    std::vector<ExportMesh> meshes;
    if (!(status = readRequest(argData, request)) || !(status = checkRequest(request)) ||
        !(status = findMeshes(argData, meshes)) || !(status = planFiles(request, meshes)))
        return status;

    MStringArray written;
    status = exportFrames(request, meshes, written);
    clearResult();
    setResult(written);
    return status;
}
