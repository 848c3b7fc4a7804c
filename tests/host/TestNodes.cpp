#include "TestNodes.h"

MTypeId TestDoubler::id(0x7f001);
MObject TestDoubler::input, TestDoubler::mode, TestDoubler::label, TestDoubler::output,
    TestDoubler::echo;
