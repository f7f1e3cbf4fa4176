#pragma once
// The entry dialog of the MAC address table: one MAC address, checked for
// its length, for the free value and for a clash with another entry, then
// written through the table form's request.
#include <string>

#include "ui/Form.h"

class TButton;
class TEdit;
class TLabel;

class TFM_MACAddr : public TForm {
public:
    explicit TFM_MACAddr(TComponent* owner);
    ~TFM_MACAddr() override;

    TLabel* Label1 = nullptr;
    TLabel* LA_Index = nullptr; // hidden: the entry number
    TEdit* Ed_MACAddr = nullptr;
    TButton* Bt_Apply = nullptr;

    // The last Apply's write went through (reset each time the dialog shows).
    bool Written = false;

    void Bt_ApplyClick(TObject* sender);
    // False (with its message shown) when another entry holds the typed MAC.
    bool IsNewMac();
    // typed matches stored over typed's length; a lower-case letter typed
    // matches the upper-case one shown.
    static bool SameMac(const std::string& typed, const std::string& stored);
};

extern TFM_MACAddr* FM_MACAddr;
