#ifndef _MProgressWindow
#define _MProgressWindow
// The host's progress window (OpenMayaUI). Only one client at a time: reserve
// it first, then startProgress ... endProgress (which releases it). There is
// no window in batch mode: reserve() answers false there.
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYAUI_EXPORT MProgressWindow {
public:
    static bool reserve();
    static MStatus startProgress();
    static MStatus endProgress();
    static MStatus setProgressRange(const int minValue, const int maxValue);
    static MStatus setProgressMin(const int minValue);
    static MStatus setProgressMax(const int maxValue);
    static int progressMin(MStatus *ReturnStatus = nullptr);
    static int progressMax(MStatus *ReturnStatus = nullptr);
    static MStatus setProgress(const int progress);
    static int progress(MStatus *ReturnStatus = nullptr);
    static MStatus advanceProgress(const int amount);
    static MStatus setTitle(const MString &title);
    static MString title(MStatus *ReturnStatus = nullptr);
    static MStatus setProgressStatus(const MString &progressStatus);
    static MString progressStatus(MStatus *ReturnStatus = nullptr);
    static MStatus setInterruptable(const bool value);
    static bool isInterruptable(MStatus *ReturnStatus = nullptr);
    // True once the user has pressed Esc in an interruptable window.
    static bool isCancelled(MStatus *ReturnStatus = nullptr);

private:
    MProgressWindow();
};

OPENMAYA_NAMESPACE_CLOSE

#endif
