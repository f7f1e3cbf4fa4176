// Properties the forms read and write, where Qt alone would differ.
#include "ui/Testing.h"
#include "ui/Ui.h"

#include <QComboBox>
#include <QImage>
#include <QListWidget>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

TEST(UiEdit, MaxLengthLimitsTypingButNotCode) {
    UiTestSession s;
    TForm form(nullptr);
    auto* e = new TEdit(&form);
    e->SetMaxLength(4);
    e->SetText("123456789");
    EXPECT_EQ(e->Text(), "123456789");
    e->SetText("");
    e->TypeText("abcdef");
    EXPECT_EQ(e->Text(), "abcd");
    e->SetText("ab");
    e->SetSelStart(2);
    e->PasteText("xyz");
    EXPECT_EQ(e->Text(), "abxy");
}

TEST(UiComboBox, MaxLengthLimitsTypingButNotCode) {
    UiTestSession s;
    TForm form(nullptr);
    auto* c = new TComboBox(&form);
    c->Items().Add("a much longer item");
    c->SetMaxLength(4);
    c->SetText("123456789");
    EXPECT_EQ(c->Text(), "123456789");
    c->SetItemIndex(0);
    EXPECT_EQ(c->Text(), "a much longer item");
    c->SetText("");
    c->TypeText("abcdef");
    EXPECT_EQ(c->Text(), "abcd");
    c->SetStyle(csDropDownList);
    c->SetStyle(csDropDown); // a new edit part keeps the limit
    c->SetText("");
    c->TypeText("uvwxyz");
    EXPECT_EQ(c->Text(), "uvwx");
}

TEST(UiEdit, KeyPressCanSwallowOrReplaceAKey) {
    UiTestSession s;
    TForm form(nullptr);
    auto* e = new TEdit(&form);
    e->OnKeyPress = [](TObject*, char& key) {
        if (key == 'x') key = 0;
        if (key == 'a') key = 'A';
    };
    e->TypeText("xaxb");
    EXPECT_EQ(e->Text(), "Ab");
}

TEST(UiControl, OwnVisibleAndEnabledFlagsBeforeAndAfterShowing) {
    UiTestSession s;
    TForm form(nullptr);
    auto* panel = new TPanel(&form);
    auto* e = new TEdit(panel);
    EXPECT_TRUE(e->Visible()); // the form is not shown yet
    EXPECT_FALSE(e->Showing());
    panel->SetEnabled(false);
    EXPECT_TRUE(e->Enabled());
    EXPECT_FALSE(e->CanFocus());
    panel->SetEnabled(true);
    panel->SetVisible(false);
    form.Show();
    EXPECT_TRUE(e->Visible());
    EXPECT_FALSE(e->Showing());
    EXPECT_FALSE(form.Visible() && !form.IsShown());
}

TEST(UiFocus, HiddenOrDisabledControlsAreNotFocused) {
    UiTestSession s;
    TForm form(nullptr);
    auto* a = new TEdit(&form);
    auto* hidden = new TEdit(&form);
    auto* disabled = new TEdit(&form);
    hidden->SetVisible(false);
    disabled->SetEnabled(false);
    form.Show();
    a->SetFocus();
    int events = 0;
    a->OnExit = [&](TObject*) { ++events; };
    hidden->SetFocus();
    disabled->SetFocus();
    EXPECT_EQ(form.ActiveControl(), a);
    EXPECT_EQ(events, 0);
}

TEST(UiFocus, AnExitHandlerCanKeepTheFocus) {
    UiTestSession s;
    TForm form(nullptr);
    auto* a = new TEdit(&form);
    auto* b = new TEdit(&form);
    form.Show();
    a->SetFocus();
    int entersB = 0;
    b->OnEnter = [&](TObject*) { ++entersB; };
    a->OnExit = [&](TObject*) {
        MessageBox(&form, "(QvCommon) Please enter a number between 1 and 65535!", "x", MB_OK);
        a->SetFocus();
    };
    b->SetFocus();
    EXPECT_EQ(form.ActiveControl(), a);
    EXPECT_EQ(entersB, 0);
    EXPECT_EQ(s.Boxes().Count(), 1);
}

TEST(UiComboBox, ItemsAndSelectionFromCode) {
    UiTestSession s;
    TForm form(nullptr);
    auto* c = new TComboBox(&form);
    c->SetStyle(csDropDownList);
    for (const char* t : {"Firmwareupdate", "Reboot"})
        c->Items().Add(t);
    EXPECT_EQ(c->ItemIndex(), -1);
    c->SetText("reboot"); // items compare without case
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(c->Text(), "Reboot");
    c->SetText("missing");
    EXPECT_EQ(c->ItemIndex(), 1);
    c->Items().Delete(1);
    c->SetItemIndex(-1);
    EXPECT_EQ(c->Text(), "");
}

TEST(UiStatusBar, SimpleTextShowsAndPanelTextSwitchesBack) {
    UiTestSession s;
    TForm form(nullptr);
    auto* bar = new TStatusBar(&form);
    bar->Panels().Add()->SetWidth(100);
    bar->Panels().Add();
    bar->Panels()[0]->SetText("Detecting...");
    EXPECT_FALSE(bar->SimplePanel());
    bar->SetSimpleText("Get: (QvSNMP++) Ok!. Receive at 03:07:09 PM.");
    EXPECT_TRUE(bar->SimplePanel());
    EXPECT_EQ(bar->ShownText(), "Get: (QvSNMP++) Ok!. Receive at 03:07:09 PM.");
    bar->Panels()[1]->SetText("Done");
    EXPECT_FALSE(bar->SimplePanel());
    EXPECT_EQ(bar->ShownText(), "Detecting... | Done");
}

TEST(UiStrings, LoadFromFileSplitsLinesAndMissingFileRaises) {
    char path[] = "/tmp/lmr-ui-strings-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    const std::string text = "12:00:01\t[SYS] boot\r\nsecond\nthird";
    ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    close(fd);
    TStringList list;
    list.LoadFromFile(path);
    std::remove(path);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[0], "12:00:01\t[SYS] boot");
    EXPECT_EQ(list[2], "third");
    EXPECT_THROW(list.LoadFromFile(path), Exception);
    EXPECT_THROW(list.Strings(3), EListError);
    EXPECT_EQ(list.IndexOf("SECOND"), 1);
}

TEST(UiStrings, Latin1TextsKeepTheirBytes) {
    UiTestSession s;
    TForm form(nullptr);
    auto* e = new TEdit(&form);
    const std::string text = "caf\xE9 \xFF";
    e->SetText(text);
    EXPECT_EQ(e->Text(), text);
    EXPECT_EQ(e->Text().size(), 6u);
}

// Counts the messages delivered to it and tells when it is freed.
class CountingListView : public TListView {
public:
    CountingListView(TComponent* owner, int& delivered, bool& freed)
        : TListView(owner), delivered_(delivered), freed_(freed) {}
    ~CountingListView() override { freed_ = true; }
    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_APP + 1) ++delivered_;
        TListView::Dispatch(m);
    }

private:
    int& delivered_;
    bool& freed_;
};

TEST(UiOwnership, TheOwnerFreesItsControlsAndPostedMessagesToThemDrop) {
    UiTestSession s;
    int goneGot = 0, keptGot = 0;
    bool goneFreed = false, keptFreed = false;
    auto form = std::make_unique<TForm>(nullptr);
    auto* lv = new CountingListView(form.get(), goneGot, goneFreed);
    lv->Items().Add()->SetCaption("row");
    TForm other(nullptr);
    auto* kept = new CountingListView(&other, keptGot, keptFreed);
    PostMessage(lv, WM_APP + 1, 0, 0);
    PostMessage(kept, WM_APP + 1, 0, 0);
    form.reset();
    EXPECT_TRUE(goneFreed);
    Application->ProcessMessages();
    EXPECT_EQ(goneGot, 0); // dropped with its target
    EXPECT_EQ(keptGot, 1); // while a living target gets its own
    EXPECT_FALSE(keptFreed);
}

TEST(UiComboBox, AListFilledAnewShowsNoChoice) {
    UiTestSession s;
    TForm form(nullptr);
    for (TComboBoxStyle style : {csDropDown, csDropDownList}) {
        SCOPED_TRACE(int(style));
        auto* c = new TComboBox(&form);
        c->SetStyle(style);
        auto fill = [c](std::initializer_list<const char*> texts) {
            c->Items().BeginUpdate();
            c->Items().Clear();
            for (const char* t : texts)
                c->Items().Add(t);
            c->Items().EndUpdate();
        };
        fill({"Disable", "Enable"});
        EXPECT_EQ(c->ItemIndex(), -1);
        c->SetItemIndex(1);
        fill({"Off", "On", "Auto"});
        EXPECT_EQ(c->ItemIndex(), -1);
        // An update that only adds keeps the choice.
        c->SetItemIndex(1);
        c->Items().BeginUpdate();
        c->Items().Add("Last");
        c->Items().EndUpdate();
        EXPECT_EQ(c->ItemIndex(), 1);
    }
}

TEST(UiAlign, ClientFillsWhatTopBottomAndRightLeave) {
    UiTestSession s;
    TForm form(nullptr);
    form.SetClientWidth(400);
    form.SetClientHeight(300);
    auto* right = new TPanel(&form);
    right->SetWidth(100);
    right->SetAlign(alRight);
    auto* bar = new TStatusBar(&form);
    auto* client = new TPanel(&form);
    client->SetAlign(alClient);
    EXPECT_EQ(right->Left(), 300);
    EXPECT_EQ(bar->Top() + bar->Height(), 300);
    EXPECT_EQ(client->Width(), 300);
    EXPECT_EQ(client->Height(), 300 - bar->Height());
}

// Writes a picture of a small form when LMR_UI_SCREENSHOT names a file.
TEST(UiScreenshot, SmallFormPicture) {
    const char* out = std::getenv("LMR_UI_SCREENSHOT");
    if (!out) GTEST_SKIP() << "set LMR_UI_SCREENSHOT to a PNG path";
    UiTestSession s;
    TForm form(nullptr);
    form.SetCaption("Home \\ Information");
    form.SetClientWidth(420);
    form.SetClientHeight(300);
    auto* menu = new TMainMenu(&form);
    menu->Items().AddItem("Home")->AddItem("Information");
    menu->Items().AddItem("Tools");
    auto* buttons = new TPanel(&form);
    buttons->SetWidth(116);
    buttons->SetAlign(alRight);
    const char* captions[] = {"Refresh", "Set", "Close"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new TButton(buttons);
        b->SetCaption(captions[i]);
        b->SetBounds(10, 10 + i * 30, 96, 25);
    }
    auto* bar = new TStatusBar(&form);
    bar->SetSimpleText("Get: (QvSNMP++) Ok!. Receive at 03:07:09 PM.");
    auto* pages = new TPageControl(&form);
    pages->SetAlign(alClient);
    auto* page = new TTabSheet(pages);
    page->SetCaption("IEEE 802.11g");
    auto* label = new TLabel(page);
    label->SetCaption("System Name");
    label->SetBounds(10, 14, 80, 17);
    auto* edit = new TEdit(page);
    edit->SetBounds(100, 10, 150, 21);
    edit->SetText("LMR-7300AP");
    auto* grey = new TEdit(page);
    grey->SetBounds(100, 36, 150, 21);
    grey->SetText("v2.10");
    grey->SetReadOnly(true);
    grey->SetColor(clBtnFace);
    auto* combo = new TComboBox(page);
    combo->SetStyle(csDropDownList);
    combo->Items().Add("Reboot");
    combo->SetItemIndex(0);
    combo->SetBounds(100, 62, 150, 21);
    auto* check = new TCheckBox(page);
    check->SetCaption("Enable");
    check->SetBounds(10, 90, 90, 17);
    check->SetChecked(true);
    auto* group = new TRadioGroup(page);
    group->SetCaption("Mode");
    group->SetBounds(100, 88, 150, 60);
    group->Items().Add("AP");
    group->Items().Add("Client");
    group->SetItemIndex(0);
    auto* led = new TShape(page);
    led->SetShape(stCircle);
    led->SetBounds(10, 120, 16, 16);
    led->Brush().SetColor(clLime);
    auto* lv = new TListView(page);
    lv->SetViewStyle(vsReport);
    lv->SetGridLines(true);
    lv->Columns().Add()->SetCaption("Index");
    lv->Columns()[0]->SetWidth(60);
    lv->Columns().Add()->SetCaption("MAC Address");
    lv->Columns()[1]->SetWidth(-2);
    lv->SetBounds(10, 152, 270, 80);
    for (int i = 1; i <= 2; ++i) {
        TListItem* it = lv->Items().Add();
        it->SetCaption(IntToStr(i));
        it->SubItems().Add(i == 1 ? "00C0020A0B0C" : "000000000000");
    }
    lv->SetSelected(lv->Items()[0]);
    form.Show();
    Application->ProcessMessages();
    EXPECT_TRUE(form.Widget()->grab().toImage().save(out));
}

// Sorted lists insert case-insensitively, an equal text after the ones
// already there, and the widget shows the same order, also after an update.
template <class Control, class Widget>
void ExpectSortedItems(std::vector<std::string> (*shown)(Widget*)) {
    UiTestSession s;
    TForm form(nullptr);
    auto* c = new Control(&form);
    c->SetSorted(true);
    std::vector<int> at;
    for (const char* text : {"beta", "Alpha", "alpha", "Gamma", "BETA"})
        at.push_back(c->Items().Add(text));
    EXPECT_EQ(at, (std::vector<int>{0, 0, 1, 3, 3}));
    const std::vector<std::string> order{"Alpha", "alpha", "beta", "BETA", "Gamma"};
    EXPECT_EQ(c->Items().ToVector(), order);
    auto* w = static_cast<Widget*>(c->Widget());
    EXPECT_EQ(shown(w), order);
    c->Items().BeginUpdate();
    c->Items().Add("delta");
    c->Items().EndUpdate();
    EXPECT_EQ(shown(w),
              (std::vector<std::string>{"Alpha", "alpha", "beta", "BETA", "delta", "Gamma"}));
    c->SetSorted(false);
    EXPECT_EQ(c->Items().Add("aardvark"), 6);
    // Switching sorting on orders what is there already, in the widget too.
    c->SetSorted(true);
    EXPECT_EQ(c->Items().Strings(0), "aardvark");
    EXPECT_EQ(shown(w).front(), "aardvark");
}

TEST(UiLists, SortedComboBoxAndListBoxKeepCaseInsensitiveOrder) {
    ExpectSortedItems<TComboBox, QComboBox>([](QComboBox* q) {
        std::vector<std::string> v;
        for (int i = 0; i < q->count(); ++i)
            v.push_back(q->itemText(i).toStdString());
        return v;
    });
    ExpectSortedItems<TListBox, QListWidget>([](QListWidget* q) {
        std::vector<std::string> v;
        for (int i = 0; i < q->count(); ++i)
            v.push_back(q->item(i)->text().toStdString());
        return v;
    });
}

} // namespace

namespace {

// A caption on the frame, and controls placed in the box are its children on
// screen too, so hiding the box hides them.
TEST(UiGroupBox, CaptionAndChildrenFollowTheBox) {
    UiTestSession s;
    TForm form(nullptr);
    auto* box = new TGroupBox(&form);
    box->SetCaption("Security");
    EXPECT_EQ(box->Caption(), "Security");
    auto* edit = new TEdit(&form);
    edit->SetParent(box);
    EXPECT_EQ(edit->Parent(), box);
    form.Show();
    EXPECT_TRUE(edit->Widget()->isVisible());
    box->SetVisible(false);
    EXPECT_FALSE(edit->Widget()->isVisible());
}

TEST(UiImage, PixelsAndFilesGiveThePictureItsSize) {
    UiTestSession s;
    TForm form(nullptr);
    auto* image = new TImage(&form);
    EXPECT_TRUE(image->Empty());
    EXPECT_FALSE(image->LoadFromFile("no-such-picture.png"));
    EXPECT_TRUE(image->Empty());
    const std::vector<unsigned char> pixels(13 * 9 * 3, 0x80);
    image->SetRGB(13, 9, pixels.data());
    EXPECT_FALSE(image->Empty());
    EXPECT_EQ(image->PictureWidth(), 13);
    EXPECT_EQ(image->PictureHeight(), 9);

    char path[] = "/tmp/lmr-ui-image-XXXXXX.png";
    const int fd = mkstemps(path, 4);
    ASSERT_GE(fd, 0);
    close(fd);
    QImage written(5, 7, QImage::Format_RGB32);
    written.fill(Qt::green);
    ASSERT_TRUE(written.save(path));
    EXPECT_TRUE(image->LoadFromFile(path));
    EXPECT_EQ(image->PictureWidth(), 5);
    EXPECT_EQ(image->PictureHeight(), 7);
    std::remove(path);
}

} // namespace
