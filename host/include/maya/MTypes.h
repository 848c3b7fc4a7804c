#ifndef _MTypes
#define _MTypes
// Basic types, version and export macros of the stand-in host interface.
#include <cstddef>

// The Windows interface is the 2009 one.
#if defined(_WIN32)
#define MAYA_API_VERSION 200900
#define MAYA_APP_VERSION 2009
#else
#define MAYA_API_VERSION 201000
#define MAYA_APP_VERSION 2010
#endif

#if defined(_WIN32)
#define DLL_PUBLIC
// With MinGW the plug-in's module-definition file names its exports (the
// entry points under their bare names); elsewhere the linker is told.
#if defined(__MINGW32__)
#define PLUGIN_EXPORT
#else
#define PLUGIN_EXPORT __declspec(dllexport)
#endif
// The stand-in library exports its classes while it is being built.
#if defined(OpenMaya_EXPORTS)
#define OPENMAYA_EXPORT __declspec(dllexport)
#else
#define OPENMAYA_EXPORT __declspec(dllimport)
#endif
#define OPENMAYAUI_EXPORT OPENMAYA_EXPORT
#define OPENMAYAANIM_EXPORT OPENMAYA_EXPORT
#else
#define DLL_PUBLIC __attribute__((visibility("default")))
#define PLUGIN_EXPORT DLL_PUBLIC
#define OPENMAYA_EXPORT DLL_PUBLIC
#define OPENMAYAUI_EXPORT DLL_PUBLIC
#define OPENMAYAANIM_EXPORT DLL_PUBLIC
#endif

#define OPENMAYA_DEPRECATED(year, message) [[deprecated(message)]]

// Every class of the interface lives in a namespace of its own, brought into
// scope by a using-directive; plug-in code must include the headers (or
// <maya/MApiNamespace.h>) instead of writing its own forward declarations.
// Note: the entry points therefore mangle with the namespace, e.g.
// initializePlugin(MObject) is _Z16initializePluginN16OpenMayaStandIn17MObjectE.
#define OPENMAYA_MAJOR_NAMESPACE OpenMayaStandIn1
#define OPENMAYA_MAJOR_NAMESPACE_OPEN namespace OpenMayaStandIn1 {
#define OPENMAYA_NAMESPACE_CLOSE                                                                   \
    }                                                                                              \
    using namespace OpenMayaStandIn1;

// The stand-in's internals (not part of the interface): friend access only.
namespace kelphost {
class Access;
class Object;
struct Slot;
struct ArgListData;
struct SyntaxData;
struct ArgParserData;
struct SelectionData;
struct SelectionIterData;
struct ModifierData;
struct CommandData;
} // namespace kelphost

typedef long long MInt64;
typedef unsigned long long MUint64;
typedef short short2[2];
typedef short short3[3];
typedef int int2[2];
typedef int int3[3];
typedef float float2[2];
typedef float float3[3];
typedef double double2[2];
typedef double double3[3];
typedef double double4[4];

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MStatus;
class MSyntax;

class OPENMAYA_EXPORT MSpace {
public:
    enum Space {
        kInvalid = 0,
        kTransform = 1,
        kPreTransform = 2,
        kPostTransform = 3,
        kWorld = 4,
        kObject = kPreTransform,
        kLast = 5
    };
};

typedef void *(*MCreatorFunction)();
typedef MSyntax (*MCreateSyntaxFunction)();
typedef MStatus (*MInitializeFunction)();

OPENMAYA_NAMESPACE_CLOSE

#endif
