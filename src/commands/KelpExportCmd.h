#ifndef KELP_EXPORT_CMD_H
#define KELP_EXPORT_CMD_H
// "KelpExport": writes meshes over a frame range, one file per mesh and
// frame, without building any network:
//
//   KelpExport -file PATTERN [-startFrame A] [-endFrame B] [-step S]
//              [-format classic|json] [-verbosity 0..3] [MESH ...]
//
// The meshes are the ones named, or else the selected ones (found as
// "KelpWriter" finds them); the frames default to the current one. The
// pattern takes the frame tokens of the nodes and "$OS", the mesh's
// transform name, which it must hold when there is more than one mesh.
// Everything is checked before the first file is written; the first write
// that fails stops the command with a failing status (the files already
// written stay). The scene time is put back at the end. The result is the
// list of files written. Not undoable: it changes nothing in the scene.
#include <maya/MArgList.h>
#include <maya/MPxCommand.h>
#include <maya/MStatus.h>
#include <maya/MSyntax.h>

class KelpExportCmd : public MPxCommand {
public:
    KelpExportCmd();
    ~KelpExportCmd() override;

    MStatus doIt(const MArgList &args) override;
    bool isUndoable() const override;

    static void *creator();
    static MSyntax newSyntax();
};

#endif
