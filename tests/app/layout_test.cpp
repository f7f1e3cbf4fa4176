// Every window of the program opened against the simulated device: no
// control is cut off by its parent, no two lie on one another, no caption or
// edit's text is wider than its control or runs into a neighbour, no list
// needs sideways scrolling, and the window lies on the screen.
// LMR_SCREENSHOT_DIR=<folder> keeps a picture of each.
#include "tests/app/mainform_fixture.h"

#include "app/FormOpeners.h"
#include "forms/admin/TransferServer.h"
#include "support/LayoutCheck.h"
#include "support/Process.h"

#include <QElapsedTimer>
#include <QPixmap>
#include <QWidget>
#include <cstdlib>

namespace mainformtest {
namespace {


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
    RegisterFormOpeners();
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
