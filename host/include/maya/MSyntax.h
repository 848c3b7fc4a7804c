#ifndef _MSyntax
#define _MSyntax
// A command's flags and arguments (command side).
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MSyntax {
public:
    enum MArgType {
        kInvalidArgType,
        kNoArg,
        kBoolean,
        kLong,
        kDouble,
        kString,
        kUnsigned,
        kDistance,
        kAngle,
        kTime,
        kSelectionItem,
        kLastArgType
    };
    enum MObjectFormat {
        kInvalidObjectFormat,
        kNone,
        kStringObjects,
        kSelectionList,
        kLastObjectFormat
    };

    MSyntax();
    MSyntax(const MSyntax &other);
    virtual ~MSyntax();
    MSyntax &operator=(const MSyntax &rhs);
    MStatus addFlag(const char *shortName, const char *longName, MArgType argType1 = kNoArg,
                    MArgType argType2 = kNoArg, MArgType argType3 = kNoArg,
                    MArgType argType4 = kNoArg, MArgType argType5 = kNoArg,
                    MArgType argType6 = kNoArg);
    MStatus makeFlagMultiUse(const char *flag);
    MStatus makeFlagQueryWithFullArgs(const char *flag, bool forceFullArgs);
    MStatus addArg(MArgType arg);
    void useSelectionAsDefault(bool useSelectionList = false);
    MStatus setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects = 0);
    MStatus setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects,
                          unsigned int maximumObjects);
    MStatus setMinObjects(unsigned int minimumObjects);
    MStatus setMaxObjects(unsigned int maximumObjects);
    void enableQuery(bool supportsQuery = true);
    void enableEdit(bool supportsEdit = true);
    void clear();
    bool canQuery() const;
    bool canEdit() const;
    unsigned int minObjects() const;
    unsigned int maxObjects() const;

private:
    friend class ::kelphost::Access;
    ::kelphost::SyntaxData *fData;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
