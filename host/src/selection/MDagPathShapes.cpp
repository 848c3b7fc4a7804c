// The selection side of MDagPath: shapes below a transform and instance numbers.
// Choice where the host's documentation is silent: extendToShape on a path that
// already ends at a shape succeeds and leaves the path as it is.
#include <maya/MDagPath.h>
#include <maya/MDagPathArray.h>
#include <maya/MFnDagNode.h>

#include <vector>

namespace {

// The shapes directly below the node at the end of `path`.
MStatus shapesBelow(const MDagPath &path, std::vector<MObject> &shapes) {
    MStatus st;
    MObject end = path.node(&st);
    if (!st)
        return st;
    if (!end.hasFn(MFn::kDagNode))
        return MS::kInvalidParameter;
    MFnDagNode fn(end);
    const unsigned int n = fn.childCount();
    for (unsigned int i = 0; i < n; ++i) {
        MObject c = fn.child(i);
        if (c.hasFn(MFn::kShape))
            shapes.push_back(c);
    }
    return MS::kSuccess;
}

} // namespace

MStatus MDagPath::extendToShape() {
    MStatus st;
    MObject end = node(&st);
    if (!st)
        return MS::kInvalidParameter;
    if (end.hasFn(MFn::kShape))
        return MS::kSuccess;
    if (!end.hasFn(MFn::kTransform))
        return MS::kInvalidParameter;
    std::vector<MObject> shapes;
    st = shapesBelow(*this, shapes);
    if (!st)
        return st;
    if (shapes.empty())
        return MS::kInvalidParameter;
    if (shapes.size() > 1)
        return MS::kFailure;
    return push(shapes[0]);
}

MStatus MDagPath::extendToShapeDirectlyBelow(unsigned int index) {
    std::vector<MObject> shapes;
    MStatus st = shapesBelow(*this, shapes);
    if (!st)
        return MS::kInvalidParameter;
    if (index >= shapes.size())
        return MS::kInvalidParameter;
    return push(shapes[index]);
}

MStatus MDagPath::numberOfShapesDirectlyBelow(unsigned int &count) const {
    std::vector<MObject> shapes;
    MStatus st = shapesBelow(*this, shapes);
    count = static_cast<unsigned int>(shapes.size());
    return st ? MStatus(MS::kSuccess) : MStatus(MS::kInvalidParameter);
}

bool MDagPath::isInstanced(MStatus *ReturnStatus) const {
    MStatus st;
    MObject end = node(&st);
    if (!st) {
        if (ReturnStatus)
            *ReturnStatus = MS::kInvalidParameter;
        return false;
    }
    MDagPathArray paths;
    st = MDagPath::getAllPathsTo(end, paths);
    if (ReturnStatus)
        *ReturnStatus = st;
    return st && paths.length() > 1;
}

unsigned int MDagPath::instanceNumber(MStatus *ReturnStatus) const {
    MStatus st;
    MObject end = node(&st);
    if (st) {
        MDagPathArray paths;
        st = MDagPath::getAllPathsTo(end, paths);
        if (st) {
            for (unsigned int i = 0; i < paths.length(); ++i) {
                if (paths[i] == *this) {
                    if (ReturnStatus)
                        *ReturnStatus = MS::kSuccess;
                    return i;
                }
            }
        }
    }
    if (ReturnStatus)
        *ReturnStatus = MS::kInvalidParameter;
    return 0;
}
