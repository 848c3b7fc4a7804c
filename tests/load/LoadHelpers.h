// Loading hand-built bytes in tests, with the standard error output kept.
#ifndef KELP_TESTS_LOADHELPERS_H
#define KELP_TESTS_LOADHELPERS_H

#include "ClassicBytes.h"

#include <Kelp>

#include <gtest/gtest.h>

#include <string>

namespace kelptest {

struct Loaded {
    int result = -1;
    std::string err; // what went to standard error
};

inline Loaded loadInto(Kelp &k, const Bytes &bytes, const std::string &name = "mem.bgeo") {
    Loaded r;
    testing::internal::CaptureStderr();
    r.result = k.loadBgeoFromMemory(bytes.data(), bytes.size(), name);
    r.err = testing::internal::GetCapturedStderr();
    return r;
}

inline Loaded loadInto(Kelp &k, const ClassicBytes &b, const std::string &name = "mem.bgeo") {
    return loadInto(k, b.bytes(), name);
}

// Number of lines in text.
inline int lineCount(const std::string &text) {
    int n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

// A single-triangle file: 3 points, positions (i, 2i, 3i).
inline ClassicBytes triangleFile() {
    ClassicBytes b;
    b.header(3, 1);
    for (int i = 0; i < 3; ++i)
        b.point(float(i), float(2 * i), float(3 * i));
    b.u32(1).polygon({0, 1, 2}).trailer();
    return b;
}

} // namespace kelptest

#endif
