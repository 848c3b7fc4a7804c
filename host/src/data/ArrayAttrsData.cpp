// Array-attributes data (per-particle channels) and MFnArrayAttrsData.
// Channel arrays handed out are views on the data's own storage; storage is
// never freed while the data object lives (clear() retires it), so a view
// can never dangle.
#include <maya/MFnArrayAttrsData.h>

#include "../core/Access.h"
#include "../core/FnSet.h"
#include "../core/StatusText.h"
#include "ArrayAttrsData.h"

using kelphost::Access;
using kelphost::ArrayAttrsData;

namespace kelphost {

ArrayAttrsData::Channel *ArrayAttrsData::find(const std::string &name) {
    for (Channel &c : channels)
        if (c.name == name)
            return &c;
    return nullptr;
}

ArrayAttrsData::Channel &ArrayAttrsData::channel(const std::string &name,
                                                 MFnArrayAttrsData::Type type) {
    if (Channel *c = find(name)) {
        if (c->type == type)
            return *c;
        retire(*c);
        c->type = type;
        c->make();
        return *c;
    }
    channels.emplace_back();
    Channel &c = channels.back();
    c.name = name;
    c.type = type;
    c.make();
    return c;
}

void ArrayAttrsData::Channel::make() {
    vectors.reset(type == MFnArrayAttrsData::kVectorArray ? new std::vector<MVector> : nullptr);
    doubles.reset(type == MFnArrayAttrsData::kDoubleArray ? new std::vector<double> : nullptr);
    ints.reset(type == MFnArrayAttrsData::kIntArray ? new std::vector<int> : nullptr);
    strings.reset(type == MFnArrayAttrsData::kStringArray ? new std::vector<MString> : nullptr);
}

size_t ArrayAttrsData::Channel::length() const {
    if (vectors)
        return vectors->size();
    if (doubles)
        return doubles->size();
    if (ints)
        return ints->size();
    if (strings)
        return strings->size();
    return 0;
}

void ArrayAttrsData::retire(Channel &c) {
    retired.push_back(std::move(c));
    c = Channel{c.name, c.type, nullptr, nullptr, nullptr, nullptr};
}

void ArrayAttrsData::clear() {
    for (Channel &c : channels)
        retired.push_back(std::move(c));
    channels.clear();
}

} // namespace kelphost

namespace {

ArrayAttrsData *dataOf(const MFnBase &fn) {
    return Access::as<ArrayAttrsData>(Access::fnObject(fn));
}

MStatus noObject() {
    return kelphost::fail(MStatus::kFailure, kelphost::kNoObject);
}

} // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

KELP_FN_COMMON(MFnArrayAttrsData, MFn::kDynArrayAttrsData)

MStatus MFnArrayAttrsData::clear() {
    ArrayAttrsData *d = dataOf(*this);
    if (!d)
        return noObject();
    d->clear();
    return MStatus::kSuccess;
}

unsigned int MFnArrayAttrsData::count() const {
    ArrayAttrsData *d = dataOf(*this);
    size_t n = 0;
    if (d)
        for (const auto &c : d->channels)
            n = c.length() > n ? c.length() : n;
    return static_cast<unsigned>(n);
}

MStringArray MFnArrayAttrsData::list(MStatus *rs) const {
    MStringArray out;
    ArrayAttrsData *d = dataOf(*this);
    kelphost::report(rs, d ? MStatus(MStatus::kSuccess) : noObject());
    if (d)
        for (const auto &c : d->channels)
            out.append(c.name.c_str());
    return out;
}

bool MFnArrayAttrsData::checkArrayExist(const MString name, MFnArrayAttrsData::Type &type,
                                        MStatus *rs) {
    ArrayAttrsData *d = dataOf(*this);
    kelphost::report(rs, d ? MStatus(MStatus::kSuccess) : noObject());
    ArrayAttrsData::Channel *c = d ? d->find(name.asChar()) : nullptr;
    type = c ? c->type : kInvalid;
    return c != nullptr;
}

#define KELP_CHANNEL_VIEW(METHOD, ARRAY, TYPE, MEMBER)                                             \
    ARRAY MFnArrayAttrsData::METHOD(const MString name, MStatus *rs) {                             \
        ArrayAttrsData *d = dataOf(*this);                                                         \
        if (!d) {                                                                                  \
            kelphost::report(rs, noObject());                                                      \
            return ARRAY();                                                                        \
        }                                                                                          \
        kelphost::report(rs, MStatus::kSuccess);                                                   \
        return Access::view<ARRAY>(d->channel(name.asChar(), TYPE).MEMBER.get(), d);               \
    }

KELP_CHANNEL_VIEW(vectorArray, MVectorArray, kVectorArray, vectors)
KELP_CHANNEL_VIEW(doubleArray, MDoubleArray, kDoubleArray, doubles)
KELP_CHANNEL_VIEW(intArray, MIntArray, kIntArray, ints)
KELP_CHANNEL_VIEW(stringArray, MStringArray, kStringArray, strings)

#define KELP_CHANNEL_COPY(METHOD, VIEW, ARRAY)                                                     \
    ARRAY MFnArrayAttrsData::METHOD(const MString name, MStatus *rs) {                             \
        ARRAY view = VIEW(name, rs);                                                               \
        ARRAY copy;                                                                                \
        copy = view;                                                                               \
        return copy;                                                                               \
    }

KELP_CHANNEL_COPY(getVectorData, vectorArray, MVectorArray)
KELP_CHANNEL_COPY(getDoubleData, doubleArray, MDoubleArray)
KELP_CHANNEL_COPY(getIntData, intArray, MIntArray)
KELP_CHANNEL_COPY(getStringData, stringArray, MStringArray)

MObject MFnArrayAttrsData::create(MStatus *rs) {
    MObject o = Access::wrap(new ArrayAttrsData);
    Access::fnObject(*this) = o;
    kelphost::report(rs, MStatus::kSuccess);
    return o;
}

OPENMAYA_NAMESPACE_CLOSE
