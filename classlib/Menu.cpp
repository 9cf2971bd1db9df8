// The menu tree: items in order, found by position, by direct child Name, or
// by Name anywhere below an item.
#include "classlib/Menu.h"

namespace classlib {

MenuItem::MenuItem() = default;
MenuItem::~MenuItem() = default;

void MenuItem::Append(Ref<MenuItem> item) {
  if (item.IsNil()) throw NilObjectException("appending a nil menu item");
  // An item that held itself, directly or further down, would make every walk
  // of the tree endless.
  if (item.Get() == this) throw RuntimeException("a menu item cannot hold itself");
  std::vector<const MenuItem*> pending{item.Get()};
  while (!pending.empty()) {
    const MenuItem* current = pending.back();
    pending.pop_back();
    for (const auto& child : current->children_) {
      if (child.Get() == this) throw RuntimeException("a menu item cannot hold itself");
      pending.push_back(child.Get());
    }
  }
  children_.push_back(std::move(item));
}

Ref<MenuItem> MenuItem::Item(Integer position) const {
  if (position < 0 || position >= Count()) return Ref<MenuItem>();
  return children_[static_cast<std::size_t>(position)];
}

Ref<MenuItem> MenuItem::Child(std::string_view name) const {
  for (const auto& child : children_) {
    if (child->Name() == name) return child;
  }
  return Ref<MenuItem>();
}

Ref<MenuItem> MenuItem::Lookup(std::string_view name) const {
  // Depth first: an item, then everything below it, then its next sibling.
  for (const auto& child : children_) {
    if (child->Name() == name) return child;
    if (Ref<MenuItem> found = child->Lookup(name)) return found;
  }
  return Ref<MenuItem>();
}

}  // namespace classlib
