// What the structure-aware fuzz target found in the classic loader, each
// rebuilt by hand as the smallest file that shows it.
#include "LoadHelpers.h"
#include "ModelChecks.h"

#include <gtest/gtest.h>

namespace {

using namespace kelptest;

} // namespace
