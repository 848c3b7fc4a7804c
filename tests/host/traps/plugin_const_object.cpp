#include <maya/MFnPlugin.h>
MStatus initializePlugin(const MObject &obj) {
    MFnPlugin p(obj);
    return MS::kSuccess;
}
