// Everything the traps get wrong, written the way that compiles.
#include <maya/MDataHandle.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnMesh.h>
#include <maya/MFnPlugin.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

MStatus initializePlugin(MObject obj) {
    MFnPlugin plugin(obj, "Kelp", "1.5", "Any");
    MString s("x");
    s = s + 3 + 3u + 'c' + 1.5;
    s = 3.0;
    MStringArray parts;
    s.split('.', parts);
    MStringArray three(3, MString());
    MFnTypedAttribute t;
    MStatus st;
    t.create("file", "f", MFnData::kString, MObject::kNullObj, &st);
    MFnDependencyNode fn;
    fn.findPlug("file", true, &st);
    MDataHandle h;
    h.set(MString("text"));
    h.set(static_cast<int>(3u));
    MFnMesh mesh;
    MFnMesh &ref = mesh;
    (void)ref;
    CHECK_MSTATUS(st);
    cerr << endl;
    return st;
}
