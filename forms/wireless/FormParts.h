#pragma once
// What the wireless forms build their windows from: a control placed by
// name and bounds, a combo box filled from a list, the band pages, and a
// read whose failure the form shows by its own means rather than by an
// exception.
#include "ui/Control.h"

#include <initializer_list>
#include <string>

class QvSNMPRequest2Controls;
class TComboBox;
class TForm;
class TPageControl;
class TTabSheet;

namespace formparts {

template <class T>
T* Make(TComponent* owner, TWinControl* parent, const std::string& name, int l, int t, int w, int h,
        const std::string& caption = "") {
    T* c = new T(owner);
    if (!name.empty()) c->SetName(name);
    c->SetParent(parent);
    c->SetBounds(l, t, w, h);
    if (!caption.empty()) c->SetCaption(caption);
    return c;
}

void Fill(TComboBox* c, std::initializer_list<const char*> items);

// A band form's page control with band 1's tab and band 2's, which the
// stored layout hides.
struct BandPages {
    TPageControl* pages;
    TTabSheet* band1;
    TTabSheet* band2;
};
BandPages MakeBandPages(TForm* form, const std::string& name, const std::string& band1Name,
                        const std::string& band2Name, int l, int t, int w, int h);

// The group's Read; false also when it raises.
bool ReadNow(QvSNMPRequest2Controls* group);

} // namespace formparts
