#pragma once
// Advanced \ Encryption: authentication, WEP keys (always shown masked),
// WPA passphrase, cipher, group key interval and the security servers.
#include <memory>
#include <string>

#include "binding/QvWriteSequence.h"
#include "ui/Form.h"

class TButton;
class TComboBox;
class TEdit;
class TGroupBox;
class TLabel;
class TPageControl;
class TStatusBar;
class TTabSheet;
class QvSNMPRequest2Controls;
class QvSNMPRequest2Edits;

class TFM_Encrypt : public TForm {
public:
    static void RegisterOpener();

    explicit TFM_Encrypt(TComponent* owner);
    ~TFM_Encrypt() override;

    TPageControl* PC_Encryption = nullptr;
    TTabSheet* TS_80211a = nullptr;
    TTabSheet* TS_80211g = nullptr;
    TComboBox* CB_SecAutha = nullptr;
    TComboBox* CB_SecEncypa = nullptr;
    TComboBox* CB_KeyTypeA = nullptr;
    TComboBox* CB_KeySizeA = nullptr;
    TComboBox* CB_SecValKeya = nullptr;
    TGroupBox* GB_KeyTable = nullptr;
    TEdit* Ed_Keya[4] = {};  // Ed_Key1a..Ed_Key4a, hexadecimal, bound
    TEdit* Ed_Keyt[4] = {};  // Ed_Key1t..Ed_Key4t, ASCII, not bound
    TEdit* Ed_PassPha = nullptr;
    TComboBox* CB_CipherTypea = nullptr;
    TEdit* Ed_GKUIa = nullptr;
    TGroupBox* GB_Server = nullptr;
    TLabel* La_DNSIP = nullptr;
    TLabel* La_DNSIP2 = nullptr;
    TLabel* La_DNS = nullptr;
    TEdit* Ed_DNSIP = nullptr;
    TEdit* Ed_DNS = nullptr;
    TLabel* La_Radius = nullptr;
    TLabel* La_RadiusPort = nullptr;
    TLabel* La_RadiusSec = nullptr;
    TEdit* Ed_RadiusSrv2 = nullptr;
    TEdit* Ed_RadiusSrv = nullptr;
    TEdit* Ed_RadiusPort = nullptr;
    TEdit* Ed_RadiusSec = nullptr;
    TComboBox* CB_11a_APM = nullptr;
    TEdit* Codebase = nullptr;
    TButton* Bt_Apply = nullptr;
    TButton* Bt_Cancel = nullptr;
    TButton* Bt_Ref = nullptr;
    TStatusBar* StatusBar = nullptr;

    std::unique_ptr<QvSNMPRequest2Edits> AuthGroup;
    std::unique_ptr<QvSNMPRequest2Edits> PassPhraseA;
    std::unique_ptr<QvSNMPRequest2Edits> PassPhraseG;
    std::unique_ptr<QvSNMPRequest2Edits> ServerGroup;
    std::unique_ptr<QvSNMPRequest2Edits> ApModeGroup;
    std::unique_ptr<QvSNMPRequest2Edits> CodebaseGroup;

    std::string RememberedAuth;
    // The security-server group answered: until then its edits hold nothing
    // of the device's and must not be written.
    bool ServerRead = false;

    void FormCreate(TObject* sender);
    void Bt_ApplyClick(TObject* sender);
    void Bt_RefClick(TObject* sender);
    void Bt_CancelClick(TObject* sender);

    void UpdateAuthControls();
    void ShowKeyTable();
    void DetectKeySize();
    void FillAuthenticationList();
    void HideSecurityRow();
    bool CheckKeyLength();
    bool CheckSecurityServer();
    // 0 unchanged (a mask), 1 write, -1 invalid (message shown).
    int CheckHexKey(TEdit* edit);
    bool IsKeyChanged(int i) const;
    static std::string AsciiToHex(const std::string& text);
    // Key length for the chosen type and size.
    int KeyLength() const;

private:
    void OnServerRead(QvSNMPError* error);
    QvWriteSequence writes_;
};
