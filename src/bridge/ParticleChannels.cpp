#include "bridge/ParticleChannels.h"

#include <maya/MDoubleArray.h>
#include <maya/MVector.h>
#include <maya/MVectorArray.h>

#include <set>
#include <string>
#include <vector>

namespace {

const int kFloatType = 0;
const int kIntegerType = 1;
const int kVectorType = 5;

enum class Kind { None, Double, FirstOfVector, Integer, Vector };

Kind channelKind(const AttributeData &attr, unsigned int count, bool mayaNames) {
    if (attr.type == kFloatType && attr.float_data.size() >= count)
        return Kind::Double;
    if (attr.type == kVectorType && attr.vector_data.size() >= count)
        return mayaNames && attr.name == "life" ? Kind::FirstOfVector : Kind::Vector;
    if (mayaNames && attr.type == kIntegerType && attr.int_data.size() >= count)
        return Kind::Integer;
    return Kind::None;
}

MStatus addDoubleChannel(const AttributeData &attr, Kind kind, const MString &name,
                         unsigned int count, MFnArrayAttrsData &channels) {
    MStatus status;
    MDoubleArray channel = channels.doubleArray(name, &status);
    channel.setLength(count);
    for (unsigned int p = 0; p < count; ++p)
        channel[p] = kind == Kind::Double          ? static_cast<double>(attr.float_data[p])
                     : kind == Kind::FirstOfVector ? static_cast<double>(attr.vector_data[p].x)
                                                   : static_cast<double>(attr.int_data[p]);
    return status;
}

MStatus addVectorChannel(const AttributeData &attr, const MString &name, unsigned int count,
                         MFnArrayAttrsData &channels) {
    MStatus status;
    MVectorArray channel = channels.vectorArray(name, &status);
    channel.setLength(count);
    for (unsigned int p = 0; p < count; ++p) {
        const Imath::V3f &v = attr.vector_data[p];
        channel[p] = MVector(v.x, v.y, v.z);
    }
    return status;
}

} // namespace

MString particleChannelName(const std::string &attribute) {
    if (attribute == "P")
        return MString("position");
    if (attribute == "V")
        return MString("velocity");
    return MString(attribute.c_str());
}

MString mayaChannelName(const std::string &attribute) {
    static const char *const names[][2] = {{"P", "position"},         {"v", "velocity"},
                                           {"Cd", "rgbPP"},           {"Alpha", "opacityPP"},
                                           {"pscale", "radiusPP"},    {"id", "particleId"},
                                           {"life", "lifespanPP"},    {"age", "age"},
                                           {"force", "acceleration"}, {"mass", "mass"}};
    for (const auto &n : names)
        if (attribute == n[0])
            return MString(n[1]);
    return MString(attribute.c_str());
}

MStatus fillParticleChannels(const Kelp &geo, MFnArrayAttrsData &channels, bool mayaNames) {
    MStatus status;
    const unsigned int count = geo.getNumPoints();
    std::set<std::string> used;
    for (const AttributeData &attr : geo.getPointAttributes()) {
        const Kind kind = channelKind(attr, count, mayaNames);
        if (kind == Kind::None)
            continue;
        MString name = mayaNames ? mayaChannelName(attr.name) : particleChannelName(attr.name);
        if (used.count(name.asChar()))
            name = MString(attr.name.c_str());
        if (used.count(name.asChar()))
            continue;
        used.insert(name.asChar());
        status = kind == Kind::Vector ? addVectorChannel(attr, name, count, channels)
                                      : addDoubleChannel(attr, kind, name, count, channels);
    }
    return status;
}
