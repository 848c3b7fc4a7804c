#include "Frames.h"

#include <cctype>

namespace kelptool {

namespace {

const long kLastFrame = 999999999;

std::string padded(long frame, std::size_t width) {
    std::string digits = std::to_string(frame);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return digits;
}

// Reads a whole number of at most 9 digits from text at pos.
bool readWhole(const std::string &text, std::size_t &pos, long &value) {
    const std::size_t start = pos;
    value = 0;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])) &&
           pos - start < 10) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    return pos > start && pos - start <= 9;
}

} // namespace

bool hasFrameToken(const std::string &name) {
    return name.find("$F") != std::string::npos || name.find('#') != std::string::npos;
}

std::string expandFrame(const std::string &name, long frame) {
    std::string out;
    for (std::size_t i = 0; i < name.size();) {
        if (name.compare(i, 2, "$F") == 0) {
            std::size_t width = 0;
            i += 2;
            if (i < name.size() && std::isdigit(static_cast<unsigned char>(name[i])))
                width = static_cast<std::size_t>(name[i++] - '0');
            out += padded(frame, width);
        } else if (name[i] == '#') {
            std::size_t width = 0;
            while (i < name.size() && name[i] == '#') {
                ++width;
                ++i;
            }
            out += padded(frame, width);
        } else {
            out += name[i++];
        }
    }
    return out;
}

std::vector<long> FrameRange::frames() const {
    std::vector<long> out;
    for (long f = first; f <= last; f += step)
        out.push_back(f);
    return out;
}

bool parseFrameRange(const std::string &text, FrameRange &range, std::string &why) {
    why = "bad range \"" + text + "\" (expected A-B or A-B:STEP, whole frames from 0 to " +
          std::to_string(kLastFrame) + ", A <= B, STEP >= 1)";
    std::size_t pos = 0;
    FrameRange r;
    if (!readWhole(text, pos, r.first) || pos >= text.size() || text[pos] != '-')
        return false;
    ++pos;
    if (!readWhole(text, pos, r.last))
        return false;
    if (pos < text.size()) {
        if (text[pos] != ':')
            return false;
        ++pos;
        if (!readWhole(text, pos, r.step) || r.step < 1)
            return false;
    }
    if (pos != text.size() || r.first > r.last)
        return false;
    range = r;
    why.clear();
    return true;
}

} // namespace kelptool
