// The walk over a detail that both savers share: header, point attribute
// dictionary, points, vertex attribute dictionary, polygons, the
// attribute-name map and the end of the file, written in the binary or the
// text form of the classic geometry file.
#ifndef KELP_GEOMETRY_DETAILWALK_H
#define KELP_GEOMETRY_DETAILWALK_H

#include "io/ByteSink.h"

#include <Kelp>

#include <cstdint>
#include <string>
#include <vector>

namespace kelp {

class BlockBuffer;

class DetailWalk {
public:
    // Longest name the file can store (its length is a signed 16-bit value).
    static const std::size_t kMaxNameLength = 32767;
    // Most polygons in one run (the run length is an unsigned 16-bit value).
    static const std::size_t kMaxRun = 65535;
    // Point indices are 16-bit up to this many points, 32-bit above.
    static const std::uint32_t kMaxShortIndexPoints = 65535;

    DetailWalk(Kelp &detail, bool binary) : m_detail(detail), m_binary(binary) {}

    // Why the detail cannot be written as a file that agrees with itself
    // (counts that its lists do not hold, attributes of a kind the file
    // cannot carry, names too long to store); empty when it can.
    std::string problem() const;

    // Writes the detail to sink; with traced set, every value also goes to
    // the trace on standard error. False when the sink failed (its error()
    // says why) or a polygon names a point the detail does not have (error()
    // says so).
    bool write(ByteSink &sink, bool traced);
    const std::string &error() const { return m_error; }

private:
    // Where the polygons have got to: the running vertex number, the largest
    // point index met and whether any was.
    struct PolygonCursor {
        std::size_t vertex = 0;
        std::uint32_t maxId = 0;
        bool anyId = false;
    };

    static std::string pointProblem(const Kelp &d);
    static std::string polygonProblem(const Kelp &d, std::size_t &vertices);
    static std::string mapProblem(const Kelp &d);

    template <class Out> void walk(Out &out);
    template <class Out> void writeHeader(Out &out);
    template <class Out> void writePointDictionary(Out &out);
    template <class Out> void writePoints(Out &out);
    std::uint32_t writePointRecords(BlockBuffer &bb);
    template <class Out> void writeVertexDictionary(Out &out);
    template <class Out> void writePrimitives(Out &out);
    template <class Out> void writeRunHeader(Out &out, std::uint16_t run);
    std::size_t writePolygonRecords(BlockBuffer &bb, std::size_t p, std::size_t end,
                                    PolygonCursor &at);
    template <class Out>
    void writePolygon(Out &out, const PolygonData &poly,
                      const std::vector<std::string> &vertexLabels, PolygonCursor &at);
    template <class Out> void writeDetailAttributes(Out &out);
    template <class Out> void writeEnd(Out &out);

    Kelp &m_detail;
    bool m_binary;
    bool m_badIndex = false;
    std::string m_error;
};

} // namespace kelp

#endif
