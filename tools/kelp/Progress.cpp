#include "Progress.h"

#include <cstdio>
#include <string>

#include <unistd.h>

namespace kelptool {

namespace {

const std::size_t kBarWidth = 20;

std::string clock(double seconds) {
    const long s = static_cast<long>(seconds + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    return text;
}

} // namespace

Progress::Progress(std::size_t total)
    : m_total(total), m_shown(::isatty(STDERR_FILENO) == 1),
      m_start(std::chrono::steady_clock::now()) {}

void Progress::update(std::size_t done) {
    if (!m_shown || m_total == 0)
        return;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    const double rate = elapsed > 0 ? static_cast<double>(done) / elapsed : 0.0;
    std::string bar(kBarWidth, '.');
    bar.replace(0, kBarWidth * done / m_total, kBarWidth * done / m_total, '#');
    std::string left = "--:-- left";
    if (rate > 0)
        left = clock(static_cast<double>(m_total - done) / rate) + " left";
    std::fprintf(stderr, "\r[%s] %zu/%zu frames  %.1f frames/s  %s ", bar.c_str(), done, m_total,
                 rate, left.c_str());
    std::fflush(stderr);
    m_drawn = true;
}

void Progress::finish() {
    if (m_drawn) {
        std::fputc('\n', stderr);
        std::fflush(stderr);
        m_drawn = false;
    }
}

} // namespace kelptool
