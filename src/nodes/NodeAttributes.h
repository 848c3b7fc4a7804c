// What the reader and writer nodes share: their common attributes, made the
// same way, and the checks of the statuses the host hands back.
#ifndef KELP_NODES_NODEATTRIBUTES_H
#define KELP_NODES_NODEATTRIBUTES_H

#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

// Returns the status of `expression` from the calling function when it
// failed, silently; the callee has already said why.
#define KELP_RETURN_IF_FAILED(expression)                                                          \
    do {                                                                                           \
        const MStatus kelpStatus_ = (expression);                                                  \
        if (!kelpStatus_)                                                                          \
            return kelpStatus_;                                                                    \
    } while (0)

// The same, telling the host's error stream `message` first (MStatus::perror).
#define KELP_RETURN_IF_FAILED_SAY(expression, message)                                             \
    do {                                                                                           \
        MStatus kelpStatus_ = (expression);                                                        \
        if (!kelpStatus_) {                                                                        \
            kelpStatus_.perror(message);                                                           \
            return kelpStatus_;                                                                    \
        }                                                                                          \
    } while (0)

// "bgeoPath" ("bp"): the file name pattern, a string offered with a file
// browser, defaulting to defaultPath.
MStatus createPathAttribute(MObject &attribute, const char *defaultPath);

// "verbosity" ("vb"): None, confirmField ("readConfirm" or "writeConfirm"),
// GeoDetails, BgeoDetails; 1 by default.
MStatus createVerbosityAttribute(MObject &attribute, const char *confirmField);

// "frame" ("fr"): a keyable float.
MObject createFrameAttribute(double defaultFrame);

// A keyable boolean ("invertNormals" and the writer's switches).
MObject createSwitch(const char *longName, const char *shortName, bool defaultValue);

// A mesh that is not stored with the scene ("outMesh", the writer's "inMesh").
MObject createMeshAttribute(const char *longName, const char *shortName);

// The handle of one input; its status in `status`.
inline MStatus inputHandle(MDataBlock &data, const MObject &attribute, MDataHandle &handle) {
    MStatus status;
    handle = data.inputValue(attribute, &status);
    return status;
}

#endif
