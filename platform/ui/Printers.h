// The framework's printer: the list of printers, the selected one with its device mode, and the
// document drawn on its canvas at the printer's resolution (see platform/os/print/WinSpool.h for
// where pages go).  UI thread only.
#pragma once

#include <memory>

#include "platform/os/print/WinSpool.h"
#include "platform/runtime/Lists.h"
#include "platform/ui/Graphics.h"

enum TPrinterOrientation : uint8_t { poPortrait, poLandscape };
template <>
const EnumNames& EnumNamesOf<TPrinterOrientation>();
enum TPrinterState : uint8_t { psNoHandle, psHandleIC, psHandleDC };

class TPrinter : public TObject {
  PL_CLASS(TPrinter)
 public:
  TPrinter();
  ~TPrinter() override;

  // The printers' names (the print service's, then "PDF file"), read on first use and by Refresh.
  TStrings* GetPrinters();
  void Refresh();
  // -1 selects the default printer; an index outside the list raises EPrinter.
  int32_t GetPrinterIndex();
  void SetPrinterIndex(int32_t Value);

  // The selected printer's names (each buffer at least 80 characters; nullptr skips one) and its
  // device mode, a movable global block that stays the printer's.
  void GetPrinter(char* ADevice, char* ADriver, char* APort, HGLOBAL& ADeviceMode);
  // Selects the printer named ADevice (added to the list when unknown to it: raises EPrinter) and
  // takes ADeviceMode over (0: the printer's defaults).
  void SetPrinter(const char* ADevice, const char* ADriver, const char* APort, HGLOBAL ADeviceMode);

  // The printer DC with the current settings (remade after a change while not printing).
  HDC GetHandle();
  TCanvas* GetCanvas();
  // The printable area in device pixels.
  int32_t GetPageWidth();
  int32_t GetPageHeight();
  int32_t GetPageNumber() const { return pageNumber_; }
  TPrinterOrientation GetOrientation();
  void SetOrientation(TPrinterOrientation Value);
  int32_t GetCopies();
  void SetCopies(int32_t Value);
  bool GetPrinting() const { return printing_; }
  bool GetAborted() const { return aborted_; }

  AnsiString Title;
  // The PDF file a document is written to; empty: the PDF printer's default file and, for other
  // printers, the print service.
  AnsiString OutputFileName;

  void BeginDoc();
  void NewPage();
  void EndDoc();
  void Abort();

 private:
  void NeedPrinters();
  void NeedDeviceMode();
  DEVMODEA* LockMode();
  void UnlockMode();
  void ChangeMode(void (*change)(DEVMODEA&, int32_t), int32_t value);
  void FreeDC();
  void CheckPrinting(bool printing);

  std::unique_ptr<TStringList> printers_;
  int32_t index_ = -1;
  HGLOBAL devMode_ = nullptr;
  HDC dc_ = nullptr;
  std::unique_ptr<TCanvas> canvas_;
  bool printing_ = false, aborted_ = false;
  int32_t pageNumber_ = 0;
};

// The application's printer, made on first use.
TPrinter* Printer();
// Replaces the application's printer (tests); returns the one before, which the caller frees.
TPrinter* SetPrinter(TPrinter* NewPrinter);
