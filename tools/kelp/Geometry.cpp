#include "Geometry.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <sstream>

#include <fcntl.h>
#include <unistd.h>

namespace kelptool {

bool tracing() {
    return global_doDebug == 1;
}

struct CerrCapture::Impl {
    std::ostringstream text;
    std::streambuf *previous = nullptr;
};

CerrCapture::CerrCapture() : m_impl(new Impl) {
    if (!tracing())
        m_impl->previous = std::cerr.rdbuf(m_impl->text.rdbuf());
}

CerrCapture::~CerrCapture() {
    if (m_impl->previous)
        std::cerr.rdbuf(m_impl->previous);
    delete m_impl;
}

std::vector<std::string> CerrCapture::lines() const {
    std::vector<std::string> out;
    std::istringstream in(m_impl->text.str());
    std::string line;
    while (std::getline(in, line))
        if (line.find_first_not_of(" \t\r") != std::string::npos)
            out.push_back(line);
    return out;
}

namespace {

bool startsWith(const std::string &text, const std::string &head) {
    return text.compare(0, head.size(), head) == 0;
}

// What the saver says about the form it writes, on every save.
bool isFormNote(const std::string &line) {
    return startsWith(line, "BGEO code saving file as") ||
           startsWith(line, "GEO code saving file as") ||
           startsWith(line, "JSON code saving file as");
}

} // namespace

Outcome loadGeometry(Kelp &model, const std::string &path) {
    Outcome outcome;
    // The loader's own line for a file it cannot open does not say why.
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        outcome.lines.push_back("could not load " + path + ": cannot open the file (" +
                                std::strerror(errno) + ")");
        return outcome;
    }
    ::close(fd);
    CerrCapture capture;
    outcome.ok = model.loadBgeo(path) == 1;
    outcome.lines = capture.lines();
    if (!outcome.ok && outcome.lines.empty())
        outcome.lines.push_back("could not load " + path);
    return outcome;
}

Outcome saveGeometry(Kelp &model, const std::string &path, KelpFormat format) {
    Outcome outcome;
    CerrCapture capture;
    outcome.ok = model.saveBgeo(path, format) == 1;
    for (const std::string &line : capture.lines())
        if (!isFormNote(line))
            outcome.lines.push_back(line);
    if (!outcome.ok && outcome.lines.empty())
        outcome.lines.push_back("could not save file: " + path);
    return outcome;
}

std::string loadReason(const Outcome &outcome, const std::string &path) {
    std::string reason;
    for (const std::string &line : outcome.lines) {
        std::string part = line;
        const std::string head = "could not load " + path + ": ";
        if (startsWith(part, head))
            part = part.substr(head.size());
        reason += reason.empty() ? part : "; " + part;
    }
    return reason;
}

} // namespace kelptool
