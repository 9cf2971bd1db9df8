// Real mouse input for tests: events enter the toolkit at the window, as the
// desktop would deliver them, so the toolkit's routing decides which control
// gets a press. Coordinates are in the window's content.
#pragma once

#include "classlib/Types.h"
#include "classlib/Window.h"

namespace classlib::testing {

void MoveTo(Ref<Window> window, Integer x, Integer y);
void PressAt(Ref<Window> window, Integer x, Integer y);
void DragTo(Ref<Window> window, Integer x, Integer y);
void ReleaseAt(Ref<Window> window, Integer x, Integer y);
// The button comes up where the window cannot see it (over another window,
// or while this one is minimised): no release reaches the window, and the
// next events report no button held.
void ReleaseElsewhere();
// Press and release at one point.
void ClickAt(Ref<Window> window, Integer x, Integer y);
// A click that the next press follows at once: the toolkit takes that press
// for the second of a double click, as it does with the desktop's events.
void QuickClickAt(Ref<Window> window, Integer x, Integer y);
void WheelAt(Ref<Window> window, Integer x, Integer y, Integer steps);
// Lets queued paint and window work run.
void ProcessEvents();
// Advances the clock behind Ticks by this many ticks (the real clock keeps
// running too), so tests of tick intervals need not wait.
void AdvanceTicks(Integer ticks);
// Stops the clock behind Ticks, or lets it run on from where it stood. While
// it stands, only AdvanceTicks moves it, and a wait's sleep until the next
// tick moves it by one tick instead of sleeping.
void FreezeTicks(bool frozen);

}  // namespace classlib::testing
