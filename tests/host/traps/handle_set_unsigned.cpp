#include <maya/MDataHandle.h>
void f(MDataHandle &h) {
    h.set(3u);
} // ambiguous
