#ifndef _MPxCommand
#define _MPxCommand
// Base class of the script commands a plug-in defines (command side).
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MIntArray.h>
#include <maya/MDoubleArray.h>
#include <maya/MArgList.h>
#include <maya/MSyntax.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MPxCommand {
public:
    enum MResultType { kLong, kDouble, kString, kNoArg };

    MPxCommand();
    virtual ~MPxCommand();
    virtual MStatus doIt(const MArgList &args);
    virtual MStatus undoIt();
    virtual MStatus redoIt();
    virtual bool isUndoable() const;
    virtual bool hasSyntax() const;
    MSyntax syntax() const;
    bool isHistoryOn() const;
    MString commandString() const;
    MStatus setHistoryOn(bool state);
    MStatus setCommandString(const MString &);

    static void displayInfo(const MString &theInfo);
    static void displayWarning(const MString &theWarning, bool showLineNumber = false);
    static void displayError(const MString &theError, bool showLineNumber = false);

    static void clearResult();
    static void setResult(unsigned int val);
    static void setResult(int val);
    static void setResult(double val);
    static void setResult(bool val);
    static void setResult(const char *val);
    static void setResult(const MString &val);
    static void setResult(const MIntArray &val);
    static void setResult(const MDoubleArray &val);
    static void setResult(const MStringArray &val);
    static void appendToResult(int val);
    static void appendToResult(double val);
    static void appendToResult(bool val);
    static void appendToResult(const char *val);
    static void appendToResult(const MString &val);
    static void appendToResult(const MStringArray &val);
    static MResultType currentResultType();
    static MStatus getCurrentResult(int &val);
    static MStatus getCurrentResult(double &val);
    static MStatus getCurrentResult(MString &val);
    static MStatus getCurrentResult(MIntArray &val);
    static MStatus getCurrentResult(MDoubleArray &val);
    static MStatus getCurrentResult(MStringArray &val);

    OPENMAYA_DEPRECATED(2019, "MPxCommand::setUndoable has no effect any more")
    MStatus setUndoable(bool state);

private:
    friend class ::kelphost::Access;
    MPxCommand(const MPxCommand &);
    MPxCommand &operator=(const MPxCommand &);
    ::kelphost::CommandData *fData;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
