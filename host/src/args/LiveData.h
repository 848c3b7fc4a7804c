// The private data of live argument objects, by object address, for the
// argument classes that read each other's data (MArgParser reads MSyntax and
// MArgList; MDagModifier reads its MDGModifier base).
#pragma once

#include <map>

namespace kelphost {

// Never destroyed: objects may outlive static destruction (undo records).
template <class Data> std::map<const void *, Data *> &liveData() {
    static auto *table = new std::map<const void *, Data *>;
    return *table;
}

template <class Data> Data *liveDataOf(const void *object) {
    auto it = liveData<Data>().find(object);
    return it == liveData<Data>().end() ? nullptr : it->second;
}

} // namespace kelphost
