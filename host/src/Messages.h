#ifndef KELPHOST_MESSAGES_H
#define KELPHOST_MESSAGES_H
// Where the stand-in host's messages go. Every message the host shows passes
// through emit(): MGlobal::display*, MStatus::perror, MPxCommand::display*,
// the interpreter's results and errors. By default they are printed as the
// host prints them; tests can capture them instead (host/testing/StandIn.h).
//   Info     stdout  "<text>"
//   Warning  stderr  "// Warning: <text> //"
//   Error    stderr  "// Error: <text> //"
//   Perror   stderr  "<text>"   (MStatus::perror: "<prefix>: <errorString>")
//   Output   stdout  "<text>"   (script output: print, command results)
#include <string>
#include <vector>

namespace kelphost {
namespace messages {

enum class Kind { Info, Warning, Error, Perror, Output };

struct Message {
    Kind kind;
    std::string text;
};

void emit(Kind kind, const std::string &text);
// The line as printed for a message (without the line end).
std::string format(const Message &message);

// Capturing: while on, messages are recorded (and printed only if `echo`).
void startCapture(bool echo = false);
void stopCapture();
const std::vector<Message> &captured();
void clearCaptured();

} // namespace messages
} // namespace kelphost

#endif
