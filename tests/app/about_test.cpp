// The About box: its window, its fixed texts and picture, the OK button and
// the build label that only Shift+Alt+F3 on that button shows.
#include "app/TAboutForm.h"

#include "ui/Testing.h"
#include "ui/Widgets.h"

#include <QImage>
#include <QPixmap>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include "support/CaseName.h"

namespace {

class About : public ::testing::Test {
protected:
    void SetUp() override { form = std::make_unique<TAboutForm>(nullptr); }
    UiTestSession session;
    std::unique_ptr<TAboutForm> form;
};

TEST_F(About, WindowAsDesigned) {
    EXPECT_EQ(form->Caption(), "Help\\About");
    EXPECT_EQ(form->BorderStyle(), bsSingle);
    EXPECT_FALSE(form->BorderIcons() & biMaximize);
    EXPECT_EQ(form->Position(), poOwnerFormCenter);
    EXPECT_EQ(form->ClientWidth(), 350);
    EXPECT_EQ(form->ClientHeight(), 98);
}

struct TextCase {
    const char* control;
    const char* text;
    bool visible;
};

TEST_F(About, FixedTexts) {
    const TextCase cases[] = {
        {"Label1", "LMR-7300AP Management Module", true},
        {"Label2", "Release Version:", true},
        {"La_FwVer", "v2.50", true},
        {"Label4", "R21(2008/12/12)", false},
        {"BT_Ok", "OK", true},
    };
    for (const TextCase& c : cases) {
        auto* control = dynamic_cast<TControl*>(form->FindComponent(c.control));
        ASSERT_NE(control, nullptr) << c.control;
        EXPECT_EQ(control->Caption(), c.text) << c.control;
        EXPECT_EQ(control->Visible(), c.visible) << c.control;
    }
    EXPECT_FALSE(form->Label3->Caption().empty());
}

TEST_F(About, PictureIsThirtyTwoSquare) {
    ASSERT_FALSE(form->Image1->Empty());
    EXPECT_EQ(form->Image1->PictureWidth(), 32);
    EXPECT_EQ(form->Image1->PictureHeight(), 32);
    EXPECT_EQ(form->Image1->Width(), 32);
    EXPECT_EQ(form->Image1->Height(), 32);
}

struct KeyCase {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool shows;
};

std::string LabelOf(const KeyCase& c) {
    return std::string(c.modifiers & Qt::ShiftModifier ? "Shift" : "") + (c.modifiers & Qt::AltModifier ? "Alt" : "") + (c.modifiers & Qt::ControlModifier ? "Ctrl" : "") + (c.key == Qt::Key_F3 ? "F3" : "Key" + std::to_string(static_cast<int>(c.key)));
}

void PrintTo(const KeyCase& c, std::ostream* os) {
    *os << LabelOf(c);
}

class AboutKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(AboutKeys, OnlyShiftAltF3ShowsTheBuildLabel) {
    UiTestSession session;
    TAboutForm form(nullptr);
    form.Show();
    QTest::keyClick(form.BT_Ok->Widget(), GetParam().key, GetParam().modifiers);
    EXPECT_EQ(form.Label4->Visible(), GetParam().shows);
    EXPECT_EQ(form.Label4->Showing(), GetParam().shows);
    EXPECT_TRUE(form.IsShown()); // no key closes the box
}

INSTANTIATE_TEST_SUITE_P(
    Table, AboutKeys,
    ::testing::Values(KeyCase{Qt::Key_F3, Qt::NoModifier, false},
                      KeyCase{Qt::Key_F3, Qt::ShiftModifier, false},
                      KeyCase{Qt::Key_F3, Qt::AltModifier, false},
                      KeyCase{Qt::Key_F3, Qt::ShiftModifier | Qt::ControlModifier, false},
                      KeyCase{Qt::Key_F2, Qt::ShiftModifier | Qt::AltModifier, false},
                      KeyCase{Qt::Key_F4, Qt::ShiftModifier | Qt::AltModifier, false},
                      KeyCase{Qt::Key_F3, Qt::ShiftModifier | Qt::AltModifier, true},
                      KeyCase{Qt::Key_F3, Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier,
                              true}),
    [](const ::testing::TestParamInfo<KeyCase>& info) {
        return lmrtest::CaseName(info.index, LabelOf(info.param));
    });

TEST_F(About, KeyOnAnotherControlDoesNothing) {
    form->Show();
    QTest::keyClick(form->Widget(), Qt::Key_F3, Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_FALSE(form->Label4->Visible());
}

// Shown modally: the label appears while it is open, OK ends the show.
TEST_F(About, OkClosesTheModalBox) {
    bool sawLabel = false;
    session.NextModal([&](TForm* f) {
        auto* about = static_cast<TAboutForm*>(f);
        QTest::keyClick(about->BT_Ok->Widget(), Qt::Key_F3, Qt::ShiftModifier | Qt::AltModifier);
        sawLabel = about->Label4->Showing();
        if (const char* dir = std::getenv("LMR_SCREENSHOT_DIR"))
            about->Widget()->grab().save(QString::fromStdString(std::string(dir) + "/about.png"));
        about->BT_Ok->Click();
    });
    form->ShowModal();
    EXPECT_EQ(session.ModalShows(), 1);
    EXPECT_EQ(session.ModalTimeouts(), 0);
    EXPECT_TRUE(sawLabel);
    EXPECT_FALSE(form->IsShown());
}

} // namespace
