// Particle import: a loaded geometry detail as the channels of host
// array-attributes data.
#ifndef KELP_BRIDGE_PARTICLECHANNELS_H
#define KELP_BRIDGE_PARTICLECHANNELS_H

#include <Kelp>

#include <maya/MFnArrayAttrsData.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

// The particle channel name of a point attribute: "P" is "position", "V" is
// "velocity", every other attribute keeps its own name.
MString particleChannelName(const std::string &attribute);

// With the host's names: "P" "position", "v" "velocity", "Cd" "rgbPP",
// "Alpha" "opacityPP", "pscale" "radiusPP", "id" "particleId", "life"
// "lifespanPP", "age" "age", "force" "acceleration", "mass" "mass"; every
// other attribute keeps its own name.
MString mayaChannelName(const std::string &attribute);

// Adds one channel per point attribute that has a value for every point: a
// double channel for a float attribute, a vector channel for a vector
// attribute; attributes of other types give no channel. With mayaNames the
// channels take the host's names (mayaChannelName), "life" gives its first
// value as a double channel, and integer attributes become double channels.
// A name already given to an earlier channel is not reused: the later
// attribute keeps its own name. Returns the status of the last channel
// lookup (success when there was none).
MStatus fillParticleChannels(const Kelp &geo, MFnArrayAttrsData &channels, bool mayaNames = false);

#endif
