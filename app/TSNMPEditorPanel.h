#pragma once
// A generic MIB panel with one labelled row per variable of its group.
#include "app/TSNMPPanel.h"

class TSNMPEditorPanel : public TSNMPPanel {
public:
    TSNMPEditorPanel(TWinControl* owner, QvSNMPRequest2Edits* group);
    TEditsPanel* EditsPanel;
};
