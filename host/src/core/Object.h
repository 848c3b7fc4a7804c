#ifndef KELPHOST_OBJECT_H
#define KELPHOST_OBJECT_H
// Base of everything an MObject can refer to: nodes, attributes, data,
// geometry, plug-ins. Reference counted by the MObjects (and views) holding it.
#include <maya/MFn.h>

namespace kelphost {

class Object {
public:
    Object() = default;
    Object(const Object &) = delete;
    Object &operator=(const Object &) = delete;
    virtual ~Object();
    virtual MFn::Type apiType() const = 0;
    bool hasFn(MFn::Type type) const;
    void ref() { ++refs_; }
    void unref() {
        if (--refs_ == 0)
            delete this;
    }

private:
    int refs_ = 0;
};

// The type a function-set type derives from (kBase for the roots).
MFn::Type parentType(MFn::Type type);
const char *typeString(MFn::Type type);

} // namespace kelphost

#endif
