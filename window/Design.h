// The design streams of the main window, of its controls and of the slider
// class's own parts: built once from the design tables at their first use and
// kept for the rest of the run.
#pragma once

#include <string>

#include "classlib/ClassLib.h"

namespace Design {

// The main window's own design.
const std::string& WindowStream();

// The design of member `index` of a control set of the main window. An index
// the set does not have raises std::out_of_range.
const std::string& GBStream(classlib::Integer index);
const std::string& RBStream(classlib::Integer index);
const std::string& StStream(classlib::Integer index);
const std::string& BoxStream(classlib::Integer index);
const std::string& BCVStream(classlib::Integer index);

// The slider as the main window places it.
const std::string& CustomSulider1Stream();

// The slider class's own designs: its container, its track, its knob and its
// scale label.
const std::string& SliderContainerStream();
const std::string& SliderLineStream();
const std::string& SliderHeadStream();
const std::string& SliderLabelStream();

}  // namespace Design
