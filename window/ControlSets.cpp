// The two constructors of the control-set classes. The five sets share one
// shape; what differs between them lives in SetTraits.
#include "window/ControlSets.h"

#include <type_traits>

#include "window/SetTraits.h"

namespace {

using classlib::Integer;

// The layout's road: the index first, so that the member's Open already sees
// it, then the base class's constructor.
template <class Set>
void ConstructMember(Set& member, Integer index) {
  using Base = typename SetTraits<Set>::Base;
  member.SetIndex(index);
  static_cast<Base&>(member).Base::Constructor();
}

// A further member: the first member's design backdrop and design, the set's
// handlers bound to the member's window, Index 0, registration with that
// window, and the base constructor last.
template <class Set>
void ConstructFurtherMember(Set& member) {
  using Traits = SetTraits<Set>;
  using Base = typename Traits::Base;
  if constexpr (std::is_base_of_v<classlib::Canvas, Base>) {
    if (PictureAccessor backdrop = Traits::Backdrop(Traits::kFirstMember)) member.SetBackdrop(backdrop());
  }
  classlib::SetProperties(member, Traits::Stream(Traits::kFirstMember));
  Traits::Attach([&member] { return classlib::RefTo(static_cast<Base*>(&member)); },
                 [&member] { return classlib::Cast<class MW>(member.Window()); });
  member.SetIndex(0);
  member.Window()->AddControl(Traits::kName, classlib::RefTo(static_cast<classlib::Control*>(&member)));
  static_cast<Base&>(member).Base::Constructor();
}

}  // namespace

void MW::GBSet::Constructor(Integer index) { ConstructMember(*this, index); }
void MW::GBSet::Constructor() { ConstructFurtherMember(*this); }
void MW::RBSet::Constructor(Integer index) { ConstructMember(*this, index); }
void MW::RBSet::Constructor() { ConstructFurtherMember(*this); }
void MW::StSet::Constructor(Integer index) { ConstructMember(*this, index); }
void MW::StSet::Constructor() { ConstructFurtherMember(*this); }
void MW::BoxSet::Constructor(Integer index) { ConstructMember(*this, index); }
void MW::BoxSet::Constructor() { ConstructFurtherMember(*this); }
void MW::BCVSet::Constructor(Integer index) { ConstructMember(*this, index); }
void MW::BCVSet::Constructor() { ConstructFurtherMember(*this); }
