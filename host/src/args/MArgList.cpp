// MArgList: the words a command was given, converted on request.
#include "ArgListData.h"
#include "BuiltinArgs.h"
#include "LiveData.h"

#include <maya/MArgList.h>

#include <cctype>
#include <climits>
#include <cstdio>

namespace kelphost {

bool argToDouble(const std::string &text, double &value) {
    return parseScriptDouble(text, value);
}
bool argToInt(const std::string &text, int &value) {
    return parseScriptInt(text, value);
}
bool argToBool(const std::string &text, bool &value) {
    return parseScriptBool(text, value);
}

bool argIsFlag(const std::string &text) {
    return text.size() >= 2 && text[0] == '-' && std::isalpha(static_cast<unsigned char>(text[1]));
}

std::string flagName(const char *flag) {
    if (!flag)
        return std::string();
    return flag[0] == '-' ? std::string(flag + 1) : std::string(flag);
}

} // namespace kelphost

using kelphost::ArgListData;
using kelphost::ArgWord;

namespace {

void setStatus(MStatus *s, MStatus::MStatusCode code) {
    if (s)
        *s = code;
}

const ArgWord *wordAt(const ArgListData *d, unsigned int index, MStatus *s) {
    if (index >= d->words.size()) {
        setStatus(s, MS::kInvalidParameter);
        return nullptr;
    }
    return &d->words[index];
}

double doubleAt(const ArgListData *d, unsigned int index, MStatus *s) {
    const ArgWord *w = wordAt(d, index, s);
    double v = 0;
    if (!w)
        return 0;
    if (!kelphost::argToDouble(w->text, v)) {
        setStatus(s, MS::kInvalidParameter);
        return 0;
    }
    setStatus(s, MS::kSuccess);
    return v;
}

std::string numberText(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

} // namespace

const unsigned int MArgList::kInvalidArgIndex = UINT_MAX;

MArgList::MArgList() : fData(new ArgListData) {
    kelphost::liveData<ArgListData>()[this] = fData;
}

MArgList::MArgList(const MArgList &other) : fData(new ArgListData(*other.fData)) {
    kelphost::liveData<ArgListData>()[this] = fData;
}

MArgList::~MArgList() {
    kelphost::liveData<ArgListData>().erase(this);
    delete fData;
}

MArgList &MArgList::operator=(const MArgList &other) {
    if (this != &other)
        *fData = *other.fData;
    return *this;
}

unsigned int MArgList::length(MStatus *ReturnStatus) const {
    setStatus(ReturnStatus, MS::kSuccess);
    return static_cast<unsigned int>(fData->words.size());
}

bool MArgList::asBool(unsigned int index, MStatus *ReturnStatus) const {
    const ArgWord *w = wordAt(fData, index, ReturnStatus);
    bool v = false;
    if (!w)
        return false;
    if (!kelphost::argToBool(w->text, v)) {
        setStatus(ReturnStatus, MS::kInvalidParameter);
        return false;
    }
    setStatus(ReturnStatus, MS::kSuccess);
    return v;
}

int MArgList::asInt(unsigned int index, MStatus *ReturnStatus) const {
    const ArgWord *w = wordAt(fData, index, ReturnStatus);
    int v = 0;
    if (!w)
        return 0;
    if (!kelphost::argToInt(w->text, v)) {
        setStatus(ReturnStatus, MS::kInvalidParameter);
        return 0;
    }
    setStatus(ReturnStatus, MS::kSuccess);
    return v;
}

double MArgList::asDouble(unsigned int index, MStatus *ReturnStatus) const {
    return doubleAt(fData, index, ReturnStatus);
}

MString MArgList::asString(unsigned int index, MStatus *ReturnStatus) const {
    const ArgWord *w = wordAt(fData, index, ReturnStatus);
    if (!w)
        return MString();
    setStatus(ReturnStatus, MS::kSuccess);
    return MString(w->text.c_str());
}

MDistance MArgList::asDistance(unsigned int index, MStatus *ReturnStatus) const {
    return MDistance(doubleAt(fData, index, ReturnStatus), MDistance::uiUnit());
}

MAngle MArgList::asAngle(unsigned int index, MStatus *ReturnStatus) const {
    return MAngle(doubleAt(fData, index, ReturnStatus), MAngle::uiUnit());
}

MTime MArgList::asTime(unsigned int index, MStatus *ReturnStatus) const {
    return MTime(doubleAt(fData, index, ReturnStatus), MTime::uiUnit());
}

MVector MArgList::asVector(unsigned int &index, unsigned int numElements,
                           MStatus *ReturnStatus) const {
    double c[3] = {0, 0, 0};
    if (numElements < 1 || numElements > 3) {
        setStatus(ReturnStatus, MS::kInvalidParameter);
        return MVector();
    }
    for (unsigned int i = 0; i < numElements; ++i) {
        MStatus st;
        c[i] = doubleAt(fData, index + i, &st);
        if (!st) {
            setStatus(ReturnStatus, MS::kInvalidParameter);
            return MVector();
        }
    }
    index += numElements;
    setStatus(ReturnStatus, MS::kSuccess);
    return MVector(c[0], c[1], c[2]);
}

MPoint MArgList::asPoint(unsigned int &index, unsigned int numElements,
                         MStatus *ReturnStatus) const {
    double c[4] = {0, 0, 0, 1};
    if (numElements < 1 || numElements > 4) {
        setStatus(ReturnStatus, MS::kInvalidParameter);
        return MPoint();
    }
    for (unsigned int i = 0; i < numElements; ++i) {
        MStatus st;
        c[i] = doubleAt(fData, index + i, &st);
        if (!st) {
            setStatus(ReturnStatus, MS::kInvalidParameter);
            return MPoint();
        }
    }
    index += numElements;
    setStatus(ReturnStatus, MS::kSuccess);
    return MPoint(c[0], c[1], c[2], c[3]);
}

MMatrix MArgList::asMatrix(unsigned int &index, MStatus *ReturnStatus) const {
    double m[4][4];
    for (unsigned int i = 0; i < 16; ++i) {
        MStatus st;
        m[i / 4][i % 4] = doubleAt(fData, index + i, &st);
        if (!st) {
            setStatus(ReturnStatus, MS::kInvalidParameter);
            return MMatrix();
        }
    }
    index += 16;
    setStatus(ReturnStatus, MS::kSuccess);
    return MMatrix(m);
}

MStringArray MArgList::asStringArray(unsigned int &index, MStatus *ReturnStatus) const {
    MStringArray out;
    const ArgWord *w = wordAt(fData, index, ReturnStatus);
    if (!w)
        return out;
    if (w->isArray) {
        for (const std::string &s : w->items)
            out.append(MString(s.c_str()));
    } else {
        out.append(MString(w->text.c_str()));
    }
    ++index;
    setStatus(ReturnStatus, MS::kSuccess);
    return out;
}

MDoubleArray MArgList::asDoubleArray(unsigned int &index, MStatus *ReturnStatus) const {
    MDoubleArray out;
    const ArgWord *w = wordAt(fData, index, ReturnStatus);
    if (!w)
        return out;
    const std::vector<std::string> single{w->text};
    for (const std::string &s : w->isArray ? w->items : single) {
        double v = 0;
        if (!kelphost::argToDouble(s, v)) {
            setStatus(ReturnStatus, MS::kInvalidParameter);
            return MDoubleArray();
        }
        out.append(v);
    }
    ++index;
    setStatus(ReturnStatus, MS::kSuccess);
    return out;
}

MIntArray MArgList::asIntArray(unsigned int &index, MStatus *ReturnStatus) const {
    MIntArray out;
    const ArgWord *w = wordAt(fData, index, ReturnStatus);
    if (!w)
        return out;
    const std::vector<std::string> single{w->text};
    for (const std::string &s : w->isArray ? w->items : single) {
        int v = 0;
        if (!kelphost::argToInt(s, v)) {
            setStatus(ReturnStatus, MS::kInvalidParameter);
            return MIntArray();
        }
        out.append(v);
    }
    ++index;
    setStatus(ReturnStatus, MS::kSuccess);
    return out;
}

unsigned int MArgList::flagIndex(const char *shortFlag, const char *longFlag) const {
    const std::string s = kelphost::flagName(shortFlag), l = kelphost::flagName(longFlag);
    for (size_t i = 0; i < fData->words.size(); ++i) {
        const ArgWord &w = fData->words[i];
        if (w.isArray || !kelphost::argIsFlag(w.text))
            continue;
        const std::string name = w.text.substr(1);
        if ((!s.empty() && name == s) || (!l.empty() && name == l))
            return static_cast<unsigned int>(i);
    }
    return kInvalidArgIndex;
}

MStatus MArgList::addArg(bool arg) {
    return addArg(MString(arg ? "true" : "false"));
}
MStatus MArgList::addArg(int arg) {
    return addArg(MString(std::to_string(arg).c_str()));
}
MStatus MArgList::addArg(double arg) {
    return addArg(MString(numberText(arg).c_str()));
}

MStatus MArgList::addArg(const MString &arg) {
    ArgWord w;
    w.text = arg.asChar();
    fData->words.push_back(w);
    return MS::kSuccess;
}

MStatus MArgList::addArg(const MDistance &arg) {
    return addArg(arg.as(MDistance::uiUnit()));
}
MStatus MArgList::addArg(const MAngle &arg) {
    return addArg(arg.as(MAngle::uiUnit()));
}
MStatus MArgList::addArg(const MTime &arg) {
    return addArg(arg.as(MTime::uiUnit()));
}

MStatus MArgList::addArg(const MVector &arg) {
    addArg(arg.x);
    addArg(arg.y);
    return addArg(arg.z);
}

MStatus MArgList::addArg(const MPoint &arg) {
    addArg(arg.x);
    addArg(arg.y);
    return addArg(arg.z);
}

MStatus MArgList::addArg(const MMatrix &arg) {
    for (unsigned int r = 0; r < 4; ++r)
        for (unsigned int c = 0; c < 4; ++c)
            addArg(arg(r, c));
    return MS::kSuccess;
}

MStatus MArgList::addArg(const MStringArray &arg) {
    ArgWord w;
    w.isArray = true;
    for (unsigned int i = 0; i < arg.length(); ++i) {
        w.items.push_back(arg[i].asChar());
        w.text += (i ? " " : "") + w.items.back();
    }
    fData->words.push_back(w);
    return MS::kSuccess;
}

MStatus MArgList::addArg(const MDoubleArray &arg) {
    ArgWord w;
    w.isArray = true;
    for (unsigned int i = 0; i < arg.length(); ++i) {
        w.items.push_back(numberText(arg[i]));
        w.text += (i ? " " : "") + w.items.back();
    }
    fData->words.push_back(w);
    return MS::kSuccess;
}

MStatus MArgList::addArg(const MIntArray &arg) {
    ArgWord w;
    w.isArray = true;
    for (unsigned int i = 0; i < arg.length(); ++i) {
        w.items.push_back(std::to_string(arg[i]));
        w.text += (i ? " " : "") + w.items.back();
    }
    fData->words.push_back(w);
    return MS::kSuccess;
}
