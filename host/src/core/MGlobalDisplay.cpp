// MGlobal, graph side: messages, host state, version, current frame.
// (Selection and command execution are defined by the command side.)
#include <maya/MGlobal.h>

#include "../Messages.h"
#include "../Scene.h"
#include "../UiState.h"

#include <string>

OPENMAYA_MAJOR_NAMESPACE_OPEN

void MGlobal::displayInfo(const MString &m) {
    kelphost::messages::emit(kelphost::messages::Kind::Info, m.asChar());
}
void MGlobal::displayWarning(const MString &m) {
    kelphost::messages::emit(kelphost::messages::Kind::Warning, m.asChar());
}
void MGlobal::displayError(const MString &m) {
    kelphost::messages::emit(kelphost::messages::Kind::Error, m.asChar());
}

MGlobal::MMayaState MGlobal::mayaState(MStatus *rs) {
    if (rs)
        *rs = MStatus::kSuccess;
    return kelphost::ui::interactive() ? kInteractive : kBatch;
}

MString MGlobal::mayaVersion() {
    return MString(std::to_string(MAYA_APP_VERSION).c_str());
}
int MGlobal::apiVersion() {
    return MAYA_API_VERSION;
}

MStatus MGlobal::viewFrame(const MTime &time) {
    return kelphost::scene::setCurrentTime(time);
}
MStatus MGlobal::viewFrame(double time) {
    return kelphost::scene::setCurrentTime(MTime(time, MTime::uiUnit()));
}

OPENMAYA_NAMESPACE_CLOSE
