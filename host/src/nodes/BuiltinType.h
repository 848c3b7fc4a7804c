#ifndef KELPHOST_BUILTINTYPE_H
#define KELPHOST_BUILTINTYPE_H
// Registering a built-in node type.
#include <maya/MPxNode.h>

#include "../graph/Registry.h"

#include <memory>
#include <string>

namespace kelphost {

inline void registerBuiltin(Registry &r, const char *name, unsigned id, MFn::Type apiType, bool dag,
                            bool shape, const char *defaultName, MCreatorFunction creator,
                            MInitializeFunction init) {
    auto t = std::make_unique<NodeType>();
    t->name = name;
    t->id = MTypeId(id);
    t->creator = creator;
    t->initialize = init;
    t->apiType = apiType;
    t->dag = dag;
    t->shape = shape;
    t->defaultName = defaultName;
    r.registerType(std::move(t));
}

} // namespace kelphost

#endif
