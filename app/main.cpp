// Program entry: the application object, its title, the main window and the
// message loop.
#include "app/MainUnit.h"
#include "app/TMainForm.h"
#include "forms/admin/TFM_Admin.h"
#include "forms/admin/TFM_AdminNew.h"
#include "forms/admin/TFM_Misc.h"
#include "forms/admin/TFM_Sytem.h"
#include "forms/admin/TClientInformation.h"
#include "forms/admin/TFM_DevInfo.h"
#include "forms/admin/TFM_Static.h"
#include "forms/admin/TFM_Firmware.h"
#include "forms/admin/TFM_CfgFile.h"
#include "forms/admin/TFM_DHCP.h"
#include "forms/admin/TFM_LanCfg.h"
#include "forms/admin/TLogForm.h"
#include "forms/wireless/TFM_Encrypt.h"
#include "forms/wireless/TFM_ModeCFG.h"
#include "forms/wireless/TFM_Group.h"
#include "forms/wireless/TFM_RogueForm.h"
#include "forms/wireless/TFM_MultiSSIDNewForm.h"
#include "forms/wireless/TFM_Performace.h"
#include "forms/wireless/TFM_Filter.h"
#include "forms/wireless/TFM_MultiSSIDForm.h"
#include "forms/wireless/TFM_Wirless.h"
#include "os/Path.h"
#include "os/Runtime.h"
#include "ui/Application.h"

#include <QApplication>
#include <exception>

int main(int argc, char** argv) {
    // Take the parameters before the toolkit removes its own from argv.
    os::SetCommandLine(argc, argv);
    os::EnsureRuntimeDir();
    QApplication app(argc, argv);
    try {
        Application->Initialize();
        Application->SetTitle(g_ModelName);
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
        Application->CreateForm(MainForm);
        Application->Run();
    } catch (const std::exception& e) {
        Application->ShowException(e);
    }
    delete MainForm;
    return 0;
}
