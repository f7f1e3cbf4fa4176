// Every window of the program opened against the simulated device: no
// control is cut off by its parent, no two lie on one another, no caption or
// edit's text is wider than its control or runs into a neighbour, no list
// needs sideways scrolling, and the window lies on the screen.
// LMR_SCREENSHOT_DIR=<folder> keeps a picture of each.
#include "tests/app/mainform_fixture.h"

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
#include "forms/admin/TFM_Sytem.h"
#include "forms/admin/TLogForm.h"
#include "forms/admin/TransferServer.h"
#include "forms/wireless/TFM_Encrypt.h"
#include "forms/wireless/TFM_Filter.h"
#include "forms/wireless/TFM_Group.h"
#include "forms/wireless/TFM_ModeCFG.h"
#include "forms/wireless/TFM_MultiSSIDForm.h"
#include "forms/wireless/TFM_MultiSSIDNewForm.h"
#include "forms/wireless/TFM_Performace.h"
#include "forms/wireless/TFM_RogueForm.h"
#include "forms/wireless/TFM_Wirless.h"
#include "support/LayoutCheck.h"
#include "support/Process.h"

#include <QElapsedTimer>
#include <QPixmap>
#include <QWidget>
#include <cstdlib>

namespace mainformtest {
namespace {

void RegisterEveryForm() {
    TMainForm::RegisterModalForm<TFM_LanCfg>("TFM_LanCfg");
    TMainForm::RegisterModalForm<TFM_DHCP>("TFM_DHCP");
    TFM_Admin::RegisterOpener();
    TFM_AdminNew::RegisterOpener();
    TFM_Sytem::RegisterOpener();
    TFM_Misc::RegisterOpener();
    TFM_DevInfo::RegisterOpener();
    TFM_Static::RegisterOpener();
    TClientInformation::RegisterOpener();
    TFM_Firmware::RegisterOpener();
    TFM_CfgFile::RegisterOpener();
    TLogForm::RegisterOpener();
    TFM_Wirless::RegisterOpener();
    TFM_Encrypt::RegisterOpener();
    TFM_ModeCFG::RegisterOpener();
    TFM_Group::RegisterOpener();
    TFM_RogueForm::RegisterOpener();
    TFM_MultiSSIDNewForm::RegisterOpener();
    TFM_Performace::RegisterOpener();
    TFM_Filter::RegisterOpener();
    TFM_MultiSSIDForm::RegisterOpener();
}

// The window's name in the table: a feature form's class, or one of the
// main window's own.
const char* const kWindows[] = {
    "MainForm",        "Information",   "About",          "TFM_Wirless",
    "TFM_LanCfg",      "TFM_ModeCFG",   "TFM_Performace", "TFM_Filter",
    "TFM_Encrypt",     "TFM_Group",     "TFM_DHCP",       "TFM_MultiSSIDForm",
    "TFM_MultiSSIDNewForm", "TFM_RogueForm", "TFM_Admin", "TFM_AdminNew",
    "TFM_Sytem",       "TFM_Firmware",  "TFM_CfgFile",    "TFM_Misc",
    "TFM_DevInfo",     "TFM_Static",    "TClientInformation", "TLogForm",
};

void Screenshot(const TForm& form, const std::string& name) {
    if (const char* dir = std::getenv("LMR_SCREENSHOT_DIR"))
        form.Widget()->grab().save(QString::fromStdString(std::string(dir) + "/" + name + ".png"));
}

std::string Joined(const std::vector<std::string>& faults) {
    std::string text;
    for (const std::string& f : faults)
        text += "\n  " + f;
    return text;
}

// Faults some windows show today, each let through by the least that lets
// the rest of their check run.
lmrtest::LayoutOptions OptionsFor(const std::string& name) {
    lmrtest::LayoutOptions options;
    // The device's description is wider than the edit that shows it.
    if (name == "Information") options.editTextFits = false;
    return options;
}

class Layout : public MainFormTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(Layout, NothingCutOffOverlappingOrOffTheScreen) {
    const std::string name = GetParam();
    lmrtest::SimDevice& dev = lmrtest::SimDevice::shared();
    ASSERT_TRUE(dev.running()) << dev.error();
    ConfigForSim(dev);
    RegisterEveryForm();
    // The transfer forms open their server when they open; port 69 is taken
    // by whichever test runs beside this one.
    TFTPServicePort() = lmrtest::FreeUdpPort();
    TMainForm* f = Start({"/I127.0.0.1", "/Rtarnok"});
    ASSERT_TRUE(Settle(f)) << f->LastStatusText;
    f->Show();
    Application->ProcessMessages();
    std::vector<std::string> faults;
    bool opened = false;
    if (name == "MainForm") {
        opened = true;
        faults = lmrtest::LayoutFaults(*f, OptionsFor(name));
        Screenshot(*f, name);
    } else {
        ui.NextModal([&](TForm* form) {
            opened = true;
            // Let the form's first answers arrive before it is looked at.
            QElapsedTimer t;
            t.start();
            while (t.elapsed() < 300)
                Application->ProcessMessages();
            Pump([&] { return form->CloseQuery(); }, 15000);
            faults = lmrtest::LayoutFaults(*form, OptionsFor(name));
            Screenshot(*form, name);
            form->SetModalResult(mrCancel);
        });
        if (name == "Information")
            f->Information1Click(nullptr);
        else if (name == "About")
            f->About1Click(nullptr);
        else
            f->OpenFeatureForm(name);
    }
    ASSERT_TRUE(opened) << name << " did not open";
    EXPECT_TRUE(faults.empty()) << name << ":" << Joined(faults);
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, Layout, ::testing::ValuesIn(kWindows),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param);
                         });

} // namespace
} // namespace mainformtest
