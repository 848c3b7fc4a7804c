#include "bridge/Listing.h"

void appendXyzLine(MString &text, double x, double y, double z) {
    text += " (x: ";
    text += x;
    text += ", y: ";
    text += y;
    text += ", z: ";
    text += z;
    text += ")\n";
}

void appendVertexLine(MString &text, unsigned int index, double x, double y, double z) {
    text += "  Vertex: ";
    text += static_cast<double>(index);
    appendXyzLine(text, x, y, z);
}
