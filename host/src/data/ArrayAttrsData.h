#ifndef KELPHOST_ARRAYATTRSDATA_H
#define KELPHOST_ARRAYATTRSDATA_H
// Array-attributes data: named per-particle channels.
#include <maya/MFnArrayAttrsData.h>
#include <maya/MString.h>
#include <maya/MVector.h>

#include "../core/Object.h"

#include <memory>
#include <string>
#include <vector>

namespace kelphost {

class ArrayAttrsData : public Object {
public:
    MFn::Type apiType() const override { return MFn::kDynArrayAttrsData; }

    struct Channel {
        std::string name;
        MFnArrayAttrsData::Type type = MFnArrayAttrsData::kInvalid;
        std::unique_ptr<std::vector<MVector>> vectors;
        std::unique_ptr<std::vector<double>> doubles;
        std::unique_ptr<std::vector<int>> ints;
        std::unique_ptr<std::vector<MString>> strings;
        void make();
        size_t length() const;
    };
    std::vector<Channel> channels; // in creation order

    Channel *find(const std::string &name);
    // The channel of that name and type, made (or remade with the new type) if needed.
    Channel &channel(const std::string &name, MFnArrayAttrsData::Type type);
    void clear();

private:
    void retire(Channel &c);
    std::vector<Channel> retired; // storage views may still point at
};

} // namespace kelphost

#endif
