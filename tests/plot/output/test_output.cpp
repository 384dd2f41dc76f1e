// Pictures of the plot: copies to the clipboard in each format, image files read back by the
// platform's readers, a printed page rendered back from the PDF printer's file, and the print
// preview with its settings.  A recording plot notes what its paint saw (toolbars, selection).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/display/Display.h"
#include "platform/runtime/Files.h"
#include "platform/runtime/Strings.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Printers.h"
#include "plot/iPlot.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotPreview.h"
#include "tests/platform/ui/controls/UiHarness.h"
#include "tests/support/Ppm.h"
#include "tests/support/TestOutput.h"

namespace {

namespace fs = std::filesystem;

constexpr TColor kPlotBack = TColor(0x00C000);

// What one paint of the plot saw.
struct TPaintSeen {
  std::vector<bool> ToolBars;
  bool Selected = false;
};

class TOutputPlot : public TiPlot {
 public:
  explicit TOutputPlot(TComponent* AOwner) : TiPlot(AOwner) {}
  std::vector<TPaintSeen> Paints;
  AnsiString Failure;  // non-empty: the paint raises it
  void PaintToCanvas(TCanvas* Canvas) override {
    TPaintSeen seen;
    for (int32_t i = 0; i < ToolBarCount(); ++i) seen.ToolBars.push_back(GetToolBar(i)->GetVisible());
    seen.Selected = GetChannel(0)->GetSelected() || GetLegend(0)->GetSelected();
    Paints.push_back(seen);
    if (!Failure.empty()) throw Exception(Failure);
    TiPlot::PaintToCanvas(Canvas);
  }
};

// The print service: no printers of its own, or an "Office" queue that is the default.
struct TOutputPrintSystem : IPrintSystem {
  bool WithOffice = false;
  std::vector<TSpoolPrinter> Printers() override {
    if (!WithOffice) return {};
    TSpoolPrinter p;
    p.Name = "Office";
    p.Driver = "CUPS";
    p.IsDefault = true;
    p.Papers = {{DMPAPER_A4, "A4", 2100, 2970, 0, 0, 0, 0}};
    return {p};
  }
  bool Submit(const std::string&, const std::string&, const std::string&, int, std::string&) override {
    return true;
  }
};

class PlotOutput : public ui_test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    SetPrintSystem(printSystem);
    previousPrinter = SetPrinter(new TPrinter);
    folder = fs::path(::testing::TempDir()) / ("plot-output-" + std::to_string(getpid()));
    fs::create_directories(folder);
    form = NewForm(520, 240);
    plot = new TOutputPlot(form);
    plot->SetParent(form);
    plot->SetBounds(0, 0, 500, 200);
    plot->SetBorderStyle(ibsNone);
    plot->SetBackGroundColor(kPlotBack);
    // Toolbar 0 hidden, toolbar 1 shown, a channel selected.
    plot->GetToolBar(0)->SetVisible(false);
    plot->AddToolBar();
    plot->GetChannel(0)->SetSelected(true);
    for (int i = 0; i < 20; ++i) plot->GetChannel(0)->AddPointXY(i, i % 7);
    plot->OnBeforePrint = TNotifyEvent::Lambda([this](TObject* s) { events.push_back(Who(s) + " before"); });
    plot->OnAfterPrint = TNotifyEvent::Lambda([this](TObject* s) { events.push_back(Who(s) + " after"); });
  }
  void TearDown() override {
    delete SetPrinter(previousPrinter);
    SetPrintSystem(nullptr);
    fs::remove_all(folder);
    UiTest::TearDown();
  }
  std::string Who(TObject* s) { return s == plot ? "plot" : dynamic_cast<TiPlotPreviewForm*>(s) ? "preview" : "?"; }
  void ExpectToolBarsAsBefore() {
    EXPECT_FALSE(plot->GetToolBar(0)->GetVisible());
    EXPECT_TRUE(plot->GetToolBar(1)->GetVisible()) << "each toolbar gets its own visibility back";
  }

  std::shared_ptr<TOutputPrintSystem> printSystem = std::make_shared<TOutputPrintSystem>();
  TPrinter* previousPrinter = nullptr;
  fs::path folder;
  TForm* form = nullptr;
  TOutputPlot* plot = nullptr;
  std::vector<std::string> events;
};

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// ============================================================================================
// clipboard
// ============================================================================================

TEST_F(PlotOutput, CopiesInEachFormatWithoutToolBarsOrSelection) {
  for (TiPlotExportFormat format : {ipefMetaFile, ipefBitmap, ipefJPEG}) {
    SCOPED_TRACE(int(format));
    plot->GetChannel(0)->SetSelected(true);
    plot->Paints.clear();
    Clipboard()->Clear();
    plot->SetCopyToClipBoardFormat(format);
    plot->CopyToClipboard();
    ASSERT_EQ(plot->Paints.size(), 1u);
    EXPECT_EQ(plot->Paints[0].ToolBars, (std::vector<bool>{false, false}));
    EXPECT_FALSE(plot->Paints[0].Selected);
    ExpectToolBarsAsBefore();
    EXPECT_FALSE(plot->GetChannel(0)->GetSelected());
    EXPECT_FALSE(plot->UpdateLocked());

    if (format == ipefMetaFile) {
      ASSERT_TRUE(Clipboard()->HasFormat(CF_ENHMETAFILE));
      TMetafile mf;
      Clipboard()->AssignTo(&mf);
      EXPECT_EQ(mf.GetCreatedBy(), "Tarvik");
      EXPECT_EQ(mf.GetDescription(), "Strip Chart");
      EXPECT_EQ(mf.GetWidth(), 500);
      EXPECT_EQ(mf.GetHeight(), 200);
      TBitmap played;
      played.SetSize(500, 200);
      played.GetCanvas()->StretchDraw(TRect{0, 0, 500, 200}, &mf);
      EXPECT_EQ(played.GetCanvas()->GetPixel(2, 2), kPlotBack);
    } else if (format == ipefBitmap) {
      TBitmap b;
      Clipboard()->AssignTo(&b);
      EXPECT_EQ(b.GetWidth(), 500);
      EXPECT_EQ(b.GetHeight(), 200);
      EXPECT_EQ(b.GetCanvas()->GetPixel(2, 2), kPlotBack);
    } else {
      ASSERT_TRUE(Clipboard()->HasFormat(TJPEGImage::ClipboardFormat));
      const std::string bytes = Clipboard()->GetBuffer(TJPEGImage::ClipboardFormat);
      ASSERT_GT(bytes.size(), 2u);
      EXPECT_EQ(uint8_t(bytes[0]), 0xFF);
      EXPECT_EQ(uint8_t(bytes[1]), 0xD8);
      std::ofstream(folder / "clip.jpg", std::ios::binary) << bytes;
      TJPEGImage jpeg;
      jpeg.LoadFromFile((folder / "clip.jpg").string());
      EXPECT_EQ(jpeg.GetWidth(), 500);
      EXPECT_EQ(jpeg.GetHeight(), 200);
    }
  }
}

TEST_F(PlotOutput, AFailingCopyStillGivesTheToolBarsBack) {
  plot->Failure = "no paint";
  plot->SetCopyToClipBoardFormat(ipefBitmap);
  EXPECT_THROW(plot->CopyToClipboard(), Exception);
  ExpectToolBarsAsBefore();
  EXPECT_FALSE(plot->UpdateLocked());
}

// ============================================================================================
// image files
// ============================================================================================

TEST_F(PlotOutput, SavesEachImageKindByItsEndingAndReadsItBack) {
  struct Case {
    const char* name;
    int32_t filterIndex;
  } cases[] = {{"plot.bmp", 1}, {"plot.emf", 2}, {"plot.jpg", 3}, {"plot.png", 4}, {"LOUD.PNG", 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path path = folder / c.name;
    dialogAnswer_ = [&](TObject* d) -> TModalResult {
      auto* save = dynamic_cast<TSaveDialog*>(d);
      if (!save) return mrCancel;
      EXPECT_EQ(save->GetFilter(),
                "Bitmap (*.bmp)|*.bmp|Enhanced Metafile (*.emf)|*.emf|JPEG File (*.jpg)|*.jpg|PNG (*.png)|*.png");
      EXPECT_EQ(ExtractFileName(save->GetFileName()), "Untitled");
      save->SetFileName(path.string());
      save->SetFilterIndex(c.filterIndex);
      return mrOk;
    };
    plot->GetChannel(0)->SetSelected(true);
    plot->Paints.clear();
    plot->SaveImageDialog();
    ASSERT_TRUE(fs::exists(path));
    ASSERT_FALSE(plot->Paints.empty());
    EXPECT_EQ(plot->Paints[0].ToolBars, (std::vector<bool>{false, true})) << "toolbars stay as they are";
    EXPECT_FALSE(plot->Paints[0].Selected);

    const std::string ending = LowerCase(fs::path(c.name).extension().string());
    if (ending == ".bmp") {
      TBitmap b;
      b.LoadFromFile(path.string());
      EXPECT_EQ(b.GetWidth(), 500);
      EXPECT_EQ(b.GetCanvas()->GetPixel(2, 2), kPlotBack);
    } else if (ending == ".emf") {
      TMetafile mf;
      mf.LoadFromFile(path.string());
      EXPECT_EQ(mf.GetCreatedBy(), "Tarvik");
      EXPECT_EQ(mf.GetWidth(), 500);
    } else if (ending == ".jpg") {
      TJPEGImage jpeg;
      jpeg.LoadFromFile(path.string());
      EXPECT_EQ(jpeg.GetWidth(), 500);
      EXPECT_NE(FileBytes(path).find("\xFF\xC2"), std::string::npos) << "progressive";
    } else {
      TPngImage png;
      png.LoadFromFile(path.string());
      EXPECT_EQ(png.GetWidth(), 500);
      EXPECT_EQ(png.GetHeight(), 200);
    }
  }
  // Cancelling saves nothing.
  dialogAnswer_ = nullptr;
  plot->Paints.clear();
  plot->SaveImageDialog();
  EXPECT_TRUE(plot->Paints.empty());
}

// ============================================================================================
// printing
// ============================================================================================

TEST_F(PlotOutput, PrintsOnePageScaledIntoTheMarginsOfTheNamedPrinter) {
  if (std::system("pdftoppm -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  printSystem->WithOffice = true;  // the default printer; the plot names the PDF printer
  plot->SetPrinterName("  PDF file ");
  plot->SetPrintShowDialog(false);
  plot->SetPrintOrientation(poLandscape);
  plot->SetPrintMarginLeft(1);
  plot->SetPrintMarginTop(0.5);
  plot->SetPrintMarginRight(1);
  plot->SetPrintMarginBottom(1.5);
  Printer()->OutputFileName = (folder / "page.pdf").string();
  plot->Print();

  EXPECT_EQ(Printer()->GetPrinters()->Strings(Printer()->GetPrinterIndex()), kPdfPrinterName);
  EXPECT_FALSE(Printer()->GetPrinting());
  EXPECT_EQ(events, (std::vector<std::string>{"plot before", "plot after"}));
  ASSERT_EQ(plot->Paints.size(), 1u);
  EXPECT_EQ(plot->Paints[0].ToolBars, (std::vector<bool>{false, false}));
  EXPECT_FALSE(plot->Paints[0].Selected);
  ExpectToolBarsAsBefore();

  // A4 landscape: 11.69 x 8.27 in.  Width rules: (11.69 - 2) / 500 in per plot pixel against
  // (8.27 - 2) / 200, so the picture is 9.69 in wide from 1 in, and 200 of those pixels high from
  // 0.5 in: it ends near 4.38 in.  At 50 dpi: x 50 .. 534, y 25 .. 219.
  const std::string cmd = "pdftoppm -r 50 '" + Printer()->OutputFileName + "' '" + (folder / "page").string() + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  TPpm page;
  ASSERT_TRUE(ReadPpm(folder / "page-1.ppm", page));
  EXPECT_NEAR(page.W, 585, 1);
  EXPECT_NEAR(page.H, 413, 1);
  const uint32_t green = 0x00C000, white = 0xFFFFFF;
  struct Probe {
    int x, y;
    uint32_t rgb;
  } probes[] = {{53, 28, green},  {531, 216, green}, {47, 28, white},
                {53, 22, white},  {538, 100, white}, {300, 222, white}, {575, 400, white}};
  // The page image may be compressed with loss: each channel within a few steps.
  const auto near = [](uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16})
      if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 6) return false;
    return true;
  };
  for (const Probe& p : probes)
    EXPECT_TRUE(near(page.At(p.x, p.y), p.rgb)) << p.x << "," << p.y << ": " << std::hex << page.At(p.x, p.y);
  std::filesystem::copy_file(folder / "page-1.ppm", OutputPath("plot_printed_page.ppm"),
                             fs::copy_options::overwrite_existing);
}

TEST_F(PlotOutput, PrintFailuresAreNamedAndUndoTheirChanges) {
  plot->SetPrintShowDialog(false);
  Printer()->OutputFileName = (folder / "failed.pdf").string();
  plot->Failure = "out of ink";
  try {
    plot->Print();
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Error Printing : out of ink");
  }
  EXPECT_FALSE(Printer()->GetPrinting());
  EXPECT_FALSE(fs::exists(folder / "failed.pdf")) << "a failed page is not sent";
  ExpectToolBarsAsBefore();
  EXPECT_FALSE(plot->UpdateLocked());
  EXPECT_EQ(events, std::vector<std::string>{"plot before"});

  // Margins are not limited: wider than the paper, the picture is turned over, but nothing fails.
  events.clear();
  plot->Failure.clear();
  plot->SetPrintMarginLeft(7);
  plot->SetPrintMarginRight(7);
  Printer()->OutputFileName = (folder / "wide margins.pdf").string();
  EXPECT_NO_THROW(plot->Print());
  EXPECT_TRUE(fs::exists(folder / "wide margins.pdf"));

  // A cancelled printer dialog is no failure: nothing at all happens.
  events.clear();
  plot->Failure.clear();
  plot->Paints.clear();
  plot->SetPrintShowDialog(true);
  dialogAnswer_ = [](TObject*) { return mrCancel; };
  EXPECT_NO_THROW(plot->Print());
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(plot->Paints.empty());
}

// ============================================================================================
// preview
// ============================================================================================

TEST_F(PlotOutput, PreviewPagesKeepThePapersShapeAndThePlotsProportions) {
  auto* preview = TCustomForm::Create<TiPlotPreviewForm>(Application);
  preview->SetPlot(plot);
  const struct {
    int32_t index;
    double w, h;  // millimetres
  } papers[] = {{0, 215.9, 279.4}, {1, 215.9, 355.6}, {2, 297, 420}, {3, 210, 297}, {4, 148, 210}, {7, 215.9, 279.4}};
  for (const auto& p : papers)
    for (int32_t orientation : {0, 1}) {
      SCOPED_TRACE(std::to_string(p.index) + " " + std::to_string(orientation));
      preview->PaperSizeIndex = p.index;
      preview->Orientation = orientation;
      const TiPlotPreviewGeometry g = preview->Geometry(800, 500, 500, 200);
      const double w = g.Page.Right - g.Page.Left, h = g.Page.Bottom - g.Page.Top;
      const double ratio = orientation == 1 ? p.w / p.h : p.h / p.w;
      EXPECT_NEAR(h / w, ratio, 0.01);
      EXPECT_TRUE(w <= 780 && h <= 480 && (w >= 779 || h >= 479)) << "fills the box less 20";
      const double pw = g.Picture.Right - g.Picture.Left, ph = g.Picture.Bottom - g.Picture.Top;
      EXPECT_NEAR(pw / ph, 2.5, 0.05) << "the plot keeps its proportions";
      EXPECT_EQ(g.Picture.Left, g.Page.Left + g.Dpi * 1);
      EXPECT_EQ(g.Picture.Top, g.Page.Top + g.Dpi * 1);
      EXPECT_LE(g.Picture.Right, g.Page.Right - g.Dpi + 1);
      EXPECT_LE(g.Picture.Bottom, g.Page.Bottom - g.Dpi + 1);
    }
  preview->Free();
}

TEST_F(PlotOutput, PreviewShowsThePageAndItsSettingsChangeThePlot) {
  plot->GetToolBar(0)->SetVisible(true);
  plot->GetTranslationManager()->NewPair("Close", "Schliessen");
  auto* preview = TCustomForm::Create<TiPlotPreviewForm>(Application);
  preview->SetPlot(plot);
  plot->Master()->TranslateForm(preview);
  EXPECT_EQ(preview->CloseButton->GetCaption(), "Schliessen");
  EXPECT_EQ(preview->GetCaption(), "Tarvik Plot Preview");
  preview->SetBounds(10, 10, 836, 563);
  plot->Paints.clear();
  preview->Show();
  ui_test::Pump();
  ASSERT_FALSE(plot->Paints.empty());
  EXPECT_EQ(plot->Paints.back().ToolBars, (std::vector<bool>{false, true})) << "the preview hides toolbar 0 only";
  EXPECT_TRUE(plot->GetToolBar(0)->GetVisible());
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events[0], "preview before");
  EXPECT_EQ(events[1], "preview after");

  const auto screen = [&](int x, int y) {
    const TPoint p = preview->Preview->ClientToScreen({x, y});
    return ComposeScreen().Row(p.Y)[p.X] & 0xFFFFFF;
  };
  TiPlotPreviewGeometry g =
      preview->Geometry(preview->Preview->Width(), preview->Preview->Height(), plot->Width(), plot->Height());
  EXPECT_EQ(screen(g.Page.Left + 3, g.Page.Top + 3), 0xFFFFFFu) << "the page";
  EXPECT_EQ(screen(g.Page.Right + 3, g.Page.Bottom + 3), 0u) << "its shadow";
  EXPECT_EQ(screen((g.Picture.Left + g.Picture.Right) / 2, g.Picture.Top + 2), 0x00C000u) << "the plot";
  EXPECT_TRUE(SaveWindowPng(preview->GetHandle(), OutputPath("plot_print_preview.png")));

  // Settings: A3 portrait with new margins and name; the paper stays with the preview.  The
  // window's lists are translated too.
  plot->GetTranslationManager()->NewPair("Landscape", "Quer");
  plot->GetTranslationManager()->NewPair("Legal", "US Legal");
  plot->GetTranslationManager()->NewPair("Margin", "Rand");
  Application->OnIdle = TIdleEvent::Lambda([&](TObject*, bool& done) {
    done = false;
    for (int32_t i = 0; i < Screen->CustomFormCount(); ++i)
      if (auto* s = dynamic_cast<TiPlotPreviewSettingsForm*>(Screen->CustomForms(i))) {
        if (!s->GetVisible() || s->GetModalResult() != mrNone) continue;
        EXPECT_EQ(s->PrintMarginLeftEdit->GetAsFloat(), 1.0);
        EXPECT_EQ(s->PrintOrientationRadioGroup->GetAsInteger(), 1);
        EXPECT_EQ(s->PrintDocumentNameEdit->GetAsString(), "Untitled");
        EXPECT_EQ(s->PrintOrientationRadioGroup->GetItems()->Strings(1), "Quer");
        EXPECT_EQ(s->PrintPaperSizeComboBox->GetItems()->Strings(1), "US Legal");
        EXPECT_EQ(s->PrinterMarginGroupBox->GetCaption(), "Rand");
        s->PrintMarginLeftEdit->SetAsString("0.5");
        s->PrintMarginTopEdit->SetAsString("x");  // no number: 0
        s->PrintOrientationRadioGroup->SetAsInteger(0);
        s->PrintDocumentNameEdit->SetAsString("Run 7");
        s->PrintPaperSizeComboBox->SetAsInteger(2);
        s->SetModalResult(mrOk);
      }
  });
  preview->SettingsButtonClick(preview->SettingsButton);
  Application->OnIdle = nullptr;
  EXPECT_EQ(plot->GetPrintMarginLeft(), 0.5);
  EXPECT_EQ(plot->GetPrintMarginTop(), 0.0);
  EXPECT_EQ(plot->GetPrintOrientation(), poPortrait);
  EXPECT_EQ(plot->GetPrintDocumentName(), "Run 7");
  EXPECT_EQ(preview->PaperSizeIndex, 2);
  ui_test::Pump();
  g = preview->Geometry(preview->Preview->Width(), preview->Preview->Height(), plot->Width(), plot->Height());
  EXPECT_NEAR(double(g.Page.Bottom - g.Page.Top) / (g.Page.Right - g.Page.Left), 420.0 / 297, 0.01);
  EXPECT_TRUE(SaveWindowPng(preview->GetHandle(), OutputPath("plot_print_preview_a3.png")));

  // Close ends the modal run.
  preview->Hide();
  Application->OnIdle = TIdleEvent::Lambda([&](TObject*, bool& done) {
    done = false;
    preview->CloseButton->Click();
  });
  EXPECT_EQ(preview->ShowModal(), mrOk);
  Application->OnIdle = nullptr;
  preview->Free();
}

TEST_F(PlotOutput, PrintPreviewRunsModallyAndGoes) {
  const int32_t forms = Screen->CustomFormCount();
  bool seen = false;
  Application->OnIdle = TIdleEvent::Lambda([&](TObject*, bool& done) {
    done = false;
    for (int32_t i = 0; i < Screen->CustomFormCount(); ++i)
      if (auto* p = dynamic_cast<TiPlotPreviewForm*>(Screen->CustomForms(i))) {
        seen = p->GetVisible() && p->GetPlot() == plot;
        p->CloseButton->Click();
      }
  });
  plot->PrintPreview();
  Application->OnIdle = nullptr;
  EXPECT_TRUE(seen);
  EXPECT_EQ(Screen->CustomFormCount(), forms);
}

}  // namespace
