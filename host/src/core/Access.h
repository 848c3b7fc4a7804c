#ifndef KELPHOST_ACCESS_H
#define KELPHOST_ACCESS_H
// The one friend of the interface classes: lets the stand-in's own code reach
// their private members. Internal only.
#include <maya/MDagPath.h>
#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MArrayDataHandle.h>
#include <maya/MFnBase.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include "Object.h"

#include <string>
#include <vector>

namespace kelphost {

// What the private array constructor X(void*) receives: a view on storage
// owned by `keep` (or, with keep null, an owned vector handed over).
struct ArrayInit {
    void *vec;
    Object *keep;
};

class Access {
public:
    // MObject
    static Object *get(const MObject &o) { return o.ptr; }
    template <class T> static T *as(const MObject &o) { return dynamic_cast<T *>(o.ptr); }
    static MObject wrap(Object *p) {
        MObject o;
        o.ptr = p;
        if (p)
            p->ref();
        return o;
    }
    // MStatus
    static MStatus status(MStatus::MStatusCode code, unsigned char internal) {
        MStatus s(code);
        s.fInternalStatusCode = internal;
        return s;
    }
    static unsigned char internalCode(const MStatus &s) { return s.fInternalStatusCode; }
    // MString
    static std::string &str(MString &s) { return *static_cast<std::string *>(s.fImpl); }
    static const std::string &str(const MString &s) {
        return *static_cast<const std::string *>(s.fImpl);
    }
    // arrays
    template <class A, class V> static V *vec(A &a) { return static_cast<V *>(a.arr); }
    template <class A, class V> static const V *vec(const A &a) {
        return static_cast<const V *>(a.arr);
    }
    template <class A> static A view(void *vec, Object *keep) {
        ArrayInit init{vec, keep};
        return A(static_cast<void *>(&init));
    }
    // function sets
    static const MObject &fnObject(const MFnBase &fn) { return fn.fObject; }
    static MObject &fnObject(MFnBase &fn) { return fn.fObject; }
    static MDagPath *&fnPath(MFnBase &fn) { return fn.fPath; }
    static const MDagPath *fnPath(const MFnBase &fn) { return fn.fPath; }
    // DAG paths
    static std::vector<MObject> &nodes(MDagPath &p) {
        return *static_cast<std::vector<MObject> *>(p.fNodes);
    }
    static const std::vector<MObject> &nodes(const MDagPath &p) {
        return *static_cast<const std::vector<MObject> *>(p.fNodes);
    }
    // plugs
    static const MObject &plugNode(const MPlug &p) { return p.fNode; }
    static const MObject &plugAttr(const MPlug &p) { return p.fAttr; }
    static int plugIndex(const MPlug &p) { return p.fIndex; }
    static MPlug plug(const MObject &node, const MObject &attr, int index) {
        MPlug p(node, attr);
        p.fIndex = index;
        return p;
    }
    // nodes
    static Object *&nodeOf(MPxNode &n) { return n.instance; }
    static Object *nodeOf(const MPxNode &n) { return n.instance; }
    // evaluation
    static MDataBlock block(Object *node) { return MDataBlock(static_cast<void *>(node)); }
    static MDataHandle handle(Slot *slot, Object *node, Object *attr) {
        MDataHandle h;
        h.fSlot = slot;
        h.fNode = node;
        h.fAttr = attr;
        return h;
    }
    static Slot *slot(const MDataHandle &h) { return h.fSlot; }
    static Object *handleNode(const MDataHandle &h) { return h.fNode; }
    static Object *handleAttr(const MDataHandle &h) { return h.fAttr; }
    static Object *blockNode(const MDataBlock &b) { return b.fNode; }
    static MArrayDataHandle arrayHandle(Object *node, Object *attr, bool input) {
        MArrayDataHandle h;
        h.fNode = node;
        h.fAttr = attr;
        h.fPosition = 0;
        h.fInput = input;
        return h;
    }
};

} // namespace kelphost

#endif
