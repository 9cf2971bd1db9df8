// Design streams: the compact byte strings that give a window or control its
// design-time settings, and the published properties they are applied to.
//
// A stream is a sequence of entries, back to back, with no header and no end
// marker: the property's name (ASCII), one space (0x20), then the value in the
// form of the property's declared type on the object it is applied to:
//   Integer  8 bytes, little-endian two's complement
//   Boolean  1 byte, 0 or 1
//   String   4-byte little-endian byte count, then that many UTF-8 bytes
//   Single   4 bytes, IEEE 754 binary32, little-endian
//   Unit     1 byte, an enumeration value
//   Color    4 bytes, the 32-bit colour value least significant byte first
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "classlib/Types.h"

namespace classlib {

// The one-byte enumeration type of the streams (TextUnit).
struct Unit {
  std::uint8_t value = 0;
  friend constexpr bool operator==(Unit a, Unit b) { return a.value == b.value; }
};

enum class PropertyType { Integer, Boolean, String, Single, Unit, Color };

using PropertyValue = std::variant<Integer, bool, std::string, float, Unit, Color>;

PropertyType TypeOf(const PropertyValue& value);
const char* TypeName(PropertyType type);

namespace detail {
template <class V>
constexpr PropertyType PropertyTypeFor() {
  using D = std::decay_t<V>;
  if constexpr (std::is_same_v<D, bool>) return PropertyType::Boolean;
  else if constexpr (std::is_same_v<D, std::string>) return PropertyType::String;
  else if constexpr (std::is_same_v<D, float>) return PropertyType::Single;
  else if constexpr (std::is_same_v<D, Unit>) return PropertyType::Unit;
  else if constexpr (std::is_same_v<D, Color>) return PropertyType::Color;
  else {
    static_assert(std::is_same_v<D, Integer>, "unsupported property type");
    return PropertyType::Integer;
  }
}
}  // namespace detail

// The published properties of one object's class, by name. Built by the
// object's DeclareProperties.
class PropertyTable {
 public:
  struct Property {
    PropertyType type;
    std::function<void(Object&, const PropertyValue&)> set;
    std::function<PropertyValue(Object&)> get;
  };

  // A plain field: `table.Add("m", &TessarBox::m);`
  template <class C, class V>
  void Add(const std::string& name, V C::*field) {
    Put(name, detail::PropertyTypeFor<V>(),
        [field](Object& o, const PropertyValue& v) { dynamic_cast<C&>(o).*field = std::get<V>(v); },
        [field](Object& o) { return PropertyValue(dynamic_cast<C&>(o).*field); });
  }

  // A property with a getter and a setter of the class library's classes.
  template <class V, class C>
  void Add(const std::string& name, std::function<V(C&)> getter, std::function<void(C&, V)> setter) {
    Put(name, detail::PropertyTypeFor<V>(),
        [setter](Object& o, const PropertyValue& v) { setter(dynamic_cast<C&>(o), std::get<V>(v)); },
        [getter](Object& o) { return PropertyValue(getter(dynamic_cast<C&>(o))); });
  }

  // A later declaration of the same name replaces the earlier one, so a class
  // may give a base-class name another type (Value on a container).
  void Put(const std::string& name, PropertyType type,
           std::function<void(Object&, const PropertyValue&)> set,
           std::function<PropertyValue(Object&)> get);

  const Property* Find(std::string_view name) const;
  std::size_t Size() const { return properties_.size(); }

 private:
  std::map<std::string, Property, std::less<>> properties_;
};

// The published properties of an object (built once per class and kept).
const PropertyTable& PropertiesOf(Object& object);

// Reads and writes one property by name; unknown names raise
// DesignStreamException.
PropertyValue GetProperty(Object& object, std::string_view name);
void SetProperty(Object& object, std::string_view name, const PropertyValue& value);

// Applies a design stream to an object, entry by entry in stream order. A
// stream that ends inside an entry, names a property the object's class lacks,
// or carries a byte a Boolean cannot hold is refused with a
// DesignStreamException naming the entry (its number and byte offset) and the
// reason; entries before the faulty one stay applied. Nothing past the end of
// the stream is ever read.
void SetProperties(Object& object, std::string_view stream);

// One entry of a design table: a property name and its value. The value's C++
// type decides its encoding (Integer, bool, std::string, float, Unit, Color).
struct DesignEntry {
  std::string name;
  PropertyValue value;
};

// Encodes design entries, in the order given, into a stream.
std::string EncodeStream(std::initializer_list<DesignEntry> entries);
std::string EncodeStream(const std::vector<DesignEntry>& entries);

}  // namespace classlib
