// Printer DCs: pages recorded at the printer's resolution, documents handed to a print service.
#include "platform/os/gdi/Printer.h"

#include <atomic>

#include "platform/os/gdi/Recorder.h"

namespace gdi {
namespace {

struct PrintJob {
  std::shared_ptr<IPrintService> service;
  TPrintDocument doc;
  bool inDoc = false, inPage = false;
  int jobId = 0;
};

PrintJob* JobOf(DCObj* dc) {
  return dc && dc->dcKind == DCKind::Printer ? static_cast<PrintJob*>(dc->printJob.get()) : nullptr;
}

void NewPageRecorder(DCObj* dc, const TPrinterDeviceInfo& d) {
  RECT frame{0, 0, int(d.PrintableWidth * 2540.0 / d.DpiX + 0.5),
             int(d.PrintableHeight * 2540.0 / d.DpiY + 0.5)};
  dc->recorder = std::make_unique<Recorder>(d.PrintableWidth, d.PrintableHeight, d.DpiX, d.DpiY, &frame, u"");
}

// A page starts with the DC's current state, so that each page replays on its own.
void RecordState(DCObj* dc) {
  Recorder* r = dc->recorder.get();
  const DCState& st = dc->st;
  r->Select(st.pen);
  r->Select(st.brush);
  r->Select(st.font);
  r->Emit(EMR_SETBKMODE, DWORD(st.bkMode));
  r->Emit(EMR_SETBKCOLOR, st.bkColor);
  r->Emit(EMR_SETTEXTCOLOR, st.textColor);
  r->Emit(EMR_SETROP2, DWORD(st.rop2));
  r->Emit(EMR_SETPOLYFILLMODE, DWORD(st.polyFill));
  r->Emit(EMR_SETTEXTALIGN, DWORD(st.textAlign));
  r->Emit(EMR_SETSTRETCHBLTMODE, DWORD(st.stretchMode));
  r->Emit(EMR_SETMAPMODE, DWORD(st.mapMode));
  if (st.mapMode == MM_ISOTROPIC || st.mapMode == MM_ANISOTROPIC) {
    r->Emit(EMR_SETWINDOWEXTEX, st.winExt);
    r->Emit(EMR_SETVIEWPORTEXTEX, st.vpExt);
  }
  r->Emit(EMR_SETWINDOWORGEX, st.winOrg);
  r->Emit(EMR_SETVIEWPORTORGEX, st.vpOrg);
  r->Emit(EMR_SETBRUSHORGEX, st.brushOrg);
  r->Emit(EMR_MOVETOEX, st.curPos);
  if (st.clip) RecordClipRegion(dc, &*st.clip, RGN_COPY);
}

std::atomic<int> nextJob{1};

}  // namespace
}  // namespace gdi

using namespace gdi;

HDC CreatePrinterDC(const TPrinterDeviceInfo& device, std::shared_ptr<IPrintService> service) {
  if (device.DpiX <= 0 || device.DpiY <= 0 || device.PrintableWidth <= 0 || device.PrintableHeight <= 0)
    return nullptr;
  auto dc = std::make_unique<DCObj>();
  dc->dcKind = DCKind::Printer;
  dc->technology = DT_RASPRINTER;
  dc->dpiX = device.DpiX;
  dc->dpiY = device.DpiY;
  dc->horzRes = device.PrintableWidth;
  dc->vertRes = device.PrintableHeight;
  dc->physW = device.PhysicalWidth;
  dc->physH = device.PhysicalHeight;
  dc->physX = device.OffsetX;
  dc->physY = device.OffsetY;
  auto job = std::make_shared<PrintJob>();
  job->service = std::move(service);
  job->doc.Device = device;
  dc->printJob = job;
  NewPageRecorder(dc.get(), device);
  return NewDC(std::move(dc));
}

int StartDocA(HDC hdc, const DOCINFOA* info) {
  PrintJob* job = JobOf(LookupDC(hdc));
  if (!job || job->inDoc) return SP_ERROR;
  job->inDoc = true;
  job->doc.Pages.clear();
  job->doc.Title = info && info->lpszDocName ? info->lpszDocName : "";
  job->doc.Output = info && info->lpszOutput ? info->lpszOutput : "";
  job->jobId = nextJob++;
  return job->jobId;
}

int StartPage(HDC hdc) {
  DCObj* dc = LookupDC(hdc);
  PrintJob* job = JobOf(dc);
  if (!job || !job->inDoc || job->inPage) return SP_ERROR;
  job->inPage = true;
  NewPageRecorder(dc, job->doc.Device);
  RecordState(dc);
  return 1;
}

int EndPage(HDC hdc) {
  DCObj* dc = LookupDC(hdc);
  PrintJob* job = JobOf(dc);
  if (!job || !job->inPage) return SP_ERROR;
  job->doc.Pages.push_back(dc->recorder->Close());
  job->inPage = false;
  NewPageRecorder(dc, job->doc.Device);
  return 1;
}

int EndDoc(HDC hdc) {
  DCObj* dc = LookupDC(hdc);
  PrintJob* job = JobOf(dc);
  if (!job || !job->inDoc) return SP_ERROR;
  if (job->inPage) EndPage(hdc);
  job->inDoc = false;
  bool ok = !job->service || job->service->PrintDocument(job->doc);
  job->doc.Pages.clear();
  return ok ? 1 : SP_ERROR;
}

int AbortDoc(HDC hdc) {
  DCObj* dc = LookupDC(hdc);
  PrintJob* job = JobOf(dc);
  if (!job) return SP_ERROR;
  job->inDoc = job->inPage = false;
  job->doc.Pages.clear();
  NewPageRecorder(dc, job->doc.Device);
  return 1;
}

bool RenderPrintPage(const std::vector<uint8_t>& page, TSurface& surface) {
  if (surface.Empty() || page.empty()) return false;
  HENHMETAFILE emf = SetEnhMetaFileBits(UINT(page.size()), page.data());
  HDC dc = CreateSurfaceDC(&surface);
  RECT all{0, 0, surface.Width, surface.Height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  BOOL ok = PlayEnhMetaFile(dc, emf, &all);
  DeleteDC(dc);
  DeleteEnhMetaFile(emf);
  return ok;
}
