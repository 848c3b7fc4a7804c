#ifndef _MArgParser
#define _MArgParser
// Parses a command's words against its syntax (command side). Flags may be
// named by their short or long name, with or without the leading '-'.
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MArgList.h>
#include <maya/MSyntax.h>
#include <maya/MDistance.h>
#include <maya/MAngle.h>
#include <maya/MTime.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MArgParser {
public:
    MArgParser();
    MArgParser(const MSyntax &syntax, const MArgList &argList, MStatus *ReturnStatus = nullptr);
    virtual ~MArgParser();
    bool isFlagSet(const char *flag, MStatus *ReturnStatus = nullptr) const;
    bool isEdit(MStatus *ReturnStatus = nullptr) const;
    bool isQuery(MStatus *ReturnStatus = nullptr) const;
    unsigned int numberOfFlagsUsed() const;
    unsigned int numberOfFlagUses(const char *flag) const;
    MStatus getFlagArgument(const char *flag, unsigned int index, bool &result) const;
    MStatus getFlagArgument(const char *flag, unsigned int index, int &result) const;
    MStatus getFlagArgument(const char *flag, unsigned int index, double &result) const;
    MStatus getFlagArgument(const char *flag, unsigned int index, MString &result) const;
    MStatus getFlagArgument(const char *flag, unsigned int index, unsigned int &result) const;
    MStatus getFlagArgument(const char *flag, unsigned int index, MDistance &result) const;
    MStatus getFlagArgument(const char *flag, unsigned int index, MAngle &result) const;
    MStatus getFlagArgument(const char *flag, unsigned int index, MTime &result) const;
    bool flagArgumentBool(const char *flag, unsigned int index,
                          MStatus *ReturnStatus = nullptr) const;
    int flagArgumentInt(const char *flag, unsigned int index,
                        MStatus *ReturnStatus = nullptr) const;
    double flagArgumentDouble(const char *flag, unsigned int index,
                              MStatus *ReturnStatus = nullptr) const;
    MString flagArgumentString(const char *flag, unsigned int index,
                               MStatus *ReturnStatus = nullptr) const;
    MDistance flagArgumentMDistance(const char *flag, unsigned int index,
                                    MStatus *ReturnStatus = nullptr) const;
    MAngle flagArgumentMAngle(const char *flag, unsigned int index,
                              MStatus *ReturnStatus = nullptr) const;
    MTime flagArgumentMTime(const char *flag, unsigned int index,
                            MStatus *ReturnStatus = nullptr) const;
    MStatus getFlagArgumentPosition(const char *flag, unsigned int i, unsigned int &position) const;
    MStatus getFlagArgumentList(const char *flag, unsigned int i, MArgList &args) const;
    MStatus getCommandArgument(unsigned int index, bool &result) const;
    MStatus getCommandArgument(unsigned int index, int &result) const;
    MStatus getCommandArgument(unsigned int index, double &result) const;
    MStatus getCommandArgument(unsigned int index, MString &result) const;
    MStatus getCommandArgument(unsigned int index, MDistance &result) const;
    MStatus getCommandArgument(unsigned int index, MAngle &result) const;
    MStatus getCommandArgument(unsigned int index, MTime &result) const;
    bool commandArgumentBool(unsigned int index, MStatus *ReturnStatus = nullptr) const;
    int commandArgumentInt(unsigned int index, MStatus *ReturnStatus = nullptr) const;
    double commandArgumentDouble(unsigned int index, MStatus *ReturnStatus = nullptr) const;
    MString commandArgumentString(unsigned int index, MStatus *ReturnStatus = nullptr) const;
    MStatus getObjects(MStringArray &result) const;

private:
    friend class ::kelphost::Access;
    MArgParser(const MArgParser &);
    MArgParser &operator=(const MArgParser &);
    ::kelphost::ArgParserData *fData;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
