#pragma once
// The main window under test: a private registry file, configuration folder,
// lock folder, state folder (the boots counter lands there) and current
// folder, recorded message boxes and frozen timers. Start() runs the window's creation with a
// command line; Pump() runs the loop until a condition holds (bounded).
#include "app/MainUnit.h"
#include "app/TMainForm.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "os/Path.h"
#include "snmp/QvSNMPRequest.h"
#include "snmp/QvSession.h"
#include "support/SimFixture.h"
#include "support/TempDir.h"
#include "ui/Application.h"
#include "ui/Menu.h"
#include "ui/StatusBar.h"
#include "ui/Testing.h"
#include "ui/Timer.h"
#include "ui/Widgets.h"

#include <QElapsedTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace mainformtest {

class MainFormTest : public ::testing::Test {
protected:
    lmrtest::TempDir dir{"mainform"};
    std::unique_ptr<lmrtest::ScopedEnv> registryEnv, runtimeEnv, stateEnv;
    std::unique_ptr<lmrtest::ScopedCwd> cwd;
    UiTestSession ui;
    std::vector<TMainForm*> forms;

    void SetUp() override {
        ASSERT_TRUE(dir.ok());
        dir.mkdir("conf");
        dir.mkdir("run");
        dir.mkdir("state");
        registryEnv = std::make_unique<lmrtest::ScopedEnv>("LMR_REGISTRY_FILE",
                                                           dir.file("registry.ini").c_str());
        runtimeEnv =
            std::make_unique<lmrtest::ScopedEnv>("LMR_RUNTIME_DIR", dir.file("run").c_str());
        stateEnv = std::make_unique<lmrtest::ScopedEnv>("LMR_STATE_DIR", dir.file("state").c_str());
        cwd = std::make_unique<lmrtest::ScopedCwd>(dir.path());
        WriteRegistry(ConfFolder());
        ui.FreezeTimers();
        Application->ResetTerminated();
        Application->SetTitle(g_ModelName); // as the program sets it
    }

    void TearDown() override {
        for (auto it = forms.rbegin(); it != forms.rend(); ++it)
            delete *it;
        forms.clear();
        os::ResetCommandLine();
        Application->ResetTerminated();
        Application->SetTitle("");
        g_DefaultDevice = QvSNMPDevice{};
        g_DefaultScope = QvSNMPScope{};
        g_DefaultSecurity = QvSNMPSecurity{};
    }

    std::string ConfFolder() const { return dir.file("conf") + "/"; }

    // The platform's configuration folder; an empty text leaves the key out.
    void WriteRegistry(const std::string& mibFolder, const std::string& helpPath = "") {
        std::string text;
        if (!mibFolder.empty())
            text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\Velkar5.1\\MibFile]\nPath=" +
                    mibFolder + "\n";
        if (!helpPath.empty())
            text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\Modules\\HelpPath]\n"
                    "qvEnterprise.10.37.15=" +
                    helpPath + "\n";
        dir.write("registry.ini", text);
    }

    // The per-device file: "key=value" lines under the section.
    void WriteConfig(const std::string& address, const std::vector<std::string>& lines) {
        std::string text = "[Program Information]\n";
        for (const auto& l : lines)
            text += l + "\n";
        dir.write("conf/" + address + ".cfg", text);
    }

    // A window made and created as the program does it.
    TMainForm* Start(const std::vector<std::string>& args) {
        os::SetCommandLine(args);
        auto* form = new TMainForm(Application);
        forms.push_back(form);
        form->DoCreate();
        return form;
    }

    // A window that is not created: its start-up steps are run one by one.
    TMainForm* Bare(const std::vector<std::string>& args) {
        os::SetCommandLine(args);
        auto* form = new TMainForm(Application);
        forms.push_back(form);
        return form;
    }

    // Runs the loop until done() holds or ms of real time have passed.
    static bool Pump(const std::function<bool()>& done, int ms = 8000) {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > ms) return false;
            Application->ProcessMessages();
        }
        return true;
    }

    static bool ProbesIdle(TMainForm* f) {
        for (auto* p : f->Probes)
            if (p && (p->busy || p->request.Outstanding > 0)) return false;
        return true;
    }

    // Waits for the first poll and every probe, then runs the blink out.
    static bool Settle(TMainForm* f) {
        bool ok = Pump([&] { return !f->LastStatusText.empty() && ProbesIdle(f); });
        for (int k = 0; k < 30 && f->LedBlink->Enabled(); ++k)
            f->LedBlink->Fire();
        return ok;
    }

    // The agent port of the simulator in the device's file.
    void ConfigForSim(lmrtest::SimDevice& dev, const std::vector<std::string>& more = {}) {
        std::vector<std::string> lines = {"AgentPort=" + std::to_string(dev.port())};
        lines.insert(lines.end(), more.begin(), more.end());
        WriteConfig("127.0.0.1", lines);
    }
};

inline TColor Color(const TShape* led) {
    return led->Brush().Color();
}

} // namespace mainformtest
