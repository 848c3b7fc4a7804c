// Pieces of the listings that the import and the export show at their
// detailed verbosity levels.
#ifndef KELP_BRIDGE_LISTING_H
#define KELP_BRIDGE_LISTING_H

#include <maya/MString.h>

// " (x: <x>, y: <y>, z: <z>)" and a line end.
void appendXyzLine(MString &text, double x, double y, double z);

// "  Vertex: <index> (x: <x>, y: <y>, z: <z>)" and a line end.
void appendVertexLine(MString &text, unsigned int index, double x, double y, double z);

#endif
