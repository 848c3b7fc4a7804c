#include <maya/MFnTypedAttribute.h>
MObject f(MFnTypedAttribute &t, MStatus *st) {
    return t.create("file", "f", MFnData::kString, st); // the deprecated 4-argument form
}
