#ifndef _MStatus
#define _MStatus
// Result status of every host operation.
#include <maya/MTypes.h>
#include <maya/MIOStream.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MString;

class OPENMAYA_EXPORT MStatus {
public:
    enum MStatusCode {
        kSuccess = 0,
        kFailure,
        kInsufficientMemory,
        kInvalidParameter,
        kLicenseFailure,
        kUnknownParameter,
        kNotImplemented,
        kNotFound,
        kEndOfFile
    };

    MStatus() : fStatusCode(kSuccess), fInternalStatusCode(0xff), fStatus(true) {}
    MStatus(MStatusCode);
    MStatus(const MStatus &);
    MStatus &operator=(const MStatus &rhs);
    bool operator==(const MStatus &rhs) const;
    bool operator==(const MStatusCode rhs) const;
    bool operator!=(const MStatus &rhs) const;
    bool operator!=(const MStatusCode rhs) const;
    bool error() const { return !fStatus; }
    void clear();
    MStatusCode statusCode() const;
    MString errorString() const;
    void perror(const char *) const;
    void perror(const MString &) const;
    void set(bool status, unsigned char statusCode, unsigned char internalStatusCode);
    void setSuccess();
    operator bool() const { return fStatus; }

    friend OPENMAYA_EXPORT std::ostream &operator<<(std::ostream &, MStatus &);
    friend inline bool operator==(const MStatus::MStatusCode code, const MStatus &status) {
        return status == code;
    }
    friend inline bool operator!=(const MStatus::MStatusCode code, const MStatus &status) {
        return status != code;
    }

private:
    friend class ::kelphost::Access;
    unsigned char fStatusCode;
    unsigned char fInternalStatusCode;
    bool fStatus;
};

#ifndef MNoMSTypedef
typedef MStatus MS;
#endif

OPENMAYA_NAMESPACE_CLOSE

#define MCHECKERROR(STAT, MSG)                                                                     \
    if (MS::kSuccess != STAT) {                                                                    \
        cerr << MSG << endl;                                                                       \
        return MS::kFailure;                                                                       \
    }

#define MFAIL(status) (MS::kSuccess != (status))

#define CHECK_MSTATUS_AND_RETURN_IT(_status)                                                       \
    {                                                                                              \
        MStatus _maya_status = (_status);                                                          \
        if (MStatus::kSuccess != _maya_status) {                                                   \
            cerr << "\nAPI error detected in " << __FILE__ << " at line " << __LINE__ << endl;     \
            _maya_status.perror("");                                                               \
            return (_maya_status);                                                                 \
        }                                                                                          \
    }

#define CHECK_MSTATUS_AND_RETURN(_status, _retVal)                                                 \
    {                                                                                              \
        MStatus _maya_status = (_status);                                                          \
        if (MStatus::kSuccess != _maya_status) {                                                   \
            cerr << "\nAPI error detected in " << __FILE__ << " at line " << __LINE__ << endl;     \
            _maya_status.perror("");                                                               \
            return (_retVal);                                                                      \
        }                                                                                          \
    }

#define CHECK_MSTATUS(_status)                                                                     \
    {                                                                                              \
        MStatus _maya_status = (_status);                                                          \
        if (MStatus::kSuccess != _maya_status) {                                                   \
            cerr << "\nAPI error detected in " << __FILE__ << " at line " << __LINE__ << endl;     \
            _maya_status.perror("");                                                               \
        }                                                                                          \
    }

#endif
