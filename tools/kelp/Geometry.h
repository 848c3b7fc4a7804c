// Loading and saving for the tool: the library's own entry points, with what
// they print on standard error taken in, so that each verb can show it in its
// own form.
#ifndef KELP_TOOLS_GEOMETRY_H
#define KELP_TOOLS_GEOMETRY_H

#include <Kelp>

#include <string>
#include <vector>

namespace kelptool {

// Whether the geometry library's byte-level trace is on (KELP_TRACE=1). The
// trace then goes straight to standard error, uncaptured.
bool tracing();

// Takes every line written to std::cerr while it lives (unless tracing).
class CerrCapture {
public:
    CerrCapture();
    ~CerrCapture();
    CerrCapture(const CerrCapture &) = delete;
    CerrCapture &operator=(const CerrCapture &) = delete;

    // The non-blank lines written so far, in order.
    std::vector<std::string> lines() const;

private:
    struct Impl;
    Impl *m_impl;
};

// A load or a save: done, or the lines that say why not.
struct Outcome {
    bool ok = false;
    std::vector<std::string> lines;
};

// Kelp::loadBgeo(path), the reader node's own load. A path that cannot be
// opened fails with the system's reason.
Outcome loadGeometry(Kelp &model, const std::string &path);

// Kelp::saveBgeo(path, format). The saver's notes on the form it chose are
// dropped; only the lines that explain a failure are kept.
Outcome saveGeometry(Kelp &model, const std::string &path, KelpFormat format);

// One line for a failed load of path: the loader's reason, without the
// "could not load PATH: " it starts with.
std::string loadReason(const Outcome &outcome, const std::string &path);

} // namespace kelptool

#endif
