#ifndef _MGlobal
#define _MGlobal
// Host-wide services. Messages (graph side, MGlobal.cpp): displayInfo prints
// the text as is on standard output; displayWarning prints
// "// Warning: <text> //" and displayError "// Error: <text> //" on standard
// error. Selection and command execution are the command side's.
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MIntArray.h>
#include <maya/MDoubleArray.h>
#include <maya/MTime.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MSelectionList;
class MObject;

class OPENMAYA_EXPORT MGlobal {
public:
    enum MMayaState { kInteractive, kBatch, kLibraryApp, kBaseUIMode };
    enum ListAdjustment {
        kReplaceList,
        kXORWithList,
        kAddToList,
        kRemoveFromList,
        kAddToHeadOfList
    };

    static MMayaState mayaState(MStatus *ReturnStatus = nullptr);
    static MString mayaVersion();
    static int apiVersion();

    static MStatus getActiveSelectionList(MSelectionList &dest,
                                          bool orderedSelectionIfAvailable = false);
    static MStatus setActiveSelectionList(const MSelectionList &src, ListAdjustment = kReplaceList);
    static MStatus getSelectionListByName(const MString &name, MSelectionList &list);
    static MStatus selectByName(const MString &name, ListAdjustment = kAddToList);
    static MStatus clearSelectionList();

    static MStatus executeCommand(const MString &command, bool displayEnabled = false,
                                  bool undoEnabled = false);
    static MStatus executeCommand(const MString &command, int &result, bool displayEnabled = false,
                                  bool undoEnabled = false);
    static MStatus executeCommand(const MString &command, MIntArray &result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    static MStatus executeCommand(const MString &command, double &result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    static MStatus executeCommand(const MString &command, MDoubleArray &result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    static MStatus executeCommand(const MString &command, MString &result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    static MStatus executeCommand(const MString &command, MStringArray &result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    static MString executeCommandStringResult(const MString &command, bool displayEnabled = false,
                                              bool undoEnabled = false,
                                              MStatus *ReturnStatus = nullptr);
    static MStatus executePythonCommand(const MString &command, bool displayEnabled = false,
                                        bool undoEnabled = false);

    static void displayInfo(const MString &theMessage);
    static void displayWarning(const MString &theWarning);
    static void displayError(const MString &theError);

    static MStatus viewFrame(const MTime &time);
    static MStatus viewFrame(double time);

private:
    MGlobal();
};

OPENMAYA_NAMESPACE_CLOSE

#endif
