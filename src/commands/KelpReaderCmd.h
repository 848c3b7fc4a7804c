#ifndef KELP_READER_CMD_H
#define KELP_READER_CMD_H
// "KelpReader": builds, in one undoable step, the network that shows a
// sequence of geometry files in the scene: a reader node, a transform with a
// mesh or particle shape, the time connection, shading-group membership and
// the selection of the new reader node.
#include "NetworkCommand.h"

#include <maya/MArgList.h>
#include <maya/MObjectArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MSyntax.h>

class KelpReaderCmd : public NetworkCommand {
public:
    KelpReaderCmd();
    ~KelpReaderCmd() override;

    MStatus doIt(const MArgList &args) override;

    static void *creator();
    static MSyntax newSyntax();

private:
    MStatus parseArguments(const MArgList &args, MString &baseName, bool &mayaChannels);
    void createNodes(const MString &baseName, MObject &reader, MObject &shape, MObject &transform);
    void connectByScript(bool mayaChannels);

    MObjectArray readerNodes;
    MObjectArray meshShapes;
    MObjectArray particleShapes;
    int particleSwitch;
};

#endif
