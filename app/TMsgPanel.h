#pragma once
// The message area of a generic MIB panel: a read-only memo that receives
// the group's result reports.
#include "ui/Widgets.h"

class TMsgPanel : public TPanel {
public:
    explicit TMsgPanel(TWinControl* owner);
    TMemo* Memo;
};
