// The layout checker the form tests rely on: a tiny form with one fault of
// each kind must have that fault named, and a sound form must have none, or
// every form test that expects no faults could pass without looking.
#include "support/LayoutCheck.h"

#include "ui/ListView.h"
#include "ui/Testing.h"
#include "ui/Ui.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::string Joined(const std::vector<std::string>& faults) {
    std::string text;
    for (const std::string& f : faults)
        text += "\n  " + f;
    return text;
}

// One of the faults starts with the control's name and says what is wrong.
bool Named(const std::vector<std::string>& faults, const std::string& name,
           const std::string& what) {
    for (const std::string& f : faults)
        if (f.rfind(name, 0) == 0 && f.find(what) != std::string::npos) return true;
    return false;
}

class LayoutCheck : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetName("Tiny");
        form->SetBounds(40, 40, 320, 240);
    }
    void TearDown() override {
        form->Hide();
        form.reset();
    }
    template <class T>
    T* Add(const std::string& name, int left, int top, int width, int height,
           TWinControl* parent = nullptr) {
        auto* c = new T(form.get());
        c->SetName(name);
        if (parent) c->SetParent(parent);
        c->SetBounds(left, top, width, height);
        return c;
    }
    std::vector<std::string> Faults() {
        form->Show();
        Application->ProcessMessages();
        return lmrtest::LayoutFaults(*form);
    }
    UiTestSession session;
    std::unique_ptr<TForm> form;
};

// Each control with room to spare, none on another: nothing to report.
TEST_F(LayoutCheck, SoundFormHasNoFault) {
    Add<TLabel>("Wide", 8, 8, 200, 17)->SetCaption("Name");
    Add<TEdit>("Box", 8, 30, 200, 21);
    Add<TButton>("Ok", 8, 60, 90, 25)->SetCaption("OK");
    TGroupBox* g = Add<TGroupBox>("Frame", 8, 95, 300, 60);
    g->SetCaption(" Frame ");
    Add<TCheckBox>("Tick", 10, 25, 200, 17, g)->SetCaption("On");
    TListView* l = Add<TListView>("List", 8, 160, 300, 70);
    l->SetViewStyle(vsReport);
    l->Columns().Add()->SetWidth(100);
    l->Columns().Add()->SetWidth(100);
    const std::vector<std::string> faults = Faults();
    EXPECT_TRUE(faults.empty()) << Joined(faults);
}

TEST_F(LayoutCheck, LabelTooNarrowForItsCaption) {
    TLabel* l = Add<TLabel>("Narrow", 8, 8, 30, 17);
    l->SetAutoSize(false);
    l->SetCaption("A caption far too long for its box");
    const std::vector<std::string> faults = Faults();
    EXPECT_TRUE(Named(faults, "Narrow", "needs")) << Joined(faults);
}

TEST_F(LayoutCheck, CaptionRunningIntoANeighbour) {
    // Sized to its caption, the label reaches over the edit.
    Add<TLabel>("Long", 8, 8, 60, 17)->SetCaption("A caption that runs on");
    Add<TEdit>("Next", 40, 6, 100, 21);
    const std::vector<std::string> faults = Faults();
    EXPECT_TRUE(Named(faults, "Long", "runs into Next")) << Joined(faults);
}

TEST_F(LayoutCheck, ChildOutsideItsParent) {
    TPanel* p = Add<TPanel>("Holder", 8, 8, 100, 50);
    Add<TEdit>("Stray", 60, 10, 100, 21, p);
    const std::vector<std::string> faults = Faults();
    EXPECT_TRUE(Named(faults, "Stray", "Holder")) << Joined(faults);
}

TEST_F(LayoutCheck, ListWithTooWideColumns) {
    TListView* l = Add<TListView>("Wide", 8, 8, 200, 100);
    l->SetViewStyle(vsReport);
    for (int i = 0; i < 3; ++i) {
        TListColumn* c = l->Columns().Add();
        c->SetCaption("Column");
        c->SetWidth(120);
    }
    TListItem* item = l->Items().Add();
    item->SetCaption("row");
    const std::vector<std::string> faults = Faults();
    EXPECT_TRUE(Named(faults, "Wide", "sideways")) << Joined(faults);
}

TEST_F(LayoutCheck, WindowOffTheScreen) {
    form->Show();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    // Moved once shown: showing keeps a form on the screen.
    form->SetBounds(area.right() - 100, area.top() + 20, 320, 240);
    Application->ProcessMessages();
    const std::vector<std::string> faults = lmrtest::LayoutFaults(*form);
    EXPECT_TRUE(Named(faults, "Tiny", "outside the screen")) << Joined(faults);
}

} // namespace
