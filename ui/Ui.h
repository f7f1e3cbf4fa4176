#pragma once
// The whole GUI layer in one include: objects and lists, controls, forms,
// list views, status bars, pages, menus, timers, dialogs and the application.
#include "ui/Application.h"
#include "ui/Component.h"
#include "ui/Control.h"
#include "ui/Dialogs.h"
#include "base/Exception.h"
#include "ui/Form.h"
#include "ui/Graphics.h"
#include "ui/ListView.h"
#include "ui/Menu.h"
#include "ui/PageControl.h"
#include "ui/StatusBar.h"
#include "ui/Strings.h"
#include "base/SysUtils.h"
#include "ui/Timer.h"
#include "ui/Widgets.h"
