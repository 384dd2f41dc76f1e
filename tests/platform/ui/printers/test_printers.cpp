// The printer: its list and device modes over an injected print service, documents written as
// PDF (checked by rendering them back), and a job through a private print service.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/ui/Printers.h"

namespace {

namespace fs = std::filesystem;

// One queue, "Office", with margins, or none.
struct FakeSystem : IPrintSystem {
  bool withOffice = true;
  std::vector<std::string> submitted;
  std::vector<TSpoolPrinter> Printers() override {
    if (!withOffice) return {};
    TSpoolPrinter p;
    p.Name = "Office";
    p.Driver = "CUPS";
    p.IsDefault = true;
    p.Dpi = 600;
    p.MaxCopies = 99;
    p.Papers = {{DMPAPER_LETTER, "Letter", 2159, 2794, 50, 40, 30, 20}, {DMPAPER_A4, "A4", 2100, 2970, 50, 40, 30, 20}};
    p.DefaultPaper = DMPAPER_A4;
    return {p};
  }
  bool Submit(const std::string& printer, const std::string& file, const std::string&, int copies,
              std::string&) override {
    std::ifstream in(file, std::ios::binary);
    std::string head(4, '\0');
    in.read(head.data(), 4);
    submitted.push_back(printer + " " + std::to_string(copies) + " " + head);
    return true;
  }
};

class PrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetPrintSystem(system);
    folder = fs::path(::testing::TempDir()) / ("prn-" + std::to_string(getpid()));
    fs::create_directories(folder);
  }
  void TearDown() override {
    SetPrintSystem(nullptr);
    fs::remove_all(folder);
  }
  // Selects the named printer at the given resolution.
  void Select(TPrinter& p, const char* name, int dpi) {
    p.SetPrinterIndex(p.GetPrinters()->IndexOf(name));
    char device[80];
    HGLOBAL mode = nullptr;
    p.GetPrinter(device, nullptr, nullptr, mode);
    auto* dm = static_cast<DEVMODEA*>(GlobalLock(mode));
    dm->dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;
    dm->dmPrintQuality = dm->dmYResolution = int16_t(dpi);
    GlobalUnlock(mode);
    p.SetPrinter(device, nullptr, nullptr, mode);
  }
  std::shared_ptr<FakeSystem> system = std::make_shared<FakeSystem>();
  fs::path folder;
};

TEST_F(PrinterTest, ListsPrintersWithTheirPapersAndDeviceModes) {
  TPrinter p;
  ASSERT_EQ(p.GetPrinters()->Count(), 2);
  EXPECT_EQ(p.GetPrinters()->Strings(1), kPdfPrinterName) << "the PDF printer always comes last";
  EXPECT_EQ(p.GetPrinterIndex(), 0) << "the service's default";
  WORD codes[8] = {};
  char names[8 * 64] = {};
  ASSERT_EQ(DeviceCapabilities("Office", nullptr, DC_PAPERS, reinterpret_cast<char*>(codes), nullptr), 2);
  ASSERT_EQ(DeviceCapabilities("Office", nullptr, DC_PAPERNAMES, names, nullptr), 2);
  EXPECT_EQ(codes[1], DMPAPER_A4);
  EXPECT_STREQ(names + 64, "A4");
  EXPECT_EQ(DeviceCapabilities("Nowhere", nullptr, DC_PAPERS, nullptr, nullptr), -1);

  // A4 at 600 dpi less the margins (5, 4, 3, 2 mm); landscape turns sheet and margins.
  EXPECT_EQ(GetDeviceCaps(p.GetHandle(), PHYSICALWIDTH), 4961);
  EXPECT_EQ(GetDeviceCaps(p.GetHandle(), PHYSICALOFFSETX), 118);
  EXPECT_EQ(p.GetPageWidth(), 4961 - 118 - 71);
  EXPECT_EQ(p.GetPageHeight(), 7016 - 94 - 47);
  p.SetOrientation(poLandscape);
  EXPECT_EQ(p.GetOrientation(), poLandscape);
  EXPECT_EQ(GetDeviceCaps(p.GetHandle(), PHYSICALWIDTH), 7016);
  EXPECT_EQ(GetDeviceCaps(p.GetHandle(), PHYSICALOFFSETX), 94);
  EXPECT_EQ(GetDeviceCaps(p.GetHandle(), PHYSICALOFFSETY), 71);
  EXPECT_EQ(GetDeviceCaps(p.GetHandle(), LOGPIXELSY), 600);
  p.SetCopies(500);
  EXPECT_EQ(p.GetCopies(), 99) << "capped at the printer's most";

  // The device mode of a printer: defaults, changed fields, no driver dialog.
  HANDLE h = nullptr;
  ASSERT_TRUE(OpenPrinter("Office", &h, nullptr));
  DEVMODEA in, out;
  in.dmFields = DM_PAPERSIZE | DM_ORIENTATION;
  in.dmPaperSize = DMPAPER_LETTER;
  in.dmOrientation = 7;  // not an orientation: ignored
  EXPECT_EQ(DocumentProperties(nullptr, h, "Office", nullptr, nullptr, 0), LONG(sizeof(DEVMODEA)));
  EXPECT_EQ(DocumentProperties(nullptr, h, "Office", &out, &in, DM_IN_BUFFER | DM_OUT_BUFFER), 1);
  EXPECT_EQ(out.dmPaperSize, DMPAPER_LETTER);
  EXPECT_EQ(out.dmPaperWidth, 2159);
  EXPECT_EQ(out.dmOrientation, DMORIENT_PORTRAIT);
  in.dmFields = DM_PAPERLENGTH | DM_PAPERWIDTH;  // a custom sheet
  in.dmPaperWidth = 1000;
  in.dmPaperLength = 1500;
  EXPECT_EQ(DocumentProperties(nullptr, h, "Office", &out, &in, DM_IN_BUFFER | DM_OUT_BUFFER), 1);
  EXPECT_EQ(out.dmPaperSize, DMPAPER_USER);
  EXPECT_EQ(out.dmFields & (DM_PAPERLENGTH | DM_PAPERWIDTH), DM_PAPERLENGTH | DM_PAPERWIDTH);
  EXPECT_EQ(DocumentProperties(nullptr, h, "Office", &out, &in, DM_IN_PROMPT | DM_OUT_BUFFER), -1);
  EXPECT_TRUE(ClosePrinter(h));
  EXPECT_FALSE(OpenPrinter("Nowhere", &h, nullptr));
}

TEST_F(PrinterTest, SelectionAndDocumentErrors) {
  TPrinter p;
  EXPECT_THROW(p.SetPrinterIndex(7), EPrinter);
  EXPECT_THROW(p.SetPrinter("Nowhere", nullptr, nullptr, nullptr), EPrinter);
  EXPECT_THROW(p.NewPage(), EPrinter);
  EXPECT_THROW(p.EndDoc(), EPrinter);
  p.OutputFileName = (folder / "missing-folder" / "x.pdf").string();
  p.SetPrinterIndex(1);
  p.BeginDoc();
  EXPECT_THROW(p.BeginDoc(), EPrinter);
  EXPECT_THROW(p.SetOrientation(poLandscape), EPrinter) << "not while printing";
  try {
    p.EndDoc();
    ADD_FAILURE() << "a file that cannot be written must fail the document";
  } catch (const EPrinter& e) {
    EXPECT_NE(e.Message.find("x.pdf"), std::string::npos) << e.Message;
  }
  EXPECT_FALSE(p.GetPrinting());
  EXPECT_FALSE(fs::exists(folder / "missing-folder"));
}

TEST_F(PrinterTest, QueueJobsGoToTheServiceAsPdf) {
  TPrinter p;
  Select(p, "Office", 72);
  p.SetCopies(3);
  p.Title = "Job";
  p.BeginDoc();
  p.GetCanvas()->Rectangle(10, 10, 50, 50);
  p.EndDoc();
  ASSERT_EQ(system->submitted.size(), 1u);
  EXPECT_EQ(system->submitted[0], "Office 3 %PDF");
  EXPECT_THROW(p.Abort(), EPrinter) << "not printing";
  p.BeginDoc();
  p.Abort();
  EXPECT_TRUE(p.GetAborted());
  EXPECT_FALSE(p.GetPrinting());
  EXPECT_EQ(system->submitted.size(), 1u) << "an aborted document is not sent";
}

// A binary PPM (P6) as written by pdftoppm.
struct Ppm {
  int w = 0, h = 0;
  std::string pixels;
  uint32_t At(int x, int y) const {
    const auto* p = reinterpret_cast<const uint8_t*>(pixels.data()) + (size_t(y) * w + x) * 3;
    return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
  }
};

bool ReadPpm(const fs::path& file, Ppm& ppm) {
  std::ifstream in(file, std::ios::binary);
  std::string magic;
  int max = 0;
  in >> magic >> ppm.w >> ppm.h >> max;
  in.get();
  if (magic != "P6" || max != 255) return false;
  ppm.pixels.resize(size_t(ppm.w) * ppm.h * 3);
  return bool(in.read(ppm.pixels.data(), std::streamsize(ppm.pixels.size())));
}

TEST_F(PrinterTest, TwoPagesToThePdfPrinterRenderBackInPlace) {
  if (std::system("pdftoppm -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  system->withOffice = false;
  TPrinter p;
  ASSERT_EQ(p.GetPrinters()->Count(), 1);
  Select(p, kPdfPrinterName, 100);
  p.OutputFileName = (folder / "two pages.pdf").string();
  p.Title = "Two pages";
  p.BeginDoc();
  EXPECT_EQ(p.GetPageWidth(), 827) << "A4 at 100 dpi";
  TCanvas* c = p.GetCanvas();
  c->GetBrush()->SetColor(clRed);
  c->FillRect(TRect{100, 100, 300, 200});
  p.NewPage();
  EXPECT_EQ(p.GetPageNumber(), 2);
  c->GetBrush()->SetColor(clBlue);
  c->FillRect(TRect{200, 400, 400, 600});
  p.EndDoc();

  std::ifstream pdf(p.OutputFileName, std::ios::binary);
  std::string head(5, '\0');
  pdf.read(head.data(), 5);
  EXPECT_EQ(head, "%PDF-");
  std::string cmd = "pdftoppm -r 100 '" + p.OutputFileName + "' '" + (folder / "page").string() + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  Ppm one, two;
  ASSERT_TRUE(ReadPpm(folder / "page-1.ppm", one));
  ASSERT_TRUE(ReadPpm(folder / "page-2.ppm", two));
  EXPECT_EQ(one.w, 827);
  EXPECT_EQ(one.h, 1169);
  struct Probe {
    const Ppm* page;
    int x, y;
    uint32_t rgb;
  } probes[] = {{&one, 102, 102, 0xFF0000}, {&one, 297, 197, 0xFF0000}, {&one, 97, 150, 0xFFFFFF},
                {&one, 303, 150, 0xFFFFFF}, {&one, 300, 500, 0xFFFFFF}, {&two, 300, 500, 0x0000FF},
                {&two, 203, 403, 0x0000FF}, {&two, 150, 150, 0xFFFFFF}, {&two, 405, 500, 0xFFFFFF}};
  for (const Probe& pr : probes)
    EXPECT_EQ(pr.page->At(pr.x, pr.y), pr.rgb) << "page " << (pr.page == &one ? 1 : 2) << " at " << pr.x << "," << pr.y;
}

TEST_F(PrinterTest, PdfPrinterDefaultsToTheDocumentsFolder) {
  const char* home = std::getenv("HOME");
  std::string saved = home ? home : "";
  setenv("HOME", folder.c_str(), 1);
  EXPECT_EQ(DefaultPdfOutput("a/b"), "./a_b.pdf");
  fs::create_directories(folder / "Documents");
  EXPECT_EQ(DefaultPdfOutput("  "), (folder / "Documents" / "Document.pdf").string());
  if (home) setenv("HOME", saved.c_str(), 1); else unsetenv("HOME");
}

}  // namespace
