// The plot window: a double click on the main plot opens it modally with a copy of the main
// plot's points; readings go to both plots while it shows; its buttons zoom, save and load plot
// data files through the file dialogs.  The link runs against the simulated instrument on the
// fake clock.
#include <fstream>

#include "app/DisplayPlotForm.h"
#include "app/LoadSource.h"
#include "platform/ui/Dialogs.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "tests/app/mainform/MainWindowTest.h"
#include "tests/support/TestOutput.h"
#include "tests/support/UiPump.h"
#include "widgets/iSwitchToggle.h"

namespace {

using namespace mainform_test;

class DisplayPlot : public MainWindow {
 protected:
  void SetUp() override {
    MainWindow::SetUp();
    Form_Main = Form();
    Form_DisplayPlot = TCustomForm::Create<TForm_DisplayPlot>(nullptr);
    previous_ = SetDialogResponder([this](TObject* dialog) -> TModalResult {
      auto* d = dynamic_cast<TOpenDialog*>(dialog);
      if (!d || answer_.empty()) return mrCancel;
      seen_.push_back({dynamic_cast<TSaveDialog*>(dialog) != nullptr, d->GetFilter(), d->GetInitialDir()});
      d->SetFileName(answer_);
      return mrOk;
    });
  }
  void TearDown() override {
    SetDialogResponder(previous_);
    Form_DisplayPlot->Free();
    Form_DisplayPlot = nullptr;
    Form_Main = nullptr;
    MainWindow::TearDown();
  }
  // Moves the fake clock on until the main plot took at least Points more readings.
  void Readings(int32_t Points) {
    TiPlotChannel* volts = Form()->iPlotVoltage_Current->GetChannel(0);
    const int32_t goal = volts->GetCount() + Points;
    while (volts->GetCount() < goal) {
      Run(100);
      const int32_t before = volts->GetCount();
      ASSERT_TRUE(
          Until([&] { return volts->GetCount() > before || Form()->Link()->CommandQueue()->Count() == 0; }));
    }
  }
  // Double-clicks the main plot and runs Act while the window shows, then closes it.
  void WhileShown(const std::function<void()>& Act) {
    ASSERT_TRUE(ui_pump::AnswerModal(
        Form_DisplayPlot,
        [&] {
          Act();
          Form_DisplayPlot->tbCancel->Click();
        },
        [&] { Form()->iPlotVoltage_Current->DblClick(); }));
    EXPECT_FALSE(Form_DisplayPlot->GetVisible());
  }
  TiPlot* Shown() const { return Form_DisplayPlot->iPlotScanVoltage; }

  struct Seen {
    bool Save;
    std::string Filter, Folder;
  };
  TDialogResponder previous_;
  std::string answer_;
  std::vector<Seen> seen_;
};

std::vector<std::pair<double, double>> DisplayPlotPoints(TiPlotChannelCustom* Channel) {
  std::vector<std::pair<double, double>> out;
  for (int32_t i = 0; i < Channel->GetCount(); ++i)
    out.push_back({Channel->GetPointX(i), Channel->GetPointY(i)});
  return out;
}

TEST_F(DisplayPlot, OpensWithACopyOfTheMainPlotAndTakesEveryReadingWhileShown) {
  TForm_Main* f = Started();
  f->iSwitchToggle_OutputOnOff->SetActive(true);
  Readings(30);
  TiPlot* main = f->iPlotVoltage_Current;
  WhileShown([&] {
    const TLoadSource* texts = f->LanguageSource();
    EXPECT_EQ(Form_DisplayPlot->GetCaption(), texts->GetString(74));
    EXPECT_EQ(Form_DisplayPlot->sbZoomOut->GetHint(), texts->GetString(75));
    EXPECT_EQ(Form_DisplayPlot->TeThemeSpeedButton1->GetHint(), texts->GetString(83));
    EXPECT_EQ(Form_DisplayPlot->tbCancel->GetCaption(), texts->GetString(28));
    for (int k = 0; k < 3; ++k) {
      SCOPED_TRACE(k);
      EXPECT_EQ(DisplayPlotPoints(Shown()->GetChannel(k)), DisplayPlotPoints(main->GetChannel(k)));
    }
    const int32_t copied = Shown()->GetChannel(0)->GetCount(), before = main->GetChannel(0)->GetCount();
    Readings(9);
    const int32_t added = main->GetChannel(0)->GetCount() - before;
    for (int k = 0; k < 3; ++k) {
      SCOPED_TRACE(k);
      ASSERT_EQ(Shown()->GetChannel(k)->GetCount(), copied + added);
      EXPECT_EQ(Shown()->GetChannel(k)->GetPointY(copied + added - 1),
                main->GetChannel(k)->GetPointY(main->GetChannel(k)->GetCount() - 1));
    }
  });
  // Closed, it takes no more readings.
  const int32_t kept = Shown()->GetChannel(0)->GetCount();
  Readings(3);
  EXPECT_EQ(Shown()->GetChannel(0)->GetCount(), kept);
}

TEST_F(DisplayPlot, SavesAndLoadsPlotDataFilesThroughItsButtons) {
  Started();
  Readings(12);
  const std::string file = (folder_ / "readings.plt").string();
  WhileShown([&] {
    std::vector<std::vector<std::pair<double, double>>> saved;
    for (int k = 0; k < 3; ++k) saved.push_back(DisplayPlotPoints(Shown()->GetChannel(k)));
    answer_ = file;
    Form_DisplayPlot->TeThemeSpeedButton1->Click();
    ASSERT_TRUE(fs::exists(file));
    Shown()->ClearAllData();
    Form_DisplayPlot->TeThemeSpeedButton2->Click();
    for (int k = 0; k < 3; ++k) {
      SCOPED_TRACE(k);
      const auto back = DisplayPlotPoints(Shown()->GetChannel(k));
      ASSERT_EQ(back.size(), saved[size_t(k)].size());
      for (size_t i = 0; i < back.size(); ++i) {
        EXPECT_NEAR(back[i].first, saved[size_t(k)][i].first, 1e-9);
        EXPECT_EQ(back[i].second, saved[size_t(k)][i].second);
      }
    }
    // A damaged file is refused and leaves the points as they are.
    std::ofstream(file, std::ios::binary | std::ios::trunc) << "Compact Interval\r\n3\r\n\x01\x02";
    const int32_t count = Shown()->GetChannel(0)->GetCount();
    try {
      Form_DisplayPlot->TeThemeSpeedButton2->Click();
      ADD_FAILURE() << "loaded";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "Error Loading Data - Invalid Data");
    }
    EXPECT_EQ(Shown()->GetChannel(0)->GetCount(), count);
  });
  ASSERT_EQ(seen_.size(), 3u);
  EXPECT_TRUE(seen_[0].Save);
  EXPECT_FALSE(seen_[1].Save);
  for (const Seen& s : seen_) {
    EXPECT_EQ(s.Filter, "plot files (*.plt)|*.plt");
    EXPECT_EQ(fs::path(s.Folder), folder_ / "");
  }
}

// A minute of readings, then zoomed by the buttons; the picture is for people to look at.
TEST_F(DisplayPlot, AMinuteOfReadingsZoomed) {
  TForm_Main* f = Started();
  f->TeThemeRadioButton4->SetChecked(true);
  Click("Button14");
  Click("Button26");
  f->iSwitchToggle_OutputOnOff->SetActive(true);
  WhileShown([&] {
    for (int second = 1; second <= 60; ++second) {
      if (second % 20 == 0) {
        f->TeThemeRadioButton3->SetChecked(true);
        Click(second == 20 ? "Button16" : "Button19");
        Click("Button26");
      }
      RunSeconds(1);
    }
    TiPlotAxis* x = Shown()->GetXAxis(0);
    TiPlotAxis* y = Shown()->GetYAxis(0);
    Form_DisplayPlot->sbResume->Click();
    const double xSpan = x->GetSpan(), ySpan = y->GetSpan();
    EXPECT_GT(Shown()->GetChannel(0)->GetPointX(Shown()->GetChannel(0)->GetCount() - 1), 59.0);
    // The buttons zoom as their hints say.
    Form_DisplayPlot->sbZoomOut->Click();
    EXPECT_DOUBLE_EQ(x->GetSpan(), 2 * xSpan);
    Form_DisplayPlot->sbZoomIn->Click();
    Form_DisplayPlot->sbZoomIn->Click();
    EXPECT_DOUBLE_EQ(x->GetSpan(), xSpan / 2);
    EXPECT_DOUBLE_EQ(y->GetSpan(), ySpan / 2);
    Run(200);  // the plot repaints at its frame rate, on the fake clock
    EXPECT_TRUE(SaveWindowPng(Form_DisplayPlot->Handle(), OutputPath("app-display-plot-minute-zoomed.png")));
  });
}

}  // namespace
