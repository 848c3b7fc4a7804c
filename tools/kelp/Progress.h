// The progress bar of kelp convert, drawn on standard error when it is a
// terminal and not at all otherwise:
//   [##########..........]  12/24 frames  8.0 frames/s  0:01 left
#ifndef KELP_TOOLS_PROGRESS_H
#define KELP_TOOLS_PROGRESS_H

#include <chrono>
#include <cstddef>

namespace kelptool {

class Progress {
public:
    explicit Progress(std::size_t total);
    // Frames done so far; redraws the bar.
    void update(std::size_t done);
    // Ends the bar's line, so that what follows starts on a line of its own.
    void finish();

private:
    std::size_t m_total;
    bool m_shown;
    bool m_drawn = false;
    std::chrono::steady_clock::time_point m_start;
};

} // namespace kelptool

#endif
