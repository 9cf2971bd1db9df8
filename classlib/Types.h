// The class library's basic vocabulary: numbers, colours, errors, the base
// object and the checked reference through which the program reaches every
// object ("nothing" is a real value whose use raises NilObjectException).
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <typeinfo>

namespace classlib {

using Integer = std::int64_t;
using Double = double;

// A colour is one 32-bit value 0xAARRGGBB. Alpha 0 is opaque, 255 fully
// transparent; RGB and every colour property use this one convention.
struct Color {
  std::uint32_t value = 0;
  constexpr std::uint32_t Red() const { return (value >> 16) & 0xFF; }
  constexpr std::uint32_t Green() const { return (value >> 8) & 0xFF; }
  constexpr std::uint32_t Blue() const { return value & 0xFF; }
  constexpr std::uint32_t Alpha() const { return (value >> 24) & 0xFF; }
  friend constexpr bool operator==(Color a, Color b) { return a.value == b.value; }
};

constexpr Color RGB(Integer red, Integer green, Integer blue, Integer alpha = 0) {
  return Color{static_cast<std::uint32_t>(((alpha & 0xFF) << 24) | ((red & 0xFF) << 16) |
                                          ((green & 0xFF) << 8) | (blue & 0xFF))};
}

// Every error the class library raises. ClassName() is what the unhandled-
// exception routine reports.
class RuntimeException : public std::runtime_error {
 public:
  explicit RuntimeException(const std::string& message) : std::runtime_error(message) {}
  virtual const char* ClassName() const { return "RuntimeException"; }
};

// Raised by any use of "nothing".
class NilObjectException : public RuntimeException {
 public:
  explicit NilObjectException(const std::string& message = "use of a nil object")
      : RuntimeException(message) {}
  const char* ClassName() const override { return "NilObjectException"; }
};

// Raised by the verifying cast when an object is not of the class asked for.
class IllegalCastException : public RuntimeException {
 public:
  explicit IllegalCastException(const std::string& message) : RuntimeException(message) {}
  const char* ClassName() const override { return "IllegalCastException"; }
};

// Raised by SetProperties for a design stream it refuses.
class DesignStreamException : public RuntimeException {
 public:
  explicit DesignStreamException(const std::string& message) : RuntimeException(message) {}
  const char* ClassName() const override { return "DesignStreamException"; }
};

class PropertyTable;

// Base of every object of the class library and of the program's classes that
// derive from them. Objects are always made with std::make_shared.
class Object : public std::enable_shared_from_this<Object> {
 public:
  virtual ~Object() = default;
  // The class name text, as the registry of open windows knows it.
  virtual std::string ClassName() const { return "Object"; }
  // Publishes the properties a design stream may set: every class adds its
  // own after calling its base class's.
  virtual void DeclareProperties(PropertyTable&) {}

  template <class T>
  std::shared_ptr<T> SharedAs() {
    return std::dynamic_pointer_cast<T>(shared_from_this());
  }
};

// Types may name a stand-in object that takes the calls made on "nothing"
// instead of raising (the silent sound is one). By default there is none.
template <class T, class = void>
struct HasNilStandIn : std::false_type {};
template <class T>
struct HasNilStandIn<T, std::void_t<decltype(T::NilStandIn())>> : std::true_type {};

// A counted reference. Using an empty one raises NilObjectException, never
// undefined behaviour.
template <class T>
class Ref {
 public:
  using element_type = T;

  Ref() = default;
  Ref(std::nullptr_t) {}
  Ref(std::shared_ptr<T> p) : p_(std::move(p)) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(const Ref<U>& other) : p_(other.Shared()) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(std::shared_ptr<U> p) : p_(std::move(p)) {}

  T* operator->() const { return Checked(); }
  T& operator*() const { return *Checked(); }

  bool IsNil() const { return !p_; }
  explicit operator bool() const { return static_cast<bool>(p_); }
  T* Get() const { return p_.get(); }
  const std::shared_ptr<T>& Shared() const { return p_; }

  template <class U>
  friend bool operator==(const Ref& a, const Ref<U>& b) {
    return static_cast<const void*>(a.Get()) == static_cast<const void*>(b.Get());
  }
  friend bool operator==(const Ref& a, std::nullptr_t) { return a.IsNil(); }

 private:
  T* Checked() const {
    if (p_) return p_.get();
    if constexpr (HasNilStandIn<T>::value) {
      return T::NilStandIn();
    } else {
      throw NilObjectException(std::string("use of a nil ") + typeid(T).name());
    }
  }
  std::shared_ptr<T> p_;
};

template <class T>
struct IsRef : std::false_type {};
template <class T>
struct IsRef<Ref<T>> : std::true_type {};

// The verifying cast. Nothing casts to nothing; an object of another class
// raises IllegalCastException.
template <class T, class U>
Ref<T> Cast(const Ref<U>& from) {
  if (from.IsNil()) return Ref<T>();
  if (auto to = std::dynamic_pointer_cast<T>(from.Shared())) return Ref<T>(to);
  throw IllegalCastException(std::string("cannot cast ") + typeid(*from.Get()).name() +
                             " to " + typeid(T).name());
}

// A reference to an object the caller is handed by `this`.
template <class T>
Ref<T> RefTo(T* self) {
  if (!self) return Ref<T>();
  return Ref<T>(std::dynamic_pointer_cast<T>(self->shared_from_this()));
}

}  // namespace classlib
