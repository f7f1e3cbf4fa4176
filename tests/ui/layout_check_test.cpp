// The layout checker the form tests rely on: a tiny form with one fault of
// each kind must have that fault named, and a sound form must have none, or
// every form test that expects no faults could pass without looking. The
// options let through what they say and nothing else.
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
    void ShowForm() {
        form->Show();
        Application->ProcessMessages();
    }
    std::vector<std::string> Faults() {
        ShowForm();
        return lmrtest::LayoutFaults(*form);
    }
    // The fault is named, and the option meant for it leaves no other.
    void ExpectLetThrough(const std::string& name, const std::string& what,
                          const lmrtest::LayoutOptions& options) {
        const std::vector<std::string> faults = lmrtest::LayoutFaults(*form);
        EXPECT_TRUE(Named(faults, name, what)) << Joined(faults);
        const std::vector<std::string> left = lmrtest::LayoutFaults(*form, options);
        EXPECT_TRUE(left.empty()) << Joined(left);
    }
    UiTestSession session;
    std::unique_ptr<TForm> form;
};

// Each control with room to spare, none on another but on the picture
// behind it: nothing to report.
TEST_F(LayoutCheck, SoundFormHasNoFault) {
    Add<TImage>("Picture", 0, 0, 320, 90);
    Add<TLabel>("Wide", 8, 8, 200, 17)->SetCaption("Name");
    Add<TEdit>("Box", 8, 30, 200, 21)->SetText("short");
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

// A wrapped label has its width; it lacks the height for its lines.
TEST_F(LayoutCheck, WrappedLabelTooShortForItsLines) {
    TLabel* l = Add<TLabel>("Wrapped", 8, 8, 60, 17);
    l->SetAutoSize(false);
    l->SetWordWrap(true);
    l->SetCaption("A caption of many words that wraps onto lines");
    const std::vector<std::string> faults = Faults();
    EXPECT_TRUE(Named(faults, "Wrapped", "of height")) << Joined(faults);
}

TEST_F(LayoutCheck, ButtonAndCheckBoxTooNarrow) {
    Add<TButton>("Push", 8, 8, 30, 25)->SetCaption("Apply the settings");
    Add<TCheckBox>("Tick", 8, 40, 40, 17)->SetCaption("Enable the setting");
    const std::vector<std::string> faults = Faults();
    EXPECT_TRUE(Named(faults, "Push", "needs")) << Joined(faults);
    EXPECT_TRUE(Named(faults, "Tick", "needs")) << Joined(faults);
}

TEST_F(LayoutCheck, EditTextWiderThanItsBox) {
    TEdit* e = Add<TEdit>("Address", 8, 8, 40, 21);
    e->SetText("A text far too long for the edit");
    ShowForm();
    lmrtest::LayoutOptions scrolls;
    scrolls.editTextFits = false;
    ExpectLetThrough("Address", "needs", scrolls);
}

TEST_F(LayoutCheck, CaptionRunningIntoANeighbour) {
    // Sized to its caption, the label reaches over the edit.
    Add<TLabel>("Long", 8, 8, 60, 17)->SetCaption("A caption that runs on");
    Add<TEdit>("Next", 40, 6, 100, 21);
    const std::vector<std::string> faults = Faults();
    EXPECT_TRUE(Named(faults, "Long", "runs into Next")) << Joined(faults);
}

TEST_F(LayoutCheck, OverlappingSiblings) {
    Add<TEdit>("Upper", 8, 8, 100, 21);
    Add<TEdit>("Lower", 50, 20, 100, 21);
    const std::vector<std::string> faults = Faults();
    EXPECT_TRUE(Named(faults, "Upper", "overlaps Lower")) << Joined(faults);
}

// A pixel's slack lets a control touch its neighbour, no more.
TEST_F(LayoutCheck, SlackAllowsOnePixel) {
    Add<TEdit>("Left", 8, 8, 100, 21);
    Add<TEdit>("Right", 107, 8, 100, 21);
    ShowForm();
    lmrtest::LayoutOptions loose;
    loose.slack = 1;
    ExpectLetThrough("Left", "overlaps Right", loose);
}

TEST_F(LayoutCheck, ChildOnAGroupBoxCaption) {
    TGroupBox* g = Add<TGroupBox>("Frame", 8, 8, 200, 80);
    g->SetCaption(" Frame ");
    Add<TEdit>("High", 10, 2, 100, 21, g);
    const std::vector<std::string> faults = Faults();
    EXPECT_TRUE(Named(faults, "High", "caption of Frame")) << Joined(faults);
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
    EXPECT_TRUE(Named(faults, "Wide", "columns need 360 pixels")) << Joined(faults);
}

TEST_F(LayoutCheck, WindowOffTheScreen) {
    form->Show();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    // Moved once shown: showing keeps a form on the screen.
    form->SetBounds(area.right() - 100, area.top() + 20, 320, 240);
    Application->ProcessMessages();
    lmrtest::LayoutOptions anywhere;
    anywhere.windowOnScreen = false;
    ExpectLetThrough("Tiny", "outside the screen", anywhere);
}

// A form not shown has no sizes to check: saying nothing would pass it.
TEST_F(LayoutCheck, FormNotShown) {
    lmrtest::LayoutOptions hidden;
    hidden.mustBeShown = false;
    ExpectLetThrough("Tiny", "is not shown", hidden);
}

} // namespace
