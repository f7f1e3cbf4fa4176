// TFM_Waiting, the waiting dialog the forms show, has no row of its own: the rows check that it does not follow a failed or left-out write.
//
// Two properties every form keeps, one table row per form:
//
// - A group whose read failed holds nothing of the device. For each group a
//   form reads when it opens, that read fails; Apply pressed unchanged (every
//   question answered yes) leaves every object of the device as it was, and
//   when the group was the one Apply needs, no success is claimed.
// - A refused write leaves nothing half done. One value is changed, the
//   write of one group is refused; every object holds its old value or the
//   one the same Apply writes on a device that refuses nothing, and no
//   success is claimed.
//
// A new form gets its rows from one entry in Forms(): how it is opened, the
// variable tables of its groups (the objects to fail are taken from the
// groups made from them, with their instances), how its Apply is pressed,
// and for the second table one change and which groups Apply writes. A
// third table checks that every group a form reads when it opens has an
// entry.
#include "tests/forms/integrity/integrity_fixture.h"

#include "forms/admin/TClientInformation.h"
#include "forms/admin/TFM_Admin.h"
#include "forms/admin/TFM_AdminNew.h"
#include "forms/admin/TFM_CfgFile.h"
#include "forms/admin/TFM_DHCP.h"
#include "forms/admin/TFM_DevInfo.h"
#include "forms/admin/TFM_Firmware.h"
#include "forms/admin/TFM_LanCfg.h"
#include "forms/admin/TFM_Misc.h"
#include "forms/admin/TFM_Static.h"
#include "forms/admin/TFM_StaticIP.h"
#include "forms/admin/TFM_Sytem.h"
#include "forms/admin/TLogForm.h"
#include "forms/admin/TLogSetForm.h"
#include "forms/wireless/TFM_Encrypt.h"
#include "forms/wireless/TFM_Filter.h"
#include "forms/wireless/TFM_FilterMAC.h"
#include "forms/wireless/TFM_Group.h"
#include "forms/wireless/TFM_MACAddr.h"
#include "forms/wireless/TFM_ModeCFG.h"
#include "forms/wireless/TFM_MultiSSIDForm.h"
#include "forms/wireless/TFM_MultiSSIDNewForm.h"
#include "forms/wireless/TFM_Performace.h"
#include "forms/wireless/TFM_RogueForm.h"
#include "forms/wireless/TFM_Wirless.h"
#include "mib/AdminNewVars.h"
#include "mib/AdminVars.h"
#include "mib/ClientInfoVars.h"
#include "mib/DHCPVars.h"
#include "mib/DevInfoVars.h"
#include "mib/EncryptVars.h"
#include "mib/FilterVars.h"
#include "mib/FirmwareVars.h"
#include "mib/GroupVars.h"
#include "mib/LanCfgVars.h"
#include "mib/LogVars.h"
#include "mib/MiscVars.h"
#include "mib/ModeCFGVars.h"
#include "mib/MultiSSIDNewVars.h"
#include "mib/MultiSSIDVars.h"
#include "mib/PerformaceVars.h"
#include "mib/RogueVars.h"
#include "mib/StaticVars.h"
#include "mib/SystemVars.h"
#include "mib/WirelessVars.h"
#include "ui/ListView.h"
#include "ui/Widgets.h"

#include <memory>
#include <ostream>

namespace {

using integritytest::GroupObjects;
using integritytest::IntegrityTest;

struct Group {
    const char* name;
    const QvSNMPVar* table;
    // Apply on the simulated device's settings writes it (the second table
    // refuses it). Groups written only in other modes (an EAP
    // server, a WPA passphrase, a channel the radio does not use) are not.
    bool written = false;
};

struct FormRow {
    const char* form; // the class, as spelled in the code
    // Fields of the main window the form reads, set before it opens.
    std::function<void(TMainForm*)> prepare;
    std::function<TForm*()> open;
    std::vector<Group> groups;
    // Presses Apply (or OK, Save); null for a form that writes nothing.
    std::function<void(TForm*, UiTestSession&)> apply;
    // One change a user makes before Apply; null: no refused-write rows.
    std::function<void(TForm*)> change;
    // A dialog reached through the form that opens it: its groups are a
    // part of that form's.
    bool dialog = false;
    // Objects the form sets itself on every open or Apply (commands), so
    // their change tells nothing of what was read.
    std::vector<const QvSNMPVar*> commands = {};
};

template <class F> std::function<TForm*()> Opener() {
    return [] { return static_cast<TForm*>(NewForm<F>(Application)); };
}
template <class F> std::function<void(TForm*, UiTestSession&)> Press(TButton* F::*button) {
    return [button](TForm* f, UiTestSession&) { (static_cast<F*>(f)->*button)->Click(); };
}
template <class F> F* As(TForm* f) {
    return static_cast<F*>(f);
}

void NoFields(TMainForm*) {}

// What the wireless forms' own tests give the main window: a current
// firmware with every capability.
void WirelessFields(TMainForm* m) {
    m->Ed_FwVer->SetText("v2.31");
    m->ifMultiSSID_Edit->SetText("0");
    m->ED_Turbomode->SetText("2");
    m->APModeSupport->SetText("127");
    m->NewMultiSupport->SetText("1");
    m->Ed_KeyTypeSup->SetText("1");
    m->ApmodeStringChangeSupport->SetText("1");
    m->Ed_DelFunction->SetText("0");
    m->Ed_SSIDBroadDisable->SetText("0");
    m->Ed_RptModeToSuper->SetText("1");
    m->repeaterWpasupport->SetText("1");
    m->mssidAndWdssupport->SetText("1");
}

void AdminFields(TMainForm* m) {
    m->Ed_ipRangeSupported->SetText("1");
    m->Ed_DelFunction->SetText("0");
}

// Picks the next entry of a combo box (wrapping), as a user would.
void NextItem(TComboBox* c) {
    if (c->Items().Count() > 1) c->ChooseItem((c->ItemIndex() + 1) % c->Items().Count());
}

const std::vector<FormRow>& Forms() {
    static const std::vector<FormRow> forms = {
        {"TFM_Admin",
         NoFields,
         Opener<TFM_Admin>(),
         {{"Login", mib::adminLoginTable, true}},
         Press<TFM_Admin>(&TFM_Admin::OK),
         nullptr},
        {"TFM_AdminNew",
         AdminFields,
         Opener<TFM_AdminNew>(),
         {{"MssidState", mib::adminMssidStateTable},
          {"VlanState", mib::adminVlanStateTable},
          {"DeviceInfo", mib::adminDeviceInfoTable},
          {"Wlan", mib::adminWlanTable, true},
          {"ManagerVlan", mib::adminManagerVlanTable, true},
          {"IpRange", mib::adminIpRangeTable},
          {"Telnet", mib::adminTelnetTable, true},
          {"Ssh", mib::adminSshTable, true},
          {"LimitState", mib::adminLimitRangeTable, true},
          {"Login", mib::adminNewLoginTable, true},
          {"TrapSupport", mib::adminTrapSupportTable},
          {"TrapServer", mib::adminTrapServerTable, true},
          {"PingSupport", mib::adminPingSupportTable},
          {"PingControl", mib::adminPingControlTable, true}},
         Press<TFM_AdminNew>(&TFM_AdminNew::OK),
         [](TForm* f) { NextItem(As<TFM_AdminNew>(f)->CB_Timeout); }},
        {"TFM_Misc",
         NoFields,
         Opener<TFM_Misc>(),
         {{"Console", mib::miscConsoleTable, true}},
         Press<TFM_Misc>(&TFM_Misc::Bt_Apply),
         nullptr},
        // Its buttons are commands (restart, factory settings): nothing it
        // read is written back, so its row only opens and closes it.
        {"TFM_Sytem",
         NoFields,
         Opener<TFM_Sytem>(),
         {{"Restart", mib::systemRestartTable}},
         nullptr,
         nullptr},
        {"TFM_LanCfg",
         NoFields,
         Opener<TFM_LanCfg>(),
         // The static pool is not read by an Apply that leaves the address.
         {{"Lan", mib::lanCfgTable, true}, {"Pool", mib::dhcpPoolTable}},
         Press<TFM_LanCfg>(&TFM_LanCfg::BT_LanCfgOk),
         nullptr},
        {"TFM_DHCP",
         NoFields,
         Opener<TFM_DHCP>(),
         {{"Pool", mib::dhcpPoolTable, true},
          {"Function", mib::dhcpFunctionTable, true},
          {"StaticPool", mib::dhcpStaticPoolTable},
          {"CurrentDynamic", mib::dhcpCurrentDynamicTable},
          {"CurrentStatic", mib::dhcpCurrentStaticTable},
          {"SystemAddress", mib::dhcpSystemAddressTable}},
         Press<TFM_DHCP>(&TFM_DHCP::Bt_Apply),
         [](TForm* f) { As<TFM_DHCP>(f)->Ed_DomNa->SetText("lab.example"); }},
        // The static pool entry dialog of the DHCP form: its Apply through
        // "Set" on the first entry the list shows.
        {"TFM_StaticIP",
         NoFields,
         Opener<TFM_DHCP>(),
         {{"StaticPool", mib::dhcpStaticPoolTable, true}},
         [](TForm* f, UiTestSession& ui) {
             auto* d = As<TFM_DHCP>(f);
             if (d->User_ListView->Items().Count() == 0 || !d->Bt_Set->Enabled()) return;
             d->User_ListView->SetSelected(d->User_ListView->Items()[0]);
             ui.NextModal([](TForm* dialog) {
                 if (FM_StaticIP) FM_StaticIP->Apply->Click();
                 if (dialog->ModalResult() == mrNone) dialog->SetModalResult(mrCancel);
             });
             d->Bt_Set->Click();
         },
         nullptr,
         true},
        // Transfer forms: they read nothing when they open, and all they
        // write (this computer's address, the file name, the command) they
        // set themselves before a TFTP transfer; so their row only checks
        // that they open reading nothing unlisted.
        {"TFM_CfgFile", NoFields, Opener<TFM_CfgFile>(), {}, nullptr, nullptr},
        {"TFM_Firmware", NoFields, Opener<TFM_Firmware>(), {}, nullptr, nullptr},
        // Its buttons get and clear the log (commands and a transfer); the
        // settings are written by the log setting form's row.
        {"TLogForm",
         NoFields,
         Opener<TLogForm>(),
         {{"Get", mib::logGetTable},
          {"Settings", mib::logSettingsTable},
          {"Clear", mib::logClearTable}},
         nullptr,
         nullptr},
        {"TLogSetForm",
         NoFields,
         Opener<TLogForm>(),
         {{"Settings", mib::logSettingsTable, true}},
         [](TForm* f, UiTestSession&) {
             if (auto* s = As<TLogForm>(f)->LogSetForm.get()) s->Button2->Click();
         },
         nullptr,
         true},
        // Status forms: they write nothing, so their rows check just that.
        {"TClientInformation",
         NoFields,
         Opener<TClientInformation>(),
         {{"Table", mib::clientTableVars}},
         nullptr,
         nullptr,
         false,
         {mib::clientGetVars}},
        {"TFM_DevInfo",
         [](TMainForm* m) {
             WirelessFields(m);
             // The Super G and AP mode groups exist only on such a device.
             m->ED_Turbomode->SetText("0");
             m->Ed_RptModeToSuper->SetText("0");
         },
         Opener<TFM_DevInfo>(),
         // The second band's groups exist only on a two-band device.
         {{"SuperG", mib::devSuperGVars},
          {"ApMode", mib::devApModeVars},
          {"Band1", mib::devBand1StatusVars},
          {"Device", mib::devDeviceVars},
          {"ApStatus", mib::devApStatusVars}},
         nullptr,
         nullptr},
        {"TFM_Static",
         WirelessFields,
         Opener<TFM_Static>(),
         {{"Band1", mib::staticBand1Vars}, {"Bytes", mib::staticByteVars}},
         nullptr,
         nullptr},
        {"TFM_Encrypt",
         WirelessFields,
         Opener<TFM_Encrypt>(),
         {{"Auth", mib::encryptAuthTable, true},
          {"ApMode", mib::encryptApModeTable},
          {"Codebase", mib::encryptCodebaseTable},
          {"Server", mib::encryptServerTable},
          {"PassPhraseA", mib::encryptPassPhraseTableA}},
         Press<TFM_Encrypt>(&TFM_Encrypt::Bt_Apply),
         [](TForm* f) { As<TFM_Encrypt>(f)->Ed_PassPha->SetText("another passphrase"); }},
        {"TFM_Filter",
         WirelessFields,
         Opener<TFM_Filter>(),
         {{"Filter", mib::filterTable, true}},
         Press<TFM_Filter>(&TFM_Filter::Bt_Apply),
         nullptr},
        // Its entries are written from the entry dialog's row.
        {"TFM_FilterMAC",
         NoFields,
         Opener<TFM_FilterMAC>(),
         {{"Table", mib::filterMacTableA}},
         nullptr,
         nullptr},
        // The MAC entry dialog of the MAC table form: its Apply through "Set"
        // on the first entry in use.
        {"TFM_MACAddr",
         NoFields,
         Opener<TFM_FilterMAC>(),
         {{"Table", mib::filterMacTableA, true}},
         [](TForm* f, UiTestSession& ui) {
             auto* t = As<TFM_FilterMAC>(f);
             if (t->User_ListView->Items().Count() == 0) return;
             t->User_ListView->SetSelected(t->User_ListView->Items()[0]);
             if (!t->Bt_Set->Enabled()) return;
             ui.NextModal([](TForm* dialog) {
                 if (FM_MACAddr) FM_MACAddr->Bt_Apply->Click();
                 if (dialog->ModalResult() == mrNone) dialog->SetModalResult(mrCancel);
             });
             t->Bt_Set->Click();
         },
         nullptr,
         true},
        {"TFM_Group",
         WirelessFields,
         Opener<TFM_Group>(),
         {{"Settings", mib::groupSettingsTable, true}, {"ApMode", mib::groupApModeTable}},
         Press<TFM_Group>(&TFM_Group::Bt_Apply),
         nullptr},
        {"TFM_ModeCFG",
         WirelessFields,
         Opener<TFM_ModeCFG>(),
         {{"ModeA", mib::modeCfgTableA, true}, {"Auth", mib::modeCfgAuthTable}},
         Press<TFM_ModeCFG>(&TFM_ModeCFG::Bt_Apply),
         [](TForm* f) { As<TFM_ModeCFG>(f)->Ed_RoMAddra0->SetText("0050C2F10009"); }},
        {"TFM_MultiSSIDForm",
         [](TMainForm* m) {
             WirelessFields(m);
             m->NewMultiSupport->SetText("0");
         },
         Opener<TFM_MultiSSIDForm>(),
         {{"Vlan", mib::mssidVlanStateTable, true},
          {"Master", mib::mssidMasterTable, true},
          {"Guest1", mib::mssidGuestTables[0], true},
          {"Guest2", mib::mssidGuestTables[1], true},
          {"Guest3", mib::mssidGuestTables[2], true},
          {"ApSuperG", mib::mssidApSuperGTable}},
         Press<TFM_MultiSSIDForm>(&TFM_MultiSSIDForm::Bt_Apply),
         [](TForm* f) { As<TFM_MultiSSIDForm>(f)->MasterSSIDEdit->SetText("lab2"); }},
        {"TFM_MultiSSIDNewForm",
         WirelessFields,
         Opener<TFM_MultiSSIDNewForm>(),
         {{"RadiusSupport", mib::mssidBackupRadiusTable},
          {"ApMode", mib::mssidApModeTables[1][1]},
          {"MssidState", mib::mssidStateTable, true},
          {"VlanState", mib::mssidNewVlanStateTable, true},
          {"Priority", mib::mssidPriorityTable},
          {"GroupKey", mib::mssidGroupKeyTable},
          {"Radius", mib::mssidRadiusTable},
          {"SsidTable", mib::mssidWideTable},
          {"Account", mib::mssidAccountTable}},
         Press<TFM_MultiSSIDNewForm>(&TFM_MultiSSIDNewForm::ApplyBtn),
         [](TForm* f) { NextItem(As<TFM_MultiSSIDNewForm>(f)->CB_SuperMode); }},
        {"TFM_Performace",
         WirelessFields,
         Opener<TFM_Performace>(),
         {{"ApMode", mib::perfApModeTable},
          {"WifiMode", mib::perfWifiModeTable},
          {"XR", mib::perfXRTable, true},
          {"WMM", mib::perfWMMTable, true},
          {"Preamble", mib::perfPreambleTable, true},
          {"Radio", mib::perfRadioTable, true},
          {"SuperG", mib::perfSuperGTable, true},
          {"Main", mib::perfMainTable, true},
          {"RateSupport", mib::perfRateSupportTable},
          {"RateStatus", mib::perfRateStatusTable, true},
          {"RateTable", mib::perfRateTable},
          {"Igmp", mib::perfIgmpTable, true}},
         Press<TFM_Performace>(&TFM_Performace::Bt_Apply_a),
         [](TForm* f) { As<TFM_Performace>(f)->Ed_BeInta->SetText("150"); }},
        {"TFM_RogueForm",
         WirelessFields,
         Opener<TFM_RogueForm>(),
         {{"Radio", mib::rogueRadioTable},
          {"Mask", mib::rogueMaskTable, true},
          {"Result", mib::rogueResultTable},
          {"List", mib::rogueApListTable},
          {"Detect", mib::rogueDetectTable},
          {"Add", mib::rogueAddTable},
          {"DeleteResult", mib::rogueDeleteResultTable},
          {"DeleteListed", mib::rogueDeleteListedTable},
          {"Support", mib::rogueSupportTable},
          {"Protection", mib::rogueProtectionTable, true}},
         Press<TFM_RogueForm>(&TFM_RogueForm::Apply_Btn),
         [](TForm* f) { NextItem(As<TFM_RogueForm>(f)->CB_Radio); }},
        {"TFM_Wirless",
         WirelessFields,
         [] {
             auto* f = new TFM_Wirless(Application);
             f->DoCreate();
             return static_cast<TForm*>(f);
         },
         {{"Ssid", mib::wlSsidTable, true},
          {"SuperG", mib::wlSuperGTable, true},
          {"DynamicChannel", mib::wlDynamicChannelTable},
          {"StaticChannel", mib::wlStaticChannelTable},
          {"WdsConsistency", mib::wlWdsConsistencyTable},
          {"Radio", mib::wlRadioTable},
          {"Firmware", mib::wlFirmwareTable},
          {"AutoScan", mib::wlAutoScanTable},
          {"ApMode", mib::wlApModeTable, true},
          {"WifiMode", mib::wlWifiModeTable},
          {"Repeater", mib::wlRepeaterTable, true},
          {"Security", mib::wlSecurityTable, true},
          {"KeyType", mib::wlKeyTypeTable, true},
          {"MssidState", mib::wlMssidStateTable},
          {"MssidTable", mib::wlMssidTable},
          {"Radius", mib::wlRadiusTable},
          {"Accounting", mib::wlAccountingTable, true},
          {"BackupRadiusSupport", mib::wlBackupRadiusSupportTable},
          {"BackupAccountSupport", mib::wlBackupAccountSupportTable},
          {"BackupRadius", mib::wlBackupRadiusTable},
          {"BackupAccount", mib::wlBackupAccountTable},
          {"Passphrase", mib::wlPassphraseTable},
          {"MssidSecurity", mib::wlMssidSecurityTable}},
         Press<TFM_Wirless>(&TFM_Wirless::Bt_Apply),
         [](TForm* f) { As<TFM_Wirless>(f)->Ed_SSIDa->SetText("lab2"); },
         false,
         // Apply always marks the WDS settings consistent.
         {mib::wlWdsConsistencyTable}},
    };
    return forms;
}

// One case of a table: a form and one of its groups.
struct Case {
    const FormRow* row;
    const Group* group;
    std::string name;
};
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

std::vector<Case> ReadCases() {
    std::vector<Case> out;
    for (const FormRow& r : Forms())
        for (const Group& g : r.groups)
            out.push_back({&r, &g, std::string(r.form) + "_" + g.name});
    return out;
}

std::vector<Case> WriteCases() {
    std::vector<Case> out;
    for (const FormRow& r : Forms()) {
        if (!r.change || !r.apply) continue;
        int written = 0;
        for (const Group& g : r.groups)
            written += g.written ? 1 : 0;
        if (written < 2) continue;
        for (const Group& g : r.groups)
            if (g.written) out.push_back({&r, &g, std::string(r.form) + "_" + g.name});
    }
    return out;
}

struct FormCase {
    const FormRow* row;
};
void PrintTo(const FormCase& c, std::ostream* os) {
    *os << c.row->form;
}

std::vector<FormCase> FormCases() {
    std::vector<FormCase> out;
    for (const FormRow& r : Forms())
        if (!r.dialog) out.push_back({&r});
    return out;
}

// How much longer than a reply may take a silent device holds it back; a
// group that waits longer than kHoldCapMs for a reply is still reading
// when Apply is pressed (its walk is held back until the end of the case).
constexpr std::uint32_t kHoldMarginMs = 300;
constexpr std::uint32_t kHoldCapMs = 4000;
constexpr int kHeldForGoodMs = 60000;

class FormIntegrity : public IntegrityTest {
protected:
    void SetUp() override {
        IntegrityTest::SetUp();
        g_DefaultTimeout = 50;
    }

    void TearDown() override {
        form.reset();
        IntegrityTest::TearDown();
    }

    TForm* Open(const FormRow& r, std::uint32_t settleMs = 20000, bool quietly = false) {
        r.prepare(main);
        form.reset(r.open());
        Settle(settleMs, quietly);
        return form.get();
    }

    // Opens the form on a device that answers everything, notes the objects
    // of the group, and closes it again.
    GroupObjects Probe(const FormRow& r, const QvSNMPVar* table) {
        Open(r);
        GroupObjects g = integritytest::ObjectsOf(table);
        form.reset();
        Settle();
        dev->reset();
        dev->takeSetLog();
        return g;
    }

    // The objects of the row's command tables, as the device names them.
    static std::set<std::string> Commands(const FormRow& r) {
        std::set<std::string> out;
        for (const QvSNMPVar* table : r.commands)
            for (const QvSNMPVar* v = table; v->Oid; ++v)
                if (*v->Oid) {
                    out.insert("." + std::string(v->Oid));
                    out.insert("." + std::string(v->Oid) + ".0");
                }
        return out;
    }

    int Hits(const std::vector<std::string>& oids) {
        int n = 0;
        for (const auto& o : oids)
            n += std::max(0, dev->faultHits(o));
        return n;
    }

    void PressApply(const FormRow& r, std::uint32_t settleMs = 20000, bool quietly = false) {
        waits.clear();
        boxes.texts.clear();
        r.apply(form.get(), ui);
        Settle(settleMs, quietly);
    }

    // The waiting dialogs that followed a write (not a listing wait).
    bool WaitedAfterWrite() const {
        for (const auto& w : waits)
            if (w.label3.find("listing") == std::string::npos) return true;
        return false;
    }

    std::unique_ptr<TForm> form;
};

// ---------------------------------------------------------------------------
// Every group a form reads when it opens is found among the table's rows, so
// the rows below cover the whole form.

class EveryGroupHasARow : public FormIntegrity, public ::testing::WithParamInterface<FormCase> {};

TEST_P(EveryGroupHasARow, ReadAtOpen) {
    const FormRow& r = *GetParam().row;
    Open(r);
    for (const QvSNMPRequest2Controls* g : QvSNMPRequest2Controls::Live()) {
        if (g->ReadState() == QvReadState::None) continue;
        bool listed = false;
        for (const Group& row : r.groups)
            listed = listed || integritytest::MadeFrom(*g, row.table);
        const QvSNMPVarList& vars = g->request.vars;
        EXPECT_TRUE(listed) << r.form << " reads a group with no row: " << vars.Name << " "
                            << (vars.Count() ? vars.Item(0)->Oid : "");
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, EveryGroupHasARow, ::testing::ValuesIn(FormCases()),
                         [](const auto& info) { return std::string(info.param.row->form); });

// ---------------------------------------------------------------------------
// A failed read, then Apply unchanged.

class FailedRead : public FormIntegrity, public ::testing::WithParamInterface<Case> {};

TEST_P(FailedRead, ApplyUnchangedWritesNothingItDidNotRead) {
    const Case& c = GetParam();
    const GroupObjects g = Probe(*c.row, c.group->table);
    const std::set<std::string> commands = Commands(*c.row);
    ASSERT_TRUE(g.found) << c.row->form << " makes no group of this table when it opens";
    ASSERT_FALSE(g.oids.empty());
    // A walk meets no error from a missing object (it just sees no rows), so
    // a walk is failed by a device that does not answer in time; where the
    // group waits too long for that, its walk is still running at Apply.
    const bool failsInTime = g.replyBoundMs + kHoldMarginMs <= kHoldCapMs;
    const int hold =
        failsInTime ? static_cast<int>(g.replyBoundMs + kHoldMarginMs) : kHeldForGoodMs;
    // A get fault would also refuse the Apply's sets (snmpd looks an object
    // up before it sets it), so it goes once the form has read; a walk's
    // fault meets only walks.
    for (const auto& oid : g.oids)
        ASSERT_TRUE(g.walk ? dev->fault(oid, "timeout", "next", hold)
                           : dev->fault(oid, "noSuchName", "get"));
    const auto before = State();

    const bool held = g.walk && !failsInTime;
    Open(*c.row, held ? kHoldCapMs : 20000, held);
    bool succeeded = false;
    for (const QvSNMPRequest2Controls* live : QvSNMPRequest2Controls::Live())
        if (integritytest::MadeFrom(*live, c.group->table))
            succeeded = succeeded || live->ReadSucceeded();
    const int hits = Hits(g.oids);
    if (!g.walk) dev->clearFaults();
    if (c.row->apply) PressApply(*c.row, held ? kHoldCapMs : 20000, held);
    EXPECT_GT(hits + Hits(g.oids), 0) << "the group is never read";
    EXPECT_FALSE(succeeded) << "the group read what it should not have";
    const std::vector<std::string> claims = Claims(form.get());
    const bool waited = WaitedAfterWrite();
    // Held answers go, then the form goes (it can always be closed).
    dev->clearFaults();
    form.reset();
    Settle();
    if (dev->control("state") != "ok running") dev->waitUntilAnswering();

    std::vector<std::string> changed;
    for (const auto& d : Third(before, State(), nullptr))
        if (!commands.count(d.substr(0, d.find(':')))) changed.push_back(d);
    EXPECT_EQ(changed, std::vector<std::string>{}) << "objects changed after a failed read";
    int written = 0;
    for (const Group& other : c.row->groups)
        written += other.written ? 1 : 0;
    // With the one group Apply writes unread, nothing was written.
    if (!c.row->apply || (c.group->written && written == 1)) {
        EXPECT_EQ(claims, std::vector<std::string>{}) << "success claimed for nothing written";
        EXPECT_FALSE(waited);
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, FailedRead, ::testing::ValuesIn(ReadCases()),
                         [](const auto& info) { return info.param.name; });

// ---------------------------------------------------------------------------
// One change, the write of one group refused.

class RefusedWrite : public FormIntegrity, public ::testing::WithParamInterface<Case> {};

TEST_P(RefusedWrite, EveryObjectOldOrNew) {
    const Case& c = GetParam();
    const GroupObjects g = Probe(*c.row, c.group->table);
    ASSERT_TRUE(g.found && !g.oids.empty());
    const auto before = State();

    // What the same change writes when nothing is refused.
    Open(*c.row);
    c.row->change(form.get());
    PressApply(*c.row);
    form.reset();
    Settle();
    if (dev->control("state") != "ok running") dev->waitUntilAnswering();
    const auto wanted = State();
    dev->reset();
    dev->takeSetLog();

    Open(*c.row);
    for (const auto& oid : g.oids)
        ASSERT_TRUE(dev->fault(oid, "genErr", "set"));
    c.row->change(form.get());
    PressApply(*c.row);
    const int hits = Hits(g.oids);
    const std::vector<std::string> claims = Claims(form.get());
    const bool waited = WaitedAfterWrite();
    form.reset();
    Settle();
    dev->clearFaults();
    if (dev->control("state") != "ok running") dev->waitUntilAnswering();

    EXPECT_GT(hits, 0) << "Apply did not write the group";
    std::vector<std::string> third;
    const std::set<std::string> commands = Commands(*c.row);
    for (const auto& d : Third(before, State(), &wanted))
        if (!commands.count(d.substr(0, d.find(':')))) third.push_back(d);
    EXPECT_EQ(third, std::vector<std::string>{})
        << "objects hold a value that is neither the old nor the chosen one";
    if (hits > 0) {
        EXPECT_EQ(claims, std::vector<std::string>{}) << "success claimed after a refused write";
        EXPECT_FALSE(waited);
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, RefusedWrite, ::testing::ValuesIn(WriteCases()),
                         [](const auto& info) { return info.param.name; });

} // namespace
