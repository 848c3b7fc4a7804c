// The binary JSON parser run twice over the same bytes: once over the whole
// buffer, once through a reader whose every read hands out a copy that is
// overwritten and freed at the next read, with long runs handed out a few
// records at a time, as a window over a stream would. Both must give the
// same model, or the same failure.
#ifndef KELP_TESTS_CHECKEDREADS_H
#define KELP_TESTS_CHECKEDREADS_H

#include "json/JsonLoader.h"
#include "json/JsonTokens.h"

#include <Kelp>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace kelptest {

template <class T> bool sameBits(const std::vector<T> &a, const std::vector<T> &b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

template <class T> bool sameBits(const T &a, const T &b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// Attributes alike bit for bit (damaged input may hold NaNs).
inline bool sameAttributes(const std::vector<AttributeData> &a,
                           const std::vector<AttributeData> &b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].size != b[i].size || a[i].type != b[i].type ||
            !sameBits(a[i].float_default, b[i].float_default) ||
            !sameBits(a[i].int_default, b[i].int_default) ||
            !sameBits(a[i].vector_default, b[i].vector_default) ||
            !sameBits(a[i].float_data, b[i].float_data) ||
            !sameBits(a[i].int_data, b[i].int_data) ||
            !sameBits(a[i].vector_data, b[i].vector_data))
            return false;
    return true;
}

inline std::string bitDifference(const Kelp &a, const Kelp &b) {
    if (a.getNumPoints() != b.getNumPoints() || a.getNumPrims() != b.getNumPrims() ||
        a.getNumVerts() != b.getNumVerts() || a.getNumPointGroups() != b.getNumPointGroups() ||
        a.getNumPrimGroups() != b.getNumPrimGroups() ||
        a.getNumPrimAttrs() != b.getNumPrimAttrs() || a.getNumAttrs() != b.getNumAttrs())
        return "counts differ";
    if (!sameAttributes(a.getPointAttributes(), b.getPointAttributes()))
        return "point attributes differ";
    if (!sameAttributes(a.getVertexAttributes(), b.getVertexAttributes()))
        return "vertex attributes differ";
    if (a.getPolygons().size() != b.getPolygons().size())
        return "polygon counts differ";
    for (std::size_t p = 0; p < a.getPolygons().size(); ++p)
        if (a.getPolygons()[p].numberOfVertices != b.getPolygons()[p].numberOfVertices ||
            a.getPolygons()[p].ids != b.getPolygons()[p].ids)
            return "polygon " + std::to_string(p) + " differs";
    return std::string();
}

// Empty when both reads agree, else what differs. `like` gives the load's
// settings (what the model is loaded for).
inline std::string checkedReadDifference(const unsigned char *data, std::size_t size,
                                         const Kelp &like) {
    if (size == 0 || data[0] != kelp::kTokMagic)
        return std::string(); // the text form reads its whole buffer
    Kelp whole(like), windowed(like);
    std::string wholeError, windowedError;
    testing::internal::CaptureStderr();
    const bool wholeOk = kelp::JsonLoader::parse(whole, data, size, false, wholeError);
    kelp::TokenReader reader(data, size);
    reader.copyEveryRead();
    const bool windowedOk = kelp::JsonLoader::parse(windowed, reader, false, windowedError);
    testing::internal::GetCapturedStderr();
    if (wholeOk != windowedOk || wholeError != windowedError)
        return "whole buffer: " + (wholeOk ? std::string("loaded") : wholeError) +
               "; copied reads: " + (windowedOk ? std::string("loaded") : windowedError);
    return wholeOk ? bitDifference(whole, windowed) : std::string();
}

} // namespace kelptest

#endif
