// The printer: its list and device modes over an injected print service, documents written as
// PDF (checked by rendering them back), and a job through a private print service.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/ui/Printers.h"
#include "tests/support/Ppm.h"

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
    p.Papers = {{DMPAPER_LETTER, "Letter", 2159, 2794, 50, 40, 30, 20},
                {DMPAPER_A4, "A4", 2100, 2970, 50, 40, 30, 20}};
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

TEST_F(PrinterTest, TwoPagesToThePdfPrinterRenderBackInPlace) {
  if (std::system("pdftoppm -v >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
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
  TPpm one, two;
  ASSERT_TRUE(ReadPpm(folder / "page-1.ppm", one));
  ASSERT_TRUE(ReadPpm(folder / "page-2.ppm", two));
  EXPECT_EQ(one.W, 827);
  EXPECT_EQ(one.H, 1169);
  struct Probe {
    const TPpm* page;
    int x, y;
    uint32_t rgb;
  } probes[] = {{&one, 102, 102, 0xFF0000}, {&one, 297, 197, 0xFF0000}, {&one, 97, 150, 0xFFFFFF},
                {&one, 303, 150, 0xFFFFFF}, {&one, 300, 500, 0xFFFFFF}, {&two, 300, 500, 0x0000FF},
                {&two, 203, 403, 0x0000FF}, {&two, 150, 150, 0xFFFFFF}, {&two, 405, 500, 0xFFFFFF}};
  for (const Probe& pr : probes)
    EXPECT_EQ(pr.page->At(pr.x, pr.y), pr.rgb)
        << "page " << (pr.page == &one ? 1 : 2) << " at " << pr.x << "," << pr.y;
}

TEST_F(PrinterTest, ACanvasMadeAfterTheHandleDrawsOnIt) {
  system->withOffice = false;
  TPrinter p;
  Select(p, kPdfPrinterName, 100);
  // Device metrics first, as a caller sizing its page does; the canvas comes with BeginDoc.
  EXPECT_EQ(GetDeviceCaps(p.GetHandle(), LOGPIXELSX), 100);
  p.OutputFileName = (folder / "metrics first.pdf").string();
  p.BeginDoc();
  EXPECT_EQ(p.GetCanvas()->GetHandle(), p.GetHandle());
  EXPECT_NO_THROW(p.GetCanvas()->FillRect(TRect{10, 10, 20, 20}));
  p.EndDoc();
  EXPECT_TRUE(fs::exists(p.OutputFileName));
}

TEST_F(PrinterTest, PdfPrinterDefaultsToTheDocumentsFolder) {
  const char* home = std::getenv("HOME");
  std::string saved = home ? home : "";
  setenv("HOME", folder.c_str(), 1);
  EXPECT_EQ(DefaultPdfOutput("a/b"), "./a_b.pdf");
  fs::create_directories(folder / "Documents");
  EXPECT_EQ(DefaultPdfOutput("  "), (folder / "Documents" / "Document.pdf").string());
  if (home)
    setenv("HOME", saved.c_str(), 1);
  else
    unsetenv("HOME");
}

}  // namespace

namespace {

// A private print service: its own configuration, socket and spool, one raw queue whose backend
// keeps each job in a file.
class PrivateCups {
 public:
  explicit PrivateCups(const fs::path& dir) : dir_(dir) {}
  ~PrivateCups() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    unsetenv("CUPS_SERVER");
  }
  // Empty when the service runs, else why it cannot.
  std::string Start() {
    if (access("/usr/sbin/cupsd", X_OK) != 0 || std::system("command -v lpadmin >/dev/null 2>&1") != 0)
      return "cupsd and lpadmin (package cups) are not installed";
    for (const char* sub : {"root", "spool", "cache", "state", "log", "tmp", "bin/backend"})
      fs::create_directories(dir_ / sub);
    fs::permissions(dir_, fs::perms::all);
    fs::permissions(dir_ / "tmp", fs::perms::all);
    for (const char* sub : {"filter", "daemon", "cgi-bin", "monitor", "notifier", "driver"})
      fs::create_directory_symlink(fs::path("/usr/lib/cups") / sub, dir_ / "bin" / sub);
    std::string d = dir_.string();
    Write("root/cupsd.conf",
          "Listen " + d +
              "/cups.sock\nLogLevel warn\nBrowsing No\nWebInterface No\n"
              "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
              "<Policy default>\n  <Limit All>\n    Order allow,deny\n    Allow all\n  </Limit>\n"
              "</Policy>\n");
    Write("root/cups-files.conf", "ServerRoot " + d + "/root\nServerBin " + d + "/bin\nRequestRoot " + d +
                                      "/spool\nCacheDir " + d + "/cache\nStateDir " + d + "/state\nTempDir " +
                                      d + "/tmp\nErrorLog " + d + "/log/error_log\nAccessLog " + d +
                                      "/log/access_log\nPageLog " + d + "/log/page_log\n");
    Write("bin/backend/keep",
          "#!/bin/sh\n[ $# -eq 0 ] && { echo 'direct keep \"Unknown\" \"Keeps jobs\"'; exit 0; }\n"
          "out=\"${DEVICE_URI#keep:}\"\nif [ -n \"$6\" ]; then cat \"$6\" > \"$out\"; else cat > \"$out\"; "
          "fi\n");
    fs::permissions(dir_ / "bin/backend/keep", fs::perms::owner_all | fs::perms::group_read |
                                                   fs::perms::group_exec | fs::perms::others_read |
                                                   fs::perms::others_exec);
    pid_ = fork();
    if (pid_ == 0) {
      std::string c = d + "/root/cupsd.conf", s = d + "/root/cups-files.conf";
      execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", c.c_str(), "-s", s.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    setenv("CUPS_SERVER", (d + "/cups.sock").c_str(), 1);
    for (int i = 0; i < 100 && !fs::exists(dir_ / "cups.sock"); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!fs::exists(dir_ / "cups.sock"))
      return "the private cupsd did not start (see " + d + "/log/error_log)";
    std::string add = "lpadmin -p q -v keep:" + d + "/job.out -E -m raw >/dev/null 2>&1";
    if (std::system(add.c_str()) != 0) return "lpadmin could not add a raw queue to the private cupsd";
    return {};
  }
  fs::path Output() const { return dir_ / "job.out"; }

 private:
  void Write(const char* name, const std::string& text) { std::ofstream(dir_ / name) << text; }
  fs::path dir_;
  pid_t pid_ = -1;
};

TEST(PrintService, OnePageThroughAPrivateCupsd) {
  fs::path dir = fs::path("/tmp") / ("pl-cups-" + std::to_string(getpid()));  // short: a socket path
  fs::remove_all(dir);
  {
    PrivateCups cups(dir);
    std::string why = cups.Start();
    if (!why.empty()) {
      fs::remove_all(dir);
      GTEST_SKIP() << why;
    }
    SetPrintSystem(nullptr);
    TPrinter p;
    int32_t q = p.GetPrinters()->IndexOf("q");
    ASSERT_GE(q, 0) << "the private queue is listed";
    p.SetPrinterIndex(q);
    p.Title = "Through the service";
    p.BeginDoc();
    p.GetCanvas()->Rectangle(100, 100, 400, 300);
    p.EndDoc();
    for (int i = 0; i < 200 && !(fs::exists(cups.Output()) && fs::file_size(cups.Output()) > 0); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::ifstream job(cups.Output(), std::ios::binary);
    std::string head(5, '\0');
    job.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-") << "the job reached the queue's device as PDF";
  }
  fs::remove_all(dir);
}

}  // namespace
