// The classic text form of one triangle with point normals (0, 0, 1), byte
// for byte as the saver writes it: the saver's golden text, and a file the
// text loader must read.
#ifndef KELP_TESTS_TRIANGLETEXT_H
#define KELP_TESTS_TRIANGLETEXT_H

namespace kelptest {

inline const char *const kTriangleText = "PGEOMETRY V5\n"
                                         "NPoints 3 NPrims 1\n"
                                         "NPointGroups 0 NPrimGroups 0\n"
                                         "NPointAttrib 1 NVertexAttrib 0 NPrimAttrib 0 NAttrib 0\n"
                                         "PointAttrib\n"
                                         "N 3 vector 0 0 0\n"
                                         "0 0 0 1 (0 0 1)\n"
                                         "1 0 0 1 (0 0 1)\n"
                                         "0 1 0 1 (0 0 1)\n"
                                         "Run 1 Poly\n"
                                         " 3 < 0 1 2\n"
                                         "beginExtra\n"
                                         "endExtra\n";

} // namespace kelptest

#endif
