// The adapter unplugged while the main window polls, its error boxes left unanswered: the serial
// event thread's report and the link's time-outs meet inside the boxes' modal loops, where the
// link closes and reopens the port.  Neither thread may wait for the other there.
#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/InstrumentLink.h"
#include "app/MainForm.h"
#include "platform/ui/Dialogs.h"
#include "tests/app/mainform/MainWindowTest.h"
#include "tests/support/UiPump.h"
#include "tests/support/Watchdog.h"

namespace {

using namespace mainform_test;

// When the line goes: while the link waits for an answer that does not come (the event thread
// then reports first), or while answers come and go (the failure may first meet a reply's
// handler on the UI thread, with the event thread held until it returns).
enum class THangUpMoment { WhileWaiting, WhilePolling };

class UnpluggedAdapter : public MainWindow, public ::testing::WithParamInterface<THangUpMoment> {
 protected:
  void SetUp() override {
    MainWindow::SetUp();
    // Every box is shown for real and left open while the user is away; once back, the user
    // answers each box as it comes.
    previous_ = SetDialogResponder([this](TObject* dialog) -> TModalResult {
      if (auto* box = dynamic_cast<TMessageBoxDialog*>(dialog)) boxes_.push_back(box->Request.Text);
      return back_ ? mrOk : mrNone;
    });
    // The open boxes' modal loops go idle between messages: the absence passes there.
    Application->OnIdle = TIdleEvent::Lambda([this](TObject*, bool& done) {
      done = false;
      CheckSynchronize(1);
      Tick();
    });
  }
  void TearDown() override {
    Application->OnIdle = nullptr;
    SetDialogResponder(previous_);
    MainWindow::TearDown();
    adapter_.reset();
  }

  static std::vector<TCustomForm*> OpenBoxes() {
    std::vector<TCustomForm*> open;
    for (int32_t i = 0; i < Screen->CustomFormCount(); ++i)
      if (Screen->CustomForms(i)->FormState().Contains(fsModal)) open.push_back(Screen->CustomForms(i));
    return open;
  }

  // A tenth of a second of fake time since the hang-up, from the main loop or from a box.  At
  // 30 s the adapter is back under its name; once the program polls it again the user is back
  // and answers the boxes.
  void Tick() {
    if (back_) return;
    clock_.Advance(100);
    away_ += 100;
    mostOpen_ = std::max(mostOpen_, OpenBoxes().size());
    if (away_ == 30000) {
      adapter_ = std::make_unique<TPtySimulator>(SimConfig());
      setenv("PL_PORT_MAP", ("COM1=" + adapter_->DevicePath()).c_str(), 1);
    }
    if (adapter_) adapterLines_ += adapter_->TakeReceivedLines().size();
    polledWhileAway_ = adapter_ && adapterLines_ >= 6 && form_->Link()->PanelEnabled();
    if (polledWhileAway_ || away_ >= 90000) {
      back_ = true;
      for (TCustomForm* box : OpenBoxes()) box->SetModalResult(mrOk);
    }
  }

  TDialogResponder previous_;
  std::vector<std::string> boxes_;
  std::unique_ptr<TPtySimulator> adapter_;
  uint32_t away_ = 0;
  size_t adapterLines_ = 0;
  size_t mostOpen_ = 0;
  bool polledWhileAway_ = false;
  bool back_ = false;
};

TEST_P(UnpluggedAdapter, BoxesLeftOpenFreezeNothingAndPollingResumesWhenTheAdapterIsBack) {
  TWatchdog watchdog(std::chrono::seconds(90),
                     "the UI thread and the serial event thread wait on each other");
  TForm_Main* f = Started();
  if (GetParam() == THangUpMoment::WhileWaiting) {
    std::string response;
    sim_->Control("silence on", response);
    for (size_t seen = 0; seen != Wire().size();) {
      seen = Wire().size();
      const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(80);
      while (std::chrono::steady_clock::now() < end) Pump();
    }
  }
  sim_->HangUp();
  // Fake time stands until the first box shows (the event thread reports as soon as it sees the
  // hang-up), so that the link's first time-out comes after it.
  const auto hungUp = std::chrono::steady_clock::now();
  while (!back_ && std::chrono::steady_clock::now() < hungUp + std::chrono::seconds(60)) {
    if (!boxes_.empty() || std::chrono::steady_clock::now() > hungUp + std::chrono::seconds(5)) Tick();
    Pump();
  }
  ASSERT_TRUE(back_) << "still away after " << away_ << " ms of fake time";
  EXPECT_TRUE(polledWhileAway_) << "no polling " << (away_ - 30000) << " ms after the adapter came back";
  EXPECT_EQ(mostOpen_, 2u) << "the two reports waited in boxes while the time passed";
  EXPECT_TRUE(OpenBoxes().empty());
  // Each failure is told once: the event thread's and the link's first write's.
  const std::string waitFailed = "WaitForEvent method failed (win error code: 1167)";
  const std::string writeFailed = "WriteFile function failed (win error code: 1167)";
  if (GetParam() == THangUpMoment::WhileWaiting) {
    EXPECT_EQ(boxes_, (std::vector<std::string>{waitFailed, writeFailed}));
  } else {
    std::vector<std::string> sorted = boxes_;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{waitFailed, writeFailed}));
  }

  // The boxes are gone: the polling goes on by itself and the window closes as usual.
  const size_t before = adapterLines_;
  ASSERT_TRUE(Until([&] {
    adapterLines_ += adapter_->TakeReceivedLines().size();
    return adapterLines_ >= before + 6;
  }));
  f->Close();
  EXPECT_TRUE(f->Link()->Closing());
  EXPECT_TRUE(fs::exists(folder_ / "Config.dat"));
  EXPECT_EQ(boxes_.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(HangUp, UnpluggedAdapter,
                         ::testing::Values(THangUpMoment::WhileWaiting, THangUpMoment::WhilePolling),
                         [](const ::testing::TestParamInfo<THangUpMoment>& info) {
                           return info.param == THangUpMoment::WhileWaiting ? "WhileWaiting" : "WhilePolling";
                         });

}  // namespace
