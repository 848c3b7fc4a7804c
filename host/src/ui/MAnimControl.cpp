// MAnimControl: the scene time, as the time slider sets it.
#include <maya/MAnimControl.h>

#include "../Scene.h"

OPENMAYA_MAJOR_NAMESPACE_OPEN

MAnimControl::MAnimControl() {}

MAnimControl::~MAnimControl() {}

MTime MAnimControl::currentTime() {
    return kelphost::scene::currentTime();
}

MStatus MAnimControl::setCurrentTime(const MTime &newTime) {
    return kelphost::scene::setCurrentTime(newTime);
}

OPENMAYA_NAMESPACE_CLOSE
