// The MAC address table of one band against the simulated device: only the
// used entries listed and numbered from 1, add, set and delete through the
// entry dialog, a full table, and the form closable after a cancelled add or
// a refused write.
#include "forms/wireless/TFM_FilterMAC.h"

#include "binding/New_req2Edit.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "forms/wireless/TFM_Filter.h"
#include "forms/wireless/TFM_MACAddr.h"
#include "tests/forms/wireless/filter_fixture.h"
#include "ui/ListView.h"
#include "ui/StatusBar.h"

#include <memory>

namespace {

using namespace filtertest;

// What the entry dialog showed and how it ended.
struct DialogSeen {
    std::string caption;
    std::string index;
    std::string mac;
    bool leftOpen = false; // Apply did not close it
    int shown = 0;
};

class MacTable : public FilterTest {
protected:
    TFM_FilterMAC* Open() {
        form.reset(NewForm<TFM_FilterMAC>(Application));
        Settle();
        dev->takeSetLog();
        return form.get();
    }
    void TearDown() override {
        form.reset();
        FilterTest::TearDown();
    }
    void Settle() {
        ASSERT_TRUE(Until([&] { return !form->Busy && !form->AnyOutstanding(); }));
    }
    // The used entries as shown: "number:MAC".
    std::vector<std::string> Used() {
        std::vector<std::string> out;
        for (int k = 0; k < form->User_ListView->Items().Count(); ++k) {
            const TListItem* item = form->User_ListView->Items()[k];
            out.push_back(item->Caption() + ":" + item->SubItems()[0]);
        }
        return out;
    }
    void SelectUsed(int row) {
        form->User_ListView->SetSelected(form->User_ListView->Items()[row]);
    }
    // The next entry dialog gets text typed over its MAC and Apply (or is
    // cancelled when text is null).
    void Enter(const char* text, const std::string& picture = "") {
        ui.NextModal([this, text, picture](TForm* d) {
            seen.shown++;
            seen.caption = d->Caption();
            seen.index = FM_MACAddr->LA_Index->Caption();
            seen.mac = FM_MACAddr->Ed_MACAddr->Text();
            if (!picture.empty()) Picture(d, picture);
            if (!text) {
                d->SetModalResult(mrCancel);
                return;
            }
            FM_MACAddr->Ed_MACAddr->SetText(text);
            FM_MACAddr->Bt_Apply->Click();
            ASSERT_TRUE(Until([&] { return d->ModalResult() != mrNone || !form->AnyOutstanding(); }));
            seen.leftOpen = d->ModalResult() == mrNone;
            if (seen.leftOpen) d->SetModalResult(mrCancel);
        });
    }
    bool CanClose() {
        bool can = true;
        form->FormCloseQuery(form.get(), can);
        return can;
    }
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> out;
        for (const auto& b : ui.Boxes().Boxes())
            out.push_back(b.caption + ": " + b.text);
        return out;
    }
    std::unique_ptr<TFM_FilterMAC> form;
    DialogSeen seen;
};

TEST_F(MacTable, ListsOnlyTheUsedEntriesNumberedFromOne) {
    TFM_FilterMAC* f = Open();
    EXPECT_EQ(f->Caption(), "MAC Address Table");
    EXPECT_EQ(f->Band, 1);
    EXPECT_EQ(f->LV_StaticPoolSet->Items().Count(), 32);
    // Entries 3 and 7 are in use: rows 1 and 2.
    EXPECT_EQ(Used(), (std::vector<std::string>{"1:000D0A1B2C3D", "2:0050C2F00007"}));
    EXPECT_EQ(f->ListRequest->rowNumber, 3);
    EXPECT_TRUE(f->Bt_Add->Enabled());
    EXPECT_TRUE(f->Bt_Rfrsh->Enabled());
    EXPECT_FALSE(f->Bt_Set->Enabled());
    EXPECT_FALSE(f->Bt_Del->Enabled());
    EXPECT_TRUE(CanClose());
    Grab(f, "filter-mac.png");
    SelectUsed(1);
    EXPECT_TRUE(f->Bt_Set->Enabled());
    EXPECT_TRUE(f->Bt_Del->Enabled());
}

TEST_F(MacTable, BandTwoFromTheFilterFormsFlag) {
    std::unique_ptr<TFM_Filter> filter(NewForm<TFM_Filter>(Application));
    filter->ListFlagG = 1;
    TFM_FilterMAC* f = Open();
    EXPECT_EQ(f->Band, 2);
    EXPECT_EQ(Used(), (std::vector<std::string>{"1:0050C2F10002"}));
    form.reset();
}

TEST_F(MacTable, BusyUntilTheFirstReadCompletes) {
    form.reset(NewForm<TFM_FilterMAC>(Application));
    EXPECT_EQ(form->Busy, 1);
    EXPECT_FALSE(CanClose());
    EXPECT_FALSE(form->Bt_Add->Enabled());
    EXPECT_EQ(form->StatusBar->Panels()[0]->Text(), "Listing data ... ");
    Settle();
    EXPECT_TRUE(CanClose());
}

TEST_F(MacTable, RoundTripOfAnUnchangedEntryKeepsWhatTheDeviceHeld) {
    const auto before = Snapshot(MacCells());
    TFM_FilterMAC* f = Open();
    SelectUsed(0);
    Enter("000D0A1B2C3D");
    f->Bt_Set->Click();
    Settle();
    EXPECT_EQ(seen.caption, "Set MAC Address");
    EXPECT_EQ(seen.index, "3");
    EXPECT_EQ(seen.mac, "000D0A1B2C3D");
    EXPECT_FALSE(seen.leftOpen);
    EXPECT_EQ(SetLog(), std::vector<std::string>{MacCell(1, 3)});
    EXPECT_EQ(Snapshot(MacCells()), before);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    EXPECT_EQ(Used(), (std::vector<std::string>{"1:000D0A1B2C3D", "2:0050C2F00007"}));
}

TEST_F(MacTable, AddWritesTheFirstFreeEntry) {
    TFM_FilterMAC* f = Open();
    Enter("0050c2ab0001", "mac-address.png");
    f->Bt_Add->Click();
    EXPECT_EQ(seen.caption, "Adding MAC Address");
    EXPECT_EQ(seen.index, "1");
    EXPECT_EQ(seen.mac, "000000000000");
    EXPECT_FALSE(seen.leftOpen);
    EXPECT_EQ(FM_MACAddr->Ed_MACAddr->MaxLength(), 12);
    Settle();
    EXPECT_EQ(SetLog(), std::vector<std::string>{MacCell(1, 1)});
    EXPECT_EQ(Peek(MacCell(1, 1)), "hex:0050C2AB0001");
    EXPECT_EQ(Used(), (std::vector<std::string>{"1:0050C2AB0001", "2:000D0A1B2C3D",
                                                "3:0050C2F00007"}));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    EXPECT_TRUE(CanClose());
}

TEST_F(MacTable, SetChangesTheChosenEntry) {
    TFM_FilterMAC* f = Open();
    SelectUsed(1);
    Enter("0050C2AB0007");
    f->Bt_Set->Click();
    Settle();
    EXPECT_EQ(seen.index, "7");
    EXPECT_EQ(SetLog(), std::vector<std::string>{MacCell(1, 7)});
    EXPECT_EQ(Peek(MacCell(1, 7)), "hex:0050C2AB0007");
    EXPECT_EQ(Used(), (std::vector<std::string>{"1:000D0A1B2C3D", "2:0050C2AB0007"}));
}

TEST_F(MacTable, DeleteFreesTheEntryAndTheListRenumbers) {
    TFM_FilterMAC* f = Open();
    SelectUsed(0);
    f->Bt_Del->Click();
    EXPECT_EQ(f->Busy, 1);
    Settle();
    EXPECT_EQ(SetLog(), std::vector<std::string>{MacCell(1, 3)});
    EXPECT_EQ(Peek(MacCell(1, 3)), "hex:000000000000");
    EXPECT_EQ(Used(), std::vector<std::string>{"1:0050C2F00007"});
    EXPECT_EQ(ui.ModalShows(), 0) << "delete asks nothing";
    EXPECT_TRUE(CanClose());
}

TEST_F(MacTable, AFullTableKeepsAddDisabled) {
    for (int n = 1; n <= 32; ++n) {
        char mac[32];
        std::snprintf(mac, sizeof mac, "hex:0050C2EE%04X", n);
        ASSERT_TRUE(dev->poke(kArc + MacCell(1, n), mac));
    }
    TFM_FilterMAC* f = Open();
    EXPECT_EQ(f->User_ListView->Items().Count(), 32);
    EXPECT_FALSE(f->Bt_Add->Enabled());
    f->Bt_Rfrsh->Click();
    Settle();
    EXPECT_FALSE(f->Bt_Add->Enabled());
    EXPECT_EQ(f->User_ListView->Items()[31]->Caption(), "32");
    f->Bt_AddClick(nullptr);
    EXPECT_EQ(ui.ModalShows(), 0);
    EXPECT_EQ(f->Busy, 0);
}

TEST_F(MacTable, RefreshReadsBothListsAgain) {
    TFM_FilterMAC* f = Open();
    ASSERT_TRUE(dev->poke(kArc + MacCell(1, 20), "hex:0050C2AA0020"));
    f->Bt_Rfrsh->Click();
    EXPECT_EQ(f->Busy, 1);
    EXPECT_FALSE(f->Bt_Add->Enabled());
    Settle();
    EXPECT_EQ(Used(), (std::vector<std::string>{"1:000D0A1B2C3D", "2:0050C2F00007",
                                                "3:0050C2AA0020"}));
}

// Each refusal of the entry dialog, exactly as shown; nothing is written
// and the dialog stays open.
TEST_F(MacTable, EntryDialogRefusals) {
    struct Case {
        bool add;
        const char* text;
        const char* box;
    } cases[] = {
        {true, "12345", "Error: The length is 12 in MAC Address."},
        {true, "", "Error: The length is 12 in MAC Address."},
        {true, "000000000000", "Warning: Please input a valid MAC Address."},
        {true, "000d0a1b2c3d", "Warning: Reject: The MAC already exists "},
        {true, "0050C2F00007", "Warning: Reject: The MAC already exists "},
        {false, "0050c2f00007", "Warning: Reject: The MAC already exists "},
    };
    TFM_FilterMAC* f = Open();
    for (const auto& c : cases) {
        ui.Boxes().Clear();
        seen = DialogSeen{};
        Enter(c.text);
        if (c.add) {
            f->Bt_Add->Click();
        } else {
            SelectUsed(0);
            f->Bt_Set->Click();
        }
        Settle();
        EXPECT_EQ(seen.shown, 1) << c.text;
        EXPECT_TRUE(seen.leftOpen) << c.text;
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.box}) << c.text;
        EXPECT_TRUE(SetLog().empty()) << c.text;
    }
}

TEST_F(MacTable, ItsOwnEntryMayKeepItsMacInAnyCase) {
    TFM_FilterMAC* f = Open();
    SelectUsed(0);
    Enter("000d0a1b2c3d");
    f->Bt_Set->Click();
    Settle();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    EXPECT_FALSE(seen.leftOpen);
    EXPECT_EQ(Peek(MacCell(1, 3)), "hex:000D0A1B2C3D");
}

TEST_F(MacTable, OnlyHexDigitsCanBeTyped) {
    TFM_FilterMAC* f = Open();
    std::string typed;
    ui.NextModal([&](TForm* d) {
        TEdit* e = FM_MACAddr->Ed_MACAddr;
        e->SetFocus();
        e->SetText("");
        e->TypeText("00g5:0C-2zA9999999");
        typed = e->Text();
        d->SetModalResult(mrCancel);
    });
    f->Bt_Add->Click();
    EXPECT_EQ(typed, "0050C2A99999") << "hexadecimal digits only, twelve at most";
    EXPECT_TRUE(SetLog().empty());
}

// The entry being edited is told apart by its number: in a list that does
// not start with entry 1, its own row is still its own.
TEST_F(MacTable, DuplicateCheckSkipsTheEditedEntryByItsNumber) {
    TFM_FilterMAC* f = Open();
    f->LV_StaticPoolSet->Items().Delete(0);
    SelectUsed(1); // entry 7, now the sixth row
    Enter("0050C2F00007");
    f->Bt_Set->Click();
    Settle();
    EXPECT_EQ(seen.index, "7");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    EXPECT_FALSE(seen.leftOpen);
    EXPECT_EQ(SetLog(), std::vector<std::string>{MacCell(1, 7)});
}

TEST_F(MacTable, CancelledAddLeavesTheFormClosable) {
    TFM_FilterMAC* f = Open();
    Enter(nullptr);
    f->Bt_Add->Click();
    EXPECT_EQ(seen.shown, 1);
    EXPECT_EQ(f->Busy, 0);
    EXPECT_TRUE(CanClose());
    EXPECT_TRUE(f->Bt_Add->Enabled());
    EXPECT_TRUE(SetLog().empty());
}

// Text typed into a dialog that was cancelled is not offered again: the
// next Set or Add of the same entry starts from what the device holds.
TEST_F(MacTable, CancelledEditIsNotOfferedAgain) {
    TFM_FilterMAC* f = Open();
    for (bool add : {false, true}) {
        SCOPED_TRACE(add ? "add" : "set");
        ui.NextModal([](TForm* d) {
            FM_MACAddr->Ed_MACAddr->SetText("112233445566");
            d->SetModalResult(mrCancel);
        });
        if (!add) SelectUsed(1);
        (add ? f->Bt_Add : f->Bt_Set)->Click();
        seen = DialogSeen{};
        Enter(nullptr);
        if (!add) SelectUsed(1);
        (add ? f->Bt_Add : f->Bt_Set)->Click();
        EXPECT_EQ(seen.shown, 1);
        EXPECT_EQ(seen.index, add ? "1" : "7");
        EXPECT_EQ(seen.mac, add ? "000000000000" : "0050C2F00007");
    }
    EXPECT_TRUE(SetLog().empty());
}

TEST_F(MacTable, RefusedWriteKeepsTheDialogAndLeavesTheFormClosable) {
    TFM_FilterMAC* f = Open();
    ASSERT_TRUE(dev->fault(kArc + MacCell(1, 1), "badValue", "set"));
    Enter("0050C2AB0001");
    f->Bt_Add->Click();
    Settle();
    EXPECT_TRUE(seen.leftOpen) << "a refused write is no success";
    EXPECT_FALSE(FM_MACAddr->Written);
    EXPECT_EQ(ui.Boxes().Count(), 1) << "the failure is shown";
    EXPECT_EQ(f->Busy, 0);
    EXPECT_TRUE(CanClose());
    EXPECT_EQ(Peek(MacCell(1, 1)), "hex:000000000000");
    EXPECT_EQ(Used(), (std::vector<std::string>{"1:000D0A1B2C3D", "2:0050C2F00007"}));
}

TEST_F(MacTable, RefusedDeleteLeavesTheFormClosable) {
    TFM_FilterMAC* f = Open();
    ASSERT_TRUE(dev->fault(kArc + MacCell(1, 7), "genErr", "set"));
    SelectUsed(1);
    f->Bt_Del->Click();
    Settle();
    EXPECT_EQ(f->Busy, 0);
    EXPECT_TRUE(CanClose());
    EXPECT_TRUE(f->Bt_Rfrsh->Enabled());
    EXPECT_EQ(Peek(MacCell(1, 7)), "hex:0050C2F00007");
    EXPECT_EQ(ui.Boxes().Count(), 1);
    // Both lists still show what the device holds, and Set offers the entry's
    // own MAC, not the free one.
    EXPECT_EQ(Used(), (std::vector<std::string>{"1:000D0A1B2C3D", "2:0050C2F00007"}));
    const int row = 6;
    ASSERT_GT(f->LV_StaticPoolSet->Items().Count(), row);
    EXPECT_EQ(f->LV_StaticPoolSet->Items()[row]->Caption(), "7");
    EXPECT_EQ(f->LV_StaticPoolSet->Items()[row]->SubItems()[0], "0050C2F00007");
    SelectUsed(1);
    Enter(nullptr);
    f->Bt_Set->Click();
    EXPECT_EQ(seen.shown, 1);
    EXPECT_EQ(seen.index, "7");
    EXPECT_EQ(seen.mac, "0050C2F00007");
    // Add still finds the first free entry.
    seen = DialogSeen{};
    Enter(nullptr);
    f->Bt_Add->Click();
    EXPECT_EQ(seen.index, "1");
    EXPECT_EQ(seen.mac, "000000000000");
}

} // namespace
