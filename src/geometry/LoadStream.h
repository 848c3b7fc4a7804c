// The load pipeline with the size of its stream window chosen by the caller
// (the tests read every file through windows of a few bytes, so that the
// window's edges fall inside every kind of record). Kelp::loadBgeo and
// loadBgeoFromMemory are these with the default window.
#ifndef KELP_GEOMETRY_LOADSTREAM_H
#define KELP_GEOMETRY_LOADSTREAM_H

#include <Kelp>

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelp {

std::int32_t loadFileThroughWindow(Kelp &model, const std::string &filename,
                                   std::size_t windowBytes);
std::int32_t loadMemoryThroughWindow(Kelp &model, const unsigned char *data, std::size_t size,
                                     const std::string &name, std::size_t windowBytes);

} // namespace kelp

#endif
