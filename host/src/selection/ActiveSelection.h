// The host's active selection list.
#pragma once

#include <maya/MSelectionList.h>

namespace kelphost {

MSelectionList &activeSelection();
// Forgets the active selection and the undo queue (with every scene reset).
void resetCommandSide();
// Registers resetCommandSide with the scene (once).
void hookCommandSideReset();

} // namespace kelphost
