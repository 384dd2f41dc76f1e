// The spooler: printer list, device modes, capabilities and printer device contexts.
#include "platform/os/print/WinSpool.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/runtime/Strings.h"

namespace {

std::mutex spoolMutex;
std::shared_ptr<IPrintSystem> spoolSystem;  // nullptr: the system's
std::string spoolLastError;
std::map<uintptr_t, std::string> spoolHandles;
uintptr_t spoolNextHandle = 1;

std::shared_ptr<IPrintSystem> SpoolSystem() {
  std::lock_guard lock(spoolMutex);
  return spoolSystem ? spoolSystem : CupsPrintSystem();
}

void SpoolSetError(const std::string& error) {
  std::lock_guard lock(spoolMutex);
  spoolLastError = error;
}

TSpoolPrinter PdfPrinter() {
  TSpoolPrinter p;
  p.Name = kPdfPrinterName;
  p.Port = "FILE:";
  p.Papers = StandardPapers();
  p.MaxCopies = 1;
  return p;
}

bool SpoolFind(LPCSTR name, TSpoolPrinter& found) {
  if (!name) return false;
  for (TSpoolPrinter& p : SpoolPrinters())
    if (SameText(p.Name, name)) {
      found = std::move(p);
      return true;
    }
  return false;
}

const TSpoolPaper* SpoolPaper(const TSpoolPrinter& p, int code) {
  for (const TSpoolPaper& paper : p.Papers)
    if (paper.Code == code) return &paper;
  return nullptr;
}

void SpoolCopyName(char (&to)[32], const std::string& from) {
  std::memset(to, 0, sizeof to);
  std::memcpy(to, from.data(), std::min(from.size(), sizeof to - 1));
}

DEVMODEA SpoolDefaults(const TSpoolPrinter& p) {
  DEVMODEA dm;
  SpoolCopyName(dm.dmDeviceName, p.Name);
  // The length and width flags mark a custom sheet only.
  dm.dmFields =
      DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_DEFAULTSOURCE | DM_PRINTQUALITY | DM_YRESOLUTION;
  dm.dmOrientation = DMORIENT_PORTRAIT;
  const TSpoolPaper* paper = SpoolPaper(p, p.DefaultPaper);
  if (!paper) paper = &p.Papers.front();
  dm.dmPaperSize = paper->Code;
  dm.dmPaperWidth = int16_t(paper->Width);
  dm.dmPaperLength = int16_t(paper->Height);
  SpoolCopyName(dm.dmFormName, paper->Name);
  dm.dmCopies = 1;
  dm.dmDefaultSource = DMBIN_AUTO;
  dm.dmPrintQuality = dm.dmYResolution = int16_t(p.Dpi);
  return dm;
}

// The fields of input the printer accepts, over dm.
void SpoolMerge(const TSpoolPrinter& p, DEVMODEA& dm, const DEVMODEA& in) {
  if ((in.dmFields & DM_ORIENTATION) &&
      (in.dmOrientation == DMORIENT_PORTRAIT || in.dmOrientation == DMORIENT_LANDSCAPE))
    dm.dmOrientation = in.dmOrientation;
  bool custom = (in.dmFields & DM_PAPERLENGTH) && (in.dmFields & DM_PAPERWIDTH) && in.dmPaperLength > 0 &&
                in.dmPaperWidth > 0;
  if (custom) {
    dm.dmPaperSize = DMPAPER_USER;
    dm.dmPaperWidth = in.dmPaperWidth;
    dm.dmPaperLength = in.dmPaperLength;
    dm.dmFields |= DM_PAPERLENGTH | DM_PAPERWIDTH;
    SpoolCopyName(dm.dmFormName, "Custom");
  } else if (in.dmFields & DM_PAPERSIZE) {
    if (const TSpoolPaper* paper = SpoolPaper(p, in.dmPaperSize)) {
      dm.dmFields &= ~(DM_PAPERLENGTH | DM_PAPERWIDTH);
      dm.dmPaperSize = paper->Code;
      dm.dmPaperWidth = int16_t(paper->Width);
      dm.dmPaperLength = int16_t(paper->Height);
      SpoolCopyName(dm.dmFormName, paper->Name);
    }
  }
  if (in.dmFields & DM_COPIES)
    dm.dmCopies = int16_t(std::clamp<int>(in.dmCopies, 1, std::max(1, p.MaxCopies)));
  if ((in.dmFields & DM_PRINTQUALITY) && in.dmPrintQuality >= 72 && in.dmPrintQuality <= 1200) {
    dm.dmPrintQuality = in.dmPrintQuality;
    dm.dmYResolution = (in.dmFields & DM_YRESOLUTION) && in.dmYResolution >= 72 && in.dmYResolution <= 1200
                           ? in.dmYResolution
                           : in.dmPrintQuality;
  }
}

// Hands finished documents to the PDF writer and, for the service's printers, to the service.
class SpoolService : public IPrintService {
 public:
  SpoolService(std::string printer, bool toService, int copies)
      : printer_(std::move(printer)), toService_(toService), copies_(copies) {}

  bool PrintDocument(const TPrintDocument& document) override {
    std::string error;
    bool ok = Print(document, error);
    SpoolSetError(ok ? std::string() : error);
    if (!ok) SetLastError(ERROR_GEN_FAILURE);
    return ok;
  }

 private:
  bool Print(const TPrintDocument& document, std::string& error) {
    if (!document.Output.empty() || !toService_) {
      std::string file = document.Output.empty() ? DefaultPdfOutput(document.Title) : document.Output;
      return WritePdfDocument(document, file, error);
    }
    const char* dir = std::getenv("TMPDIR");
    std::string file = std::string(dir && *dir ? dir : "/tmp") + "/pl-print-XXXXXX";
    int fd = mkstemp(file.data());
    if (fd < 0) {
      error = "Cannot create a temporary file for the print job";
      return false;
    }
    close(fd);
    bool ok = WritePdfDocument(document, file, error) &&
              SpoolSystem()->Submit(printer_, file, document.Title, copies_, error);
    std::remove(file.c_str());
    return ok;
  }

  std::string printer_;
  bool toService_;
  int copies_;
};

}  // namespace

// ============================================================================ the print service =

void SetPrintSystem(std::shared_ptr<IPrintSystem> system) {
  std::lock_guard lock(spoolMutex);
  spoolSystem = std::move(system);
}

std::vector<TSpoolPrinter> SpoolPrinters() {
  std::vector<TSpoolPrinter> all = SpoolSystem()->Printers();
  all.erase(std::remove_if(
                all.begin(), all.end(),
                [](const TSpoolPrinter& p) { return p.Papers.empty() || SameText(p.Name, kPdfPrinterName); }),
            all.end());
  TSpoolPrinter pdf = PdfPrinter();
  pdf.IsDefault = std::none_of(all.begin(), all.end(), [](const TSpoolPrinter& p) { return p.IsDefault; });
  all.push_back(std::move(pdf));
  return all;
}

std::string SpoolLastError() {
  std::lock_guard lock(spoolMutex);
  return spoolLastError;
}

const std::vector<TSpoolPaper>& StandardPapers() {
  static const std::vector<TSpoolPaper> papers = {
      {DMPAPER_LETTER, "Letter", 2159, 2794}, {DMPAPER_LEGAL, "Legal", 2159, 3556},
      {DMPAPER_A3, "A3", 2970, 4200},         {DMPAPER_A4, "A4", 2100, 2970},
      {DMPAPER_A5, "A5", 1480, 2100},         {7, "Executive", 1842, 2667},
      {13, "B5 (JIS)", 1820, 2570},           {3, "Tabloid", 2794, 4318},
  };
  return papers;
}

std::string DefaultPdfOutput(const std::string& title) {
  std::string name;
  for (char c : title) name += (c == '/' || c == '\\' || c == ':' || uint8_t(c) < 32) ? '_' : c;
  name = Trim(name);
  if (name.empty() || name == "." || name == "..") name = "Document";
  std::string folder = ".";
  if (const char* home = std::getenv("HOME"); home && *home) {
    std::string docs = std::string(home) + "/Documents";
    struct stat st {};
    if (stat(docs.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) folder = docs;
  }
  return folder + "/" + name + ".pdf";
}

// ============================================================================ winspool ==========

BOOL OpenPrinterA(LPCSTR printerName, HANDLE* printer, PRINTER_DEFAULTSA*) {
  TSpoolPrinter p;
  if (!printer || !SpoolFind(printerName, p)) {
    if (printer) *printer = nullptr;
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return FALSE;
  }
  std::lock_guard lock(spoolMutex);
  uintptr_t id = spoolNextHandle++;
  spoolHandles[id] = p.Name;
  *printer = reinterpret_cast<HANDLE>(id);
  return TRUE;
}

BOOL ClosePrinter(HANDLE printer) {
  std::lock_guard lock(spoolMutex);
  if (spoolHandles.erase(reinterpret_cast<uintptr_t>(printer)) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

LONG DocumentPropertiesA(HWND__*, HANDLE printer, LPCSTR deviceName, DEVMODEA* output, const DEVMODEA* input,
                         DWORD mode) {
  std::string name = deviceName ? deviceName : "";
  {
    std::lock_guard lock(spoolMutex);
    auto it = spoolHandles.find(reinterpret_cast<uintptr_t>(printer));
    if (it != spoolHandles.end()) name = it->second;
  }
  TSpoolPrinter p;
  if (!SpoolFind(name.c_str(), p)) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return -1;
  }
  if (mode == 0) return LONG(sizeof(DEVMODEA));
  if (mode & DM_IN_PROMPT) {
    SetLastError(ERROR_NOT_SUPPORTED);  // no driver dialog on this system
    return -1;
  }
  DEVMODEA dm = SpoolDefaults(p);
  if ((mode & DM_IN_BUFFER) && input) SpoolMerge(p, dm, *input);
  if (mode & DM_OUT_BUFFER) {
    if (!output) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return -1;
    }
    *output = dm;
  }
  return 1;
}

int DeviceCapabilitiesA(LPCSTR device, LPCSTR, WORD capability, LPSTR output, const DEVMODEA*) {
  TSpoolPrinter p;
  if (!SpoolFind(device, p)) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return -1;
  }
  int n = int(p.Papers.size());
  auto names = [&](size_t width, auto nameOf, int count) {
    if (output)
      for (int i = 0; i < count; ++i) {
        std::string s = nameOf(i);
        char* cell = output + size_t(i) * width;
        std::memset(cell, 0, width);
        std::memcpy(cell, s.data(), std::min(s.size(), width - 1));
      }
    return count;
  };
  switch (capability) {
    case DC_FIELDS:
      return int(SpoolDefaults(p).dmFields);
    case DC_PAPERS:
      if (output)
        for (int i = 0; i < n; ++i) {
          WORD code = WORD(p.Papers[size_t(i)].Code);
          std::memcpy(output + i * 2, &code, 2);
        }
      return n;
    case DC_PAPERSIZE:
      if (output)
        for (int i = 0; i < n; ++i) {
          POINT size{p.Papers[size_t(i)].Width, p.Papers[size_t(i)].Height};
          std::memcpy(output + size_t(i) * sizeof(POINT), &size, sizeof(POINT));
        }
      return n;
    case DC_PAPERNAMES:
      return names(
          64, [&](int i) { return p.Papers[size_t(i)].Name; }, n);
    case DC_BINS:
      if (output) {
        WORD code = WORD(DMBIN_AUTO);
        std::memcpy(output, &code, 2);
      }
      return 1;
    case DC_BINNAMES:
      return names(
          24, [](int) { return std::string("Automatically Select"); }, 1);
    case DC_ENUMRESOLUTIONS:
      if (output) {
        LONG res[2] = {p.Dpi, p.Dpi};
        std::memcpy(output, res, sizeof res);
      }
      return 1;
    case DC_ORIENTATION:
      return 90;
    case DC_COPIES:
      return std::max(1, p.MaxCopies);
    default:
      SetLastError(ERROR_NOT_SUPPORTED);
      return -1;
  }
}

HDC CreatePrinterDCA(LPCSTR driver, LPCSTR device, const DEVMODEA* devMode) {
  TSpoolPrinter p;
  if ((driver && !SameText(driver, "WINSPOOL")) || !SpoolFind(device, p)) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return nullptr;
  }
  DEVMODEA dm = SpoolDefaults(p);
  if (devMode) SpoolMerge(p, dm, *devMode);
  TSpoolPaper sheet;
  if (const TSpoolPaper* paper = SpoolPaper(p, dm.dmPaperSize)) sheet = *paper;
  sheet.Width = dm.dmPaperWidth;
  sheet.Height = dm.dmPaperLength;
  bool landscape = dm.dmOrientation == DMORIENT_LANDSCAPE;
  if (landscape) {
    std::swap(sheet.Width, sheet.Height);
    // The sheet turns counter-clockwise: its right margin comes to the top.
    sheet = TSpoolPaper{sheet.Code, sheet.Name,  sheet.Width,  sheet.Height,
                        sheet.Top,  sheet.Right, sheet.Bottom, sheet.Left};
  }
  auto dots = [](int tenthsMm, int dpi) { return int((int64_t(tenthsMm) * dpi + 127) / 254); };
  TPrinterDeviceInfo info;
  info.Name = p.Name;
  info.DpiX = dm.dmPrintQuality;
  info.DpiY = dm.dmYResolution;
  info.PhysicalWidth = dots(sheet.Width, info.DpiX);
  info.PhysicalHeight = dots(sheet.Height, info.DpiY);
  info.OffsetX = dots(sheet.Left, info.DpiX);
  info.OffsetY = dots(sheet.Top, info.DpiY);
  info.PrintableWidth = info.PhysicalWidth - info.OffsetX - dots(sheet.Right, info.DpiX);
  info.PrintableHeight = info.PhysicalHeight - info.OffsetY - dots(sheet.Bottom, info.DpiY);
  bool toService = !SameText(p.Name, kPdfPrinterName);
  HDC dc = CreatePrinterDC(info, std::make_shared<SpoolService>(p.Name, toService, dm.dmCopies));
  if (!dc) SetLastError(ERROR_INVALID_PARAMETER);
  return dc;
}
