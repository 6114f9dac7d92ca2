#include "DeviceFixture.h"

#include "device/EQuillet.h"
#include "platform/UserInterface.h"

#include <gtest/gtest.h>

namespace rpt {
namespace {

using test::FakeDevice;
using Calls = std::vector<std::string>;

class PrintJob : public testing::Test {
protected:
    void SetUp() override {
        fake.Device->SelectPrinterIndex(0); // Laser 1 on LPT1:
        fake.Log->Calls.clear();
    }
    Calls JobCalls() const {
        Calls calls;
        for (const std::string& call : fake.Log->Calls)
            if (call.rfind("CreateIC", 0) != 0)
                calls.push_back(call);
        return calls;
    }
    FakeDevice fake;
};

TEST_F(PrintJob, BeginAndEndWithoutPagesMakesAnEmptyDocument) {
    fake.Device->Title = "Monthly sales";
    fake.Device->BeginJob();
    EXPECT_TRUE(fake.Device->Printing());
    EXPECT_EQ(fake.Device->State(), dsDC);
    EXPECT_FALSE(fake.Device->PageOpen());
    fake.Device->EndJob();
    EXPECT_FALSE(fake.Device->Printing());
    EXPECT_EQ(fake.Device->State(), dsNone);
    EXPECT_EQ(JobCalls(), (Calls{"CreateDC(Laser 1, LPT1:, orientation 1, copies 1)", "SetAbortProc",
                                 "StartDoc(\"Monthly sales\", port)", "EndDoc"}));
}

TEST_F(PrintJob, PagesAreBracketedAndASkippedPageStartsNothing) {
    fake.Device->BeginJob();
    fake.Device->PageBreak(false);
    fake.Device->PageBreak(true);
    fake.Device->PageBreak(false);
    fake.Device->PageBreak(true);
    fake.Device->PageBreak(true);
    fake.Device->EndJob();
    const Calls calls = JobCalls();
    const Calls pages(calls.begin() + 3, calls.end());
    EXPECT_EQ(pages, (Calls{"StartPage", "EndPage", "StartPage", "EndPage", "StartPage", "EndPage",
                            "EndDoc"}));
}

TEST_F(PrintJob, AnEmptyTitleGivesAnEmptyDocumentNameAndAnOutputFileIsPassedOn) {
    fake.Device->Title = "";
    fake.Device->SetOutputFileName("/tmp/job.prn");
    fake.Device->BeginJob();
    EXPECT_EQ(fake.Log->Starting("StartDoc"), (Calls{"StartDoc(\"\", \"/tmp/job.prn\")"}));
    fake.Device->EndJob();
}

TEST_F(PrintJob, AnOrientationChangeBetweenPagesResetsTheContextAndKeepsTheCanvasState) {
    fake.Device->BeginJob();
    TQLCanvas& canvas = fake.Device->Canvas();
    canvas.Pen().SetColor(RGB(0, 0, 255));
    canvas.Pen().SetWidth(7);
    canvas.Brush().SetStyle(bsCross);
    canvas.Font().SetName("Courier New");
    fake.Device->PageBreak(true);
    fake.Device->SetOrientation(1);
    fake.Device->PageBreak(true);
    EXPECT_EQ(fake.Log->Starting("ResetDC"), (Calls{"ResetDC(orientation 2, copies 1)"}));
    EXPECT_FALSE(fake.Device->SettingsChanged());
    EXPECT_EQ(canvas.Pen().Color(), RGB(0, 0, 255));
    EXPECT_EQ(canvas.Pen().Width(), 7);
    EXPECT_EQ(canvas.Brush().Style(), bsCross);
    EXPECT_EQ(canvas.Font().Name(), "Courier New");
    EXPECT_EQ(&canvas.Handle(), fake.Device->Handle());
    EXPECT_EQ(fake.Device->Handle()->GetDeviceCaps(HORZRES), 3150);
    fake.Device->EndJob();
}

TEST_F(PrintJob, PrintableSizeFollowsAPendingOrientationChangeOnTheInformationContext) {
    EXPECT_EQ(fake.Device->PrintableWidth(), 2400);
    fake.Device->SetOrientation(1);
    EXPECT_EQ(fake.Device->PrintableWidth(), 3150);
    EXPECT_EQ(fake.Device->PrintableHeight(), 2400);
    EXPECT_EQ(fake.Log->Starting("ResetDC").size(), 1u);
}

TEST_F(PrintJob, CancelAbortsTheDocumentWithoutEndingIt) {
    fake.Device->BeginJob();
    fake.Device->PageBreak(true);
    fake.Device->CancelJob();
    EXPECT_FALSE(fake.Device->Printing());
    EXPECT_FALSE(fake.Device->Aborted());
    const Calls calls = JobCalls();
    EXPECT_EQ(Calls(calls.end() - 3, calls.end()), (Calls{"StartPage", "AbortDoc", "EndPage"}));
}

TEST_F(PrintJob, JobCallsOutsideAJobAreRefused) {
    for (auto call : {+[](TQLDevice& d) { d.PageBreak(true); }, +[](TQLDevice& d) { d.EndJob(); },
                      +[](TQLDevice& d) { d.CancelJob(); }}) {
        try {
            call(*fake.Device);
            ADD_FAILURE() << "not refused";
        } catch (const EQuillet& e) {
            EXPECT_EQ(e.Message(), "Invalid method call.  Device is not printing.");
        }
    }
    EXPECT_TRUE(fake.Log->Calls.empty());
}

class CountingUserInterface : public ConsoleUserInterface {
public:
    explicit CountingUserInterface(int& count) : count_(count) {}
    void ProcessMessages() override { ++count_; }

private:
    int& count_;
};

// Installs a front end for its lifetime.
class UserInterfaceGuard {
public:
    explicit UserInterfaceGuard(std::unique_ptr<UserInterface> ui)
        : saved_(SetUserInterface(std::move(ui))) {}
    ~UserInterfaceGuard() { SetUserInterface(std::move(saved_)); }

private:
    std::unique_ptr<UserInterface> saved_;
};

TEST_F(PrintJob, TheInstalledAbortProcedureLetsMessagesRunAndContinuesTheJob) {
    int processed = 0;
    UserInterfaceGuard guard(std::make_unique<CountingUserInterface>(processed));
    fake.Device->BeginJob();
    ASSERT_TRUE(fake.Driver->AbortProc);
    EXPECT_TRUE(fake.Driver->AbortProc(0));
    EXPECT_EQ(processed, 1);
    fake.Device->EndJob();
}

TEST_F(PrintJob, TheCanvasDrawsOnTheInformationContextOutsideAJob) {
    TQLCanvas& canvas = fake.Device->Canvas();
    EXPECT_EQ(fake.Device->State(), dsIC);
    EXPECT_EQ(&canvas.Handle(), fake.Device->Handle());
    EXPECT_EQ(canvas.Font().PixelsPerInch(), 300);
    fake.Device->BeginJob();
    EXPECT_EQ(&canvas.Handle(), fake.Device->Handle());
    fake.Device->EndJob();
    EXPECT_FALSE(canvas.HandleAllocated());
}

} // namespace
} // namespace rpt
