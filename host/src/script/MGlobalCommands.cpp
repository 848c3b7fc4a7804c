// The command side of MGlobal: running script commands.
// Without undoEnabled nothing the commands do is kept for undo; with it, the
// work joins the undo record open at the time (for example the running
// command's), or becomes entries of the undo queue when none is open.
#include "Interpreter.h"
#include "UndoRecorder.h"

#include <maya/MGlobal.h>

namespace {

bool execute(const MString &command, bool display, bool undoEnabled,
             kelphost::CommandResult &last) {
    kelphost::Interpreter &in = kelphost::Interpreter::instance();
    if (undoEnabled) {
        const auto mode = kelphost::isRecordingUndo() ? kelphost::Interpreter::Undo::kCurrent
                                                      : kelphost::Interpreter::Undo::kHistory;
        return in.run(command.asChar(), mode, display, &last);
    }
    kelphost::UndoRecordScope dropped(nullptr);
    return in.run(command.asChar(), kelphost::Interpreter::Undo::kCurrent, display, &last);
}

MStatus status(bool ok) {
    return ok ? MStatus(MS::kSuccess) : MStatus(MS::kFailure);
}

double number(const kelphost::CommandResult &r, size_t i) {
    if (r.kind == kelphost::CommandResult::kString) {
        double v = 0;
        return i < r.strings.size() && MString(r.strings[i].c_str()).isDouble()
                   ? MString(r.strings[i].c_str()).asDouble()
                   : v;
    }
    return i < r.numbers.size() ? r.numbers[i] : 0;
}

} // namespace

MStatus MGlobal::executeCommand(const MString &command, bool displayEnabled, bool undoEnabled) {
    kelphost::CommandResult last;
    return status(execute(command, displayEnabled, undoEnabled, last));
}

MStatus MGlobal::executeCommand(const MString &command, int &result, bool displayEnabled,
                                bool undoEnabled) {
    kelphost::CommandResult last;
    const bool ok = execute(command, displayEnabled, undoEnabled, last);
    if (ok)
        result = static_cast<int>(number(last, 0));
    return status(ok);
}

MStatus MGlobal::executeCommand(const MString &command, MIntArray &result, bool displayEnabled,
                                bool undoEnabled) {
    kelphost::CommandResult last;
    const bool ok = execute(command, displayEnabled, undoEnabled, last);
    if (ok) {
        result.clear();
        for (size_t i = 0; i < last.size(); ++i)
            result.append(static_cast<int>(number(last, i)));
    }
    return status(ok);
}

MStatus MGlobal::executeCommand(const MString &command, double &result, bool displayEnabled,
                                bool undoEnabled) {
    kelphost::CommandResult last;
    const bool ok = execute(command, displayEnabled, undoEnabled, last);
    if (ok)
        result = number(last, 0);
    return status(ok);
}

MStatus MGlobal::executeCommand(const MString &command, MDoubleArray &result, bool displayEnabled,
                                bool undoEnabled) {
    kelphost::CommandResult last;
    const bool ok = execute(command, displayEnabled, undoEnabled, last);
    if (ok) {
        result.clear();
        for (size_t i = 0; i < last.size(); ++i)
            result.append(number(last, i));
    }
    return status(ok);
}

MStatus MGlobal::executeCommand(const MString &command, MString &result, bool displayEnabled,
                                bool undoEnabled) {
    kelphost::CommandResult last;
    const bool ok = execute(command, displayEnabled, undoEnabled, last);
    if (ok)
        result = MString(last.text().c_str());
    return status(ok);
}

MStatus MGlobal::executeCommand(const MString &command, MStringArray &result, bool displayEnabled,
                                bool undoEnabled) {
    kelphost::CommandResult last;
    const bool ok = execute(command, displayEnabled, undoEnabled, last);
    if (ok) {
        result.clear();
        for (size_t i = 0; i < last.size(); ++i)
            result.append(MString(last.item(i).c_str()));
    }
    return status(ok);
}

MString MGlobal::executeCommandStringResult(const MString &command, bool displayEnabled,
                                            bool undoEnabled, MStatus *ReturnStatus) {
    kelphost::CommandResult last;
    const bool ok = execute(command, displayEnabled, undoEnabled, last);
    if (ReturnStatus)
        *ReturnStatus = status(ok);
    return ok ? MString(last.text().c_str()) : MString();
}

// The stand-in has no Python.
MStatus MGlobal::executePythonCommand(const MString &, bool, bool) {
    MGlobal::displayError("Python is not available in this host");
    return MS::kNotImplemented;
}
