#ifndef _MArgDatabase
#define _MArgDatabase
// MArgParser that also turns arguments into selection lists (command side).
#include <maya/MArgParser.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MSelectionList;

class OPENMAYA_EXPORT MArgDatabase : public MArgParser {
public:
    MArgDatabase();
    MArgDatabase(const MSyntax &syntax, const MArgList &argList, MStatus *ReturnStatus = nullptr);
    virtual ~MArgDatabase();
    MStatus getFlagArgument(const char *flag, unsigned int index, MSelectionList &result) const;
    MStatus getFlagArgument(const char *flag, unsigned int index, bool &result) const;
    MStatus getFlagArgument(const char *flag, unsigned int index, int &result) const;
    MStatus getFlagArgument(const char *flag, unsigned int index, double &result) const;
    MStatus getFlagArgument(const char *flag, unsigned int index, MString &result) const;
    MStatus getFlagArgument(const char *flag, unsigned int index, unsigned int &result) const;
    MStatus getFlagArgument(const char *flag, unsigned int index, MDistance &result) const;
    MStatus getFlagArgument(const char *flag, unsigned int index, MAngle &result) const;
    MStatus getFlagArgument(const char *flag, unsigned int index, MTime &result) const;
    MStatus getCommandArgument(unsigned int index, MSelectionList &result) const;
    MStatus getCommandArgument(unsigned int index, bool &result) const;
    MStatus getCommandArgument(unsigned int index, int &result) const;
    MStatus getCommandArgument(unsigned int index, double &result) const;
    MStatus getCommandArgument(unsigned int index, MString &result) const;
    MStatus getCommandArgument(unsigned int index, MDistance &result) const;
    MStatus getCommandArgument(unsigned int index, MAngle &result) const;
    MStatus getCommandArgument(unsigned int index, MTime &result) const;
    MStatus getObjects(MSelectionList &result) const;
    MStatus getObjects(MStringArray &result) const;

private:
    MArgDatabase(const MArgDatabase &);
    MArgDatabase &operator=(const MArgDatabase &);
};

OPENMAYA_NAMESPACE_CLOSE

#endif
