#include "Slot.h"

#include "Attribute.h"

namespace kelphost {
namespace {

int componentsOf(Field f) {
    switch (f) {
    case Field::Short2:
    case Field::Int2:
    case Field::Float2:
    case Field::Double2:
        return 2;
    case Field::Short3:
    case Field::Int3:
    case Field::Float3:
    case Field::Double3:
    case Field::Vector:
    case Field::FloatVector:
        return 3;
    case Field::Double4:
        return 4;
    default:
        return 1;
    }
}

template <class T> T clampTo(double v) {
    return static_cast<T>(v);
}

} // namespace

Field canonicalField(const Attribute &a) {
    switch (a.kind) {
    case AttrKind::Enum:
        return Field::Short;
    case AttrKind::Unit:
        return Field::Double;
    case AttrKind::Matrix:
        return Field::Matrix;
    case AttrKind::Message:
        return Field::None;
    case AttrKind::Typed:
        if (a.dataType == MFnData::kString)
            return Field::String;
        if (a.dataType == MFnData::kMatrix)
            return Field::Matrix;
        return Field::Data;
    case AttrKind::Compound:
    case AttrKind::Numeric:
        switch (a.numericType) {
        case MFnNumericData::kBoolean:
            return Field::Bool;
        case MFnNumericData::kByte:
            return Field::UChar;
        case MFnNumericData::kChar:
            return Field::Char;
        case MFnNumericData::kShort:
            return Field::Short;
        case MFnNumericData::k2Short:
            return Field::Short2;
        case MFnNumericData::k3Short:
            return Field::Short3;
        case MFnNumericData::kLong:
            return Field::Int;
        case MFnNumericData::k2Long:
            return Field::Int2;
        case MFnNumericData::k3Long:
            return Field::Int3;
        case MFnNumericData::kInt64:
            return Field::Int64;
        case MFnNumericData::kFloat:
            return Field::Float;
        case MFnNumericData::k2Float:
            return Field::Float2;
        case MFnNumericData::k3Float:
            return Field::Float3;
        case MFnNumericData::kDouble:
            return Field::Double;
        case MFnNumericData::k2Double:
            return Field::Double2;
        case MFnNumericData::k3Double:
            return Field::Double3;
        case MFnNumericData::k4Double:
            return Field::Double4;
        case MFnNumericData::kAddr:
            return Field::Addr;
        default:
            return Field::Double;
        }
    }
    return Field::None;
}

Slot::Slot(const Attribute *attribute) : attr(attribute) {
    setDefault();
}

void Slot::setDefault() {
    if (!attr)
        return;
    canonical = canonicalField(*attr);
    authority = canonical;
    if (attr->kind == AttrKind::Typed) {
        data = MObject();
        str.clear();
        matrix.setToIdentity();
        if (!attr->defaultData.isNull()) {
            if (canonical == Field::String || canonical == Field::Matrix) {
                // filled by the owner from the default data (see Node::defaultInto)
            } else {
                data = attr->defaultData;
            }
        }
        return;
    }
    if (numeric())
        set(attr->defaults, attr->components());
}

bool Slot::numeric() const {
    switch (canonical) {
    case Field::None:
    case Field::String:
    case Field::Matrix:
    case Field::FloatMatrix:
    case Field::Data:
        return false;
    default:
        return true;
    }
}

int Slot::get(double out[4]) const {
    out[0] = out[1] = out[2] = out[3] = 0;
    switch (authority) {
    case Field::Bool:
        out[0] = b ? 1 : 0;
        return 1;
    case Field::Char:
        out[0] = c;
        return 1;
    case Field::UChar:
        out[0] = uc;
        return 1;
    case Field::Short:
        out[0] = s;
        return 1;
    case Field::Int:
        out[0] = i;
        return 1;
    case Field::Int64:
        out[0] = static_cast<double>(l);
        return 1;
    case Field::Float:
        out[0] = f;
        return 1;
    case Field::Double:
        out[0] = d;
        return 1;
    case Field::Addr:
        out[0] = 0;
        return 1;
    case Field::Short2:
        out[0] = s2[0];
        out[1] = s2[1];
        return 2;
    case Field::Int2:
        out[0] = i2[0];
        out[1] = i2[1];
        return 2;
    case Field::Float2:
        out[0] = f2[0];
        out[1] = f2[1];
        return 2;
    case Field::Double2:
        out[0] = d2[0];
        out[1] = d2[1];
        return 2;
    case Field::Short3:
        for (int k = 0; k < 3; ++k)
            out[k] = s3[k];
        return 3;
    case Field::Int3:
        for (int k = 0; k < 3; ++k)
            out[k] = i3[k];
        return 3;
    case Field::Float3:
        for (int k = 0; k < 3; ++k)
            out[k] = f3[k];
        return 3;
    case Field::Double3:
        for (int k = 0; k < 3; ++k)
            out[k] = d3[k];
        return 3;
    case Field::Double4:
        for (int k = 0; k < 4; ++k)
            out[k] = d4[k];
        return 4;
    case Field::Vector:
        out[0] = vec.x;
        out[1] = vec.y;
        out[2] = vec.z;
        return 3;
    case Field::FloatVector:
        out[0] = fvec.x;
        out[1] = fvec.y;
        out[2] = fvec.z;
        return 3;
    case Field::String:
        out[0] = str.isDouble() ? str.asDouble() : 0;
        return 1;
    default:
        return 0;
    }
}

namespace {

void store(Slot &sl, Field f, const double *v) {
    switch (f) {
    case Field::Bool:
        sl.b = v[0] != 0;
        break;
    case Field::Char:
        sl.c = clampTo<char>(v[0]);
        break;
    case Field::UChar:
        sl.uc = clampTo<unsigned char>(v[0]);
        break;
    case Field::Short:
        sl.s = clampTo<short>(v[0]);
        break;
    case Field::Int:
        sl.i = clampTo<int>(v[0]);
        break;
    case Field::Int64:
        sl.l = clampTo<long long>(v[0]);
        break;
    case Field::Float:
        sl.f = static_cast<float>(v[0]);
        break;
    case Field::Double:
        sl.d = v[0];
        break;
    case Field::Short2:
        for (int k = 0; k < 2; ++k)
            sl.s2[k] = clampTo<short>(v[k]);
        break;
    case Field::Int2:
        for (int k = 0; k < 2; ++k)
            sl.i2[k] = clampTo<int>(v[k]);
        break;
    case Field::Float2:
        for (int k = 0; k < 2; ++k)
            sl.f2[k] = static_cast<float>(v[k]);
        break;
    case Field::Double2:
        for (int k = 0; k < 2; ++k)
            sl.d2[k] = v[k];
        break;
    case Field::Short3:
        for (int k = 0; k < 3; ++k)
            sl.s3[k] = clampTo<short>(v[k]);
        break;
    case Field::Int3:
        for (int k = 0; k < 3; ++k)
            sl.i3[k] = clampTo<int>(v[k]);
        break;
    case Field::Float3:
        for (int k = 0; k < 3; ++k)
            sl.f3[k] = static_cast<float>(v[k]);
        break;
    case Field::Double3:
        for (int k = 0; k < 3; ++k)
            sl.d3[k] = v[k];
        break;
    case Field::Double4:
        for (int k = 0; k < 4; ++k)
            sl.d4[k] = v[k];
        break;
    case Field::Vector:
        sl.vec = MVector(v[0], v[1], v[2]);
        break;
    case Field::FloatVector:
        sl.fvec = MFloatVector(static_cast<float>(v[0]), static_cast<float>(v[1]),
                               static_cast<float>(v[2]));
        break;
    case Field::String:
        sl.str = v[0];
        break;
    default:
        break;
    }
}

} // namespace

void Slot::set(const double *in, int n) {
    double v[4] = {0, 0, 0, 0};
    for (int k = 0; k < n && k < 4; ++k)
        v[k] = in[k];
    store(*this, canonical, v);
    authority = canonical;
}

void Slot::moveTo(Field target) {
    if (target == authority)
        return;
    double v[4];
    get(v);
    store(*this, target, v);
    authority = target;
}

void Slot::assign(const Slot &o) {
    if (numeric() && o.numeric()) {
        double v[4];
        int n = o.get(v);
        (void)n;
        set(v, componentsOf(canonical));
        return;
    }
    switch (canonical) {
    case Field::String:
        if (o.canonical == Field::String)
            str = o.str;
        break;
    case Field::Matrix:
        if (o.canonical == Field::Matrix)
            matrix = o.matrix;
        break;
    case Field::Data:
        if (o.canonical == Field::Data)
            data = o.data;
        break;
    default:
        break;
    }
}

} // namespace kelphost
