PGEOMETRY V5
NPoints 3 NPrims 1
NPointGroups 0 NPrimGroups 0
NPointAttrib 1 NVertexAttrib 0 NPrimAttrib 0 NAttrib 0
PointAttrib
N 3 vector 0 0 0
0 0 0 1 (0 0 1)
1 0 0 1 (0 0 1)
0 1 0 1 (0 0 1)
Run 1 Poly
 3 < 0 1 2
beginExtra
endExtra
