#include "bridge/ParticleChannels.h"

#include <maya/MDoubleArray.h>
#include <maya/MVector.h>
#include <maya/MVectorArray.h>

#include <vector>

namespace {

const int kFloatType = 0;
const int kVectorType = 5;

MStatus addFloatChannel(const AttributeData &attr, unsigned int count,
                        MFnArrayAttrsData &channels) {
    MStatus status;
    MDoubleArray channel = channels.doubleArray(MString(attr.name.c_str()), &status);
    channel.setLength(count);
    for (unsigned int p = 0; p < count; ++p)
        channel[p] = static_cast<double>(attr.float_data[p]);
    return status;
}

MStatus addVectorChannel(const AttributeData &attr, unsigned int count,
                         MFnArrayAttrsData &channels) {
    MStatus status;
    MVectorArray channel = channels.vectorArray(particleChannelName(attr.name), &status);
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

MStatus fillParticleChannels(const Kelp &geo, MFnArrayAttrsData &channels) {
    MStatus status;
    const unsigned int count = geo.getNumPoints();
    const std::vector<AttributeData> &attrs = geo.getPointAttributes();
    for (const AttributeData &attr : attrs) {
        if (attr.type == kFloatType && attr.float_data.size() >= count)
            status = addFloatChannel(attr, count, channels);
        else if (attr.type == kVectorType && attr.vector_data.size() >= count)
            status = addVectorChannel(attr, count, channels);
    }
    return status;
}
