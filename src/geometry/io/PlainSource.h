// The bytes of a file or a buffer as they stand, read as far as the cursor
// needs them.
#ifndef KELP_GEOMETRY_IO_PLAINSOURCE_H
#define KELP_GEOMETRY_IO_PLAINSOURCE_H

#include "io/ByteSource.h"
#include "io/InputBytes.h"

namespace kelp {

class PlainSource : public ByteSource {
public:
    // Starts at byte `from` of the input.
    explicit PlainSource(InputBytes &input, std::uint64_t from = 0) : m_in(input), m_at(from) {}

    std::size_t read(unsigned char *to, std::size_t room) override {
        const std::uint64_t left = bound();
        const std::size_t n = left < room ? static_cast<std::size_t>(left) : room;
        if (n == 0 || failed())
            return 0;
        if (!m_in.readAt(m_at, to, n)) {
            setError("the file could not be read at byte " + std::to_string(m_at));
            return 0;
        }
        m_at += n;
        return n;
    }
    std::uint64_t bound() const override { return m_at < m_in.size() ? m_in.size() - m_at : 0; }
    bool canSeek() const override { return true; }
    bool seek(std::uint64_t offset) override {
        if (failed() || offset > m_in.size())
            return false;
        m_at = offset;
        return true;
    }

private:
    InputBytes &m_in;
    std::uint64_t m_at;
};

} // namespace kelp

#endif
