// MArgParser and MArgDatabase: a command's words checked against its syntax.
// A failed parse shows one error line through MGlobal::displayError and
// leaves the parser empty with a kFailure status, as the host does.
#include "ArgListData.h"
#include "LiveData.h"
#include "SyntaxData.h"

#include <maya/MArgDatabase.h>
#include <maya/MArgParser.h>
#include <maya/MGlobal.h>
#include <maya/MSelectionList.h>

namespace kelphost {

struct FlagUse {
    const SyntaxFlag *flag; // points into `syntax`
    std::vector<std::string> args;
    unsigned int position; // index of the flag's first argument in the list
};

struct ArgParserData {
    SyntaxData syntax;
    std::vector<FlagUse> uses;
    std::vector<std::string> commandArgs;
    std::vector<std::string> objects;
    bool query = false;
    bool edit = false;

    const SyntaxFlag *flag(const char *name) const { return name ? syntax.find(name) : nullptr; }
    const FlagUse *use(const char *name, unsigned int n = 0) const {
        const SyntaxFlag *f = flag(name);
        if (!f)
            return nullptr;
        for (const FlagUse &u : uses)
            if (u.flag == f && n-- == 0)
                return &u;
        return nullptr;
    }
};

namespace {

const char *typeName(MSyntax::MArgType t) {
    switch (t) {
    case MSyntax::kBoolean:
        return "boolean";
    case MSyntax::kLong:
        return "integer";
    case MSyntax::kUnsigned:
        return "unsigned integer";
    case MSyntax::kDouble:
    case MSyntax::kDistance:
    case MSyntax::kAngle:
    case MSyntax::kTime:
        return "number";
    default:
        return "string";
    }
}

bool fits(const std::string &text, MSyntax::MArgType t) {
    double d;
    int i;
    bool b;
    switch (t) {
    case MSyntax::kBoolean:
        return argToBool(text, b);
    case MSyntax::kLong:
        return argToInt(text, i);
    case MSyntax::kUnsigned:
        return argToInt(text, i) && i >= 0;
    case MSyntax::kDouble:
    case MSyntax::kDistance:
    case MSyntax::kAngle:
    case MSyntax::kTime:
        return argToDouble(text, d);
    default:
        return true;
    }
}

bool parse(ArgParserData &d, const ArgListData &list, std::string &error) {
    const std::vector<ArgWord> &w = list.words;
    for (size_t i = 0; i < w.size(); ++i) {
        const std::string &text = w[i].text;
        if (!w[i].isArray && argIsFlag(text)) {
            const std::string name = text.substr(1);
            if (d.syntax.canQuery && (name == "q" || name == "query")) {
                d.query = true;
                continue;
            }
            if (d.syntax.canEdit && (name == "e" || name == "edit")) {
                d.edit = true;
                continue;
            }
            const SyntaxFlag *f = d.syntax.find(name);
            if (!f) {
                error = "Invalid flag: " + text;
                return false;
            }
            if (!f->multiUse) {
                for (const FlagUse &u : d.uses) {
                    if (u.flag == f) {
                        error = "Flag " + text + " can only be used once";
                        return false;
                    }
                }
            }
            FlagUse use{f, {}, static_cast<unsigned int>(i + 1)};
            // In query mode flags take no arguments unless asked to.
            const bool wantArgs = !d.query || f->queryWithFullArgs;
            if (wantArgs) {
                for (MSyntax::MArgType t : f->args) {
                    if (i + 1 >= w.size()) {
                        error = "Flag " + text + " needs " + std::to_string(f->args.size()) +
                                " argument(s)";
                        return false;
                    }
                    const std::string &a = w[++i].text;
                    if (!fits(a, t)) {
                        error = "Invalid argument for flag " + text + ": \"" + a + "\" is not a " +
                                typeName(t);
                        return false;
                    }
                    use.args.push_back(a);
                }
            }
            d.uses.push_back(use);
            continue;
        }
        if (d.commandArgs.size() < d.syntax.commandArgs.size()) {
            const MSyntax::MArgType t = d.syntax.commandArgs[d.commandArgs.size()];
            if (!fits(text, t)) {
                error = "Invalid argument: \"" + text + "\" is not a " + typeName(t);
                return false;
            }
            d.commandArgs.push_back(text);
            continue;
        }
        if (d.syntax.objectFormat == MSyntax::kStringObjects ||
            d.syntax.objectFormat == MSyntax::kSelectionList) {
            if (w[i].isArray)
                d.objects.insert(d.objects.end(), w[i].items.begin(), w[i].items.end());
            else
                d.objects.push_back(text);
            continue;
        }
        error = "Too many arguments: \"" + text + "\" is not expected";
        return false;
    }
    if (d.commandArgs.size() < d.syntax.commandArgs.size()) {
        error = "Too few arguments: " + std::to_string(d.syntax.commandArgs.size()) +
                " expected, " + std::to_string(d.commandArgs.size()) + " given";
        return false;
    }
    if (d.syntax.objectFormat == MSyntax::kStringObjects ||
        d.syntax.objectFormat == MSyntax::kSelectionList) {
        if (d.objects.empty() && d.syntax.useSelection) {
            MSelectionList active;
            MGlobal::getActiveSelectionList(active);
            MStringArray names;
            active.getSelectionStrings(names);
            for (unsigned int k = 0; k < names.length(); ++k)
                d.objects.push_back(names[k].asChar());
        }
        if (d.objects.size() < d.syntax.minObjects) {
            error = "Too few objects: at least " + std::to_string(d.syntax.minObjects) + " needed";
            return false;
        }
        if (d.objects.size() > d.syntax.maxObjects) {
            error = "Too many objects: at most " + std::to_string(d.syntax.maxObjects) + " allowed";
            return false;
        }
    }
    return true;
}

void setStatus(MStatus *s, MStatus::MStatusCode code) {
    if (s)
        *s = code;
}

} // namespace

} // namespace kelphost

using kelphost::ArgParserData;
using kelphost::FlagUse;

namespace {

// Argument `index` of the first use of `flag`, with the status the host gives.
MStatus flagArg(const ArgParserData *d, const char *flag, unsigned int index, std::string &out) {
    if (!d->flag(flag))
        return MS::kInvalidParameter;
    const FlagUse *u = d->use(flag);
    if (!u)
        return MS::kFailure;
    if (index >= u->args.size())
        return MS::kInvalidParameter;
    out = u->args[index];
    return MS::kSuccess;
}

MStatus commandArg(const ArgParserData *d, unsigned int index, std::string &out) {
    if (index >= d->commandArgs.size())
        return MS::kInvalidParameter;
    out = d->commandArgs[index];
    return MS::kSuccess;
}

template <typename T> bool convert(const std::string &s, T &v);
template <> bool convert(const std::string &s, bool &v) {
    return kelphost::argToBool(s, v);
}
template <> bool convert(const std::string &s, int &v) {
    return kelphost::argToInt(s, v);
}
template <> bool convert(const std::string &s, double &v) {
    return kelphost::argToDouble(s, v);
}
template <> bool convert(const std::string &s, MString &v) {
    v = MString(s.c_str());
    return true;
}
template <> bool convert(const std::string &s, unsigned int &v) {
    int i = 0;
    if (!kelphost::argToInt(s, i) || i < 0)
        return false;
    v = static_cast<unsigned int>(i);
    return true;
}
template <> bool convert(const std::string &s, MDistance &v) {
    double d = 0;
    if (!kelphost::argToDouble(s, d))
        return false;
    v = MDistance(d, MDistance::uiUnit());
    return true;
}
template <> bool convert(const std::string &s, MAngle &v) {
    double d = 0;
    if (!kelphost::argToDouble(s, d))
        return false;
    v = MAngle(d, MAngle::uiUnit());
    return true;
}
template <> bool convert(const std::string &s, MTime &v) {
    double d = 0;
    if (!kelphost::argToDouble(s, d))
        return false;
    v = MTime(d, MTime::uiUnit());
    return true;
}

template <typename T>
MStatus getFlag(const ArgParserData *d, const char *flag, unsigned int index, T &result) {
    std::string s;
    MStatus st = flagArg(d, flag, index, s);
    if (!st)
        return st;
    T v;
    if (!convert(s, v))
        return MS::kInvalidParameter;
    result = v;
    return MS::kSuccess;
}

template <typename T> MStatus getCommand(const ArgParserData *d, unsigned int index, T &result) {
    std::string s;
    MStatus st = commandArg(d, index, s);
    if (!st)
        return st;
    T v;
    if (!convert(s, v))
        return MS::kInvalidParameter;
    result = v;
    return MS::kSuccess;
}

template <typename T>
T flagValue(const ArgParserData *d, const char *flag, unsigned int index, MStatus *ReturnStatus) {
    T v{};
    MStatus st = getFlag(d, flag, index, v);
    if (ReturnStatus)
        *ReturnStatus = st;
    return v;
}

template <typename T>
T commandValue(const ArgParserData *d, unsigned int index, MStatus *ReturnStatus) {
    T v{};
    MStatus st = getCommand(d, index, v);
    if (ReturnStatus)
        *ReturnStatus = st;
    return v;
}

} // namespace

MArgParser::MArgParser() : fData(new ArgParserData) {}

MArgParser::MArgParser(const MSyntax &syntax, const MArgList &argList, MStatus *ReturnStatus)
    : fData(new ArgParserData) {
    fData->syntax = *kelphost::liveDataOf<kelphost::SyntaxData>(&syntax);
    const kelphost::ArgListData *words = kelphost::liveDataOf<kelphost::ArgListData>(&argList);
    std::string error;
    if (!kelphost::parse(*fData, *words, error)) {
        MGlobal::displayError(MString(error.c_str()));
        ArgParserData empty;
        empty.syntax = fData->syntax;
        *fData = empty;
        kelphost::setStatus(ReturnStatus, MS::kFailure);
        return;
    }
    kelphost::setStatus(ReturnStatus, MS::kSuccess);
}

MArgParser::~MArgParser() {
    delete fData;
}

bool MArgParser::isFlagSet(const char *flag, MStatus *ReturnStatus) const {
    if (!fData->flag(flag)) {
        kelphost::setStatus(ReturnStatus, MS::kInvalidParameter);
        return false;
    }
    kelphost::setStatus(ReturnStatus, MS::kSuccess);
    return fData->use(flag) != nullptr;
}

bool MArgParser::isEdit(MStatus *ReturnStatus) const {
    kelphost::setStatus(ReturnStatus, MS::kSuccess);
    return fData->edit;
}

bool MArgParser::isQuery(MStatus *ReturnStatus) const {
    kelphost::setStatus(ReturnStatus, MS::kSuccess);
    return fData->query;
}

unsigned int MArgParser::numberOfFlagsUsed() const {
    return static_cast<unsigned int>(fData->uses.size());
}

unsigned int MArgParser::numberOfFlagUses(const char *flag) const {
    const kelphost::SyntaxFlag *f = fData->flag(flag);
    unsigned int n = 0;
    for (const FlagUse &u : fData->uses)
        if (f && u.flag == f)
            ++n;
    return n;
}

MStatus MArgParser::getFlagArgument(const char *flag, unsigned int index, bool &result) const {
    return getFlag(fData, flag, index, result);
}
MStatus MArgParser::getFlagArgument(const char *flag, unsigned int index, int &result) const {
    return getFlag(fData, flag, index, result);
}
MStatus MArgParser::getFlagArgument(const char *flag, unsigned int index, double &result) const {
    return getFlag(fData, flag, index, result);
}
MStatus MArgParser::getFlagArgument(const char *flag, unsigned int index, MString &result) const {
    return getFlag(fData, flag, index, result);
}
MStatus MArgParser::getFlagArgument(const char *flag, unsigned int index,
                                    unsigned int &result) const {
    return getFlag(fData, flag, index, result);
}
MStatus MArgParser::getFlagArgument(const char *flag, unsigned int index, MDistance &result) const {
    return getFlag(fData, flag, index, result);
}
MStatus MArgParser::getFlagArgument(const char *flag, unsigned int index, MAngle &result) const {
    return getFlag(fData, flag, index, result);
}
MStatus MArgParser::getFlagArgument(const char *flag, unsigned int index, MTime &result) const {
    return getFlag(fData, flag, index, result);
}

bool MArgParser::flagArgumentBool(const char *flag, unsigned int index,
                                  MStatus *ReturnStatus) const {
    return flagValue<bool>(fData, flag, index, ReturnStatus);
}
int MArgParser::flagArgumentInt(const char *flag, unsigned int index, MStatus *ReturnStatus) const {
    return flagValue<int>(fData, flag, index, ReturnStatus);
}
double MArgParser::flagArgumentDouble(const char *flag, unsigned int index,
                                      MStatus *ReturnStatus) const {
    return flagValue<double>(fData, flag, index, ReturnStatus);
}
MString MArgParser::flagArgumentString(const char *flag, unsigned int index,
                                       MStatus *ReturnStatus) const {
    return flagValue<MString>(fData, flag, index, ReturnStatus);
}
MDistance MArgParser::flagArgumentMDistance(const char *flag, unsigned int index,
                                            MStatus *ReturnStatus) const {
    return flagValue<MDistance>(fData, flag, index, ReturnStatus);
}
MAngle MArgParser::flagArgumentMAngle(const char *flag, unsigned int index,
                                      MStatus *ReturnStatus) const {
    return flagValue<MAngle>(fData, flag, index, ReturnStatus);
}
MTime MArgParser::flagArgumentMTime(const char *flag, unsigned int index,
                                    MStatus *ReturnStatus) const {
    return flagValue<MTime>(fData, flag, index, ReturnStatus);
}

MStatus MArgParser::getFlagArgumentPosition(const char *flag, unsigned int i,
                                            unsigned int &position) const {
    if (!fData->flag(flag))
        return MS::kInvalidParameter;
    const FlagUse *u = fData->use(flag, i);
    if (!u)
        return MS::kFailure;
    position = u->position;
    return MS::kSuccess;
}

MStatus MArgParser::getFlagArgumentList(const char *flag, unsigned int i, MArgList &args) const {
    if (!fData->flag(flag))
        return MS::kInvalidParameter;
    const FlagUse *u = fData->use(flag, i);
    if (!u)
        return MS::kFailure;
    args = MArgList();
    for (const std::string &a : u->args)
        args.addArg(MString(a.c_str()));
    return MS::kSuccess;
}

MStatus MArgParser::getCommandArgument(unsigned int index, bool &result) const {
    return getCommand(fData, index, result);
}
MStatus MArgParser::getCommandArgument(unsigned int index, int &result) const {
    return getCommand(fData, index, result);
}
MStatus MArgParser::getCommandArgument(unsigned int index, double &result) const {
    return getCommand(fData, index, result);
}
MStatus MArgParser::getCommandArgument(unsigned int index, MString &result) const {
    return getCommand(fData, index, result);
}
MStatus MArgParser::getCommandArgument(unsigned int index, MDistance &result) const {
    return getCommand(fData, index, result);
}
MStatus MArgParser::getCommandArgument(unsigned int index, MAngle &result) const {
    return getCommand(fData, index, result);
}
MStatus MArgParser::getCommandArgument(unsigned int index, MTime &result) const {
    return getCommand(fData, index, result);
}

bool MArgParser::commandArgumentBool(unsigned int index, MStatus *ReturnStatus) const {
    return commandValue<bool>(fData, index, ReturnStatus);
}
int MArgParser::commandArgumentInt(unsigned int index, MStatus *ReturnStatus) const {
    return commandValue<int>(fData, index, ReturnStatus);
}
double MArgParser::commandArgumentDouble(unsigned int index, MStatus *ReturnStatus) const {
    return commandValue<double>(fData, index, ReturnStatus);
}
MString MArgParser::commandArgumentString(unsigned int index, MStatus *ReturnStatus) const {
    return commandValue<MString>(fData, index, ReturnStatus);
}

MStatus MArgParser::getObjects(MStringArray &result) const {
    result.clear();
    for (const std::string &o : fData->objects)
        result.append(MString(o.c_str()));
    return MS::kSuccess;
}

// MArgDatabase

MArgDatabase::MArgDatabase() : MArgParser() {}

MArgDatabase::MArgDatabase(const MSyntax &syntax, const MArgList &argList, MStatus *ReturnStatus)
    : MArgParser(syntax, argList, ReturnStatus) {}

MArgDatabase::~MArgDatabase() {}

MStatus MArgDatabase::getFlagArgument(const char *flag, unsigned int index,
                                      MSelectionList &result) const {
    MString name;
    MStatus st = MArgParser::getFlagArgument(flag, index, name);
    if (!st)
        return st;
    return result.add(name);
}
MStatus MArgDatabase::getFlagArgument(const char *flag, unsigned int index, bool &result) const {
    return MArgParser::getFlagArgument(flag, index, result);
}
MStatus MArgDatabase::getFlagArgument(const char *flag, unsigned int index, int &result) const {
    return MArgParser::getFlagArgument(flag, index, result);
}
MStatus MArgDatabase::getFlagArgument(const char *flag, unsigned int index, double &result) const {
    return MArgParser::getFlagArgument(flag, index, result);
}
MStatus MArgDatabase::getFlagArgument(const char *flag, unsigned int index, MString &result) const {
    return MArgParser::getFlagArgument(flag, index, result);
}
MStatus MArgDatabase::getFlagArgument(const char *flag, unsigned int index,
                                      unsigned int &result) const {
    return MArgParser::getFlagArgument(flag, index, result);
}
MStatus MArgDatabase::getFlagArgument(const char *flag, unsigned int index,
                                      MDistance &result) const {
    return MArgParser::getFlagArgument(flag, index, result);
}
MStatus MArgDatabase::getFlagArgument(const char *flag, unsigned int index, MAngle &result) const {
    return MArgParser::getFlagArgument(flag, index, result);
}
MStatus MArgDatabase::getFlagArgument(const char *flag, unsigned int index, MTime &result) const {
    return MArgParser::getFlagArgument(flag, index, result);
}

MStatus MArgDatabase::getCommandArgument(unsigned int index, MSelectionList &result) const {
    MString name;
    MStatus st = MArgParser::getCommandArgument(index, name);
    if (!st)
        return st;
    return result.add(name);
}
MStatus MArgDatabase::getCommandArgument(unsigned int index, bool &result) const {
    return MArgParser::getCommandArgument(index, result);
}
MStatus MArgDatabase::getCommandArgument(unsigned int index, int &result) const {
    return MArgParser::getCommandArgument(index, result);
}
MStatus MArgDatabase::getCommandArgument(unsigned int index, double &result) const {
    return MArgParser::getCommandArgument(index, result);
}
MStatus MArgDatabase::getCommandArgument(unsigned int index, MString &result) const {
    return MArgParser::getCommandArgument(index, result);
}
MStatus MArgDatabase::getCommandArgument(unsigned int index, MDistance &result) const {
    return MArgParser::getCommandArgument(index, result);
}
MStatus MArgDatabase::getCommandArgument(unsigned int index, MAngle &result) const {
    return MArgParser::getCommandArgument(index, result);
}
MStatus MArgDatabase::getCommandArgument(unsigned int index, MTime &result) const {
    return MArgParser::getCommandArgument(index, result);
}

MStatus MArgDatabase::getObjects(MSelectionList &result) const {
    MStringArray names;
    MArgParser::getObjects(names);
    for (unsigned int i = 0; i < names.length(); ++i) {
        MStatus st = result.add(names[i]);
        if (!st)
            return st;
    }
    return MS::kSuccess;
}

MStatus MArgDatabase::getObjects(MStringArray &result) const {
    return MArgParser::getObjects(result);
}
