// The statistics form against the simulated device, whose counts move with
// every read: every counter, counts past 2^31 - 1 shown unsigned, Refresh
// showing the new values, the optional byte counts, a failed read, and the
// round trip that writes nothing.
#include "forms/admin/TFM_Static.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "tests/forms/admin/status_fixture.h"
#include "ui/PageControl.h"

#include <memory>

namespace statustest {
namespace {

const std::string kST = "qvEnterprise.11.37.4.4.3.1.1";

class Stats : public StatusFormTest {
protected:
    void SetUp() override {
        StatusFormTest::SetUp();
        ASSERT_TRUE(dev->reset()); // the moving counts start again from the file
    }
    void TearDown() override {
        form.reset();
        StatusFormTest::TearDown();
    }
    TFM_Static* Open() {
        form.reset(NewForm<TFM_Static>(Application));
        return form.get();
    }
    std::unique_ptr<TFM_Static> form;
};

// The band 1 values of the data file, then after one more read.
struct Expected {
    const char* edit;
    const char* first;
    const char* second;
};
const Expected kBand1[] = {
    {"Ed_TranSuRata", "98", "98"},
    {"Ed_TranReRata", "2", "2"},
    {"Ed_RcvSuRata", "97", "97"},
    {"Ed_RcvDuRata", "1", "1"},
    {"Ed_RTSSuCnta", "1200", "1203"},
    {"Ed_RTSFaCnta", "4", "4"},
    {"Ed_TranFrCnta", "2147483000", "2147484000"},
    {"Ed_McastTranFrCnta", "52000", "52017"},
    {"Ed_TranErrCnta", "12", "12"},
    {"Ed_TranTtlRtyCnta", "3100", "3102"},
    {"Ed_TranMulRtyCnta", "800", "800"},
    {"Ed_RcvFrmCnta", "4000000000", "4000001000"},
    {"Ed_MRcvFrmCnta", "61000", "61009"},
    {"Ed_RcvFrmErrCnta", "33", "33"},
    {"Ed_RcvFrmDupCnta", "21", "21"},
    {"Ed_AckRcvfCnta", "5", "5"},
    {"Ed_WEPEFrmCnta", "0", "0"},
    {"Ed_WEPIErrCnta", "1", "1"},
};

TEST_F(Stats, EveryCounterUnsignedAndRefreshShowsTheNewCounts) {
    TFM_Static* f = Open();
    EXPECT_EQ(ui.Boxes().Count(), 0) << ui.Boxes().Last().text;
    for (const Expected& e : kBand1) {
        TEdit* edit = f->Counter(e.edit);
        ASSERT_NE(edit, nullptr) << e.edit;
        EXPECT_EQ(edit->Text(), e.first) << e.edit;
        EXPECT_TRUE(edit->ReadOnly());
    }
    EXPECT_TRUE(f->BytesReadable);
    EXPECT_TRUE(f->stTransmitedByteCount->Visible());
    EXPECT_EQ(f->stTransmitedByteCount->Text(), "3000000000");
    EXPECT_EQ(f->stReceivedByteCount->Text(), "2500000000");
    EXPECT_EQ(f->TabSheetA->Caption(), "IEEE 802.11g");
    EXPECT_EQ(f->Band2Request, nullptr);
    Picture(f, "stats.png");

    // Nothing is polled: the values change on Refresh only.
    for (int k = 0; k < 5; ++k)
        Application->ProcessMessages();
    EXPECT_EQ(f->Counter("Ed_TranFrCnta")->Text(), "2147483000");
    f->Bt_RfrshA->Click();
    for (const Expected& e : kBand1)
        EXPECT_EQ(f->Counter(e.edit)->Text(), e.second) << e.edit;
    EXPECT_EQ(f->stTransmitedByteCount->Text(), "3000001500");
    EXPECT_EQ(f->stReceivedByteCount->Text(), "2500000700");
    form.reset();
    EXPECT_TRUE(dev->takeSetLog().empty());
}

TEST_F(Stats, WithoutByteCountsTheRowStaysHiddenAndRefreshLeavesThemOut) {
    ASSERT_TRUE(dev->fault(kST + ".19", "noSuchName", "get"));
    ASSERT_TRUE(dev->fault(kST + ".20", "noSuchName", "get"));
    TFM_Static* f = Open();
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_FALSE(f->BytesReadable);
    for (TControl* c : std::initializer_list<TControl*>{f->La_TransmitedBytes,
                                                        f->stTransmitedByteCount,
                                                        f->La_ReceivedBytes, f->stReceivedByteCount})
        EXPECT_FALSE(c->Visible());
    EXPECT_EQ(f->Counter("Ed_RTSSuCnta")->Text(), "1200");
    ASSERT_TRUE(dev->clearFaults());
    const int64_t failures = f->ByteRequest->request.Failures;
    f->Bt_RfrshA->Click();
    EXPECT_EQ(f->ByteRequest->request.Failures, failures);
    EXPECT_EQ(f->stTransmitedByteCount->Text(), "(NULL)");
    EXPECT_EQ(f->Counter("Ed_RTSSuCnta")->Text(), "1203");
    Picture(f, "stats-old.png");
}

TEST_F(Stats, AFailedCounterReadIsShownOnceAndTheFormStillCloses) {
    ASSERT_TRUE(dev->fault(kST + ".7.1", "noSuchName", "get"));
    TFM_Static* f = Open();
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_FALSE(ui.Boxes().Last().text.empty());
    EXPECT_EQ(f->Counter("Ed_TranFrCnta")->Text(), "(NULL)");
    ASSERT_TRUE(dev->clearFaults());
    f->Bt_RfrshA->Click();
    EXPECT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(f->Counter("Ed_TranFrCnta")->Text(), "2147483000");
    f->Close();
}

} // namespace
} // namespace statustest
