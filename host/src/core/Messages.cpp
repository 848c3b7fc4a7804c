#include "../Messages.h"

#include <cstdio>
#include <iostream>

namespace kelphost {
namespace messages {
namespace {

struct Sink {
    bool capturing = false;
    bool echo = false;
    std::vector<Message> captured;
};

Sink &sink() {
    static Sink s;
    return s;
}

void print(const Message &m) {
    std::string line = format(m);
    switch (m.kind) {
    case Kind::Info:
    case Kind::Output:
        std::cout << line << std::endl;
        break;
    default:
        std::cout.flush();
        std::cerr << line << std::endl;
        break;
    }
}

} // namespace

std::string format(const Message &m) {
    switch (m.kind) {
    case Kind::Warning:
        return "// Warning: " + m.text + " //";
    case Kind::Error:
        return "// Error: " + m.text + " //";
    default:
        return m.text;
    }
}

void emit(Kind kind, const std::string &text) {
    Message m{kind, text};
    Sink &s = sink();
    if (s.capturing) {
        s.captured.push_back(m);
        if (!s.echo)
            return;
    }
    print(m);
}

void startCapture(bool echo) {
    sink().capturing = true;
    sink().echo = echo;
}

void stopCapture() {
    sink().capturing = false;
}

const std::vector<Message> &captured() {
    return sink().captured;
}

void clearCaptured() {
    sink().captured.clear();
}

} // namespace messages
} // namespace kelphost
