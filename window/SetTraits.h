// What the layout and the set classes' further-member constructors share about
// each control set of the main window: its name, its members' control class,
// each member's design and design backdrop, the member a further member copies,
// and the window's handlers that serve the set, attached in the order given.
//
// Attach takes two callables, asked anew before each handler is attached: one
// gives the member, the other the window whose method handles its event.
#pragma once

#include <string>

#include "classlib/ClassLib.h"
#include "shell/Resources.h"
#include "window/ControlSets.h"
#include "window/Design.h"

using PictureAccessor = classlib::Ref<classlib::Picture> (*)();

template <class Set>
struct SetTraits;

template <>
struct SetTraits<MW::GBSet> {
  using Base = classlib::GroupBox;
  static constexpr const char* kName = "GB";
  static constexpr classlib::Integer kFirstMember = 0;
  static const std::string& Stream(classlib::Integer index) { return Design::GBStream(index); }
  static PictureAccessor Backdrop(classlib::Integer) { return nullptr; }
  template <class Member, class Owner>
  static void Attach(const Member&, const Owner&) {}
};

template <>
struct SetTraits<MW::RBSet> {
  using Base = classlib::RadioButton;
  static constexpr const char* kName = "RB";
  static constexpr classlib::Integer kFirstMember = 0;
  static const std::string& Stream(classlib::Integer index) { return Design::RBStream(index); }
  static PictureAccessor Backdrop(classlib::Integer) { return nullptr; }
  template <class Member, class Owner>
  static void Attach(const Member& member, const Owner& owner) {
    member()->Action.AddHandler(classlib::Delegate(&*owner(), &MW::RB_Action));
  }
};

template <>
struct SetTraits<MW::StSet> {
  using Base = classlib::Label;
  static constexpr const char* kName = "St";
  static constexpr classlib::Integer kFirstMember = 1;
  static const std::string& Stream(classlib::Integer index) { return Design::StStream(index); }
  static PictureAccessor Backdrop(classlib::Integer) { return nullptr; }
  template <class Member, class Owner>
  static void Attach(const Member&, const Owner&) {}
};

template <>
struct SetTraits<MW::BoxSet> {
  using Base = TessarBox;
  static constexpr const char* kName = "Box";
  static constexpr classlib::Integer kFirstMember = 0;
  static const std::string& Stream(classlib::Integer index) { return Design::BoxStream(index); }
  // Two squares are made with a disc picture; the window's Open replaces it.
  static PictureAccessor Backdrop(classlib::Integer index) {
    if (index == 27) return &Black1;
    if (index == 36) return &White1;
    return nullptr;
  }
  template <class Member, class Owner>
  static void Attach(const Member& member, const Owner& owner) {
    member()->MouseDown.AddHandler(classlib::Delegate(&*owner(), &MW::Box_MouseDown));
  }
};

template <>
struct SetTraits<MW::BCVSet> {
  using Base = ButtonCanvas;
  static constexpr const char* kName = "BCV";
  static constexpr classlib::Integer kFirstMember = 3;  // the "後手" button
  static const std::string& Stream(classlib::Integer index) { return Design::BCVStream(index); }
  static PictureAccessor Backdrop(classlib::Integer index) {
    switch (index) {
      case 0: return &rButton;
      case 1: return &yButton;
      case 2: return &gButton;
      case 3:
      case 4: return &Button;
      default: return nullptr;
    }
  }
  template <class Member, class Owner>
  static void Attach(const Member& member, const Owner& owner) {
    member()->MouseDown.AddHandler(classlib::Delegate(&*owner(), &MW::BCV_MouseDown));
    member()->MouseUp.AddHandler(classlib::Delegate(&*owner(), &MW::BCV_MouseUp));
    member()->MouseEnter.AddHandler(classlib::Delegate(&*owner(), &MW::BCV_MouseEnter));
    member()->MouseExit.AddHandler(classlib::Delegate(&*owner(), &MW::BCV_MouseExit));
  }
};
