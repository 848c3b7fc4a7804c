#include "Builtins.h"

#include "../graph/Registry.h"

namespace kelphost {

void registerBuiltinTypes(Registry &r) {
    registerTimeType(r);
    registerTransformType(r);
    registerMeshType(r);
    registerParticleType(r);
    registerSetTypes(r);
}

} // namespace kelphost
