// Trace policies for the loader. One parse serves both: with NoTrace every
// call inlines to nothing, with Trace each value is echoed to standard error
// after its label, as the value encoders of Encoding.h echo them.
#ifndef KELP_GEOMETRY_LOADTRACE_H
#define KELP_GEOMETRY_LOADTRACE_H

#include <Imath/ImathVec.h>

#include <cstddef>
#include <iostream>
#include <new>
#include <stdexcept>

namespace kelp {

struct NoTrace {
    static constexpr bool on = false;
    template <typename T> void value(const char *, T) {}
    void vector(const char *, const Imath::Vec3<float> &) {}
    void character(const char *, char) {}
    void text(const char *) {}
    void bytes(const char *, const unsigned char *, std::size_t) {}
};

struct Trace {
    static constexpr bool on = true;
    template <typename T> void value(const char *label, T v) { std::cerr << label << v; }
    void vector(const char *label, const Imath::Vec3<float> &v) {
        std::cerr << label << '(' << v.x << ' ' << v.y << ' ' << v.z << ')';
    }
    void character(const char *label, char c) { std::cerr << label << c; }
    void text(const char *text) { std::cerr << text; }
    // Raw bytes shown as text up to the first zero byte.
    void bytes(const char *label, const unsigned char *p, std::size_t n) {
        std::size_t len = 0;
        while (len < n && p[len] != 0)
            ++len;
        std::cerr << label;
        std::cerr.write(reinterpret_cast<const char *>(p), static_cast<std::streamsize>(len));
    }
};

// parse(Trace &) or parse(NoTrace &), as trace says, and its result; when it
// runs out of memory, the result of outOfMemory().
template <class Parse, class OutOfMemory>
bool parseTraced(bool trace, Parse &&parse, OutOfMemory &&outOfMemory) {
    try {
        if (trace) {
            Trace tr;
            return parse(tr);
        }
        NoTrace tr;
        return parse(tr);
    } catch (const std::bad_alloc &) {
    } catch (const std::length_error &) {
    }
    return outOfMemory();
}

} // namespace kelp

#endif
