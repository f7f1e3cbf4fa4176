// The entry dialog's MAC comparison, and its checks without a table form.
#include "forms/wireless/TFM_MACAddr.h"

#include "ui/Testing.h"
#include "ui/Widgets.h"

#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>

namespace {

struct SameCase {
    const char* typed;
    const char* stored;
    bool same;
};
void PrintTo(const SameCase& c, std::ostream* os) { *os << c.typed << " / " << c.stored; }
std::string CaseName(const ::testing::TestParamInfo<SameCase>& info) {
    return std::string(info.param.typed) + "_" + info.param.stored;
}

class SameMacCases : public ::testing::TestWithParam<SameCase> {};

TEST_P(SameMacCases, TypedLowerCaseMatchesTheUpperCaseShown) {
    EXPECT_EQ(TFM_MACAddr::SameMac(GetParam().typed, GetParam().stored), GetParam().same);
}

INSTANTIATE_TEST_SUITE_P(
    Mac, SameMacCases,
    ::testing::Values(SameCase{"000D0A1B2C3D", "000D0A1B2C3D", true},
                      SameCase{"000d0a1b2c3d", "000D0A1B2C3D", true},
                      SameCase{"000d0A1b2C3d", "000D0A1B2C3D", true},
                      SameCase{"000D0A1B2C3E", "000D0A1B2C3D", false},
                      SameCase{"000D0A1B2C3D", "000d0a1b2c3d", false},
                      SameCase{"000D0A1B2C3D", "000D0A", false},
                      SameCase{"000D", "000D0A1B2C3D", true}),
    CaseName);

// Without a table form the checks still run, and nothing is written.
TEST(MacAddrDialog, ChecksRunInOrder) {
    UiTestSession ui;
    std::unique_ptr<TFM_MACAddr> d(new TFM_MACAddr(nullptr));
    EXPECT_EQ(d->Caption(), "MAC Address");
    EXPECT_EQ(d->Label1->Caption(), "Please input MAC Address");
    EXPECT_FALSE(d->LA_Index->Visible());
    EXPECT_EQ(d->Ed_MACAddr->MaxLength(), 12);
    d->Ed_MACAddr->SetText("12345");
    d->Bt_Apply->Click();
    d->Ed_MACAddr->SetText("000000000000");
    d->Bt_Apply->Click();
    d->Ed_MACAddr->SetText("0050C2000001");
    d->Bt_Apply->Click();
    ASSERT_EQ(ui.Boxes().Count(), 2);
    EXPECT_EQ(ui.Boxes().Boxes()[0].text, "The length is 12 in MAC Address.");
    EXPECT_EQ(ui.Boxes().Boxes()[0].caption, "Error");
    EXPECT_EQ(ui.Boxes().Boxes()[1].text, "Please input a valid MAC Address.");
    EXPECT_EQ(ui.Boxes().Boxes()[1].caption, "Warning");
    EXPECT_FALSE(d->Written);
}

} // namespace
