#ifndef _MAnimControl
#define _MAnimControl
// The scene's animation controls (OpenMayaAnim); the subset the plug-in
// uses. setCurrentTime moves the scene time, as the time slider does.
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MTime.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYAANIM_EXPORT MAnimControl {
public:
    MAnimControl();
    virtual ~MAnimControl();
    static MTime currentTime();
    static MStatus setCurrentTime(const MTime &newTime);
};

OPENMAYA_NAMESPACE_CLOSE

#endif
