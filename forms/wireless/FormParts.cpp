#include "forms/wireless/FormParts.h"

#include "binding/QvSNMPRequest2Controls.h"
#include "ui/Form.h"
#include "ui/PageControl.h"
#include "ui/Widgets.h"

#include <exception>

namespace formparts {

void Fill(TComboBox* c, std::initializer_list<const char*> items) {
    c->Items().Clear();
    for (const char* s : items)
        c->Items().Add(s);
}

BandPages MakeBandPages(TForm* form, const std::string& name, const std::string& band1Name,
                        const std::string& band2Name, int l, int t, int w, int h) {
    BandPages b{};
    b.pages = Make<TPageControl>(form, form, name, l, t, w, h);
    b.band1 = new TTabSheet(b.pages);
    b.band1->SetName(band1Name);
    b.band1->SetCaption("IEEE 802.11a");
    b.band2 = new TTabSheet(b.pages);
    b.band2->SetName(band2Name);
    b.band2->SetCaption("IEEE 802.11g");
    b.band2->SetTabVisible(false);
    return b;
}

bool ReadNow(QvSNMPRequest2Controls* group) {
    try {
        return group->Read();
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace formparts
