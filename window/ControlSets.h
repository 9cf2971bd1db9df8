// The classes of the main window's control sets. Each gives a member its
// index when the layout constructs it, and can make a further member of the
// set from the design of the set's first member (nothing in the game makes
// one).
#pragma once

#include "window/MW.h"

#define TOVARINE_CONTROL_SET(SetClass, Base, ClassNameText)                                     \
  class MW::SetClass : public Base {                                                            \
   public:                                                                                      \
    /* Index = index, then the base constructor: the layout's road. */                         \
    void Constructor(classlib::Integer index);                                                  \
    /* A further member: the first member's design, the set's handlers, Index 0, */            \
    /* registration with the window, then the base constructor. */                             \
    void Constructor() override;                                                                \
    std::string ClassName() const override { return ClassNameText; }                            \
  }

TOVARINE_CONTROL_SET(GBSet, classlib::GroupBox, "MW.GB");
TOVARINE_CONTROL_SET(RBSet, classlib::RadioButton, "MW.RB");
TOVARINE_CONTROL_SET(StSet, classlib::Label, "MW.St");
TOVARINE_CONTROL_SET(BoxSet, TessarBox, "MW.Box");
TOVARINE_CONTROL_SET(BCVSet, ButtonCanvas, "MW.BCV");

#undef TOVARINE_CONTROL_SET

class MW::CustomSulider1Wrapper : public CustomSulider {
 public:
  // Runs the base constructor and nothing else.
  void Constructor() override { CustomSulider::Constructor(); }
  std::string ClassName() const override { return "MW._wrapper_CustomSulider1"; }
};
