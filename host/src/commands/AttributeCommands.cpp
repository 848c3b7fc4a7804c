// Built-in commands on attributes: setAttr, getAttr, connectAttr, disconnectAttr.
#include "BuiltinArgs.h"
#include "CommandHelpers.h"
#include "UndoRecorder.h"

#include <maya/MFnEnumAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>

namespace kelphost {

namespace {

enum class ValueKind { kInt, kDouble, kString, kOther };

ValueKind kindOf(const MPlug &plug) {
    MObject attr = plug.attribute();
    if (attr.hasFn(MFn::kEnumAttribute))
        return ValueKind::kInt;
    if (attr.hasFn(MFn::kNumericAttribute)) {
        MFnNumericAttribute fn(attr);
        switch (fn.unitType()) {
        case MFnNumericData::kBoolean:
        case MFnNumericData::kByte:
        case MFnNumericData::kChar:
        case MFnNumericData::kShort:
        case MFnNumericData::kInt:
        case MFnNumericData::kInt64:
            return ValueKind::kInt;
        case MFnNumericData::kFloat:
        case MFnNumericData::kDouble:
            return ValueKind::kDouble;
        default:
            return ValueKind::kOther;
        }
    }
    if (attr.hasFn(MFn::kUnitAttribute))
        return ValueKind::kDouble;
    if (attr.hasFn(MFn::kTypedAttribute)) {
        MFnTypedAttribute fn(attr);
        return fn.attrType() == MFnData::kString ? ValueKind::kString : ValueKind::kOther;
    }
    return ValueKind::kOther;
}

// The plugs a value goes to: the plug itself, or the children of a compound.
std::vector<MPlug> leaves(const MPlug &plug) {
    std::vector<MPlug> out;
    const unsigned int n = plug.isCompound() ? plug.numChildren() : 0;
    if (n == 0) {
        out.push_back(plug);
        return out;
    }
    for (unsigned int i = 0; i < n; ++i)
        out.push_back(plug.child(i));
    return out;
}

struct SavedValue {
    MPlug plug;
    bool isString;
    double number;
    MString text;
};

bool saveValue(const MPlug &plug, SavedValue &v) {
    v.plug = plug;
    v.isString = kindOf(plug) == ValueKind::kString;
    if (v.isString)
        return plug.getValue(v.text);
    return plug.getValue(v.number);
}

MStatus restoreValue(SavedValue &v) {
    return v.isString ? v.plug.setValue(v.text) : v.plug.setValue(v.number);
}

bool setAttrCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, {{"type", "type", 1}, {"k", "keyable", 1}, {"l", "lock", 1}}, a,
                          ctx.error))
        return false;
    if (a.positional.size() < 2) {
        ctx.error = "setAttr needs an attribute and a value";
        return false;
    }
    MPlug plug;
    if (!findPlugOrFail(ctx, a.positional[0], plug))
        return false;
    const std::string type = a.arg("type");
    std::vector<SavedValue> before, after;
    if (type == "string" || (type.empty() && kindOf(plug) == ValueKind::kString)) {
        if (kindOf(plug) != ValueKind::kString) {
            ctx.error =
                "Error while parsing arguments: " + a.positional[0] + " is not a string attribute";
            return false;
        }
        if (a.positional.size() != 2) {
            ctx.error = "setAttr -type \"string\" takes one value";
            return false;
        }
        SavedValue old;
        saveValue(plug, old);
        MStatus st = plug.setValue(MString(a.positional[1].c_str()));
        if (!st) {
            ctx.error = "The attribute '" + a.positional[0] +
                        "' is locked or connected and cannot be modified.";
            return false;
        }
        before.push_back(old);
        SavedValue now = old;
        now.text = MString(a.positional[1].c_str());
        after.push_back(now);
    } else {
        if (!type.empty() && type != "double" && type != "double2" && type != "double3" &&
            type != "float" && type != "float2" && type != "float3" && type != "long" &&
            type != "short" && type != "bool") {
            ctx.error = "Unsupported data type for setAttr: " + type;
            return false;
        }
        std::vector<MPlug> targets = leaves(plug);
        const size_t nValues = a.positional.size() - 1;
        if (nValues != targets.size()) {
            ctx.error = "setAttr " + a.positional[0] + " takes " + std::to_string(targets.size()) +
                        " value(s), " + std::to_string(nValues) + " given";
            return false;
        }
        for (size_t i = 0; i < targets.size(); ++i) {
            const ValueKind k = kindOf(targets[i]);
            if (k != ValueKind::kInt && k != ValueKind::kDouble) {
                ctx.error = "Cannot set " + plugName(targets[i]) + " from a number";
                return false;
            }
            double v = 0;
            bool b = false;
            if (!parseScriptDouble(a.positional[i + 1], v)) {
                if (!parseScriptBool(a.positional[i + 1], b)) {
                    ctx.error = "Invalid value for " + a.positional[0] + ": " + a.positional[i + 1];
                    return false;
                }
                v = b ? 1 : 0;
            }
            SavedValue old;
            saveValue(targets[i], old);
            MStatus st = targets[i].setValue(v);
            if (!st) {
                for (auto it = before.rbegin(); it != before.rend(); ++it)
                    restoreValue(*it);
                ctx.error = "The attribute '" + plugName(targets[i]) +
                            "' is locked or connected and cannot be modified.";
                return false;
            }
            before.push_back(old);
            SavedValue now = old;
            now.number = v;
            after.push_back(now);
        }
    }
    recordUndo(
        [before]() mutable {
            for (auto it = before.rbegin(); it != before.rend(); ++it)
                restoreValue(*it);
        },
        [after]() mutable {
            for (SavedValue &v : after)
                restoreValue(v);
        });
    return true;
}

bool appendValue(BuiltinContext &ctx, const MPlug &plug, CommandResult &r) {
    MStatus st;
    switch (kindOf(plug)) {
    case ValueKind::kInt: {
        const int v = plug.asInt(&st);
        if (st) {
            if (r.kind == CommandResult::kDouble)
                r.appendDouble(v);
            else
                r.appendInt(v);
        }
        break;
    }
    case ValueKind::kDouble: {
        const double v = plug.asDouble(&st);
        if (st) {
            if (r.kind == CommandResult::kInt) { // mixed compound: all doubles
                std::vector<double> prior = r.numbers;
                r.setDoubles(prior);
            }
            r.appendDouble(v);
        }
        break;
    }
    case ValueKind::kString: {
        MString s = plug.asString(&st);
        if (st)
            r.appendString(s.asChar());
        break;
    }
    default:
        ctx.error = "getAttr cannot show the data of " + plugName(plug);
        return false;
    }
    if (!st) {
        ctx.error = "Cannot read " + plugName(plug) + ": " + st.errorString().asChar();
        return false;
    }
    return true;
}

bool getAttrCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, {{"typ", "type", 0}}, a, ctx.error))
        return false;
    if (a.positional.size() != 1) {
        ctx.error = "getAttr takes one attribute";
        return false;
    }
    MPlug plug;
    if (!findPlugOrFail(ctx, a.positional[0], plug))
        return false;
    if (a.has("type")) {
        const char *name = "unknown";
        MObject attr = plug.attribute();
        if (plug.isCompound())
            name = "compound";
        else if (attr.hasFn(MFn::kEnumAttribute))
            name = "enum";
        else if (attr.hasFn(MFn::kUnitAttribute))
            name = "doubleLinear";
        else if (attr.hasFn(MFn::kNumericAttribute)) {
            MFnNumericAttribute fn(attr);
            switch (fn.unitType()) {
            case MFnNumericData::kBoolean:
                name = "bool";
                break;
            case MFnNumericData::kShort:
                name = "short";
                break;
            case MFnNumericData::kInt:
                name = "long";
                break;
            case MFnNumericData::kFloat:
                name = "float";
                break;
            case MFnNumericData::kDouble:
                name = "double";
                break;
            default:
                break;
            }
        } else if (attr.hasFn(MFn::kTypedAttribute)) {
            MFnTypedAttribute fn(attr);
            switch (fn.attrType()) {
            case MFnData::kString:
                name = "string";
                break;
            case MFnData::kMesh:
                name = "mesh";
                break;
            case MFnData::kDynArrayAttrs:
                name = "dynArrayAttrs";
                break;
            default:
                break;
            }
        }
        ctx.result.setString(name);
        return true;
    }
    if (plug.isArray()) {
        ctx.error = "getAttr needs an element of the array attribute " + a.positional[0];
        return false;
    }
    std::vector<MPlug> targets = leaves(plug);
    CommandResult r;
    for (const MPlug &p : targets)
        if (!appendValue(ctx, p, r))
            return false;
    if (targets.size() == 1 && r.size() == 1)
        r.array = false;
    ctx.result = r;
    return true;
}

bool connectAttrCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, {{"f", "force", 0}}, a, ctx.error))
        return false;
    if (a.positional.size() != 2) {
        ctx.error = "connectAttr takes a source and a destination attribute";
        return false;
    }
    MStatus st;
    MPlug src = scene::findPlug(MString(a.positional[0].c_str()), &st);
    if (!st || src.isNull()) {
        ctx.error = "The source attribute '" + a.positional[0] + "' cannot be found.";
        return false;
    }
    MPlug dst = scene::findPlug(MString(a.positional[1].c_str()), &st);
    if (!st || dst.isNull()) {
        ctx.error = "The destination attribute '" + a.positional[1] + "' cannot be found.";
        return false;
    }
    if (scene::isConnected(src, dst)) {
        ctx.error = "'" + plugName(src) + "' is already connected to '" + plugName(dst) + "'.";
        return false;
    }
    MPlug replaced;
    st = scene::connect(src, dst, a.has("force"), &replaced);
    if (!st) {
        MPlug existing = scene::sourceOf(dst);
        if (!existing.isNull())
            ctx.error = "'" + plugName(dst) + "' already has an incoming connection from '" +
                        plugName(existing) + "'.";
        else
            ctx.error = "The attribute '" + plugName(src) + "' cannot be connected to '" +
                        plugName(dst) + "'.";
        return false;
    }
    recordUndo(
        [src, dst, replaced]() {
            scene::disconnect(src, dst);
            if (!replaced.isNull())
                scene::connect(replaced, dst);
        },
        [src, dst]() { scene::connect(src, dst, true); });
    ctx.result.setString("Connected " + plugName(src) + " to " + plugName(dst) + ".");
    return true;
}

bool disconnectAttrCommand(BuiltinContext &ctx) {
    BuiltinArgs a;
    if (!parseBuiltinArgs(ctx.args, {}, a, ctx.error))
        return false;
    if (a.positional.size() != 2) {
        ctx.error = "disconnectAttr takes a source and a destination attribute";
        return false;
    }
    MPlug src, dst;
    if (!findPlugOrFail(ctx, a.positional[0], src) || !findPlugOrFail(ctx, a.positional[1], dst))
        return false;
    if (!scene::isConnected(src, dst)) {
        ctx.error = "There is no connection from '" + plugName(src) + "' to '" + plugName(dst) +
                    "' to disconnect.";
        return false;
    }
    MStatus st = scene::disconnect(src, dst);
    if (!st) {
        ctx.error = std::string("Cannot disconnect: ") + st.errorString().asChar();
        return false;
    }
    recordUndo([src, dst]() { scene::connect(src, dst); },
               [src, dst]() { scene::disconnect(src, dst); });
    ctx.result.setString("Disconnect " + plugName(src) + " from " + plugName(dst) + ".");
    return true;
}

} // namespace

void registerAttributeCommands(Interpreter &in) {
    in.addBuiltin("setAttr", setAttrCommand);
    in.addBuiltin("getAttr", getAttrCommand);
    in.addBuiltin("connectAttr", connectAttrCommand);
    in.addBuiltin("disconnectAttr", disconnectAttrCommand);
}

} // namespace kelphost
