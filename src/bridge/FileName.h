// Frame file names: one geometry file per frame, named from a path pattern.
#ifndef KELP_BRIDGE_FILENAME_H
#define KELP_BRIDGE_FILENAME_H

#include <maya/MString.h>

// Expands the frame token of a path pattern with the given frame.
//
// The token is "$F" (the whole frame, truncated toward zero), "$F" followed by
// one digit d (the same, zero-padded to d characters; a longer number keeps
// all its digits) or "$FF" (the frame rounded to hundredths, in the host's
// two-decimal text). When the path holds "$FF" anywhere, every token takes the
// hundredths text and nothing is padded.
//
// Only the last token of the path is replaced, and only the token itself:
// /data/fluid_$F4.bgeo at frame 7 is /data/fluid_0007.bgeo, and
// /data/a.$F.b.$F.bgeo at frame 3 is /data/a.$F.b.3.bgeo. A "#" is not a
// token, and a path without "$F" comes back unchanged. Touches no file.
MString buildFileName(const MString &path, float frame);

#endif
