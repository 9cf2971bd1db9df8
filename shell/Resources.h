// The bundle's pictures and sounds, one accessor each. A picture is opened at
// first use and tried again at every call until a load succeeds, then held; a
// sound is tried once per run and held, whatever came of it.
#pragma once

#include "classlib/ClassLib.h"

classlib::Ref<classlib::Picture> TessarBoard();
classlib::Ref<classlib::Picture> Black();
classlib::Ref<classlib::Picture> White();
classlib::Ref<classlib::Picture> Black1();
classlib::Ref<classlib::Picture> White1();
classlib::Ref<classlib::Picture> Black2();
classlib::Ref<classlib::Picture> White2();
classlib::Ref<classlib::Picture> Button();
classlib::Ref<classlib::Picture> ButtonB();
classlib::Ref<classlib::Picture> rButton();
classlib::Ref<classlib::Picture> rButtonX();
classlib::Ref<classlib::Picture> yButton();
classlib::Ref<classlib::Picture> yButtonD();
classlib::Ref<classlib::Picture> gButton();
classlib::Ref<classlib::Picture> SliderHead();
classlib::Ref<classlib::Picture> SliderLine();

classlib::Ref<classlib::Sound> Crick();
classlib::Ref<classlib::Sound> Boo();
classlib::Ref<classlib::Sound> Finish();
classlib::Ref<classlib::Sound> Bad();
