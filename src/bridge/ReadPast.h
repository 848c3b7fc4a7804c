// What a frame held that a polygon mesh cannot: the primitives left out of
// the mesh, by kind, and the one line that tells the user about them.
#ifndef KELP_BRIDGE_READPAST_H
#define KELP_BRIDGE_READPAST_H

#include <maya/MString.h>

#include <cstdint>

class Kelp;

// Counts of primitives left out of the mesh: shortPolygons from the detail's
// polygons, the other kinds as the loader read past them.
struct ReadPastCounts {
    std::uint32_t packed = 0;        // packed primitives not embedded, Alembic references
    std::uint32_t packedDisk = 0;    // packed primitives naming another file
    std::uint32_t openCurves = 0;    // open polylines and other open curves
    std::uint32_t soups = 0;         // polygon soups
    std::uint32_t shortPolygons = 0; // polygons of fewer than three vertices
    std::uint32_t other = 0;         // spheres, volumes, NURBS and any other kind

    bool any() const {
        return packed || packedDisk || openCurves || soups || shortPolygons || other;
    }
};

// What the detail shows was left out, short polygons included.
ReadPastCounts readPastOf(const Kelp &geo);

// "read past 23 packed primitives, 12 packed disk primitives, 71 open
// curves": the non-zero counts in a fixed order (packed, packed disk, open
// curves, polygon soups, short polygons, other); "" when none.
MString readPastLine(const ReadPastCounts &counts);

#endif
