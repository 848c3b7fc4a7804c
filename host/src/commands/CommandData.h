// What an MPxCommand holds, and how the runner hands it the syntax of the
// command being created (the creator takes no arguments).
#pragma once

#include <maya/MString.h>
#include <maya/MSyntax.h>

namespace kelphost {

struct CommandData {
    MSyntax syntax;
    MString commandString;
    bool hasSyntax = false;
    bool historyOn = false;
};

// While alive, commands constructed get a copy of this data.
class PendingCommandScope {
public:
    PendingCommandScope(const MSyntax &syntax, const MString &commandString, bool hasSyntax);
    ~PendingCommandScope();
    PendingCommandScope(const PendingCommandScope &) = delete;
    PendingCommandScope &operator=(const PendingCommandScope &) = delete;

private:
    CommandData data_;
};

CommandData *takePendingCommandData();

} // namespace kelphost
