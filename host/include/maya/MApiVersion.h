#ifndef _MApiVersion
#define _MApiVersion
// Defines the exported version text a plug-in carries. Include it (through
// MFnPlugin.h) in exactly one file of a plug-in; the others define
// MNoVersionString first, or the link fails on a duplicate MApiVersion.
#include <maya/MTypes.h>

#ifndef MNoVersionString
#define MAYA_API_VERSION_STR_(x) #x
#define MAYA_API_VERSION_STR(x) MAYA_API_VERSION_STR_(x)
extern "C" {
PLUGIN_EXPORT char MApiVersion[] = MAYA_API_VERSION_STR(MAYA_API_VERSION);
}
#endif

#endif
