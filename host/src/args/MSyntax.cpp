// MSyntax: the flags, arguments and objects a command accepts.
#include "ArgListData.h"
#include "LiveData.h"
#include "SyntaxData.h"

namespace kelphost {

const SyntaxFlag *SyntaxData::find(const std::string &name) const {
    const std::string n = !name.empty() && name[0] == '-' ? name.substr(1) : name;
    if (n.empty())
        return nullptr;
    for (const SyntaxFlag &f : flags)
        if (f.shortName == n || f.longName == n)
            return &f;
    return nullptr;
}

} // namespace kelphost

using kelphost::SyntaxData;
using kelphost::SyntaxFlag;

MSyntax::MSyntax() : fData(new SyntaxData) {
    kelphost::liveData<SyntaxData>()[this] = fData;
}

MSyntax::MSyntax(const MSyntax &other) : fData(new SyntaxData(*other.fData)) {
    kelphost::liveData<SyntaxData>()[this] = fData;
}

MSyntax::~MSyntax() {
    kelphost::liveData<SyntaxData>().erase(this);
    delete fData;
}

MSyntax &MSyntax::operator=(const MSyntax &rhs) {
    if (this != &rhs)
        *fData = *rhs.fData;
    return *this;
}

MStatus MSyntax::addFlag(const char *shortName, const char *longName, MArgType a1, MArgType a2,
                         MArgType a3, MArgType a4, MArgType a5, MArgType a6) {
    const std::string s = kelphost::flagName(shortName), l = kelphost::flagName(longName);
    // Short names are under four characters, long names over three.
    if (s.empty() || s.size() > 3 || l.size() < 4)
        return MS::kInvalidParameter;
    if (!kelphost::argIsFlag("-" + s) || !kelphost::argIsFlag("-" + l))
        return MS::kInvalidParameter;
    if (fData->find(s) || fData->find(l))
        return MS::kFailure;
    if ((fData->canQuery && (s == "q" || l == "query")) ||
        (fData->canEdit && (s == "e" || l == "edit")))
        return MS::kFailure;
    SyntaxFlag f;
    f.shortName = s;
    f.longName = l;
    const MArgType types[6] = {a1, a2, a3, a4, a5, a6};
    bool ended = false;
    for (MArgType t : types) {
        if (t == kInvalidArgType || t >= kLastArgType)
            return MS::kInvalidParameter;
        if (t == kNoArg) {
            ended = true;
            continue;
        }
        if (ended) // an argument after kNoArg
            return MS::kInvalidParameter;
        f.args.push_back(t);
    }
    fData->flags.push_back(f);
    return MS::kSuccess;
}

MStatus MSyntax::makeFlagMultiUse(const char *flag) {
    for (SyntaxFlag &f : fData->flags) {
        if (&f == fData->find(kelphost::flagName(flag))) {
            f.multiUse = true;
            return MS::kSuccess;
        }
    }
    return MS::kInvalidParameter;
}

MStatus MSyntax::makeFlagQueryWithFullArgs(const char *flag, bool forceFullArgs) {
    for (SyntaxFlag &f : fData->flags) {
        if (&f == fData->find(kelphost::flagName(flag))) {
            f.queryWithFullArgs = forceFullArgs;
            return MS::kSuccess;
        }
    }
    return MS::kInvalidParameter;
}

MStatus MSyntax::addArg(MArgType arg) {
    if (arg == kInvalidArgType || arg == kNoArg || arg >= kLastArgType)
        return MS::kInvalidParameter;
    // Command arguments and objects cannot be combined.
    if (fData->objectFormat == kStringObjects || fData->objectFormat == kSelectionList)
        return MS::kFailure;
    fData->commandArgs.push_back(arg);
    return MS::kSuccess;
}

void MSyntax::useSelectionAsDefault(bool useSelectionList) {
    fData->useSelection = useSelectionList;
}

MStatus MSyntax::setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects) {
    return setObjectType(objectFormat, minimumObjects, ~0u);
}

MStatus MSyntax::setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects,
                               unsigned int maximumObjects) {
    if (objectFormat == kInvalidObjectFormat || objectFormat >= kLastObjectFormat ||
        minimumObjects > maximumObjects)
        return MS::kInvalidParameter;
    if (objectFormat != kNone && !fData->commandArgs.empty())
        return MS::kFailure;
    fData->objectFormat = objectFormat;
    fData->minObjects = minimumObjects;
    fData->maxObjects = maximumObjects;
    return MS::kSuccess;
}

MStatus MSyntax::setMinObjects(unsigned int minimumObjects) {
    if (minimumObjects > fData->maxObjects)
        return MS::kInvalidParameter;
    fData->minObjects = minimumObjects;
    return MS::kSuccess;
}

MStatus MSyntax::setMaxObjects(unsigned int maximumObjects) {
    if (maximumObjects < fData->minObjects)
        return MS::kInvalidParameter;
    fData->maxObjects = maximumObjects;
    return MS::kSuccess;
}

void MSyntax::enableQuery(bool supportsQuery) {
    fData->canQuery = supportsQuery;
}
void MSyntax::enableEdit(bool supportsEdit) {
    fData->canEdit = supportsEdit;
}
void MSyntax::clear() {
    *fData = SyntaxData();
}
bool MSyntax::canQuery() const {
    return fData->canQuery;
}
bool MSyntax::canEdit() const {
    return fData->canEdit;
}
unsigned int MSyntax::minObjects() const {
    return fData->minObjects;
}
unsigned int MSyntax::maxObjects() const {
    return fData->maxObjects;
}
