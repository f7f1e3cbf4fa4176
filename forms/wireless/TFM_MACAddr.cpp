#include "forms/wireless/TFM_MACAddr.h"

#include "forms/wireless/TFM_FilterMAC.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/ListView.h"
#include "ui/Widgets.h"

TFM_MACAddr* FM_MACAddr = nullptr;

namespace {
const char kFreeMac[] = "000000000000";
}

TFM_MACAddr::TFM_MACAddr(TComponent* owner) : TForm(owner) {
    FM_MACAddr = this;
    SetFrame({.name = "FM_MACAddr", .caption = "MAC Address", .clientWidth = 260,
              .clientHeight = 110});

    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetParent(this);
    Label1->SetCaption("Please input MAC Address");
    Label1->SetBounds(16, 14, 200, 16);
    LA_Index = new TLabel(this);
    LA_Index->SetName("LA_Index");
    LA_Index->SetParent(this);
    LA_Index->SetBounds(220, 14, 30, 16);
    LA_Index->SetVisible(false);
    Ed_MACAddr = new TEdit(this);
    Ed_MACAddr->SetName("Ed_MACAddr");
    Ed_MACAddr->SetParent(this);
    Ed_MACAddr->SetBounds(16, 38, 228, 21);
    Ed_MACAddr->SetMaxLength(12);
    Bt_Apply = new TButton(this);
    Bt_Apply->SetName("Bt_Apply");
    Bt_Apply->SetParent(this);
    Bt_Apply->SetCaption("Apply");
    Bt_Apply->SetBounds(164, 72, 80, 25);
    Bt_Apply->OnClick = [this](TObject* s) { Bt_ApplyClick(s); };
}

TFM_MACAddr::~TFM_MACAddr() {
    if (FM_MACAddr == this) FM_MACAddr = nullptr;
}

bool TFM_MACAddr::SameMac(const std::string& typed, const std::string& stored) {
    if (typed.size() > stored.size()) return false;
    for (size_t i = 0; i < typed.size(); ++i) {
        const int c = static_cast<unsigned char>(typed[i]);
        const int s = static_cast<unsigned char>(stored[i]);
        if (c != s && c != s + 32) return false;
    }
    return true;
}

bool TFM_MACAddr::IsNewMac() {
    TFM_FilterMAC* table = FM_FilterMAC;
    if (!table) return true;
    const std::string typed = Ed_MACAddr->Text();
    // The entry being edited is told apart by its number, not by where the
    // walk happened to put it.
    const std::string entry = LA_Index->Caption();
    const TListItems& rows = table->LV_StaticPoolSet->Items();
    for (int k = 0; k < rows.Count(); ++k) {
        const TListItem* item = rows[k];
        if (item->Caption() == entry || item->SubItems().Count() == 0) continue;
        const std::string stored = item->SubItems()[0];
        if (stored == typed || SameMac(typed, stored)) {
            MessageBox(nullptr, "Reject: The MAC already exists ", "Warning",
                       MB_OK | MB_ICONWARNING);
            return false;
        }
    }
    return true;
}

void TFM_MACAddr::Bt_ApplyClick(TObject*) {
    const std::string mac = Ed_MACAddr->Text();
    if (mac.size() != 12) {
        MessageBox(nullptr, "The length is 12 in MAC Address.", "Error", MB_OK | MB_ICONERROR);
        return;
    }
    if (mac == kFreeMac) {
        MessageBox(nullptr, "Please input a valid MAC Address.", "Warning",
                   MB_OK | MB_ICONWARNING);
        return;
    }
    if (!IsNewMac()) return;
    TFM_FilterMAC* table = FM_FilterMAC;
    if (!table) return;
    // The dialog closes once the device took the entry; a refusal is shown
    // and the entry stays to be corrected or cancelled.
    table->WriteEntry([this](bool ok, const QvSNMPError&) {
        if (!ok) return;
        Written = true;
        if (Modal()) SetModalResult(mrOk);
    });
}
