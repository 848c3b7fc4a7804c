// The bytes a loaded detail holds in its own arrays.
#ifndef KELP_BENCH_MODEL_BYTES_H
#define KELP_BENCH_MODEL_BYTES_H

#include <Kelp>

#include <cstdint>

inline std::uint64_t attributeBytes(const AttributeData &a) {
    return sizeof(AttributeData) + a.name.capacity() + a.float_data.capacity() * sizeof(float) +
           a.int_data.capacity() * sizeof(std::int32_t) +
           a.vector_data.capacity() * sizeof(Imath::Vec3<float>);
}

inline std::uint64_t modelBytes(const Kelp &detail) {
    std::uint64_t total = sizeof(Kelp);
    for (const AttributeData &a : detail.getPointAttributes())
        total += attributeBytes(a);
    for (const AttributeData &a : detail.getVertexAttributes())
        total += attributeBytes(a);
    const std::vector<PolygonData> &polys = detail.getPolygons();
    total += polys.capacity() * sizeof(PolygonData);
    for (const PolygonData &p : polys)
        if (p.ids.size() > 4) // beyond the inline storage
            total += p.ids.size() * sizeof(std::uint32_t);
    return total;
}

#endif
