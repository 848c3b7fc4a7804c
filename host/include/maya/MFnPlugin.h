#ifndef _MFnPlugin
#define _MFnPlugin
// Plug-in registration. Include in exactly one file of a plug-in (it defines
// MApiVersion unless MNoVersionString is defined). The entry points a plug-in
// defines have C++ linkage and take the plug-in object by value:
//     PLUGIN_EXPORT MStatus initializePlugin(MObject obj);
//     PLUGIN_EXPORT MStatus uninitializePlugin(MObject obj);
#include <maya/MTypes.h>
#include <maya/MApiVersion.h>
#include <maya/MFnBase.h>
#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MTypeId.h>

#define PLUGIN_COMPANY "Autodesk"

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFnPlugin : public MFnBase {
public:
    MFnPlugin();
    MFnPlugin(MObject &object, const char *vendor = "Unknown", const char *version = "Unknown",
              const char *requiredApiVersion = "Any", MStatus *ReturnStatus = nullptr);
    virtual ~MFnPlugin();
    virtual MFn::Type type() const override;

    MString vendor(MStatus *ReturnStatus = nullptr) const;
    MString version(MStatus *ReturnStatus = nullptr) const;
    MString apiVersion(MStatus *ReturnStatus = nullptr) const;
    MString name(MStatus *ReturnStatus = nullptr) const;
    MString loadPath(MStatus *ReturnStatus = nullptr) const;
    MStatus setName(const MString &newName, bool allowRename = true);
    MStatus setVersion(const MString &newVersion);

    MStatus registerCommand(const MString &commandName, MCreatorFunction creatorFunction,
                            MCreateSyntaxFunction createSyntaxFunction = nullptr);
    MStatus deregisterCommand(const MString &commandName);
    MStatus registerNode(const MString &typeName, const MTypeId &typeId,
                         MCreatorFunction creatorFunction, MInitializeFunction initFunction,
                         MPxNode::Type type = MPxNode::kDependNode,
                         const MString *classification = nullptr);
    MStatus deregisterNode(const MTypeId &typeId);
    MStatus registerUI(const MString &creationProc, const MString &deletionProc,
                       const MString &creationBatchProc = "",
                       const MString &deletionBatchProc = "");

    static MObject findPlugin(const MString &pluginName);
    static bool isNodeRegistered(const MString &typeName);

private:
    friend class ::kelphost::Access;
    MFnPlugin(const MObject &object, const char *vendor = "Unknown",
              const char *version = "Unknown", const char *requiredApiVersion = "Any",
              MStatus *ReturnStatus = nullptr);
    MFnPlugin(const MFnPlugin &);
    MFnPlugin &operator=(const MFnPlugin &);
    MFnPlugin *operator&() const;
    MFnPlugin *operator&();
};

OPENMAYA_NAMESPACE_CLOSE

#endif
