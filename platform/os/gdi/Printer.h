// Printer device contexts: a DC that records each page at the printer's resolution and hands the
// finished document to a print service (the PDF and print-system back ends live elsewhere).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/os/gdi/Gdi.h"

// The printer's geometry in device pixels.
struct TPrinterDeviceInfo {
  std::string Name = "Virtual printer";
  int DpiX = 300, DpiY = 300;
  int PhysicalWidth = 2550, PhysicalHeight = 3300;  // the sheet (US Letter at 300 dpi)
  int OffsetX = 0, OffsetY = 0;                     // printable area from the sheet's corner
  int PrintableWidth = 2550, PrintableHeight = 3300;
};

// A finished document: each page is an enhanced metafile in printer pixels.
struct TPrintDocument {
  std::string Title;
  std::string Output;  // the file asked for in DOCINFO, if any
  TPrinterDeviceInfo Device;
  std::vector<std::vector<uint8_t>> Pages;
};

// Receives documents when EndDoc is called; answers false when printing failed.
class IPrintService {
 public:
  virtual ~IPrintService() = default;
  virtual bool PrintDocument(const TPrintDocument& document) = 0;
};

struct DOCINFOA {
  int cbSize = sizeof(DOCINFOA);
  LPCSTR lpszDocName = nullptr;
  LPCSTR lpszOutput = nullptr;
  LPCSTR lpszDatatype = nullptr;
  DWORD fwType = 0;
};
constexpr int SP_ERROR = -1;

HDC CreatePrinterDC(const TPrinterDeviceInfo& device, std::shared_ptr<IPrintService> service);
// Answers a job number (> 0) or SP_ERROR.
int StartDocA(HDC hdc, const DOCINFOA* info);
int StartPage(HDC hdc);
int EndPage(HDC hdc);
int EndDoc(HDC hdc);
int AbortDoc(HDC hdc);

// Draws a recorded page onto a surface scaled to the surface's size (previews, raster back ends).
bool RenderPrintPage(const std::vector<uint8_t>& page, TSurface& surface);
