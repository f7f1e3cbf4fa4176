// Where forms open: centred as their position says, and always inside the
// screen's available area, whatever the window they centre on.
#include "ui/Testing.h"
#include "ui/Ui.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>

namespace {

QRect Area() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

QRect Placed(TForm& f) {
    return f.Widget()->frameGeometry().united(f.Widget()->geometry());
}

struct PlaceCase {
    const char* name;
    TPosition position;
    int mainLeft, mainTop; // the main window, 200 by 100
    int left, top;         // the form's designed corner
    int width, height;
};

void PrintTo(const PlaceCase& c, std::ostream* os) {
    *os << c.name;
}

class Placement : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(Placement, TheWholeFormLiesOnTheScreen) {
    const PlaceCase& c = GetParam();
    UiTestSession s;
    const QRect area = Area();
    TForm main(nullptr);
    main.SetBounds(area.left() + c.mainLeft, area.top() + c.mainTop, 200, 100);
    TForm* oldMain = Application->MainForm();
    Application->SetMainForm(&main);
    main.Show();
    TForm form(nullptr);
    form.SetPosition(c.position);
    form.SetBounds(area.left() + c.left, area.top() + c.top, c.width, c.height);
    form.Show();
    const QRect r = Placed(form);
    EXPECT_TRUE(area.contains(r)) << "area (" << area.x() << "," << area.y() << " "
                                  << area.width() << "x" << area.height() << "), form ("
                                  << r.x() << "," << r.y() << " " << r.width() << "x"
                                  << r.height() << ")";
    form.Hide();
    main.Hide();
    Application->SetMainForm(oldMain);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, Placement,
    ::testing::Values(PlaceCase{"MainCentreAtTheTopLeftCorner", poMainFormCenter, 0, 0, 0, 0, 400, 500},
                      PlaceCase{"MainCentreAtTheBottomRight", poMainFormCenter, 10000, 10000, 0, 0,
                                400, 300},
                      PlaceCase{"OwnerCentreAtTheTopLeftCorner", poOwnerFormCenter, 0, 0, 0, 0, 300,
                                300},
                      PlaceCase{"DesignedAboveAndLeftOfTheScreen", poDesigned, 0, 0, -300, -200,
                                300, 200},
                      PlaceCase{"ScreenCentre", poScreenCenter, 0, 0, 0, 0, 300, 200}),
    [](const auto& info) { return std::string(info.param.name); });

// A form owned by the application centres on the main window it was opened
// from, not on the screen.
TEST(PlacementOwner, AnApplicationOwnedFormCentresOnTheMainWindow) {
    UiTestSession s;
    const QRect area = Area();
    TForm main(nullptr);
    main.SetBounds(area.left() + 40, area.top() + 60, 300, 200);
    TForm* oldMain = Application->MainForm();
    Application->SetMainForm(&main);
    main.Show();
    TForm form(Application);
    form.SetPosition(poOwnerFormCenter);
    form.SetBounds(0, 0, 100, 80);
    form.Show();
    const QPoint mine = form.Widget()->geometry().center();
    const QPoint theirs = main.Widget()->frameGeometry().center();
    EXPECT_LE(std::abs(mine.x() - theirs.x()), 2);
    EXPECT_LE(std::abs(mine.y() - theirs.y()), 2);
    form.Hide();
    main.Hide();
    Application->SetMainForm(oldMain);
}

} // namespace
