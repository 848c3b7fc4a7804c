// The "attributes" section: point and vertex attributes into model records,
// the primitive colours "Cd" (three reals) and "Alpha" (one real) into
// records of one value per primitive, the other primitive attributes and the
// global ones counted and read past.
//
// Kinds as the classic loader keeps them: integer storage as an integer
// (first component), string indices as an index attribute (type 4, first
// component, -1 for no string), real storage of three or more components as
// a vector of the first three, a single real as a float. A pair of reals
// (a two-component "uv", say) becomes a vector with z 0 for points as well
// as vertices, so that no component a user needs is lost. "P" is point
// attribute 0, a vector of size 4 as the model creates it.
#include "json/JsonDocument.h"

#include "io/HugePages.h"
#include "json/JsonFields.h"
#include "json/ValuesBlock.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <string_view>

namespace kelp {

namespace {

static_assert(sizeof(Imath::Vec3<float>) == 3 * sizeof(float), "Vec3<float> is three floats");

enum class Owner { Vertex, Point, Primitive, Global };

const char *ownerName(Owner owner) {
    switch (owner) {
    case Owner::Vertex:
        return "vertex";
    case Owner::Point:
        return "point";
    case Owner::Primitive:
        return "primitive";
    default:
        return "global";
    }
}

// The primitive attributes kept: those that colour the mesh, of the one kind
// each is written as. The others, and these of another kind, are read past.
bool keptPrimitiveKind(std::string_view name, int tupleSize, bool realStorage) {
    return realStorage && ((name == "Cd" && tupleSize == 3) || (name == "Alpha" && tupleSize == 1));
}

struct Definition {
    std::string_view type;
    std::string_view name;
    bool haveName = false;
};

bool readDefinition(TokenReader &reader, Definition &def) {
    const bool ok = readObject(reader, "attribute definition", [&](std::string_view key) {
        if (key == "type")
            return readString(reader, def.type, "type");
        if (key == "name")
            return def.haveName = readString(reader, def.name, "name");
        return reader.skipValue();
    });
    if (!ok)
        return false;
    if (!def.haveName)
        return reader.fail("attribute without a name");
    return true;
}

// The "defaults" block: ["size",1,"storage","fpreal64","values",[0]].
bool readDefaults(TokenReader &reader, std::vector<double> &values) {
    return readObject(reader, "defaults", [&](std::string_view key) {
        return key == "values" ? readNumberArray(reader, values, "defaults") : reader.skipValue();
    });
}

void applyDefaults(const std::vector<double> &values, AttributeData &record) {
    if (values.empty())
        return;
    auto value = [&](std::size_t c) { return values[std::min(c, values.size() - 1)]; };
    switch (record.type) {
    case 0:
        record.float_default = static_cast<float>(value(0));
        break;
    case 5:
        record.vector_default =
            Imath::Vec3<float>(static_cast<float>(value(0)), static_cast<float>(value(1)),
                               record.size == 2 ? 0.0f : static_cast<float>(value(2)));
        break;
    default:
        if (value(0) >= -2147483648.0 && value(0) <= 2147483647.0)
            record.int_default = static_cast<std::int32_t>(value(0));
        break;
    }
}

// Chooses the record's kind and sizes its values once the tuple size and
// storage are known.
bool prepareRecord(TokenReader &reader, bool isPosition, bool isString, std::uint64_t elements,
                   int tupleSize, bool realStorage, AttributeData &record, ValueTarget &target) {
    const std::size_t n = static_cast<std::size_t>(elements);
    record.size = static_cast<std::int16_t>(tupleSize);
    if (isPosition) {
        if (tupleSize < 3)
            return reader.fail("\"P\" has " + std::to_string(tupleSize) + " components");
        record.size = 4;
        record.type = 5;
    } else if (isString) {
        record.type = 4;
    } else if (!realStorage) {
        record.type = 1;
    } else if (tupleSize >= 2) {
        record.type = 5;
    } else {
        record.type = 0;
    }
    // Sized once, on huge pages where they can be; the values block fills
    // them in place.
    switch (record.type) {
    case 5:
        reserveHuge(record.vector_data, n);
        if (tupleSize == 2)
            record.vector_data.assign(n, Imath::Vec3<float>(0.0f, 0.0f, 0.0f));
        else
            record.vector_data.resize(n);
        target.floats = n ? &record.vector_data[0].x : nullptr;
        target.width = 3;
        break;
    case 0:
        reserveHuge(record.float_data, n);
        record.float_data.resize(n);
        target.floats = record.float_data.data();
        target.width = 1;
        break;
    default:
        reserveHuge(record.int_data, n);
        record.int_data.resize(n);
        target.ints = record.int_data.data();
        target.width = 1;
        break;
    }
    return true;
}

// The body of a numeric or string attribute of points or vertices, or of a
// primitive colour. `stored` tells whether the record holds the attribute's
// values.
bool readBody(TokenReader &reader, Owner owner, const Definition &def, std::uint64_t elements,
              AttributeData &record, bool &stored) {
    const bool isString = def.type == "string";
    const bool isPosition = owner == Owner::Point && def.name == "P" && !isString;
    const std::string name(def.name);
    std::vector<double> defaults;
    std::uint64_t strings = 0;
    bool sawValues = false;
    stored = false;
    PrepareTarget prepare = [&](int tupleSize, bool realStorage, ValueTarget &target) {
        if (isString && realStorage)
            return reader.fail("string attribute \"" + name + "\" has real-valued indices");
        if (owner == Owner::Primitive && !keptPrimitiveKind(def.name, tupleSize, realStorage))
            return true; // read past
        stored = prepareRecord(reader, isPosition, isString, elements, tupleSize, realStorage,
                               record, target);
        return stored;
    };
    const bool ok = readObject(reader, "attribute", [&](std::string_view key) {
        if (key == "defaults")
            return readDefaults(reader, defaults);
        if (key == (isString ? "indices" : "values")) {
            sawValues = true;
            return readValuesBlock(reader, elements, prepare, name.c_str());
        }
        if (isString && key == "strings") {
            std::vector<std::string_view> table;
            const bool read = readStringArray(reader, table, "strings");
            strings = table.size();
            return read;
        }
        return reader.skipValue();
    });
    if (!ok)
        return false;
    if (!sawValues && elements > 0)
        return reader.fail(std::string(ownerName(owner)) + " attribute \"" + name +
                           "\" has no values");
    if (isString && stored) {
        for (std::int32_t index : record.int_data)
            if (index < -1 || static_cast<std::uint64_t>(std::int64_t{index} + 1) > strings)
                return reader.fail("string attribute \"" + name + "\" uses string " +
                                   std::to_string(index) + " of " + std::to_string(strings));
    }
    if (stored)
        applyDefaults(defaults, record);
    return true;
}

// A colour of the primitives: one value per primitive, sized only once the
// block is known to hold them, as for points.
bool readPrimitiveColour(TokenReader &reader, JsonDocument &doc, const Definition &def,
                         bool trace) {
    ++doc.primitiveAttributeCount;
    AttributeData record;
    record.name = std::string(def.name);
    bool stored = false;
    if (!readBody(reader, Owner::Primitive, def, doc.primitiveCount, record, stored))
        return false;
    if (trace)
        std::cerr << "primitive attribute " << record.name << " size " << record.size
                  << (stored ? " kept" : " read past, not a colour of its kind") << '\n';
    if (stored) // of two of one name, the last is used (as attrExists finds)
        doc.primitiveAttributes.push_back(std::move(record));
    return true;
}

// A numeric or string attribute of points or vertices.
bool readElementAttribute(TokenReader &reader, JsonDocument &doc, Owner owner,
                          const Definition &def, std::uint64_t elements, bool trace) {
    AttributeData record;
    record.name = std::string(def.name);
    bool stored = false;
    if (!readBody(reader, owner, def, elements, record, stored))
        return false;
    const bool isPosition = owner == Owner::Point && def.name == "P" && def.type == "numeric";
    if (trace)
        std::cerr << ownerName(owner) << " attribute " << record.name << " size " << record.size
                  << (stored ? " type " : " read past, unknown storage")
                  << (stored ? std::to_string(record.type) : std::string()) << '\n';
    if (isPosition) {
        if (doc.havePosition)
            return reader.fail("two \"P\" attributes");
        doc.position = std::move(record);
        doc.havePosition = stored;
    } else if (stored) {
        (owner == Owner::Point ? doc.pointAttributes : doc.vertexAttributes)
            .push_back(std::move(record));
    }
    return true;
}

// The body of one attribute of the list, after its definition.
bool readListedAttribute(TokenReader &reader, JsonDocument &doc, Owner owner, const Definition &def,
                         std::uint64_t elements, bool trace) {
    if (owner == Owner::Primitive && def.type == "numeric" &&
        (def.name == "Cd" || def.name == "Alpha") && doc.havePrimitiveCount)
        return readPrimitiveColour(reader, doc, def, trace);
    if (owner == Owner::Primitive || owner == Owner::Global) {
        ++(owner == Owner::Primitive ? doc.primitiveAttributeCount : doc.globalAttributeCount);
        // Primitive strings select the pieces of packed fragments.
        return owner == Owner::Primitive && def.type == "string"
                   ? readPrimitiveStrings(reader, doc, def.name)
                   : reader.skipValue();
    }
    if (def.type == "numeric" || def.type == "string")
        return readElementAttribute(reader, doc, owner, def, elements, trace);
    // Arrays per element, capture weights and other kinds the model cannot
    // hold.
    if (trace)
        std::cerr << ownerName(owner) << " attribute " << def.name << " of type " << def.type
                  << " read past\n";
    return reader.skipValue();
}

bool readAttributeList(TokenReader &reader, JsonDocument &doc, Owner owner, bool trace) {
    // Vertex values are sized by the vertices the topology holds: the
    // vertex count alone backs nothing, so vertex attributes must follow the
    // topology (as they do in every file Houdini writes).
    const std::uint64_t elements = owner == Owner::Vertex ? doc.topology.size() : doc.pointCount;
    ArrayReader list(reader, "attribute list");
    while (list.nextElement()) {
        if (owner == Owner::Vertex && doc.vertexCount > 0 && !doc.haveTopology)
            return reader.fail("vertex attributes before the topology");
        ArrayReader entry(reader, "attribute");
        Definition def;
        if (!entry.nextElement() || !readDefinition(reader, def))
            return reader.fail("attribute without a definition");
        if (!entry.nextElement())
            return reader.fail("attribute \"" + std::string(def.name) + "\" without a body");
        if (!readListedAttribute(reader, doc, owner, def, elements, trace))
            return false;
        if (entry.nextElement())
            return reader.fail("attribute \"" + std::string(def.name) +
                               "\" has more than a definition and a body");
        if (reader.failed())
            return false;
    }
    return !reader.failed();
}

} // namespace

bool readAttributes(TokenReader &reader, JsonDocument &doc, bool trace) {
    ObjectReader section(reader, "attributes");
    std::string_view key;
    while (section.nextKey(key)) {
        bool ok;
        if (key == "vertexattributes")
            ok = readAttributeList(reader, doc, Owner::Vertex, trace);
        else if (key == "pointattributes")
            ok = readAttributeList(reader, doc, Owner::Point, trace);
        else if (key == "primitiveattributes")
            ok = readAttributeList(reader, doc, Owner::Primitive, trace);
        else if (key == "globalattributes")
            ok = readAttributeList(reader, doc, Owner::Global, trace);
        else
            ok = reader.skipValue();
        if (!ok)
            return false;
    }
    return !reader.failed();
}

} // namespace kelp
