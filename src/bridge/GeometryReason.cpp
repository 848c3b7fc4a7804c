#include "bridge/GeometryReason.h"

#include <iostream>

namespace {
// A trace can be long; a reason line is short. Longer lines keep their start.
const std::string::size_type kMaxLine = 4096;
} // namespace

GeometryReason::GeometryReason() : m_tee(std::cerr.rdbuf()), m_saved(std::cerr.rdbuf(&m_tee)) {}

GeometryReason::~GeometryReason() {
    std::cerr.rdbuf(m_saved);
    if (m_tee.endsOpen())
        std::cerr << '\n';
    std::cerr.flush();
}

std::string GeometryReason::lastLine() const {
    return m_tee.lastLine();
}

std::string GeometryReason::Tee::lastLine() const {
    return m_current.empty() ? m_last : m_current;
}

void GeometryReason::Tee::note(char c) {
    if (c == '\n' || c == '\r') {
        if (!m_current.empty())
            m_last.swap(m_current);
        m_current.clear();
    } else if (m_current.size() < kMaxLine) {
        m_current += c;
    }
}

GeometryReason::Tee::int_type GeometryReason::Tee::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    note(traits_type::to_char_type(c));
    return m_target->sputc(traits_type::to_char_type(c));
}

std::streamsize GeometryReason::Tee::xsputn(const char *s, std::streamsize n) {
    for (std::streamsize i = 0; i < n; ++i)
        note(s[i]);
    return m_target->sputn(s, n);
}

int GeometryReason::Tee::sync() {
    return m_target->pubsync();
}

bool loadGeometry(Kelp &geo, const MString &fileName, std::string &reason) {
    GeometryReason capture;
    if (geo.loadBgeo(std::string(fileName.asChar(), fileName.length())) == 1)
        return true;
    reason = capture.lastLine();
    return false;
}

MString readFailureText(const MString &fileName, const std::string &reason) {
    MString text = MString("unable to read bgeo:  (") + fileName + ")";
    if (!reason.empty())
        text += MString(": ") + MString(reason.c_str());
    return text;
}
