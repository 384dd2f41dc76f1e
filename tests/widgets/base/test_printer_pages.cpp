// The current printer's paper size through a stand-in print service, and the page-index helpers
// on a page control.
#include <gtest/gtest.h>

#include <memory>

#include "platform/os/print/WinSpool.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Printers.h"
#include "tests/platform/ui/controls/UiHarness.h"
#include "widgets/iGPFunctions.h"

namespace {

// One queue, "Lab", whose papers cover every code the paper table knows.
struct TPaperPrintSystem : IPrintSystem {
  bool withLab = true;
  std::vector<TSpoolPrinter> Printers() override {
    if (!withLab) return {};
    TSpoolPrinter p;
    p.Name = "Lab";
    p.IsDefault = true;
    p.Papers = {{DMPAPER_LETTER, "Letter", 2159, 2794, 0, 0, 0, 0},
                {DMPAPER_LEGAL, "Legal", 2159, 3556, 0, 0, 0, 0},
                {DMPAPER_A3, "A3", 2970, 4200, 0, 0, 0, 0},
                {DMPAPER_A4, "A4", 2100, 2970, 0, 0, 0, 0},
                {DMPAPER_A5, "A5", 1480, 2100, 0, 0, 0, 0}};
    p.DefaultPaper = DMPAPER_A4;
    return {p};
  }
  bool Submit(const std::string&, const std::string&, const std::string&, int, std::string&) override {
    return true;
  }
};

class PrinterPaper : public ::testing::Test {
 protected:
  void SetUp() override {
    SetPrintSystem(system_);
    previous_ = SetPrinter(new TPrinter);
  }
  void TearDown() override {
    delete SetPrinter(previous_);
    SetPrintSystem(nullptr);
  }
  // Puts a paper code and orientation into the selected printer's device mode.
  static void Choose(int16_t paper, int16_t orientation) {
    char device[80];
    HGLOBAL mode = nullptr;
    Printer()->GetPrinter(device, nullptr, nullptr, mode);
    auto* dm = static_cast<DEVMODEA*>(GlobalLock(mode));
    dm->dmFields |= DM_PAPERSIZE | DM_ORIENTATION;
    dm->dmPaperSize = paper;
    dm->dmOrientation = orientation;
    GlobalUnlock(mode);
    Printer()->SetPrinter(device, nullptr, nullptr, mode);
  }
  std::shared_ptr<TPaperPrintSystem> system_ = std::make_shared<TPaperPrintSystem>();
  TPrinter* previous_ = nullptr;
};

TEST_F(PrinterPaper, PaperCodeAndOrientationOfTheCurrentPrinter) {
  Printer()->SetPrinterIndex(Printer()->GetPrinters()->IndexOf("Lab"));
  double w = 0, h = 0;
  PrinterPaperSize(w, h);
  EXPECT_NEAR(w, 8.2677, 1e-4) << "the printer's default paper, A4";
  EXPECT_NEAR(h, 11.6929, 1e-4);

  struct Case {
    int16_t paper, orientation;
    double width, height;
  } cases[] = {
      {DMPAPER_LEGAL, DMORIENT_PORTRAIT, 8.5, 14},
      {DMPAPER_A3, DMORIENT_PORTRAIT, 11.6929, 16.5354},
      {DMPAPER_A5, DMORIENT_LANDSCAPE, 8.2677, 5.8268},
      {DMPAPER_A4, DMORIENT_LANDSCAPE, 11.6929, 8.2677},
      {DMPAPER_LETTER, DMORIENT_LANDSCAPE, 11, 8.5},
      {70 /* unknown: Letter */, DMORIENT_PORTRAIT, 8.5, 11},
  };
  for (const Case& c : cases) {
    Choose(c.paper, c.orientation);
    PrinterPaperSize(w, h);
    EXPECT_NEAR(w, c.width, 1e-4) << c.paper << " " << c.orientation;
    EXPECT_NEAR(h, c.height, 1e-4) << c.paper << " " << c.orientation;
  }
}

TEST_F(PrinterPaper, NoDeviceModeEvenAfterReselectingRaises) {
  Printer()->SetPrinterIndex(Printer()->GetPrinters()->IndexOf("Lab"));
  system_->withLab = false;  // the queue went away before its device mode was read
  double w = -1, h = -1;
  try {
    PrinterPaperSize(w, h);
    FAIL() << "no device mode, no paper size";
  } catch (const EPrinter&) {
    FAIL() << "the printer's own error must not leak out";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Could not initialize printer DeviceMode Structure");
  }
  EXPECT_EQ(w, -1) << "nothing is given back";
}

class PageIndex : public ui_test::UiTest {};

TEST_F(PageIndex, ActivatesOnlyExistingPagesAndAnswersMinusOneWithoutAPage) {
  TForm* form = NewForm(300, 200);
  auto* pc = new TPageControl(form);
  pc->SetParent(form);
  EXPECT_EQ(GetActivePageIndex(pc), -1) << "no pages";
  for (int i = 0; i < 3; ++i) (new TTabSheet(form))->SetPageControl(pc);
  ShowForm(form);
  EXPECT_EQ(GetActivePageIndex(pc), 0);
  SetActivePageIndex(pc, 2);
  EXPECT_EQ(GetActivePageIndex(pc), 2);
  EXPECT_TRUE(pc->Pages(2)->GetVisible());
  SetActivePageIndex(pc, 3);
  EXPECT_EQ(GetActivePageIndex(pc), 2) << "an index past the last page changes nothing";
  SetActivePageIndex(pc, -1);
  EXPECT_EQ(GetActivePageIndex(pc), -1) << "a negative index leaves no page active";
  SetActivePageIndex(nullptr, 0);
  EXPECT_EQ(GetActivePageIndex(nullptr), -1);
}

}  // namespace
