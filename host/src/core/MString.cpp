// MString. The stand-in's own definitions, where the host documents none:
// - doubles become text as printf "%g" makes them (6 significant digits, no
//   trailing zeros): operator+(double), operator+=(double/float), operator=(double)
//   and set(double); ints and unsigned ints appended with += print as integers;
// - set(value, precision) prints `precision` decimal places ("%.*f"); a
//   negative precision counts as 0;
// - split keeps empty pieces: "a..b" split at '.' gives "a", "", "b", and "a."
//   gives "a", ""; an empty string gives no pieces.
#include <maya/MString.h>
#include <maya/MStringArray.h>

#include "Access.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using kelphost::Access;

namespace {

std::string &S(MString &s) {
    return Access::str(s);
}
const std::string &S(const MString &s) {
    return Access::str(s);
}

std::string numberText(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

std::string fromWide(const wchar_t *w, long n) {
    std::string out;
    if (!w)
        return out;
    for (long i = 0; n < 0 ? w[i] != 0 : i < n; ++i) {
        unsigned long c = static_cast<unsigned long>(w[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | ((c >> 18) & 0x07));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::wstring toWide(const std::string &s) {
    std::wstring out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        unsigned long cp = c;
        size_t extra = 0;
        if (c >= 0xF0) {
            cp = c & 0x07;
            extra = 3;
        } else if (c >= 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if (c >= 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        }
        ++i;
        for (size_t k = 0; k < extra && i < s.size(); ++k, ++i)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
        out += static_cast<wchar_t>(cp);
    }
    return out;
}

bool trimmedNumber(const std::string &s, bool integer, double *dv, long long *iv) {
    const char *b = s.c_str();
    while (std::isspace(static_cast<unsigned char>(*b)))
        ++b;
    if (!*b)
        return false;
    char *end = nullptr;
    errno = 0;
    if (integer) {
        long long v = std::strtoll(b, &end, 10);
        if (iv)
            *iv = v;
    } else {
        double v = std::strtod(b, &end);
        if (dv)
            *dv = v;
    }
    if (end == b || errno == ERANGE)
        return false;
    while (std::isspace(static_cast<unsigned char>(*end)))
        ++end;
    return *end == 0;
}

} // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

const MString MString::argUnused("\x01__kelphost_unused__");

MString::MString() : fImpl(new std::string), fWide(nullptr) {}
MString::MString(const char *s) : fImpl(new std::string(s ? s : "")), fWide(nullptr) {}
MString::MString(const wchar_t *s) : fImpl(new std::string(fromWide(s, -1))), fWide(nullptr) {}
MString::MString(const char *s, int n)
    : fImpl(new std::string(s && n > 0 ? std::string(s, static_cast<size_t>(n)) : std::string())),
      fWide(nullptr) {}
MString::MString(const wchar_t *s, int n)
    : fImpl(new std::string(n > 0 ? fromWide(s, n) : std::string())), fWide(nullptr) {}
MString::MString(const MString &o) : fImpl(new std::string(S(o))), fWide(nullptr) {}
MString::~MString() {
    delete static_cast<std::string *>(fImpl);
    delete[] fWide;
}

MString &MString::operator+=(const MString &o) {
    S(*this) += S(o);
    return *this;
}
MString &MString::operator+=(const char *o) {
    if (o)
        S(*this) += o;
    return *this;
}
MString &MString::operator+=(double o) {
    S(*this) += numberText(o);
    return *this;
}
MString &MString::operator+=(int o) {
    S(*this) += std::to_string(o);
    return *this;
}
MString &MString::operator+=(unsigned int o) {
    S(*this) += std::to_string(o);
    return *this;
}
MString &MString::operator+=(float o) {
    S(*this) += numberText(o);
    return *this;
}
MString &MString::operator=(const MString &o) {
    if (this != &o)
        S(*this) = S(o);
    return *this;
}
MString &MString::operator=(const char *o) {
    S(*this) = o ? o : "";
    return *this;
}
MString &MString::operator=(double v) {
    S(*this) = numberText(v);
    return *this;
}
bool MString::operator==(const MString &o) const {
    return S(*this) == S(o);
}
bool MString::operator==(const char *o) const {
    return S(*this) == (o ? o : "");
}
bool MString::operator!=(const MString &o) const {
    return !(*this == o);
}
bool MString::operator!=(const char *o) const {
    return !(*this == o);
}
MString MString::operator+(const MString &o) const {
    MString r(*this);
    r += o;
    return r;
}
MString MString::operator+(const char *o) const {
    MString r(*this);
    r += o;
    return r;
}
MString MString::operator+(double v) const {
    MString r(*this);
    r += v;
    return r;
}

MStatus MString::set(const char *s) {
    *this = s;
    return MStatus::kSuccess;
}
MStatus MString::setUTF8(const char *s) {
    return set(s);
}
MStatus MString::setWChar(const wchar_t *s) {
    S(*this) = fromWide(s, -1);
    return MStatus::kSuccess;
}
MStatus MString::set(const char *s, int n) {
    S(*this) = s && n > 0 ? std::string(s, static_cast<size_t>(n)) : std::string();
    return MStatus::kSuccess;
}
MStatus MString::setWChar(const wchar_t *s, int n) {
    S(*this) = n > 0 ? fromWide(s, n) : std::string();
    return MStatus::kSuccess;
}
MStatus MString::set(double v) {
    *this = v;
    return MStatus::kSuccess;
}
MStatus MString::set(double v, int precision) {
    if (precision < 0)
        precision = 0;
    if (precision > 60)
        precision = 60;
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*f", precision, v);
    S(*this) = buf;
    return MStatus::kSuccess;
}

const char *MString::asChar() const {
    return S(*this).c_str();
}
const char *MString::asChar(int &n) const {
    n = static_cast<int>(S(*this).size());
    return asChar();
}
const char *MString::asUTF8() const {
    return asChar();
}
const char *MString::asUTF8(int &n) const {
    return asChar(n);
}
const wchar_t *MString::asWChar() const {
    std::wstring w = toWide(S(*this));
    delete[] fWide;
    fWide = new wchar_t[w.size() + 1];
    std::memcpy(fWide, w.c_str(), (w.size() + 1) * sizeof(wchar_t));
    return fWide;
}
const wchar_t *MString::asWChar(int &n) const {
    const wchar_t *w = asWChar();
    n = static_cast<int>(std::wcslen(w));
    return w;
}
unsigned int MString::length() const {
    return static_cast<unsigned int>(S(*this).size());
}
unsigned int MString::numChars() const {
    unsigned n = 0;
    for (char c : S(*this))
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}
void MString::clear() {
    S(*this).clear();
}

int MString::index(char c) const {
    size_t p = S(*this).find(c);
    return p == std::string::npos ? -1 : static_cast<int>(p);
}
int MString::indexW(char c) const {
    return index(c);
}
int MString::indexW(wchar_t c) const {
    std::wstring w = toWide(S(*this));
    size_t p = w.find(c);
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
}
int MString::indexW(const MString &o) const {
    std::wstring w = toWide(S(*this));
    size_t p = w.find(toWide(S(o)));
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
}
int MString::rindex(char c) const {
    size_t p = S(*this).rfind(c);
    return p == std::string::npos ? -1 : static_cast<int>(p);
}
int MString::rindexW(char c) const {
    return rindex(c);
}
int MString::rindexW(wchar_t c) const {
    std::wstring w = toWide(S(*this));
    size_t p = w.rfind(c);
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
}
int MString::rindexW(const MString &o) const {
    std::wstring w = toWide(S(*this));
    size_t p = w.rfind(toWide(S(o)));
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
}

MStatus MString::split(char c, MStringArray &out) const {
    out.clear();
    const std::string &s = S(*this);
    if (s.empty())
        return MStatus::kSuccess;
    size_t start = 0;
    for (;;) {
        size_t p = s.find(c, start);
        std::string piece = s.substr(start, p == std::string::npos ? std::string::npos : p - start);
        out.append(MString(piece.c_str(), static_cast<int>(piece.size())));
        if (p == std::string::npos)
            break;
        start = p + 1;
    }
    return MStatus::kSuccess;
}

MStatus MString::split(wchar_t c, MStringArray &out) const {
    if (static_cast<unsigned long>(c) < 0x80)
        return split(static_cast<char>(c), out);
    out.clear();
    std::wstring w = toWide(S(*this));
    if (w.empty())
        return MStatus::kSuccess;
    size_t start = 0;
    for (;;) {
        size_t p = w.find(c, start);
        std::wstring piece =
            w.substr(start, p == std::wstring::npos ? std::wstring::npos : p - start);
        out.append(MString(piece.c_str(), static_cast<int>(piece.size())));
        if (p == std::wstring::npos)
            break;
        start = p + 1;
    }
    return MStatus::kSuccess;
}

MString MString::substring(int start, int end) const {
    const std::string &s = S(*this);
    int n = static_cast<int>(s.size());
    if (start < 0)
        start = 0;
    if (end >= n)
        end = n - 1;
    if (start > end || start >= n)
        return MString();
    std::string piece = s.substr(static_cast<size_t>(start), static_cast<size_t>(end - start + 1));
    return MString(piece.c_str(), static_cast<int>(piece.size()));
}

MString MString::substringW(int start, int end) const {
    std::wstring w = toWide(S(*this));
    int n = static_cast<int>(w.size());
    if (start < 0)
        start = 0;
    if (end >= n)
        end = n - 1;
    if (start > end || start >= n)
        return MString();
    std::wstring piece = w.substr(static_cast<size_t>(start), static_cast<size_t>(end - start + 1));
    return MString(piece.c_str(), static_cast<int>(piece.size()));
}

MString &MString::toUpperCase() {
    for (char &c : S(*this))
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return *this;
}
MString &MString::toLowerCase() {
    for (char &c : S(*this))
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return *this;
}

bool MString::isShort() const {
    long long v = 0;
    return trimmedNumber(S(*this), true, nullptr, &v) && v >= SHRT_MIN && v <= SHRT_MAX;
}
short MString::asShort() const {
    return static_cast<short>(asInt());
}
bool MString::isInt() const {
    long long v = 0;
    return trimmedNumber(S(*this), true, nullptr, &v) && v >= INT_MIN && v <= INT_MAX;
}
int MString::asInt() const {
    long long v = std::strtoll(S(*this).c_str(), nullptr, 10);
    if (v < INT_MIN)
        return INT_MIN;
    if (v > INT_MAX)
        return INT_MAX;
    return static_cast<int>(v);
}
bool MString::isUnsigned() const {
    long long v = 0;
    return trimmedNumber(S(*this), true, nullptr, &v) && v >= 0 &&
           v <= static_cast<long long>(UINT_MAX);
}
unsigned int MString::asUnsigned() const {
    long long v = std::strtoll(S(*this).c_str(), nullptr, 10);
    if (v < 0)
        return 0;
    if (v > static_cast<long long>(UINT_MAX))
        return UINT_MAX;
    return static_cast<unsigned int>(v);
}
bool MString::isFloat() const {
    return trimmedNumber(S(*this), false, nullptr, nullptr);
}
float MString::asFloat() const {
    return static_cast<float>(asDouble());
}
bool MString::isDouble() const {
    return isFloat();
}
double MString::asDouble() const {
    return std::strtod(S(*this).c_str(), nullptr);
}

MString MString::expandEnvironmentVariablesAndTilde(MStatus *rs) const {
    const std::string &s = S(*this);
    std::string out;
    for (size_t i = 0; i < s.size();) {
        if (s[i] == '~' && i == 0 && (s.size() == 1 || s[1] == '/')) {
            const char *home = std::getenv("HOME");
            out += home ? home : "~";
            ++i;
        } else if (s[i] == '$' && i + 1 < s.size()) {
            size_t j = i + 1;
            bool braced = s[j] == '{';
            if (braced)
                ++j;
            size_t k = j;
            while (k < s.size() && (std::isalnum(static_cast<unsigned char>(s[k])) || s[k] == '_'))
                ++k;
            if (k == j || (braced && (k >= s.size() || s[k] != '}'))) {
                out += s[i++];
                continue;
            }
            const char *v = std::getenv(s.substr(j, k - j).c_str());
            if (v)
                out += v;
            i = braced ? k + 1 : k;
        } else {
            out += s[i++];
        }
    }
    if (rs)
        *rs = MStatus::kSuccess;
    return MString(out.c_str(), static_cast<int>(out.size()));
}

MString MString::expandFilePath(MStatus *rs) const {
    return expandEnvironmentVariablesAndTilde(rs);
}

MStatus MString::format(const MString &fmt, const MStringArray &args) {
    const std::string &f = S(fmt);
    std::string out;
    for (size_t i = 0; i < f.size(); ++i) {
        if (f[i] == '^' && i + 2 < f.size() && f[i + 1] >= '1' && f[i + 1] <= '9' &&
            f[i + 2] == 's') {
            unsigned k = static_cast<unsigned>(f[i + 1] - '1');
            if (k < args.length())
                out += S(args[k]);
            i += 2;
        } else {
            out += f[i];
        }
    }
    S(*this) = out;
    return MStatus::kSuccess;
}

MStatus MString::format(const MString &fmt, const MString &a1, const MString &a2, const MString &a3,
                        const MString &a4, const MString &a5, const MString &a6, const MString &a7,
                        const MString &a8, const MString &a9, const MString &a10) {
    const MString *all[] = {&a1, &a2, &a3, &a4, &a5, &a6, &a7, &a8, &a9, &a10};
    MStringArray args;
    for (const MString *a : all) {
        if (*a == argUnused)
            break;
        args.append(*a);
    }
    return format(fmt, args);
}

MStatus MString::substitute(const MString &src, const MString &target) {
    const std::string &from = S(src);
    if (from.empty())
        return MStatus::kFailure;
    std::string &s = S(*this);
    std::string out;
    size_t pos = 0;
    for (;;) {
        size_t p = s.find(from, pos);
        if (p == std::string::npos) {
            out += s.substr(pos);
            break;
        }
        out += s.substr(pos, p - pos);
        out += S(target);
        pos = p + from.size();
    }
    s = out;
    return MStatus::kSuccess;
}

MStatus MString::substituteFirst(const MString &src, const MString &target) {
    const std::string &from = S(src);
    if (from.empty())
        return MStatus::kFailure;
    std::string &s = S(*this);
    size_t p = s.find(from);
    if (p != std::string::npos)
        s.replace(p, from.size(), S(target));
    return MStatus::kSuccess;
}

std::ostream &operator<<(std::ostream &os, const MString &s) {
    return os << S(s);
}

MString operator+(const char *a, const MString &b) {
    MString r(a);
    r += b;
    return r;
}

OPENMAYA_NAMESPACE_CLOSE
