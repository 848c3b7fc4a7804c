// MStatus: codes, error texts ("(kCode): text") and perror.
#include <maya/MStatus.h>
#include <maya/MString.h>

#include "../Messages.h"
#include "StatusText.h"

namespace {

const char *codeName(unsigned code) {
    static const char *const names[] = {
        "kSuccess",          "kFailure",        "kInsufficientMemory",
        "kInvalidParameter", "kLicenseFailure", "kUnknownParameter",
        "kNotImplemented",   "kNotFound",       "kEndOfFile"};
    return code < sizeof(names) / sizeof(names[0]) ? names[code] : "kFailure";
}

const char *genericText(unsigned code) {
    switch (code) {
    case MStatus::kSuccess:
        return "Success";
    case MStatus::kFailure:
        return "Unexpected Internal Failure";
    case MStatus::kInsufficientMemory:
        return "Insufficient Memory";
    case MStatus::kInvalidParameter:
        return "Invalid Parameter";
    case MStatus::kLicenseFailure:
        return "License Failure";
    case MStatus::kUnknownParameter:
        return "Unknown Parameter";
    case MStatus::kNotImplemented:
        return "Not Implemented";
    case MStatus::kNotFound:
        return "Not Found";
    case MStatus::kEndOfFile:
        return "End of File";
    default:
        return "Unexpected Internal Failure";
    }
}

} // namespace

namespace kelphost {

const char *statusText(unsigned char internal) {
    switch (internal) {
    case kIncompatibleObject:
        return "Object is incompatible with this method";
    case kNoElement:
        return "No element at given index";
    case kArrayLengthMismatch:
        return "Array length does not match given item count";
    case kIndexOutOfRange:
        return "Index out of range";
    case kInvalidOwner:
        return "parentOrOwner was not valid";
    case kNoObject:
        return "No object attached to the function set";
    case kAttributeNotFound:
        return "The named attribute could not be found";
    case kDuplicateName:
        return "A type or command of this name is already registered";
    case kDuplicateId:
        return "A node type with this id is already registered";
    case kNotOwned:
        return "Not registered by this plug-in";
    case kWorldSpace:
        return "Cannot do world space operation";
    case kNotInInitialize:
        return "Attributes can only be added while a node type initializes";
    case kAlreadyAdded:
        return "The attribute has already been added";
    case kNotConnectable:
        return "The plugs cannot be connected";
    case kAlreadyConnected:
        return "The destination is already connected";
    case kLocked:
        return "The plug is the destination of a connection";
    case kNoSuchNode:
        return "No object matches name";
    case kRegistrationRefused:
        return "The host refused the registration";
    case kBadTopology:
        return "Polygon data is not consistent";
    case kKeyableOutput:
        return "Output attributes cannot be keyable";
    default:
        return nullptr;
    }
}

} // namespace kelphost

OPENMAYA_MAJOR_NAMESPACE_OPEN

MStatus::MStatus(MStatusCode code)
    : fStatusCode(static_cast<unsigned char>(code)), fInternalStatusCode(0xff),
      fStatus(code == kSuccess) {}

MStatus::MStatus(const MStatus &other) = default;
MStatus &MStatus::operator=(const MStatus &rhs) = default;

bool MStatus::operator==(const MStatus &rhs) const {
    return fStatusCode == rhs.fStatusCode;
}
bool MStatus::operator==(const MStatusCode rhs) const {
    return fStatusCode == rhs;
}
bool MStatus::operator!=(const MStatus &rhs) const {
    return fStatusCode != rhs.fStatusCode;
}
bool MStatus::operator!=(const MStatusCode rhs) const {
    return fStatusCode != rhs;
}

void MStatus::clear() {
    fStatusCode = kSuccess;
    fInternalStatusCode = 0xff;
    fStatus = true;
}

MStatus::MStatusCode MStatus::statusCode() const {
    return static_cast<MStatusCode>(fStatusCode);
}

MString MStatus::errorString() const {
    const char *text = kelphost::statusText(fInternalStatusCode);
    if (!text)
        text = genericText(fStatusCode);
    std::string s = std::string("(") + codeName(fStatusCode) + "): " + text;
    return MString(s.c_str());
}

void MStatus::perror(const char *prefix) const {
    std::string line = prefix ? prefix : "";
    line += ": ";
    line += errorString().asChar();
    kelphost::messages::emit(kelphost::messages::Kind::Perror, line);
}

void MStatus::perror(const MString &prefix) const {
    perror(prefix.asChar());
}

void MStatus::set(bool status, unsigned char statusCode, unsigned char internalStatusCode) {
    fStatus = status;
    fStatusCode = statusCode;
    fInternalStatusCode = internalStatusCode;
}

void MStatus::setSuccess() {
    clear();
}

std::ostream &operator<<(std::ostream &os, MStatus &s) {
    os << s.errorString().asChar();
    return os;
}

OPENMAYA_NAMESPACE_CLOSE
