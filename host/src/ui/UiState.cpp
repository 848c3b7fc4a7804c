// The session kind and the progress window (MProgressWindow).
#include "../UiState.h"

#include <maya/MProgressWindow.h>

namespace kelphost {
namespace ui {
namespace {

struct State {
    bool interactive = false;
    ProgressWindow window;
};

State &state() {
    static State s;
    return s;
}

} // namespace

bool interactive() {
    return state().interactive;
}

void setInteractive(bool on) {
    state().interactive = on;
}

ProgressWindow &progressWindow() {
    return state().window;
}

void reset() {
    state() = State();
}

} // namespace ui
} // namespace kelphost

OPENMAYA_MAJOR_NAMESPACE_OPEN

namespace {

kelphost::ui::ProgressWindow &window() {
    return kelphost::ui::progressWindow();
}

MStatus answer(MStatus *rs, bool ok) {
    MStatus st = ok ? MStatus::kSuccess : MStatus::kFailure;
    if (rs)
        *rs = st;
    return st;
}

} // namespace

bool MProgressWindow::reserve() {
    if (!kelphost::ui::interactive() || window().reserved)
        return false;
    window().reserved = true;
    return true;
}

MStatus MProgressWindow::startProgress() {
    if (!window().reserved || window().shown)
        return MStatus::kFailure;
    window().shown = true;
    ++window().timesStarted;
    return MStatus::kSuccess;
}

MStatus MProgressWindow::endProgress() {
    if (!window().reserved)
        return MStatus::kFailure;
    if (window().shown)
        ++window().timesEnded;
    window().shown = false;
    window().reserved = false;
    return MStatus::kSuccess;
}

MStatus MProgressWindow::setProgressRange(const int minValue, const int maxValue) {
    if (!window().reserved || minValue > maxValue)
        return MStatus::kFailure;
    window().minValue = minValue;
    window().maxValue = maxValue;
    return MStatus::kSuccess;
}

MStatus MProgressWindow::setProgressMin(const int minValue) {
    return setProgressRange(minValue, window().maxValue);
}

MStatus MProgressWindow::setProgressMax(const int maxValue) {
    return setProgressRange(window().minValue, maxValue);
}

int MProgressWindow::progressMin(MStatus *rs) {
    answer(rs, window().reserved);
    return window().minValue;
}

int MProgressWindow::progressMax(MStatus *rs) {
    answer(rs, window().reserved);
    return window().maxValue;
}

MStatus MProgressWindow::setProgress(const int progress) {
    if (!window().reserved)
        return MStatus::kFailure;
    int value = progress < window().minValue ? window().minValue : progress;
    value = value > window().maxValue ? window().maxValue : value;
    window().progress = value;
    window().progressValues.push_back(value);
    return MStatus::kSuccess;
}

int MProgressWindow::progress(MStatus *rs) {
    answer(rs, window().reserved);
    return window().progress;
}

MStatus MProgressWindow::advanceProgress(const int amount) {
    return setProgress(window().progress + amount);
}

MStatus MProgressWindow::setTitle(const MString &title) {
    if (!window().reserved)
        return MStatus::kFailure;
    window().title = title.asChar();
    return MStatus::kSuccess;
}

MString MProgressWindow::title(MStatus *rs) {
    answer(rs, window().reserved);
    return MString(window().title.c_str());
}

MStatus MProgressWindow::setProgressStatus(const MString &progressStatus) {
    if (!window().reserved)
        return MStatus::kFailure;
    window().status = progressStatus.asChar();
    window().statuses.push_back(window().status);
    return MStatus::kSuccess;
}

MString MProgressWindow::progressStatus(MStatus *rs) {
    answer(rs, window().reserved);
    return MString(window().status.c_str());
}

MStatus MProgressWindow::setInterruptable(const bool value) {
    if (!window().reserved)
        return MStatus::kFailure;
    window().interruptable = value;
    return MStatus::kSuccess;
}

bool MProgressWindow::isInterruptable(MStatus *rs) {
    answer(rs, window().reserved);
    return window().interruptable;
}

bool MProgressWindow::isCancelled(MStatus *rs) {
    answer(rs, window().reserved);
    const kelphost::ui::ProgressWindow &w = window();
    return w.shown && w.interruptable && w.escapeAt >= 0 && w.progress >= w.escapeAt;
}

OPENMAYA_NAMESPACE_CLOSE
