// Tests of .bgeo.sc files need the library built with Blosc; built without
// it (KELP_WITH_BLOSC=0) they are skipped, and the parts of a test that
// cover the Blosc form are left out.
#ifndef KELP_TESTS_SUPPORT_NEEDSBLOSC_H
#define KELP_TESTS_SUPPORT_NEEDSBLOSC_H

#include <gtest/gtest.h>

#ifndef KELP_WITH_BLOSC
#define KELP_WITH_BLOSC 1
#endif

#define KELP_NEEDS_BLOSC()                                                                         \
    do {                                                                                           \
        if (!KELP_WITH_BLOSC)                                                                      \
            GTEST_SKIP() << "built without Blosc";                                                 \
    } while (0)

#include <string>

namespace kelptest {

// True for a .sc file name in a build without Blosc: loops over file forms
// pass over it there.
inline bool passOverWithoutBlosc(const std::string &name) {
    return !KELP_WITH_BLOSC && name.size() >= 3 && name.compare(name.size() - 3, 3, ".sc") == 0;
}

} // namespace kelptest

#endif
