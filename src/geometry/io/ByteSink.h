// Where a save's bytes go: the output file, or the compressor in front of it.
#ifndef KELP_GEOMETRY_BYTESINK_H
#define KELP_GEOMETRY_BYTESINK_H

#include <cstddef>
#include <string>

namespace kelp {

class ByteSink {
public:
    virtual ~ByteSink() {}
    // Takes size bytes; false once anything has failed (the reason is in error()).
    virtual bool write(const char *data, std::size_t size) = 0;
    // One line saying what failed, empty while nothing has.
    virtual const std::string &error() const = 0;
};

} // namespace kelp

#endif
