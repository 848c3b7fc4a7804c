#ifndef _MSelectionList
#define _MSelectionList
// A list of selected nodes, DAG paths and plugs (command side).
#include <maya/MTypes.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MDagPath;
class MPlug;

class OPENMAYA_EXPORT MSelectionList {
public:
    enum MergeStrategy { kMergeNormal = 0, kXORWithList, kRemoveFromList };
    MSelectionList();
    MSelectionList(const MSelectionList &src);
    virtual ~MSelectionList();
    MSelectionList &operator=(const MSelectionList &other);
    MStatus clear();
    bool isEmpty(MStatus *ReturnStatus = nullptr) const;
    unsigned int length(MStatus *ReturnStatus = nullptr) const;
    MStatus getDependNode(unsigned int index, MObject &depNode) const;
    MStatus getDagPath(unsigned int index, MDagPath &dagPath,
                       MObject &component = MObject::kNullObj) const;
    MStatus getPlug(unsigned int index, MPlug &plug) const;
    MStatus add(const MObject &object, const bool mergeWithExisting = false);
    MStatus add(const MDagPath &object, const MObject &component = MObject::kNullObj,
                const bool mergeWithExisting = false);
    MStatus add(const MString &matchString, const bool searchChildNamespacesToo = false);
    MStatus add(const MPlug &plug, const bool mergeWithExisting = false);
    MStatus remove(unsigned int index);
    MStatus merge(const MSelectionList &other, const MergeStrategy strategy = kMergeNormal);
    bool hasItem(const MObject &item, MStatus *ReturnStatus = nullptr) const;
    bool hasItem(const MDagPath &item, const MObject &component = MObject::kNullObj,
                 MStatus *ReturnStatus = nullptr) const;
    MStatus getSelectionStrings(MStringArray &array) const;
    MStatus getSelectionStrings(unsigned int index, MStringArray &array) const;

private:
    friend class ::kelphost::Access;
    ::kelphost::SelectionData *fData;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
