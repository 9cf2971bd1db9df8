// Events of controls and the delegates that bind an owner's methods to them.
//
// A class handles its own events by overriding its virtual Event_... method;
// the default raises the event to the handler its owner attached. One handler
// per event, as the program attaches them.
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "classlib/Types.h"

namespace classlib {

template <class Sig>
class Event;

template <class R, class... A>
class Event<R(A...)> {
 public:
  using Handler = std::function<R(A...)>;

  // Attaches the handler, replacing any earlier one.
  void AddHandler(Handler handler) { handler_ = std::move(handler); }
  void RemoveHandler() { handler_ = nullptr; }
  bool HasHandler() const { return static_cast<bool>(handler_); }

  // Calls the handler; with none attached nothing happens and a default
  // result (false for a Boolean) comes back.
  R Raise(A... args) const {
    if (!handler_) return R();
    return handler_(std::forward<A>(args)...);
  }

 private:
  Handler handler_;
};

namespace detail {
// Converts an event argument to the parameter type of the bound method:
// references to controls go through the verifying cast.
template <class To, class From>
decltype(auto) AdaptArgument(From&& from) {
  using T = std::decay_t<To>;
  using F = std::decay_t<From>;
  if constexpr (IsRef<T>::value && IsRef<F>::value && !std::is_same_v<T, F>) {
    return Cast<typename T::element_type>(from);
  } else {
    return std::forward<From>(from);
  }
}
}  // namespace detail

// A handler made from a method of `owner`. It holds the owner weakly: once the
// owner is gone, calling it raises NilObjectException. Reference arguments are
// converted to the method's parameter types with the verifying cast, so a
// method taking Ref<TessarBox> serves an event that hands over Ref<Canvas>.
template <class Owner, class R, class... P>
auto Delegate(Owner* owner, R (Owner::*method)(P...)) {
  std::weak_ptr<Owner> weak = owner->template SharedAs<Owner>();
  return [weak, method](auto&&... args) -> R {
    std::shared_ptr<Owner> target = weak.lock();
    if (!target) throw NilObjectException("the delegate's object is gone");
    return ((*target).*method)(detail::AdaptArgument<P>(std::forward<decltype(args)>(args))...);
  };
}

}  // namespace classlib
