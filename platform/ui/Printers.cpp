// The framework's printer over the spooler.
#include "platform/ui/Printers.h"

#include <algorithm>
#include <cstring>

#include "platform/runtime/TypInfo.h"

PL_ENUM_NAMES(TPrinterOrientation, "poPortrait", "poLandscape")

const TClassInfo& TPrinter::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TPrinter, TObject>("TPrinter");
  return info;
}

TPrinter::TPrinter() = default;

TPrinter::~TPrinter() {
  if (printing_) {
    AbortDoc(dc_);
    printing_ = false;
  }
  FreeDC();
  if (devMode_) GlobalFree(devMode_);
}

// ============================================================================ the printer list ==

void TPrinter::NeedPrinters() {
  if (printers_) return;
  printers_ = std::make_unique<TStringList>();
  int32_t def = -1;
  for (const TSpoolPrinter& p : SpoolPrinters()) {
    if (p.IsDefault && def < 0) def = printers_->Count();
    printers_->Add(p.Name);
  }
  if (index_ < 0 || index_ >= printers_->Count()) index_ = def;
}

TStrings* TPrinter::GetPrinters() {
  NeedPrinters();
  return printers_.get();
}

void TPrinter::Refresh() {
  CheckPrinting(false);
  AnsiString current =
      index_ >= 0 && printers_ && index_ < printers_->Count() ? printers_->Strings(index_) : "";
  printers_.reset();
  index_ = -1;
  NeedPrinters();
  int32_t again = current.empty() ? -1 : printers_->IndexOf(current);
  if (again >= 0) {
    index_ = again;
  } else {
    FreeDC();
    if (devMode_) devMode_ = GlobalFree(devMode_);
  }
}

int32_t TPrinter::GetPrinterIndex() {
  NeedPrinters();
  return index_;
}

void TPrinter::SetPrinterIndex(int32_t Value) {
  CheckPrinting(false);
  NeedPrinters();
  if (Value == -1) {
    printers_.reset();
    index_ = -1;
    NeedPrinters();
    Value = index_;
  }
  if (Value < 0 || Value >= printers_->Count()) throw EPrinter("Printer index out of range");
  if (Value == index_ && devMode_) return;
  index_ = Value;
  FreeDC();
  if (devMode_) devMode_ = GlobalFree(devMode_);
}

void TPrinter::GetPrinter(char* ADevice, char* ADriver, char* APort, HGLOBAL& ADeviceMode) {
  NeedDeviceMode();
  TSpoolPrinter p;
  for (TSpoolPrinter& s : SpoolPrinters())
    if (SameText(s.Name, printers_->Strings(index_))) p = s;
  auto put = [](char* to, const std::string& s) {
    if (!to) return;
    size_t n = std::min<size_t>(s.size(), 79);
    std::memcpy(to, s.data(), n);
    to[n] = 0;
  };
  put(ADevice, printers_->Strings(index_));
  put(ADriver, p.Driver);
  put(APort, p.Port);
  ADeviceMode = devMode_;
}

void TPrinter::SetPrinter(const char* ADevice, const char*, const char*, HGLOBAL ADeviceMode) {
  CheckPrinting(false);
  NeedPrinters();
  int32_t i = ADevice ? printers_->IndexOf(ADevice) : -1;
  if (i < 0) {
    Refresh();
    i = ADevice ? printers_->IndexOf(ADevice) : -1;
    if (i < 0) throw EPrinter("Printer selected is not valid");
  }
  FreeDC();
  index_ = i;
  if (ADeviceMode != devMode_) {
    if (devMode_) GlobalFree(devMode_);
    devMode_ = ADeviceMode;
  }
}

// ============================================================================ device mode ======

void TPrinter::NeedDeviceMode() {
  NeedPrinters();
  if (index_ < 0) throw EPrinter("There is no default printer currently selected");
  if (devMode_) return;
  AnsiString name = printers_->Strings(index_);
  HANDLE h = nullptr;
  if (!OpenPrinterA(name.c_str(), &h, nullptr)) throw EPrinter("Printer selected is not valid");
  devMode_ = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
  auto* dm = devMode_ ? static_cast<DEVMODEA*>(GlobalLock(devMode_)) : nullptr;
  LONG r = dm ? DocumentPropertiesA(nullptr, h, name.c_str(), dm, nullptr, DM_OUT_BUFFER) : -1;
  if (dm) GlobalUnlock(devMode_);
  ClosePrinter(h);
  if (r < 1) {
    if (devMode_) devMode_ = GlobalFree(devMode_);
    throw EPrinter("Printer selected is not valid");
  }
}

DEVMODEA* TPrinter::LockMode() {
  NeedDeviceMode();
  if (GlobalSize(devMode_) < sizeof(DEVMODEA)) throw EPrinter("Printer selected is not valid");
  return static_cast<DEVMODEA*>(GlobalLock(devMode_));
}

void TPrinter::UnlockMode() { GlobalUnlock(devMode_); }

void TPrinter::ChangeMode(void (*change)(DEVMODEA&, int32_t), int32_t value) {
  CheckPrinting(false);
  DEVMODEA* dm = LockMode();
  DEVMODEA wanted = *dm;
  change(wanted, value);
  // The printer's answer is what it accepted (copies capped, unknown values dropped).
  AnsiString name = printers_->Strings(index_);
  if (DocumentPropertiesA(nullptr, nullptr, name.c_str(), dm, &wanted, DM_IN_BUFFER | DM_OUT_BUFFER) < 1)
    *dm = wanted;
  UnlockMode();
  FreeDC();
}

TPrinterOrientation TPrinter::GetOrientation() {
  DEVMODEA* dm = LockMode();
  TPrinterOrientation o = dm->dmOrientation == DMORIENT_LANDSCAPE ? poLandscape : poPortrait;
  UnlockMode();
  return o;
}

void TPrinter::SetOrientation(TPrinterOrientation Value) {
  ChangeMode(
      [](DEVMODEA& dm, int32_t v) {
        dm.dmFields |= DM_ORIENTATION;
        dm.dmOrientation = v == poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
      },
      Value);
}

int32_t TPrinter::GetCopies() {
  DEVMODEA* dm = LockMode();
  int32_t n = dm->dmCopies;
  UnlockMode();
  return n;
}

void TPrinter::SetCopies(int32_t Value) {
  ChangeMode(
      [](DEVMODEA& dm, int32_t v) {
        dm.dmFields |= DM_COPIES;
        dm.dmCopies = int16_t(std::clamp(v, 1, 9999));
      },
      Value);
}

// ============================================================================ device context ===

HDC TPrinter::GetHandle() {
  if (dc_) return dc_;
  DEVMODEA* dm = LockMode();
  DEVMODEA copy = *dm;
  UnlockMode();
  dc_ = CreatePrinterDCA("WINSPOOL", printers_->Strings(index_).c_str(), &copy);
  if (!dc_) throw EPrinter("Printer selected is not valid");
  if (canvas_) {
    canvas_->SetHandle(dc_);
    canvas_->GetFont()->PixelsPerInch = GetDeviceCaps(dc_, LOGPIXELSY);
  }
  return dc_;
}

void TPrinter::FreeDC() {
  if (!dc_) return;
  if (canvas_) canvas_->SetHandle(nullptr);
  DeleteDC(dc_);
  dc_ = nullptr;
}

TCanvas* TPrinter::GetCanvas() {
  if (!canvas_) {
    canvas_ = std::make_unique<TCanvas>();
    // The DC may have been made before the canvas (a caller asking for device metrics first).
    if (dc_) {
      canvas_->SetHandle(dc_);
      canvas_->GetFont()->PixelsPerInch = GetDeviceCaps(dc_, LOGPIXELSY);
    }
  }
  GetHandle();
  return canvas_.get();
}

int32_t TPrinter::GetPageWidth() { return GetDeviceCaps(GetHandle(), HORZRES); }
int32_t TPrinter::GetPageHeight() { return GetDeviceCaps(GetHandle(), VERTRES); }

// ============================================================================ documents ========

void TPrinter::CheckPrinting(bool printing) {
  if (printing_ == printing) return;
  throw EPrinter(printing ? "Printer is not currently printing" : "Printing in progress");
}

void TPrinter::BeginDoc() {
  CheckPrinting(false);
  GetCanvas();
  DOCINFOA info;
  info.lpszDocName = Title.c_str();
  info.lpszOutput = OutputFileName.empty() ? nullptr : OutputFileName.c_str();
  if (StartDocA(dc_, &info) <= 0 || StartPage(dc_) <= 0) {
    AbortDoc(dc_);
    throw EPrinter("The printer cannot start the document");
  }
  printing_ = true;
  aborted_ = false;
  pageNumber_ = 1;
  canvas_->Refresh();
}

void TPrinter::NewPage() {
  CheckPrinting(true);
  EndPage(dc_);
  StartPage(dc_);
  ++pageNumber_;
  canvas_->Refresh();
}

void TPrinter::EndDoc() {
  CheckPrinting(true);
  printing_ = false;
  pageNumber_ = 0;
  if (::EndDoc(dc_) <= 0) {
    std::string reason = SpoolLastError();
    throw EPrinter(reason.empty() ? "Printing failed" : "Printing failed: " + reason);
  }
}

void TPrinter::Abort() {
  CheckPrinting(true);
  AbortDoc(dc_);
  printing_ = false;
  aborted_ = true;
  pageNumber_ = 0;
}

// ============================================================================ the global ========

namespace {
TPrinter* printersGlobal = nullptr;
struct PrintersGlobalOwner {
  ~PrintersGlobalOwner() { delete printersGlobal; }
} printersGlobalOwner;
}  // namespace

TPrinter* Printer() {
  if (!printersGlobal) printersGlobal = new TPrinter;
  return printersGlobal;
}

TPrinter* SetPrinter(TPrinter* NewPrinter) {
  TPrinter* old = printersGlobal;
  printersGlobal = NewPrinter;
  return old;
}
