// The numbered list binder on a device table whose free entries hold an
// "empty" value: only used entries are listed, numbered in walk order.
#include "binding/New_req2Edit.h"

#include "tests/binding/group_fixture.h"
#include "ui/ListView.h"
#include "ui/Widgets.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

using namespace QvSyntax;

#define MACS "1.3.6.1.4.1.32473.11.37.4.97.1.1"
const QvSNMPVar kMacTable[] = {
    {"", "No.", Integer, 1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {MACS ".2", "MAC Address", MacAddress, 6, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {MACS ".3", "Flag", Integer, 6, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

class Numbered : public ::testing::Test {
protected:
    static void SetUpTestSuite() { snmptest::CreateGlobalSessionInTempFolder(); }
    void SetUp() override {
        lmrtest::SimOptions options;
        options.extraArgs = {"--data",
                             std::string(LMR_SOURCE_DIR) + "/tests/binding/numbered_table.dat"};
        device = std::make_unique<lmrtest::SimDevice>(options);
        ASSERT_TRUE(device->start()) << device->error();
        form = new TForm(nullptr);
        group = std::make_unique<New_req2Edit>(form);
        group->mode = 0;
        snmptest::AimAt(group->request, *device);
        group->request.vars = QvSNMPVarList(kMacTable, MVT_UMV, 1);
        group->stopValue = "000000000000";
    }
    void TearDown() override {
        group.reset();
        delete form;
        device.reset();
    }
    std::vector<std::string> Rows(TListView* lv) {
        std::vector<std::string> rows;
        for (int k = 0; k < lv->Items().Count(); ++k) {
            TListItem* item = lv->Items()[k];
            std::string row = item->Caption();
            for (int s = 0; s < item->SubItems().Count(); ++s)
                row += " " + item->SubItems()[s];
            rows.push_back(row);
        }
        return rows;
    }

    UiTestSession session;
    std::unique_ptr<lmrtest::SimDevice> device;
    TForm* form = nullptr;
    std::unique_ptr<New_req2Edit> group;
};

using Rows_ = std::vector<std::string>;

TEST_F(Numbered, ListsUsedEntriesNumberedInWalkOrder) {
    auto* lv = new TListView(form);
    group->BindListView(lv, false);
    EXPECT_TRUE(group->Read());
    EXPECT_EQ(Rows(lv), (Rows_{"1 0050C2A1B203 1", "2 0050C2A1B207 1"}));
    EXPECT_EQ(group->rowNumber, 3);
    EXPECT_EQ(group->rowsRead, 32); // every row was delivered, most dropped

    // Without a reset the numbering goes on; with one it starts again.
    group->Read();
    EXPECT_EQ(Rows(lv), (Rows_{"3 0050C2A1B203 1", "4 0050C2A1B207 1"}));
    group->rowNumber = 1;
    group->Read();
    EXPECT_EQ(Rows(lv), (Rows_{"1 0050C2A1B203 1", "2 0050C2A1B207 1"}));

    // The selected row hands over its number, not the device's index.
    lv->ClickItem(lv->Items()[1]);
    EXPECT_EQ(*group->request.vars.Item(0)->Value, "2");
    EXPECT_EQ(*group->request.vars.Item(1)->Value, "0050C2A1B207");
}

TEST_F(Numbered, AnotherWatchedColumnAndStopValue) {
    auto* lv = new TListView(form);
    group->BindListView(lv, false);
    group->watchedIndex = 2;
    group->stopValue = "1";
    group->Read();
    EXPECT_EQ(Rows(lv).size(), 30u);
    EXPECT_EQ(Rows(lv).front(), "1 000000000000 0");
    EXPECT_EQ(Rows(lv).back(), "30 000000000000 0");
}

TEST_F(Numbered, WithoutAListViewEveryRowRefreshesTheControls) {
    auto* mac = new TEdit(form);
    // The form's own handler, set first, runs after the constraint's check.
    int changes = 0;
    mac->OnChange = [&](TObject*) { ++changes; };
    group->AssociateEdits(1, "%h{l12}", mac);
    group->Read();
    EXPECT_EQ(mac->Text(), "000000000000"); // the last entry's
    EXPECT_EQ(group->rowNumber, 1);
    EXPECT_GE(changes, 4); // entries 3 and 7 came through, and went again

    // The constraint still guards the edit: a refused digit goes with a beep.
    const int beeps = session.Beeps();
    mac->SetText("0050C2A1B2G7");
    EXPECT_EQ(mac->Text(), "0050C2A1B27");
    EXPECT_EQ(session.Beeps(), beeps + 1);
}

} // namespace
