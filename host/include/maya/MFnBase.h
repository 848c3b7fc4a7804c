#ifndef _MFnBase
#define _MFnBase
// Base of every function set. Function sets cannot be copied, assigned, or
// have their address taken: pass them by reference and keep them on the stack.
#include <maya/MTypes.h>
#include <maya/MFn.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

#define declareMinimalMFn(MFnClass)                                                                \
public:                                                                                            \
    virtual MFn::Type type() const override;                                                       \
    virtual ~MFnClass();                                                                           \
    static const char *className();                                                                \
                                                                                                   \
private:                                                                                           \
    MFnClass(const MFnClass &);                                                                    \
    MFnClass &operator=(const MFnClass &);                                                         \
    MFnClass *operator&() const

#define declareMFn(MFnClass, MFnParentClass)                                                       \
    declareMinimalMFn(MFnClass);                                                                   \
                                                                                                   \
public:                                                                                            \
    MFnClass() {}                                                                                  \
    MFnClass(MObject &object, MStatus *ReturnStatus = nullptr)

#define declareMFnConstConstructor(MFnClass, MFnParentClass)                                       \
    MFnClass(const MObject &object, MStatus *ReturnStatus = nullptr)

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MDagPath;

class OPENMAYA_EXPORT MFnBase {
public:
    MFnBase();
    virtual ~MFnBase();
    virtual MFn::Type type() const;
    bool hasObj(MFn::Type) const;
    bool hasObj(const MObject &) const;
    MObject object(MStatus *ReturnStatus = nullptr) const;
    virtual MStatus setObject(MObject &object);
    virtual MStatus setObject(const MObject &object);
    static const char *className();

private:
    friend class ::kelphost::Access;
    MFnBase(const MFnBase &);
    MFnBase &operator=(const MFnBase &);
    MFnBase *operator&() const;
    MObject fObject;
    MDagPath *fPath; // set when attached through a DAG path
};

OPENMAYA_NAMESPACE_CLOSE

#endif
