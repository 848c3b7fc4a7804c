#include <maya/MString.h>
#include <maya/MStringArray.h>
void f(MStringArray &a) {
    MString("a.b").split(46, a);
} // ambiguous: char or wchar_t
