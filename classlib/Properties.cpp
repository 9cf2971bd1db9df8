// Published properties and the design-stream reader and writer.
#include "classlib/Properties.h"

#include <bit>
#include <cstring>
#include <limits>
#include <memory>
#include <typeindex>
#include <unordered_map>

namespace classlib {

PropertyType TypeOf(const PropertyValue& value) {
  // The variant's alternatives are listed in the order of PropertyType.
  return static_cast<PropertyType>(value.index());
}

const char* TypeName(PropertyType type) {
  switch (type) {
    case PropertyType::Integer: return "Integer";
    case PropertyType::Boolean: return "Boolean";
    case PropertyType::String: return "String";
    case PropertyType::Single: return "Single";
    case PropertyType::Unit: return "Unit";
    case PropertyType::Color: return "Color";
  }
  return "unknown";
}

void PropertyTable::Put(const std::string& name, PropertyType type,
                        std::function<void(Object&, const PropertyValue&)> set,
                        std::function<PropertyValue(Object&)> get) {
  properties_.insert_or_assign(name, Property{type, std::move(set), std::move(get)});
}

const PropertyTable::Property* PropertyTable::Find(std::string_view name) const {
  const auto it = properties_.find(name);
  return it == properties_.end() ? nullptr : &it->second;
}

const PropertyTable& PropertiesOf(Object& object) {
  // One table per dynamic class, built from the first object of the class
  // that asks and kept for the run (never destroyed: objects in static
  // references may still ask while the program ends).
  static auto* tables = new std::unordered_map<std::type_index, std::unique_ptr<PropertyTable>>();
  const std::type_index key(typeid(object));
  auto it = tables->find(key);
  if (it == tables->end()) {
    auto table = std::make_unique<PropertyTable>();
    object.DeclareProperties(*table);
    it = tables->emplace(key, std::move(table)).first;
  }
  return *it->second;
}

namespace {

// A name as it may appear in a message: printable ASCII as it is, any other
// byte as \xNN, and cut short when long.
std::string Printable(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  constexpr std::size_t kLongest = 40;
  std::string out;
  for (std::size_t i = 0; i < name.size() && i < kLongest; ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
      out += static_cast<char>(c);
    } else {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  if (name.size() > kLongest) out += "...";
  return out;
}

std::string ClassOf(Object& object) { return object.ClassName(); }

const PropertyTable::Property& FindOrRefuse(Object& object, std::string_view name) {
  const PropertyTable::Property* property = PropertiesOf(object).Find(name);
  if (property == nullptr) {
    throw DesignStreamException(ClassOf(object) + " has no property \"" + Printable(name) + "\"");
  }
  return *property;
}

}  // namespace

PropertyValue GetProperty(Object& object, std::string_view name) {
  return FindOrRefuse(object, name).get(object);
}

void SetProperty(Object& object, std::string_view name, const PropertyValue& value) {
  const PropertyTable::Property& property = FindOrRefuse(object, name);
  if (TypeOf(value) != property.type) {
    throw DesignStreamException(std::string("property \"") + Printable(name) + "\" of " + ClassOf(object) +
                                " is " + TypeName(property.type) + ", not " + TypeName(TypeOf(value)));
  }
  property.set(object, value);
}

// --- Reading ------------------------------------------------------------------

namespace {

// Walks a stream without ever stepping past its end: every read first checks
// that enough bytes remain.
class StreamReader {
 public:
  StreamReader(Object& object, std::string_view stream) : object_(object), stream_(stream) {}

  void ReadAll() {
    while (position_ < stream_.size()) {
      ++entry_;
      entryStart_ = position_;
      name_ = {};
      ReadEntry();
    }
  }

 private:
  std::size_t Remaining() const { return stream_.size() - position_; }

  [[noreturn]] void Refuse(const std::string& reason) const {
    std::string message = "design stream for " + ClassOf(object_) + ": entry " + std::to_string(entry_) +
                          " at byte " + std::to_string(entryStart_);
    if (!name_.empty()) message += " (\"" + Printable(name_) + "\")";
    throw DesignStreamException(message + ": " + reason);
  }

  // The next `count` bytes, after checking that they are there.
  std::string_view Take(std::size_t count, const char* what) {
    if (count > Remaining()) {
      Refuse(std::string("the stream ends inside ") + what + " (" + std::to_string(count) + " bytes needed, " +
             std::to_string(Remaining()) + " left)");
    }
    const std::string_view bytes = stream_.substr(position_, count);
    position_ += count;
    return bytes;
  }

  // Little-endian unsigned number of `width` bytes.
  std::uint64_t TakeNumber(std::size_t width, const char* what) {
    const std::string_view bytes = Take(width, what);
    std::uint64_t value = 0;
    for (std::size_t i = width; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
  }

  void ReadEntry() {
    const std::size_t space = stream_.find(' ', position_);
    if (space == std::string_view::npos) {
      name_ = stream_.substr(position_);
      Refuse("the stream ends inside the name");
    }
    name_ = stream_.substr(position_, space - position_);
    if (name_.empty()) Refuse("the entry has no name");
    position_ = space + 1;

    const PropertyTable::Property* property = PropertiesOf(object_).Find(name_);
    if (property == nullptr) Refuse(ClassOf(object_) + " has no property of this name");

    PropertyValue value;
    switch (property->type) {
      case PropertyType::Integer:
        value = static_cast<Integer>(TakeNumber(8, "an Integer value"));
        break;
      case PropertyType::Boolean: {
        const std::uint64_t byte = TakeNumber(1, "a Boolean value");
        if (byte > 1) Refuse("a Boolean value is 0 or 1, not " + std::to_string(byte));
        value = byte == 1;
        break;
      }
      case PropertyType::String: {
        const std::uint64_t count = TakeNumber(4, "a String's byte count");
        if (count > Remaining()) {
          Refuse("the String's byte count " + std::to_string(count) + " runs past the end of the stream (" +
                 std::to_string(Remaining()) + " bytes left)");
        }
        value = std::string(Take(static_cast<std::size_t>(count), "a String value"));
        break;
      }
      case PropertyType::Single:
        value = std::bit_cast<float>(static_cast<std::uint32_t>(TakeNumber(4, "a Single value")));
        break;
      case PropertyType::Unit:
        value = Unit{static_cast<std::uint8_t>(TakeNumber(1, "a Unit value"))};
        break;
      case PropertyType::Color:
        value = Color{static_cast<std::uint32_t>(TakeNumber(4, "a Color value"))};
        break;
    }
    property->set(object_, value);
  }

  Object& object_;
  std::string_view stream_;
  std::size_t position_ = 0;
  std::size_t entry_ = 0;
  std::size_t entryStart_ = 0;
  std::string_view name_;
};

}  // namespace

void SetProperties(Object& object, std::string_view stream) { StreamReader(object, stream).ReadAll(); }

// --- Writing ------------------------------------------------------------------

namespace {

void PutNumber(std::string& out, std::uint64_t value, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) {
    out += static_cast<char>(value & 0xFF);
    value >>= 8;
  }
}

void Encode(std::string& out, const DesignEntry& entry) {
  // A name with a space in it, or none, could not be read back.
  if (entry.name.empty() || entry.name.find(' ') != std::string::npos) {
    throw DesignStreamException("a design entry's name must be non-empty and hold no space: \"" +
                                Printable(entry.name) + "\"");
  }
  out += entry.name;
  out += ' ';
  std::visit(
      [&](const auto& v) {
        using V = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<V, Integer>) {
          PutNumber(out, static_cast<std::uint64_t>(v), 8);
        } else if constexpr (std::is_same_v<V, bool>) {
          out += static_cast<char>(v ? 1 : 0);
        } else if constexpr (std::is_same_v<V, std::string>) {
          if (v.size() > std::numeric_limits<std::uint32_t>::max()) {
            throw DesignStreamException("the String of \"" + Printable(entry.name) + "\" is too long for a stream");
          }
          PutNumber(out, v.size(), 4);
          out += v;
        } else if constexpr (std::is_same_v<V, float>) {
          PutNumber(out, std::bit_cast<std::uint32_t>(v), 4);
        } else if constexpr (std::is_same_v<V, Unit>) {
          out += static_cast<char>(v.value);
        } else {
          static_assert(std::is_same_v<V, Color>);
          PutNumber(out, v.value, 4);
        }
      },
      entry.value);
}

}  // namespace

std::string EncodeStream(std::initializer_list<DesignEntry> entries) {
  std::string out;
  for (const DesignEntry& entry : entries) Encode(out, entry);
  return out;
}

std::string EncodeStream(const std::vector<DesignEntry>& entries) {
  std::string out;
  for (const DesignEntry& entry : entries) Encode(out, entry);
  return out;
}

}  // namespace classlib
