// Menus: a tree of items, each known by its Name. A window shows the tree of
// its MenuBar; choosing an item (or its keyboard shortcut) sends a command of
// the item's Name to the handlers bound to that name.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/Types.h"

namespace classlib {

class MenuItem : public Object {
 public:
  MenuItem();
  ~MenuItem() override;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  // The caption; "-" makes a separator.
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text) { text_ = text; }
  // "Cmd+Q" and the like: Ctrl+Q here, Cmd+Q on macOS. Empty: none.
  const std::string& KeyboardShortcut() const { return shortcut_; }
  void SetKeyboardShortcut(const std::string& shortcut) { shortcut_ = shortcut; }
  bool AutoEnable() const { return autoEnable_; }
  void SetAutoEnable(bool v) { autoEnable_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  bool IsSeparator() const { return text_ == "-"; }

  // Adds an item at the end of this menu.
  void Append(Ref<MenuItem> item);
  Integer Count() const { return static_cast<Integer>(children_.size()); }
  // The item at a position, or nothing.
  Ref<MenuItem> Item(Integer position) const;
  // The direct child of that Name, or nothing.
  Ref<MenuItem> Child(std::string_view name) const;
  // The item of that Name anywhere below this one, or nothing.
  Ref<MenuItem> Lookup(std::string_view name) const;

  std::string ClassName() const override { return "MenuItem"; }

 private:
  std::string name_;
  std::string text_;
  std::string shortcut_;
  bool autoEnable_ = false;
  bool visible_ = true;
  std::vector<Ref<MenuItem>> children_;
};

// The bar: its direct children are the menus.
class MenuBar : public MenuItem {
 public:
  std::string ClassName() const override { return "MenuBar"; }
};

// The item that quits the application.
class QuitMenuItem : public MenuItem {
 public:
  std::string ClassName() const override { return "QuitMenuItem"; }
};

// An item that belongs to the application (its About item).
class ApplicationMenuItem : public MenuItem {
 public:
  std::string ClassName() const override { return "ApplicationMenuItem"; }
};

}  // namespace classlib
