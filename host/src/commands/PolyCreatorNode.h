// The history nodes of the primitive commands ("polyCube", "polyPlane",
// "polySphere"): their "output" is a mesh built from their size attributes.
// The host registers them itself, under a plug-in object of its own.
#pragma once

namespace kelphost {

enum class PolyKind { kCube, kPlane, kSphere };

// Registers the three node types unless they are registered already.
bool ensurePolyCreatorTypes();
const char *polyCreatorTypeName(PolyKind kind);

} // namespace kelphost
