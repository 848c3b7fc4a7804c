// MPxCommand: the base of plug-in commands. The result functions act on the
// interpreter's current command result.
#include "CommandData.h"
#include "Interpreter.h"

#include <maya/MGlobal.h>
#include <maya/MPxCommand.h>

namespace kelphost {

namespace {
CommandData *&pending() {
    static CommandData *data = nullptr;
    return data;
}
} // namespace

PendingCommandScope::PendingCommandScope(const MSyntax &syntax, const MString &commandString,
                                         bool hasSyntax)
    : data_{syntax, commandString, hasSyntax, false} {
    pending() = &data_;
}

PendingCommandScope::~PendingCommandScope() {
    pending() = nullptr;
}

CommandData *takePendingCommandData() {
    CommandData *d = pending();
    return d ? new CommandData(*d) : new CommandData();
}

} // namespace kelphost

namespace {
kelphost::CommandResult &result() {
    return kelphost::Interpreter::instance().result();
}
} // namespace

MPxCommand::MPxCommand() : fData(kelphost::takePendingCommandData()) {}

MPxCommand::~MPxCommand() {
    delete fData;
}

MStatus MPxCommand::doIt(const MArgList &) {
    return MS::kSuccess;
}
MStatus MPxCommand::undoIt() {
    return MS::kSuccess;
}
MStatus MPxCommand::redoIt() {
    return MS::kSuccess;
}
bool MPxCommand::isUndoable() const {
    return false;
}
bool MPxCommand::hasSyntax() const {
    return fData->hasSyntax;
}
MSyntax MPxCommand::syntax() const {
    return fData->syntax;
}
bool MPxCommand::isHistoryOn() const {
    return fData->historyOn;
}
MString MPxCommand::commandString() const {
    return fData->commandString;
}

MStatus MPxCommand::setHistoryOn(bool state) {
    fData->historyOn = state;
    return MS::kSuccess;
}

MStatus MPxCommand::setCommandString(const MString &s) {
    fData->commandString = s;
    return MS::kSuccess;
}

MStatus MPxCommand::setUndoable(bool) {
    return MS::kSuccess;
}

void MPxCommand::displayInfo(const MString &theInfo) {
    MGlobal::displayInfo(theInfo);
}
void MPxCommand::displayWarning(const MString &theWarning, bool) {
    MGlobal::displayWarning(theWarning);
}
void MPxCommand::displayError(const MString &theError, bool) {
    MGlobal::displayError(theError);
}

void MPxCommand::clearResult() {
    result().clear();
}
void MPxCommand::setResult(unsigned int val) {
    result().setInt(static_cast<int>(val));
}
void MPxCommand::setResult(int val) {
    result().setInt(val);
}
void MPxCommand::setResult(double val) {
    result().setDouble(val);
}
void MPxCommand::setResult(bool val) {
    result().setInt(val ? 1 : 0);
}
void MPxCommand::setResult(const char *val) {
    result().setString(val ? val : "");
}
void MPxCommand::setResult(const MString &val) {
    result().setString(val.asChar());
}

void MPxCommand::setResult(const MIntArray &val) {
    std::vector<int> v;
    for (unsigned int i = 0; i < val.length(); ++i)
        v.push_back(val[i]);
    result().setInts(v);
}

void MPxCommand::setResult(const MDoubleArray &val) {
    std::vector<double> v;
    for (unsigned int i = 0; i < val.length(); ++i)
        v.push_back(val[i]);
    result().setDoubles(v);
}

void MPxCommand::setResult(const MStringArray &val) {
    std::vector<std::string> v;
    for (unsigned int i = 0; i < val.length(); ++i)
        v.push_back(val[i].asChar());
    result().setStrings(v);
}

void MPxCommand::appendToResult(int val) {
    result().appendInt(val);
}
void MPxCommand::appendToResult(double val) {
    result().appendDouble(val);
}
void MPxCommand::appendToResult(bool val) {
    result().appendInt(val ? 1 : 0);
}
void MPxCommand::appendToResult(const char *val) {
    result().appendString(val ? val : "");
}
void MPxCommand::appendToResult(const MString &val) {
    result().appendString(val.asChar());
}

void MPxCommand::appendToResult(const MStringArray &val) {
    for (unsigned int i = 0; i < val.length(); ++i)
        result().appendString(val[i].asChar());
}

MPxCommand::MResultType MPxCommand::currentResultType() {
    switch (result().kind) {
    case kelphost::CommandResult::kInt:
        return kLong;
    case kelphost::CommandResult::kDouble:
        return kDouble;
    case kelphost::CommandResult::kString:
        return kString;
    default:
        return kNoArg;
    }
}

MStatus MPxCommand::getCurrentResult(int &val) {
    const kelphost::CommandResult &r = result();
    if (r.kind == kelphost::CommandResult::kString || r.numbers.empty())
        return MS::kFailure;
    val = static_cast<int>(r.numbers[0]);
    return MS::kSuccess;
}

MStatus MPxCommand::getCurrentResult(double &val) {
    const kelphost::CommandResult &r = result();
    if (r.kind == kelphost::CommandResult::kString || r.numbers.empty())
        return MS::kFailure;
    val = r.numbers[0];
    return MS::kSuccess;
}

MStatus MPxCommand::getCurrentResult(MString &val) {
    const kelphost::CommandResult &r = result();
    if (r.empty())
        return MS::kFailure;
    val = MString(r.item(0).c_str());
    return MS::kSuccess;
}

MStatus MPxCommand::getCurrentResult(MIntArray &val) {
    const kelphost::CommandResult &r = result();
    if (r.kind == kelphost::CommandResult::kString)
        return MS::kFailure;
    val.clear();
    for (double d : r.numbers)
        val.append(static_cast<int>(d));
    return MS::kSuccess;
}

MStatus MPxCommand::getCurrentResult(MDoubleArray &val) {
    const kelphost::CommandResult &r = result();
    if (r.kind == kelphost::CommandResult::kString)
        return MS::kFailure;
    val.clear();
    for (double d : r.numbers)
        val.append(d);
    return MS::kSuccess;
}

MStatus MPxCommand::getCurrentResult(MStringArray &val) {
    const kelphost::CommandResult &r = result();
    val.clear();
    for (size_t i = 0; i < r.size(); ++i)
        val.append(MString(r.item(i).c_str()));
    return MS::kSuccess;
}
