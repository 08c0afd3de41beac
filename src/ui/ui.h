// Everything a window of the module needs from the toolkit.
#pragma once

#include "ui/application.h"
#include "ui/component.h"
#include "ui/control.h"
#include "ui/dbedit.h"
#include "ui/dbgrid.h"
#include "ui/dialogs.h"
#include "ui/extctrls.h"
#include "ui/form.h"
#include "ui/graphics.h"
#include "ui/lists.h"
#include "ui/menus.h"
#include "ui/pages.h"
#include "ui/stdctrls.h"
#include "ui/strings.h"
#include "ui/timer.h"
#include "ui/types.h"
