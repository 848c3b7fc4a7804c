#include "bridge/FileName.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

// The whole frame, truncated toward zero. Frames outside the 32-bit range
// are clamped and a NaN counts as 0, so that no frame value can make the
// conversion undefined.
int wholeFrame(float frame) {
    if (std::isnan(frame))
        return 0;
    if (frame >= 2147483647.0f)
        return std::numeric_limits<int>::max();
    if (frame <= -2147483648.0f)
        return std::numeric_limits<int>::min();
    return static_cast<int>(frame);
}

// The frame rounded to hundredths, as a float, the way the "$FF" form has
// always computed it: the product is taken in single precision, the rounding
// in double.
double hundredthsFrame(float frame) {
    float scaled = frame * 100.0f;
    double rounded = std::floor(static_cast<double>(scaled) + 0.5) / 100.0;
    return static_cast<double>(static_cast<float>(rounded));
}

} // namespace

MString buildFileName(const MString &path, float frame) {
    const char *text = path.asChar();
    const std::string pattern(text, path.length());

    const std::string::size_type token = pattern.rfind("$F");
    if (token == std::string::npos)
        return path;
    const bool hundredths = pattern.find("$FF") != std::string::npos;

    MString frameText;
    if (hundredths)
        frameText.set(hundredthsFrame(frame), 2);
    else
        frameText += wholeFrame(frame);

    // The token is "$FF", "$F" and one digit, or "$F" alone.
    std::string::size_type tokenLength = 2;
    int width = 0;
    if (token + 2 < pattern.size()) {
        const char next = pattern[token + 2];
        if (next == 'F') {
            tokenLength = 3;
        } else if (next >= '0' && next <= '9') {
            tokenLength = 3;
            width = next - '0';
        }
    }

    std::string expanded;
    if (!hundredths) {
        const int digits = static_cast<int>(frameText.length());
        if (width > digits)
            expanded.assign(static_cast<std::size_t>(width - digits), '0');
    }
    expanded.append(frameText.asChar(), frameText.length());

    std::string result = pattern.substr(0, token);
    result += expanded;
    result += pattern.substr(token + tokenLength);
    return MString(result.c_str(), static_cast<int>(result.size()));
}
