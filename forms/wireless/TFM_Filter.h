#pragma once
// Advanced \ Filter: the wireless access control (accept or reject the
// stations of the access-control list, or no filtering), the WLAN partition
// settings, and the way to each band's access-control list.
#include <cstdint>
#include <memory>

#include "binding/QvWriteSequence.h"
#include "ui/Form.h"

class TButton;
class TComboBox;
class TGroupBox;
class TLabel;
class TPageControl;
class TStatusBar;
class TTabSheet;
class QvSNMPRequest2Edits;

class TFM_Filter : public TForm {
public:
    static void RegisterOpener();

    explicit TFM_Filter(TComponent* owner);
    ~TFM_Filter() override;

    TPageControl* Bt_MacTableg = nullptr; // the band pages
    TTabSheet* TS_80211a = nullptr;
    TTabSheet* TS_80211g = nullptr;
    TComboBox* CB_ACa = nullptr;
    TComboBox* CB_InSCa = nullptr;
    TComboBox* CB_E2WAa = nullptr;
    TComboBox* CB_InSCBa = nullptr;
    TLabel* La_InSCAGa = nullptr;
    TLabel* La_InSCBa = nullptr;
    TButton* Bt_MacTaba = nullptr;
    TComboBox* CB_ACg = nullptr;
    TComboBox* CB_InSCg = nullptr;
    TComboBox* CB_E2WAg = nullptr;
    TComboBox* CB_InSCBg = nullptr;
    TButton* Bt_MacTabg = nullptr;
    TButton* Bt_Apply = nullptr;
    TButton* Bt_Refresh = nullptr;
    TButton* Bt_Close = nullptr;
    TStatusBar* StatusBar = nullptr;

    std::unique_ptr<QvSNMPRequest2Edits> Request;
    // Set while the access-control list of that band is open: the list form
    // picks its band from them.
    std::uint8_t ListFlagA = 0;
    std::uint8_t ListFlagG = 0;

    void FormCreate(TObject* sender);
    void Bt_ApplyClick(TObject* sender);
    void Bt_RefreshClick(TObject* sender);
    void Bt_CloseClick(TObject* sender);
    void Bt_MacTabaClick(TObject* sender);
    void Bt_MacTabgClick(TObject* sender);
    void CB_InSCBaChange(TObject* sender);
    void CB_InSCBgChange(TObject* sender);
    void CB_ACaChange(TObject* sender);
    void CB_ACgChange(TObject* sender);

    // The list buttons are greyed while their band filters nothing.
    void UpdateListButtons();

private:
    void OpenList(std::uint8_t& flag);
    bool ReadNow();
    QvWriteSequence writes_;
};

extern TFM_Filter* FM_Filter;
