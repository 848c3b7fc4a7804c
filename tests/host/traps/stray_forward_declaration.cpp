class MObject; // plug-in code must not declare host classes itself
#include <maya/MObject.h>
void f(MObject &o) {
    (void)o;
}
