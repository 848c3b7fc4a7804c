// The geometry detail: construction, polygon id storage, attribute lookup and
// the builders used by the mesh export.
#include <Kelp>

#include <algorithm>
#include <cstring>
#include <utility>

// ---- PolygonIds ------------------------------------------------------------

PolygonIds::PolygonIds(const PolygonIds &other) : PolygonIds() {
    reserve(other.m_size);
    if (other.m_size)
        std::memcpy(data(), other.data(), other.m_size * sizeof(std::uint32_t));
    m_size = other.m_size;
}

PolygonIds::PolygonIds(PolygonIds &&other) noexcept
    : m_size(other.m_size), m_capacity(other.m_capacity), m_heap(other.m_heap) {
    if (!m_heap)
        std::memcpy(m_inline, other.m_inline, sizeof(m_inline));
    other.m_heap = nullptr;
    other.m_size = 0;
    other.m_capacity = kInline;
}

PolygonIds &PolygonIds::operator=(const PolygonIds &other) {
    if (this != &other) {
        m_size = 0;
        reserve(other.m_size);
        if (other.m_size)
            std::memcpy(data(), other.data(), other.m_size * sizeof(std::uint32_t));
        m_size = other.m_size;
    }
    return *this;
}

PolygonIds &PolygonIds::operator=(PolygonIds &&other) noexcept {
    if (this != &other) {
        delete[] m_heap;
        m_size = other.m_size;
        m_capacity = other.m_capacity;
        m_heap = other.m_heap;
        if (!m_heap)
            std::memcpy(m_inline, other.m_inline, sizeof(m_inline));
        other.m_heap = nullptr;
        other.m_size = 0;
        other.m_capacity = kInline;
    }
    return *this;
}

void PolygonIds::reserve(std::size_t n) {
    if (n <= m_capacity)
        return;
    std::size_t grown = std::max<std::size_t>(n, 2 * static_cast<std::size_t>(m_capacity));
    std::uint32_t *fresh = new std::uint32_t[grown];
    if (m_size)
        std::memcpy(fresh, data(), m_size * sizeof(std::uint32_t));
    delete[] m_heap;
    m_heap = fresh;
    m_capacity = static_cast<std::uint32_t>(grown);
}

void PolygonIds::push_back(std::uint32_t id) {
    if (m_size == m_capacity)
        reserve(static_cast<std::size_t>(m_size) + 1);
    data()[m_size++] = id;
}

void PolygonIds::resize(std::size_t n) {
    reserve(n);
    m_size = static_cast<std::uint32_t>(n);
}

bool PolygonIds::operator==(const PolygonIds &other) const {
    return m_size == other.m_size && std::equal(begin(), end(), other.begin());
}

// ---- Kelp ------------------------------------------------------------------

Kelp::Kelp()
    : tempInt(0), tempFloat(0), tempChar(0), tempPolyV('<'), tempHeader(0), numberOfPoints(0),
      numberOfPrimitives(0), numberOfPointGroups(0), numberOfPrimitiveGroups(0),
      numberOfPointAttributes(0), numberOfVertexAttributes(0), numberOfPrimitiveAttributes(0),
      numberOfAttributes(0), varMapping(0), numberOfVertices(0), numberOfPolygons(0) {}

using namespace kelp;

namespace {

// Index of the last record named attr, or -1.
std::int32_t lastNamed(const std::vector<AttributeData> &records, const std::string &attr) {
    std::int32_t found = -1;
    for (std::size_t i = 0; i < records.size(); ++i)
        if (records[i].name == attr)
            found = static_cast<std::int32_t>(i);
    return found;
}

} // namespace

std::int32_t Kelp::attrExists(const std::string &attr, const std::string &type) const {
    if (type == "VERTEX")
        return lastNamed(vertexAttributes, attr);
    if (type == "POINT")
        return lastNamed(pointAttributes, attr);
    return -1;
}

std::int32_t Kelp::initialiseNew() {
    skippedPrimitives = SkippedPrimitives();
    numberOfPoints = 0;
    numberOfPrimitives = 0;
    numberOfPointGroups = 0;
    numberOfPrimitiveGroups = 0;
    numberOfPointAttributes = 0;
    numberOfVertexAttributes = 0;
    numberOfPrimitiveAttributes = 0;
    numberOfAttributes = 0;
    numberOfPolygons = 0;
    varMapping = 0;
    tempChar = static_cast<char>(0xFF);
    tempFloat = 0;
    tempPolyV = '<';
    tempHeader = 5;
    return 1;
}

std::int32_t Kelp::init() {
    return 1;
}

std::int32_t Kelp::createPointVectorAttr(const std::string &attr) {
    if (lastNamed(pointAttributes, attr) >= 0)
        return 1;
    AttributeData record;
    record.name = attr;
    record.type = 5;
    if (attr == "P") {
        record.size = 4;
    } else {
        record.size = 3;
        record.vector_default = Imath::Vec3<float>(0.0f, 0.0f, 0.0f);
        ++numberOfPointAttributes;
    }
    pointAttributes.push_back(std::move(record));
    return 1;
}

std::int32_t Kelp::setPointAttrVectorValue(const std::string &attr,
                                           const Imath::Vec3<float> &value) {
    std::int32_t index = lastNamed(pointAttributes, attr);
    if (index < 0) {
        createPointVectorAttr(attr);
        index = attr == "P" ? 0 : static_cast<std::int32_t>(pointAttributes.size()) - 1;
    }
    std::vector<Imath::Vec3<float>> &values = pointAttributes[index].vector_data;
    values.push_back(value);
    numberOfPoints = static_cast<std::uint32_t>(values.size());
    return 1;
}

std::int32_t Kelp::setVertexAttrVectorValue(const std::string &attr,
                                            const Imath::Vec3<float> &value, int asFloat3) {
    std::int32_t index = lastNamed(vertexAttributes, attr);
    if (index < 0) {
        AttributeData record;
        record.name = attr;
        record.size = 3;
        record.type = asFloat3 ? 0 : 5;
        record.vector_default = Imath::Vec3<float>(0.0f, 0.0f, 0.0f);
        vertexAttributes.push_back(std::move(record));
        ++numberOfVertexAttributes;
        index = static_cast<std::int32_t>(vertexAttributes.size()) - 1;
    }
    vertexAttributes[index].vector_data.push_back(value);
    return 1;
}

std::int32_t Kelp::setVertexAttrFloatValue(const std::string &attr, float value) {
    std::int32_t index = lastNamed(vertexAttributes, attr);
    if (index < 0) {
        AttributeData record;
        record.name = attr;
        record.size = 1;
        record.type = 0;
        vertexAttributes.push_back(std::move(record));
        ++numberOfVertexAttributes;
        index = static_cast<std::int32_t>(vertexAttributes.size()) - 1;
    }
    vertexAttributes[index].float_data.push_back(value);
    return 1;
}

std::int32_t Kelp::setPolyVertexIdValue(std::uint32_t poly, std::uint32_t vertex) {
    if (polygons.size() < static_cast<std::size_t>(poly) + 1) {
        polygons.emplace_back();
        ++numberOfPrimitives;
        tempInt = 1;
    }
    // Callers fill polygons in order; an index beyond the next one lands on the
    // last polygon rather than outside the sequence.
    PolygonData &polygon = poly < polygons.size() ? polygons[poly] : polygons.back();
    polygon.ids.push_back(vertex);
    ++polygon.numberOfVertices;
    return 1;
}
