// Frame sequences for kelp convert: names with frame tokens and --range.
//
// Tokens: "$F" (the frame), "$F" and one digit d (the frame zero-padded to d
// digits) and a run of n "#" (zero-padded to n digits: "####" at frame 3 is
// "0003"). Every token of a name is replaced; a longer frame number keeps all
// its digits.
#ifndef KELP_TOOLS_FRAMES_H
#define KELP_TOOLS_FRAMES_H

#include <string>
#include <vector>

namespace kelptool {

bool hasFrameToken(const std::string &name);
std::string expandFrame(const std::string &name, long frame);

// "A-B" or "A-B:STEP": whole frames A <= B, both at least 0, and STEP at
// least 1 (default 1). False, with the reason, for anything else.
struct FrameRange {
    long first = 0;
    long last = 0;
    long step = 1;
    std::vector<long> frames() const;
};
bool parseFrameRange(const std::string &text, FrameRange &range, std::string &why);

} // namespace kelptool

#endif
