#ifndef _MItSelectionList
#define _MItSelectionList
// Iterator over a copy of a selection list, optionally filtered by type; with
// a filter, the shapes below a selected transform are visited (command side).
#include <maya/MTypes.h>
#include <maya/MFn.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MDagPath;
class MPlug;
class MSelectionList;

class OPENMAYA_EXPORT MItSelectionList {
public:
    enum selItemType {
        kUnknownItem = -1,
        kDagSelectionItem,
        kAnimSelectionItem,
        kDNselectionItem,
        kPlugSelectionItem
    };
    MItSelectionList(const MSelectionList &list, MFn::Type = MFn::kInvalid,
                     MStatus *ReturnStatus = nullptr);
    virtual ~MItSelectionList();
    bool isDone(MStatus *ReturnStatus = nullptr);
    MStatus next();
    MStatus reset();
    MStatus getDependNode(MObject &depNode);
    MStatus getDagPath(MDagPath &dagPath, MObject &component);
    MStatus getDagPath(MDagPath &dagPath);
    MStatus getPlug(MPlug &plug);
    MStatus getStrings(MStringArray &array);
    MStatus setFilter(MFn::Type filter);
    selItemType itemType(MStatus *ReturnStatus = nullptr);
    bool hasComponents(MStatus *ReturnStatus = nullptr) const;

private:
    friend class ::kelphost::Access;
    MItSelectionList(const MItSelectionList &);
    MItSelectionList &operator=(const MItSelectionList &);
    ::kelphost::SelectionIterData *fData;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
