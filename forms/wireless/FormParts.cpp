#include "forms/wireless/FormParts.h"

#include "binding/QvSNMPRequest2Controls.h"
#include "ui/Widgets.h"

#include <exception>

namespace formparts {

void Fill(TComboBox* c, std::initializer_list<const char*> items) {
    c->Items().Clear();
    for (const char* s : items) c->Items().Add(s);
}

bool ReadNow(QvSNMPRequest2Controls* group) {
    try {
        return group->Read();
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace formparts
