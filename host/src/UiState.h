#ifndef KELPHOST_UISTATE_H
#define KELPHOST_UISTATE_H
// The stand-in host's user-interface state: whether the session counts as
// interactive (MGlobal::mayaState) and the progress window. The batch host
// is never interactive; tests switch it on to see the interactive paths.
#include <string>
#include <vector>

namespace kelphost {
namespace ui {

struct ProgressWindow {
    bool reserved = false;
    bool shown = false;
    bool interruptable = false;
    int minValue = 0;
    int maxValue = 100;
    int progress = 0;
    std::string title;
    std::string status;
    // What a test can look at afterwards.
    int timesStarted = 0;
    int timesEnded = 0;
    std::vector<int> progressValues;   // every value set, in order
    std::vector<std::string> statuses; // every status text set, in order
    int escapeAt = -1;                 // Esc is "pressed" once progress reaches this value
};

bool interactive();
void setInteractive(bool on);
ProgressWindow &progressWindow();
// Batch session, no window, no Esc pending.
void reset();

} // namespace ui
} // namespace kelphost

#endif
