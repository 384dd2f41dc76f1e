#include "widgets/iVCLComponent.h"

#include "platform/os/gdi/Gdi.h"
#include "platform/os/user/User.h"
#include "platform/runtime/Filer.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/Variants.h"
#include "widgets/iOPCItem.h"

namespace {
// Timer identifiers on the control's hidden window: its private timer, and the one-shot flush of
// a repaint the frame-rate gate held back.
constexpr UINT_PTR kiVCLPrivateTimer = 1;
constexpr UINT_PTR kiVCLFlushTimer = 2;
}  // namespace

const TClassInfo& TiVCLComponent::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiVCLComponent, TiComponent>("TiVCLComponent")
                                     .Event("OnNewOPCData", &TiVCLComponent::OnNewOPCData)
                                     .Event("OnBeforeNewOPCData", &TiVCLComponent::OnBeforeNewOPCData);
  return info;
}

TiVCLComponent::TiVCLComponent(TComponent* AOwner) : TiComponent(AOwner) {
  opcItems_ = std::make_unique<TiOPCItemManager>(this);
  timerWindow_ = AllocateHWnd(TWndMethod(this, &TiVCLComponent::TimerWndProc));
}

TiVCLComponent::~TiVCLComponent() {
  if (timerWindow_) {
    KillTimer(timerWindow_, kiVCLPrivateTimer);
    KillTimer(timerWindow_, kiVCLFlushTimer);
    DeallocateHWnd(timerWindow_);
  }
  opcItems_.reset();
}

void TiVCLComponent::CreateWnd() {
  TiComponent::CreateWnd();
  SetWindowLongPtr(handle_, GWL_ID, 0);
}

void TiVCLComponent::DefineProperties(TFiler* Filer) {
  TiComponent::DefineProperties(Filer);
  Filer->DefineProperty("OPCItems", TReaderProc(this, &TiVCLComponent::ReadOPCItems),
                        TWriterProc(this, &TiVCLComponent::WriteOPCItems), opcItems_->HasItems());
}

void TiVCLComponent::ReadOPCItems(TReader* Reader) { opcItems_->ReadItems(Reader); }
void TiVCLComponent::WriteOPCItems(TWriter* Writer) { opcItems_->WriteItems(Writer); }

// ============================================================================ paint lock ======

void TiVCLComponent::LockPaint() {
  if (!ComponentState().Contains(csDestroying)) paintLock_.Enter();
}

void TiVCLComponent::UnlockPaint() {
  if (!ComponentState().Contains(csDestroying)) paintLock_.Leave();
}

// ============================================================================ timers ==========

void TiVCLComponent::StartTimer(int32_t InitialDelay, int32_t Interval) {
  if (TimerRunning()) return;
  interval_ = Interval;
  if (InitialDelay == 0) {
    if (Interval == 0) return;
    firstDelayPending_ = false;
    timerId_ = SetTimer(timerWindow_, kiVCLPrivateTimer, UINT(Interval), nullptr);
  } else {
    firstDelayPending_ = true;
    timerId_ = SetTimer(timerWindow_, kiVCLPrivateTimer, UINT(InitialDelay), nullptr);
  }
}

void TiVCLComponent::StopTimer() {
  if (timerId_) KillTimer(timerWindow_, kiVCLPrivateTimer);
  timerId_ = 0;
  firstDelayPending_ = false;
}

void TiVCLComponent::ArmFrameFlush(uint32_t DelayMs) {
  // A later arm while one is waiting changes nothing: the flush goes through the gate anyway.
  if (flushArmed_ || !timerWindow_) return;
  flushArmed_ = SetTimer(timerWindow_, kiVCLFlushTimer, DelayMs, nullptr) != 0;
}

void TiVCLComponent::TimerWndProc(TMessage& Message) {
  if (Message.Msg == WM_TIMER) {
    if (Message.WParam == kiVCLFlushTimer) {
      KillTimer(timerWindow_, kiVCLFlushTimer);
      flushArmed_ = false;
      if (!UpdateLocked() && (RepaintPending() || BackgroundRepaintPending())) RepaintIfFrameDue();
      return;
    }
    if (Message.WParam == kiVCLPrivateTimer && timerId_) {
      if (firstDelayPending_) {
        firstDelayPending_ = false;
        SetTimer(timerWindow_, kiVCLPrivateTimer, UINT(interval_), nullptr);
      }
      OnTimer(this);
      return;
    }
  }
  if (Message.Msg == WM_ENDSESSION) {
    Message.Result = 0;
    return;
  }
  Message.Result = DefWindowProcA(timerWindow_, Message.Msg, Message.WParam, Message.LParam);
}

// ============================================================================ transparency ====

void TiVCLComponent::SetTransparent(bool Value) {
  if (Value == transparent_) return;
  transparent_ = Value;
  if (Value) {
    if (HandleAllocated())
      SetWindowLongPtr(handle_, GWL_EXSTYLE,
                       GetWindowLongPtr(handle_, GWL_EXSTYLE) | LONG_PTR(WS_EX_TRANSPARENT));
    if (!parentBackground_) {
      parentBackground_ = std::make_unique<TBitmap>();
      if (Width() > 0 && Height() > 0) parentBackground_->SetSize(Width(), Height());
    }
    MarkParentRegrab();
  } else {
    if (HandleAllocated())
      SetWindowLongPtr(handle_, GWL_EXSTYLE,
                       GetWindowLongPtr(handle_, GWL_EXSTYLE) & ~LONG_PTR(WS_EX_TRANSPARENT));
    parentBackground_.reset();
    regrabParent_ = false;
  }
  RequestBackgroundRepaint();
}

void TiVCLComponent::MarkParentRegrab() {
  if (!transparent_ || regrabParent_) return;
  regrabParent_ = true;
  RequestBackgroundRepaint();
}

void TiVCLComponent::BackGroundChanged() {
  TiComponent::BackGroundChanged();
  MarkParentRegrab();
}

void TiVCLComponent::DrawBackGround(TCanvas* Canvas, TColor BackColor) {
  if (!transparent_ || !parentBackground_) {
    TiComponent::DrawBackGround(Canvas, BackColor);
    return;
  }
  ClearBackgroundDirty();
  if (parentBackground_->GetWidth() != Width() || parentBackground_->GetHeight() != Height())
    parentBackground_->SetSize(Width(), Height());
  if (regrabParent_) {
    TCanvas* own = GetCanvas();
    HDC dc = HandleAllocated() ? own->GetHandle() : nullptr;
    const int32_t w = Width(), h = Height();
    const bool visible = dc && PtVisible(dc, 5, 5) && PtVisible(dc, w - 5, 5) && PtVisible(dc, 5, h - 5) &&
                         PtVisible(dc, w - 5, h - 5);
    if (visible) {
      TRect r{0, 0, w, h};
      parentBackground_->GetCanvas()->CopyRect(r, own, r);
      regrabParent_ = false;
    } else {
      TCanvas* bc = parentBackground_->GetCanvas();
      bc->GetBrush()->SetStyle(bsSolid);
      bc->GetBrush()->SetColor(GetBackGroundColor());
      bc->FillRect(TRect{0, 0, w, h});
    }
  }
  Canvas->Draw(0, 0, parentBackground_.get());
}

void TiVCLComponent::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height()) return;
  if (parentBackground_ && AWidth > 0 && AHeight > 0) {
    try {
      parentBackground_->SetSize(AWidth, AHeight);
    } catch (const Exception&) {
      parentBackground_->SetSize(0, 0);
    }
  }
  TiComponent::SetBounds(ALeft, ATop, AWidth, AHeight);
  MarkParentRegrab();
}

// ============================================================================ OPC =============

bool TiVCLComponent::SendPropertyToOPC(const AnsiString& PropertyName, const Variant& Value) {
  if (applyingOPCData_) {
    // The value came from the server: do not echo it back.
    applyingOPCData_ = false;
    return false;
  }
  for (int32_t i = 0; i < opcItems_->Count(); ++i) {
    TiOPCItem* item = opcItems_->GetItem(i);
    if (item->IsActive() && SameText(item->GetPropertyName(), PropertyName)) {
      item->SendData(Value);
      return true;
    }
  }
  return false;
}

bool TiVCLComponent::HandleOPCData(TiOPCItem*) { return false; }

void TiVCLComponent::ApplyOPCData(TiOPCItem* Item) {
  if (!Item || Item->GetPropertyName().empty()) return;
  Variant data = Item->Value();
  const int32_t index = opcItems_->IndexOf(Item);
  OnBeforeNewOPCData(this, index, data);
  applyingOPCData_ = true;
  try {
    if (Item->QualityGood() && !HandleOPCData(Item))
      SetPropertyFromVariant(this, "", data, Item->GetPropertyName());
  } catch (...) {
    applyingOPCData_ = false;
    throw;
  }
  applyingOPCData_ = false;
  OnNewOPCData(this, index);
}

// ============================================================================ messages ========

void TiVCLComponent::CallButtonMessage(TMessage& Message) {
  // Exceptions of the button messages (and of OnMouseDown, OnClick ... raised under them) end
  // here, silently.
  try {
    TiComponent::Dispatch(Message);
  } catch (...) {
  }
}

void TiVCLComponent::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_GETDLGCODE:
      TiComponent::Dispatch(Message);
      Message.Result |= DLGC_WANTALLKEYS;
      return;
    case CM_WANTSPECIALKEY: {
      TiComponent::Dispatch(Message);
      WORD code = WORD(Message.WParam);
      LRESULT result = Message.Result;
      WantSpecialKey(code, result);
      Message.Result = result;
      return;
    }
    case WM_SETFOCUS: {
      TUserInputScope scope(this);
      DoGotFocus();
      TiComponent::Dispatch(Message);
      return;
    }
    case WM_KILLFOCUS: {
      TUserInputScope scope(this);
      if (HWND(Message.WParam) != handle_ || !handle_) DoLostFocus();
      TiComponent::Dispatch(Message);
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      CallButtonMessage(Message);
      return;
    case WM_SYSCOLORCHANGE:
    case CM_SYSCOLORCHANGE:
    case WM_PALETTECHANGED:
      TiComponent::Dispatch(Message);
      RequestBackgroundRepaint();
      return;
    case WM_MOVE:
      TiComponent::Dispatch(Message);
      MarkParentRegrab();
      return;
    default:
      TiComponent::Dispatch(Message);
      return;
  }
}

// ============================================================================ image export ====

namespace {
std::unique_ptr<TBitmap> iVCLRender(TiComponent* Control) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(Control->Width(), Control->Height());
  TCanvas* c = b->GetCanvas();
  c->Lock();
  try {
    Control->PaintToCanvas(c);
  } catch (...) {
    c->Unlock();
    throw;
  }
  c->Unlock();
  return b;
}

void iVCLCheckQuality(int32_t Quality) {
  if (Quality < 1 || Quality > 100) throw Exception("Compression must be in the range of 1-100");
}
}  // namespace

void ExportBitmapFile(TiComponent* Control, const AnsiString& FileName) {
  Control->HandleNeeded();
  iVCLRender(Control)->SaveToFile(FileName);
}

void ExportMetafile(TiComponent* Control, const AnsiString& FileName) {
  TMetafile mf;
  mf.SetWidth(Control->Width());
  mf.SetHeight(Control->Height());
  {
    TMetafileCanvas canvas(&mf, nullptr, "Tarvik", "");
    Control->PaintUncached(&canvas);
  }
  mf.SaveToFile(FileName);
}

TJPEGImage* RenderJpegImage(TiComponent* Control, int32_t Quality, bool Progressive) {
  iVCLCheckQuality(Quality);
  auto jpeg = std::make_unique<TJPEGImage>();
  jpeg->CompressionQuality = Quality;
  jpeg->Performance = jpBestQuality;
  jpeg->PixelFormat = jf24Bit;
  jpeg->ProgressiveEncoding = Progressive;
  std::unique_ptr<TBitmap> b = iVCLRender(Control);
  jpeg->Assign(b.get());
  jpeg->Compress();
  return jpeg.release();
}

void ExportJpegFile(TiComponent* Control, const AnsiString& FileName, int32_t Quality, bool Progressive) {
  std::unique_ptr<TJPEGImage> jpeg(RenderJpegImage(Control, Quality, Progressive));
  jpeg->SaveToFile(FileName);
  if (auto* cc = dynamic_cast<TControlCanvas*>(Control->GetCanvas())) cc->FreeHandle();
}

void ExportPngFile(TiComponent* Control, const AnsiString& FileName, int32_t Compression) {
  if (Compression < 0 || Compression > 9) throw Exception("Compression must be in the range of 0-9");
  std::unique_ptr<TBitmap> b = iVCLRender(Control);
  TPngImage png;
  png.CompressionLevel = Compression;
  png.Assign(b.get());
  png.SaveToFile(FileName);
}
