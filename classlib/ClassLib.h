// The whole class library.
#pragma once

#include "classlib/Application.h"
#include "classlib/Controls.h"
#include "classlib/Events.h"
#include "classlib/Graphics.h"
#include "classlib/Menu.h"
#include "classlib/Properties.h"
#include "classlib/Runtime.h"
#include "classlib/Sound.h"
#include "classlib/Types.h"
#include "classlib/Window.h"
