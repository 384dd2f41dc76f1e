// The print spooler: the printers of the system's print service plus a "PDF file" printer that
// always exists, their device modes and capabilities, and printer device contexts whose finished
// documents are rendered as PDF (each page an image at the printer's resolution) and written to a
// file or handed to the print service.
//
// Output file: a document started with DOCINFO.lpszOutput is written there, whatever the printer.
// Otherwise the PDF printer writes "<title>.pdf" (or "Document.pdf") into the user's documents
// folder ($HOME/Documents when it exists), else into the current folder.
//
// Thread contract: the UI thread.  Failing calls answer the documented failure value and set the
// last error; the reason of the last failed document is kept for messages.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/os/gdi/Printer.h"
#include "platform/os/kernel/Kernel.h"

struct HWND__;

// ============================================================================ the print service =

struct TSpoolPaper {
  int16_t Code = 0;
  std::string Name;
  int Width = 0, Height = 0;                     // tenths of a millimetre, portrait
  int Left = 0, Top = 0, Right = 0, Bottom = 0;  // unprintable margins, tenths of a millimetre
};

struct TSpoolPrinter {
  std::string Name;
  std::string Driver = "PDF";
  std::string Port;
  bool IsDefault = false;
  std::vector<TSpoolPaper> Papers;  // never empty
  int16_t DefaultPaper = DMPAPER_A4;
  int Dpi = 300;
  int MaxCopies = 1;
};

// The system's print service: its queues and the submission of a finished PDF file.
class IPrintSystem {
 public:
  virtual ~IPrintSystem() = default;
  virtual std::vector<TSpoolPrinter> Printers() = 0;
  // Answers false with a reason in error.
  virtual bool Submit(const std::string& printer, const std::string& pdfFile, const std::string& title,
                      int copies, std::string& error) = 0;
};

// The print service in use: the system's (through libcups) unless tests installed another;
// nullptr restores the system's.
void SetPrintSystem(std::shared_ptr<IPrintSystem> system);
std::shared_ptr<IPrintSystem> CupsPrintSystem();

constexpr const char* kPdfPrinterName = "PDF file";
// The print service's printers followed by the PDF printer (read afresh on each call).
std::vector<TSpoolPrinter> SpoolPrinters();
// The reason the last document failed ("" after a success).
std::string SpoolLastError();
// The standard paper forms (code, name, size): Letter, Legal, A3, A4, A5 and a few more.
const std::vector<TSpoolPaper>& StandardPapers();
// Where the PDF printer writes a document of this title when no output file was asked for.
std::string DefaultPdfOutput(const std::string& title);
// Writes the pages as a PDF file, each page an image placed on its sheet; false with a reason.
bool WritePdfDocument(const TPrintDocument& document, const std::string& file, std::string& error);

// ============================================================================ winspool ==========

struct PRINTER_DEFAULTSA {
  LPSTR pDatatype = nullptr;
  DEVMODEA* pDevMode = nullptr;
  DWORD DesiredAccess = 0;
};
constexpr DWORD ERROR_INVALID_PRINTER_NAME = 1801;

BOOL OpenPrinterA(LPCSTR printerName, HANDLE* printer, PRINTER_DEFAULTSA* defaults);
BOOL ClosePrinter(HANDLE printer);
inline BOOL OpenPrinter(LPCSTR name, HANDLE* printer, PRINTER_DEFAULTSA* defaults) {
  return OpenPrinterA(name, printer, defaults);
}

// DocumentProperties modes; a mode of 0 asks for the size of the device mode.
constexpr DWORD DM_UPDATE = 1, DM_COPY = 2, DM_PROMPT = 4, DM_MODIFY = 8;
constexpr DWORD DM_OUT_BUFFER = DM_COPY, DM_IN_PROMPT = DM_PROMPT, DM_IN_BUFFER = DM_MODIFY;
// The printer's device mode: its defaults, changed by the valid fields of input (DM_IN_BUFFER),
// copied to output (DM_OUT_BUFFER); answers 1 (IDOK).  No driver dialog exists: DM_IN_PROMPT fails (-1).
LONG DocumentPropertiesA(HWND__* owner, HANDLE printer, LPCSTR deviceName, DEVMODEA* output,
                         const DEVMODEA* input, DWORD mode);
inline LONG DocumentProperties(HWND__* owner, HANDLE printer, LPCSTR deviceName, DEVMODEA* output,
                               const DEVMODEA* input, DWORD mode) {
  return DocumentPropertiesA(owner, printer, deviceName, output, input, mode);
}

constexpr WORD DC_FIELDS = 1, DC_PAPERS = 2, DC_PAPERSIZE = 3, DC_BINS = 6, DC_BINNAMES = 12,
               DC_ENUMRESOLUTIONS = 13, DC_PAPERNAMES = 16, DC_ORIENTATION = 17, DC_COPIES = 18;
// Answers the number of entries (written to output when given) or -1 for an unknown printer or
// capability.  DC_PAPERS and DC_BINS: WORDs; DC_PAPERSIZE: POINTs in tenths of a millimetre;
// DC_PAPERNAMES: 64 characters each; DC_BINNAMES: 24 characters each; DC_ENUMRESOLUTIONS: LONG
// pairs; DC_COPIES: the most copies; DC_ORIENTATION: 90 (landscape turns counter-clockwise).
int DeviceCapabilitiesA(LPCSTR device, LPCSTR port, WORD capability, LPSTR output, const DEVMODEA* devMode);
inline int DeviceCapabilities(LPCSTR device, LPCSTR port, WORD capability, LPSTR output,
                              const DEVMODEA* devMode) {
  return DeviceCapabilitiesA(device, port, capability, output, devMode);
}

// A device context of the named printer with the given device mode (nullptr: its defaults), or
// nullptr for an unknown printer.  The driver name is "WINSPOOL" or nullptr.
HDC CreatePrinterDCA(LPCSTR driver, LPCSTR device, const DEVMODEA* devMode);
