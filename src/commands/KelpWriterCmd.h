#ifndef KELP_WRITER_CMD_H
#define KELP_WRITER_CMD_H
// "KelpWriter": for every selected mesh, a writer node fed by the mesh's
// world-space geometry, plus a new transform and mesh shape fed by the writer;
// each writer's frame follows the scene time. Undoable as a whole.
#include "NetworkCommand.h"

#include <maya/MArgList.h>
#include <maya/MDagPath.h>
#include <maya/MObjectArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MSyntax.h>

class KelpWriterCmd : public NetworkCommand {
public:
    KelpWriterCmd();
    ~KelpWriterCmd() override;

    MStatus doIt(const MArgList &args) override;

    static void *creator();
    static MSyntax newSyntax();

private:
    MStatus parseArguments(const MArgList &args, MString &baseName);
    void createWriter(MDagPath path, const MString &baseName);

    MObjectArray writerNodes; // one per selected mesh, in selection order
    MObjectArray meshShapes;  // entry i is fed by writerNodes[i]
};

#endif
