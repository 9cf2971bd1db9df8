// The message layer that stands in for the desktop's native object runtime:
// selectors looked up by name, messages sent to a receiver, classes found by
// name. Receivers are the native window behind Window::Handle and the shared
// application object. A nil receiver, an unknown receiver, an unknown class
// name or a selector the receiver does not answer: nothing happens and nil
// comes back.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace native {

using id = void*;
struct Selector;
using SEL = const Selector*;
using BOOL = bool;
constexpr BOOL YES = true;
constexpr BOOL NO = false;

// A rectangle in screen coordinates: origin at the bottom left of the primary
// screen, y upwards.
struct NSRect {
  double x = 0, y = 0, width = 0, height = 0;
};

// The same name gives the same selector.
SEL sel_registerName(const char* name);
const char* sel_getName(SEL selector);

// The class object of that name ("NSApplication"), or nil.
id NSClassFromString(const std::string& name);

using Argument = std::variant<std::nullptr_t, id, std::int64_t, double, BOOL, NSRect>;

id objc_msgSendv(id receiver, SEL selector, const std::vector<Argument>& arguments);

// Sends a message with the arguments given: objc_msgSend(w, sel, 0.5).
template <class... A>
id objc_msgSend(id receiver, SEL selector, A... arguments) {
  return objc_msgSendv(receiver, selector, std::vector<Argument>{Argument(arguments)...});
}

}  // namespace native
