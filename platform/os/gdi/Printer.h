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

// A printer's device mode, laid out as the system documents it; the printer fields are the ones in
// use (display fields are kept for the size only).  dmFields says which fields hold a value.
struct DEVMODEA {
  char dmDeviceName[32] = {};
  WORD dmSpecVersion = 0x0401;
  WORD dmDriverVersion = 0;
  WORD dmSize = sizeof(DEVMODEA);
  WORD dmDriverExtra = 0;
  DWORD dmFields = 0;
  int16_t dmOrientation = 0;
  int16_t dmPaperSize = 0;
  int16_t dmPaperLength = 0;  // tenths of a millimetre
  int16_t dmPaperWidth = 0;
  int16_t dmScale = 100;
  int16_t dmCopies = 1;
  int16_t dmDefaultSource = 0;
  int16_t dmPrintQuality = 0;  // dots per inch when positive
  int16_t dmColor = 0;
  int16_t dmDuplex = 0;
  int16_t dmYResolution = 0;
  int16_t dmTTOption = 0;
  int16_t dmCollate = 0;
  char dmFormName[32] = {};
  WORD dmLogPixels = 0;
  DWORD dmBitsPerPel = 0;
  DWORD dmPelsWidth = 0;
  DWORD dmPelsHeight = 0;
  DWORD dmDisplayFlags = 0;
  DWORD dmDisplayFrequency = 0;
  DWORD dmICMMethod = 0, dmICMIntent = 0, dmMediaType = 0, dmDitherType = 0, dmReserved1 = 0,
        dmReserved2 = 0, dmPanningWidth = 0, dmPanningHeight = 0;
};
using DEVMODE = DEVMODEA;
using PDEVMODEA = DEVMODEA*;

constexpr DWORD DM_ORIENTATION = 0x1, DM_PAPERSIZE = 0x2, DM_PAPERLENGTH = 0x4, DM_PAPERWIDTH = 0x8,
                DM_SCALE = 0x10, DM_COPIES = 0x100, DM_DEFAULTSOURCE = 0x200, DM_PRINTQUALITY = 0x400,
                DM_COLOR = 0x800, DM_DUPLEX = 0x1000, DM_YRESOLUTION = 0x2000, DM_COLLATE = 0x8000,
                DM_FORMNAME = 0x10000;
constexpr int16_t DMORIENT_PORTRAIT = 1, DMORIENT_LANDSCAPE = 2;
constexpr int16_t DMPAPER_LETTER = 1, DMPAPER_LEGAL = 5, DMPAPER_A3 = 8, DMPAPER_A4 = 9, DMPAPER_A5 = 11,
                  DMPAPER_USER = 256;
constexpr int16_t DMBIN_AUTO = 7;

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
