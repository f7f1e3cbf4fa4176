// The seams tests rely on: message boxes, file dialogs, modal loops, posted
// messages, timers, the tick count, beeps and the dispatch guard.
#include "ui/Testing.h"
#include "ui/Ui.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

TEST(UiMessageBoxes, EveryKindIsRecordedInOrderWithItsCaption) {
    UiTestSession s;
    Application->SetTitle("LMR-7300AP");
    EXPECT_EQ(MessageBox(nullptr, "Set OK!", "OK", MB_OK), IDOK);
    ShowMessage("This module is only used in the Velkar or HP-Openview.");
    EXPECT_EQ(MessageDlg("aIdx is overtop!", mtError, mbOK), mrOk);
    Application->ShowException(Exception("(QvSNMP++) Bad value", -511));
    ASSERT_EQ(s.Boxes().Count(), 4);
    const auto& b = s.Boxes().Boxes();
    EXPECT_EQ(b[0].caption, "OK");
    EXPECT_EQ(b[1].kind, BoxKind::Message);
    EXPECT_EQ(b[1].caption, "LMR-7300AP");
    EXPECT_EQ(b[2].caption, "Error");
    EXPECT_EQ(b[3].kind, BoxKind::Exception);
    EXPECT_EQ(b[3].text, "(QvSNMP++) Bad value."); // the display ends with a full stop
    EXPECT_EQ(b[3].helpContext, -511);
    EXPECT_EQ(s.Boxes().UnexpectedCount(), 0);
}

TEST(UiMessageBoxes, TheApplicationTitleElseTheProgramName) {
    UiTestSession s;
    Application->SetTitle("LMR-7300AP");
    EXPECT_EQ(ApplicationTitle(), "LMR-7300AP");
    Application->SetTitle("");
    const std::string exe = ExtractFileName(Application->ExeName());
    EXPECT_EQ(ApplicationTitle(), exe.substr(0, exe.size() - ExtractFileExt(exe).size()));
    EXPECT_FALSE(ApplicationTitle().empty());
}

TEST(UiMessageBoxes, QuestionsTakeScriptedAnswersElseTheCarefulOne) {
    UiTestSession s;
    s.Boxes().Answer(mrYes);
    EXPECT_EQ(MessageBox(nullptr, "Are you sure to delete ?", "Delete", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBox(nullptr, "Again?", "Delete", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBox(nullptr, "Go on?", "Q", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(s.Boxes().UnexpectedCount(), 2);
    EXPECT_FALSE(s.Boxes().Boxes()[0].unexpected);
}

TEST(UiFileDialogs, AnswerFromTheScriptOrCancel) {
    UiTestSession s;
    TOpenDialog open(nullptr);
    open.SetDefaultExt("tfp");
    s.Files().Answer("/x/image");
    ASSERT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName(), "/x/image.tfp");
    EXPECT_FALSE(open.Execute());
    EXPECT_EQ(s.Files().UnexpectedCount(), 1);
    TSaveDialog save(nullptr);
    s.Files().Cancel();
    EXPECT_FALSE(save.Execute());
    EXPECT_TRUE(s.Files().Requests().back().save);
}

TEST(UiDispatch, ExceptionsOfHandlersAreShownAndTheWorkGoesOn) {
    UiTestSession s;
    TForm form(nullptr);
    auto* b = new TButton(&form);
    b->OnClick = [](TObject*) { throw Exception("(QvSNMP++) Timeout!", -5); };
    b->Click();
    SafeDispatch([] { throw std::runtime_error("plain failure"); });
    ASSERT_EQ(s.Boxes().Count(), 2);
    EXPECT_EQ(s.Boxes().Boxes()[0].text, "(QvSNMP++) Timeout!");
    EXPECT_EQ(s.Boxes().Boxes()[0].helpContext, -5);
    EXPECT_EQ(s.Boxes().Boxes()[1].text, "plain failure.");
}

TEST(UiModal, AHookDrivesTheFormAndAButtonEndsIt) {
    UiTestSession s;
    TForm form(nullptr);
    auto* ok = new TButton(&form);
    ok->SetModalResult(mrOk);
    auto* edit = new TEdit(&form);
    s.OnModal([&](TForm* f) {
        EXPECT_EQ(f, &form);
        EXPECT_TRUE(f->Modal());
        edit->SetText("typed");
        ok->Click();
    });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_FALSE(form.IsShown());
    EXPECT_EQ(s.ModalShows(), 1);
    EXPECT_EQ(edit->Text(), "typed");
}

TEST(UiModal, CloseQueryCanRefuseAndTheCloseBoxCancels) {
    UiTestSession s;
    TForm form(nullptr);
    int queries = 0;
    form.OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++queries > 1; };
    s.OnModal([&](TForm* f) {
        f->Close(); // refused
        PostCall([f] { f->Widget()->close(); });
    });
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_EQ(queries, 2);
}

TEST(UiModal, AForgottenFormIsClosedByTheSafetyTimeOut) {
    UiTestSession s;
    s.SetModalTimeoutMs(50);
    std::string reported;
    s.OnTimeout = [&](const std::string& caption) { reported = caption; };
    TForm form(nullptr);
    form.SetCaption("Please wait");
    form.OnCloseQuery = [](TObject*, bool& canClose) { canClose = false; };
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_EQ(s.ModalTimeouts(), 1);
    EXPECT_EQ(reported, "Please wait");
}

// An exception that gets past every guard ends the modal show, but the
// application keeps no trace of its loop, and the form can be shown again.
TEST(UiModal, AnExceptionThatEscapesTheLoopLeavesNoLoopBehind) {
    UiTestSession s;
    TForm form(nullptr);
    struct Unguarded {
        Unguarded() { SetDispatchGuard(nullptr); }
        ~Unguarded() { SetDispatchGuard(SafeDispatch); }
    };
    {
        Unguarded bare;
        s.NextModal([](TForm*) { PostCall([] { throw Exception("escaped", -1); }); });
        EXPECT_THROW(form.ShowModal(), Exception);
    }
    EXPECT_EQ(Application->LoopDepth(), 0);
    EXPECT_FALSE(form.Modal());
    EXPECT_FALSE(form.IsShown());
    s.NextModal([](TForm* f) { f->SetModalResult(mrOk); });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(Application->LoopDepth(), 0);
}

TEST(UiModal, NestedModalFormsEachGetTheirHook) {
    UiTestSession s;
    TForm outer(nullptr), inner(nullptr);
    s.NextModal([&](TForm*) {
        EXPECT_EQ(inner.ShowModal(), mrNo);
        outer.SetModalResult(mrYes);
    });
    s.NextModal([](TForm* f) { f->SetModalResult(mrNo); });
    EXPECT_EQ(outer.ShowModal(), mrYes);
    EXPECT_EQ(s.ModalShows(), 2);
}

TEST(UiTerminate, EndsEveryLoopAndLaterModalShowsReturnAtOnce) {
    UiTestSession s;
    TForm outer(nullptr), inner(nullptr);
    s.NextModal([&](TForm*) { inner.ShowModal(); });
    s.NextModal([](TForm*) { Application->Terminate(); });
    EXPECT_EQ(outer.ShowModal(), mrCancel);
    EXPECT_TRUE(Application->Terminated());
    TForm later(nullptr);
    EXPECT_EQ(later.ShowModal(), mrCancel);
    EXPECT_EQ(s.ModalShows(), 2);
    Application->Run(); // returns at once too
    Application->ResetTerminated();
}

class Receiver : public TPanel {
public:
    using TPanel::TPanel;
    std::vector<unsigned> got;
    void Dispatch(TMessage& m) override {
        if (m.Msg >= WM_APP)
            got.push_back(m.Msg - WM_APP);
        else
            TPanel::Dispatch(m);
    }
};

TEST(UiPostedMessages, ArriveInOrderAfterTheHandlerAndSkipGoneTargets) {
    UiTestSession s;
    TForm form(nullptr);
    auto* r = new Receiver(&form);
    auto* gone = new Receiver(&form);
    PostMessage(r, WM_APP + 1, 0, 0);
    PostMessage(gone, WM_APP + 9, 0, 0);
    PostMessage(r, WM_APP + 2, 0, 0);
    EXPECT_TRUE(r->got.empty()); // not before the current handler returns
    delete gone;
    Application->ProcessMessages();
    EXPECT_EQ(r->got, (std::vector<unsigned>{1, 2}));
}

TEST(UiPostedMessages, AreDeliveredByAModalLoop) {
    UiTestSession s;
    TForm form(nullptr);
    int refreshes = 0;
    form.OnMessage = [&](TMessage& m, bool& handled) {
        if (m.Msg == WM_APP + 1234) {
            ++refreshes;
            form.SetModalResult(mrOk);
            handled = true;
        }
    };
    PostMessage(&form, WM_APP + 1234, 0, 0);
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(refreshes, 1);
}

TEST(UiPostedMessages, NextControlGoesByTabOrderAfterTheHandler) {
    UiTestSession s;
    TForm form(nullptr);
    auto* a = new TEdit(&form);
    auto* b = new TEdit(&form);
    auto* c = new TEdit(&form);
    auto* hidden = new TEdit(&form);
    hidden->SetVisible(false);
    c->SetTabOrder(0); // c, a, hidden, b
    hidden->SetTabOrder(2);
    form.Show();
    a->SetFocus();
    PostMessage(&form, WM_NEXTDLGCTL, 0, 0);
    EXPECT_EQ(form.ActiveControl(), a);
    Application->ProcessMessages();
    EXPECT_EQ(form.ActiveControl(), b);
    PostMessage(&form, WM_NEXTDLGCTL, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(form.ActiveControl(), c); // wraps round
}

TEST(UiTimers, FireSynchronouslyWhileFrozen) {
    UiTestSession s;
    s.FreezeTimers();
    TTimer t(nullptr);
    t.SetInterval(1200);
    int ticks = 0;
    t.OnTimer = [&](TObject*) { ++ticks; };
    EXPECT_FALSE(t.Running());
    t.Fire();
    t.Fire();
    EXPECT_EQ(ticks, 2);
    t.OnTimer = [](TObject*) { throw Exception("tick failed"); };
    t.Fire();
    EXPECT_EQ(s.Boxes().Count(), 1);
}

TEST(UiTimers, TickInAModalLoop) {
    UiTestSession s;
    TForm form(nullptr);
    auto* t = new TTimer(&form);
    t->SetInterval(1);
    int ticks = 0;
    t->OnTimer = [&](TObject*) {
        if (++ticks == 3) form.Close();
    };
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_EQ(ticks, 3);
}

TEST(UiClock, FakeTickCountAndSleep) {
    UiTestSession s;
    s.UseFakeClock(4294967000u);
    EXPECT_EQ(GetTickCount(), 4294967000u);
    Sleep(500);
    EXPECT_EQ(GetTickCount(), 204u); // wraps like the 32-bit count
    EXPECT_EQ(s.SleptMs(), 500u);
}

TEST(UiBeep, IsCounted) {
    UiTestSession s;
    Beep(1000, 200);
    Beep(1000, 200);
    EXPECT_EQ(s.Beeps(), 2);
}

} // namespace
