// The generic host form: one panel only, the read once the form is on
// screen, and a close that waits for a running read, but not for ever.
#include "panel_fixture.h"

#include "app/TConfigForm.h"
#include "app/TCtrlBtnPanel.h"
#include "app/TEditsPanel.h"
#include "app/TSNMPEditorPanel.h"
#include "app/TSNMPListViewPanel.h"
#include "base/Exception.h"
#include "mib/DemoRowTable.h"
#include "support/SilentPort.h"
#include "ui/Application.h"

#include <QElapsedTimer>
#include <memory>

using namespace paneltest;

namespace {

const QvSNMPVar kSystem[] = {
    Var(PANELTEST_SYS ".1", "System Description", QvSyntax::DisplayStr, QvAccess::ReadOnly),
    Var(PANELTEST_SYS ".5", "Name", QvSyntax::DisplayStr, QvAccess::ReadWrite), End()};

// Tells what the group still expected when it was deleted.
struct ProbeGroup : QvSNMPRequest2Edits {
    explicit ProbeGroup(TWinControl* owner, int* outstanding)
        : QvSNMPRequest2Edits(owner), out(outstanding) {}
    ~ProbeGroup() override {
        *out = request.Outstanding;
        if (OnDelete) OnDelete();
    }
    int* out;
    std::function<void()> OnDelete;
};

class ConfigForm : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        form = new TConfigForm(nullptr);
    }
    void TearDown() override { delete form; }
    TConfigForm* form = nullptr;
};

} // namespace

TEST_F(ConfigForm, StartsAsItsResourceSays) {
    EXPECT_EQ(form->Caption(), "ConfigForm");
    EXPECT_EQ(form->BorderIcons(), biSystemMenu | biMinimize);
    EXPECT_EQ(form->Position(), poMainFormCenter);
    EXPECT_EQ(form->FormType(), 0);
    EXPECT_EQ(TConfigForm::WM_REFRESH, 34002u);
}

TEST_F(ConfigForm, SecondPanelIsRefusedAndTheFirstStays) {
    TSNMPEditorPanel* first = form->AddEditorPanel(NewGroup(form, kSystem, SVT_SV));
    std::unique_ptr<QvSNMPRequest2Edits> other(NewGroup(form, mib::demoRowTable, MVT_UMV, 1));
    try {
        form->AddListViewPanel(other.get(), 3, "createAndGo", 3, "destroy");
        FAIL() << "a second panel was taken";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Can not change Type of a Config Form!");
    }
    EXPECT_EQ(form->FormType(), 1);
    ASSERT_EQ(form->Groups().size(), 1u);
    EXPECT_EQ(first->Parent(), form);
    EXPECT_EQ(first->Align(), alClient);
}

TEST_F(ConfigForm, ListViewPanelWithoutNamesHasNoAddOrDelete) {
    TSNMPListViewPanel* p = form->AddListViewPanel(NewGroup(form, mib::demoRowTable, MVT_UMV, 1), 3,
                                                   nullptr, 3, nullptr);
    EXPECT_EQ(form->FormType(), 2);
    EXPECT_FALSE(p->Buttons->AddBtn->Visible());
    EXPECT_FALSE(p->Buttons->DeleteBtn->Visible());
    EXPECT_LE(form->ClientWidth(), 800);
    EXPECT_LE(form->ClientHeight(), 550);
}

TEST_F(ConfigForm, ClientAreaGrowsToThePanelButNeverShrinks) {
    form->SetClientWidth(700);
    form->SetClientHeight(500);
    TSNMPEditorPanel* p = form->AddEditorPanel(NewGroup(form, kSystem, SVT_SV));
    EXPECT_GE(form->ClientWidth(), 700);
    EXPECT_GE(form->ClientHeight(), 500);
    EXPECT_LE(form->ClientWidth(), 800);
    EXPECT_LE(form->ClientHeight(), 550);
    EXPECT_LT(p->EditsPanel->Width(), 700);
}

TEST_F(ConfigForm, WithoutPanelItRefreshesNothingAndCloses) {
    session.NextModal([](TForm* f) { f->Close(); });
    form->ShowModal();
    EXPECT_EQ(session.ModalShows(), 1);
    EXPECT_TRUE(form->Groups().empty());
    EXPECT_EQ(form->CurrentGroup(), nullptr);
}

TEST_F(ConfigForm, ReadsOnceWhenOnScreen) {
    QvSNMPRequest2Edits* g = NewGroup(form, kSystem, SVT_SV);
    int reads = 0;
    g->OnAfterRead = [&] { ++reads; };
    TSNMPEditorPanel* p = form->AddEditorPanel(g);
    // Messages handled before the form shows do not read yet.
    Application->ProcessMessages();
    EXPECT_EQ(reads, 0);
    std::string name;
    session.NextModal([&](TForm*) {
        Application->ProcessMessages();
        name = p->EditsPanel->Rows[1].value->Text();
        p->Buttons->CloseBtn->Click();
    });
    form->ShowModal();
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(name, "LMR-7300AP");
    EXPECT_TRUE(form->Groups().empty()); // deleted when the form closed
}

TEST_F(ConfigForm, CloseWaitsForARunningRead) {
    int outstandingAtDelete = -1;
    auto* g = Aim(new ProbeGroup(form, &outstandingAtDelete), kSystem, SVT_SV);
    g->mode = 1;
    form->AddEditorPanel(g);
    ASSERT_TRUE(dev->fault("system.5.0", "timeout", "get", 300));
    bool busyAtClose = false;
    session.NextModal([&](TForm* f) {
        busyAtClose = g->busy != 0;
        f->Close();
    });
    form->ShowModal();
    dev->clearFaults();
    EXPECT_TRUE(busyAtClose);
    EXPECT_EQ(outstandingAtDelete, 0); // its reply had come
    EXPECT_TRUE(form->Groups().empty());
}

// The Information form's group: 30 s per send, two sends. Closing it on a
// silent device returns at once; nothing is left to run into the closed form.
TEST_F(ConfigForm, CloseOnASilentDeviceReturnsAtOnce) {
    lmrtest::SilentPort silent;
    ASSERT_TRUE(silent.ok());
    int outstandingAtDelete = -1;
    auto* g = Aim(new ProbeGroup(form, &outstandingAtDelete), kSystem, SVT_SV);
    g->mode = 1;
    g->request.Device.Port = silent.port();
    g->request.Timeout = 3000;
    g->request.Retries = 1;
    ASSERT_EQ(QvReplyBoundMs(g->request), 60000u);
    bool readEnded = false;
    g->OnAfterRead = [&] { readEnded = true; };
    form->AddEditorPanel(g);
    session.UseFakeClock(1000);
    bool busyAtClose = false;
    std::uint64_t sleptBefore = 0, sleptAtDelete = 0;
    g->OnDelete = [&] { sleptAtDelete = session.SleptMs(); };
    QElapsedTimer real;
    session.NextModal([&](TForm* f) {
        busyAtClose = g->busy != 0;
        sleptBefore = session.SleptMs();
        real.start();
        f->Close();
    });
    form->ShowModal();
    const qint64 realMs = real.elapsed();
    EXPECT_TRUE(busyAtClose);
    EXPECT_LE(sleptAtDelete - sleptBefore, 510u) << "the close waited for the silent device";
    // The request's own wait would hold the window for seconds of real
    // time on top (its clock is the fake one, its naps are real).
    EXPECT_LT(realMs, 3000) << "the request waited for a reply it had given up on";
    EXPECT_EQ(outstandingAtDelete, 1); // given up on, not waited for
    EXPECT_TRUE(form->Groups().empty());
    delete form;
    form = nullptr;
    for (int k = 0; k < 20; ++k)
        Application->ProcessMessages();
    EXPECT_FALSE(readEnded);
}
