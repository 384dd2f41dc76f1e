#include "widgets/iComponent.h"

#include <cmath>

#include "platform/os/gdi/Gdi.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/Lists.h"
#include "platform/runtime/MathUtils.h"
#include "platform/runtime/Streams.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/Variants.h"

const TClassInfo& TiComponent::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiComponent, TCustomControl>("TiComponent")
          .Prop("OptionSaveAllProperties", &TiComponent::GetOptionSaveAllProperties,
                &TiComponent::SetOptionSaveAllProperties)
          .Default(false)
          .Prop("AutoFrameRate", &TiComponent::GetAutoFrameRate, &TiComponent::SetAutoFrameRate)
          .Default(false)
          .Prop("UpdateFrameRate", &TiComponent::GetUpdateFrameRate, &TiComponent::SetUpdateFrameRate)
          .Default(60);
  return info;
}

TiComponent::TiComponent(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks, csReplicatable};
  lastRepaintMs_ = Clock().MonotonicMs();
  errorFont_ = std::make_unique<TFont>();
  errorFont_->SetColor(clRed);
  errorFont_->SetStyle(TFontStyles{fsBold});
  errorFont_->OnChange = TNotifyEvent(this, &TiComponent::ErrorFontChanged);
}

TiComponent::~TiComponent() = default;

// ============================================================================ repaint protocol =

void TiComponent::RequestRepaint() {
  if (updateLocked_) {
    pendingRepaint_ = true;
  } else if (autoFrameRate_) {
    pendingRepaint_ = true;
    RepaintIfFrameDue();
  } else {
    RepaintNow();
  }
}

void TiComponent::RequestBackgroundRepaint() {
  backgroundDirty_ = true;
  if (updateLocked_) {
    pendingBackground_ = true;
  } else if (autoFrameRate_) {
    pendingBackground_ = true;
    RepaintIfFrameDue();
  } else {
    RepaintNow();
  }
}

void TiComponent::RequestRepaintOfKind(int32_t Kind) {
  if (Kind == 0)
    RequestRepaint();
  else if (Kind == 1)
    RequestBackgroundRepaint();
}

void TiComponent::RepaintNow() {
  pendingRepaint_ = pendingBackground_ = false;
  lastRepaintMs_ = Clock().MonotonicMs();
  Invalidate();
}

bool TiComponent::FrameDue() const {
  if (!autoFrameRate_ || updateFrameRate_ == 0) return true;
  const double interval = 1000.0 / updateFrameRate_;
  return double(Clock().MonotonicMs()) > double(lastRepaintMs_) + interval;
}

void TiComponent::RepaintIfFrameDue() {
  if (FrameDue()) {
    RepaintNow();
    return;
  }
  const double interval = 1000.0 / updateFrameRate_;
  const double left = double(lastRepaintMs_) + interval - double(Clock().MonotonicMs());
  ArmFrameFlush(uint32_t(std::max(1.0, std::floor(left) + 1)));
}

void TiComponent::InvalidateNow() { RepaintNow(); }

void TiComponent::ArmFrameFlush(uint32_t) {}

void TiComponent::BeginUpdate() { updateLocked_ = true; }

void TiComponent::EndUpdate() {
  updateLocked_ = false;
  if (pendingRepaint_ || pendingBackground_) RepaintIfFrameDue();
}

bool TiComponent::IsStreaming() const {
  return ComponentState().Contains(csLoading) || ComponentState().Contains(csReading);
}

bool TiComponent::IsDesignMode() {
  bool design = ComponentState().Contains(csDesigning);
  OnDesignMode(this, design);
  return design;
}

// ============================================================================ typed setters ===

void TiComponent::SetBoolProperty(bool Value, bool& Field, int32_t Kind) {
  if (Value == Field) return;
  Field = Value;
  RequestRepaintOfKind(Kind);
}
void TiComponent::SetIntProperty(int32_t Value, int32_t& Field, int32_t Kind) {
  if (Value == Field) return;
  Field = Value;
  RequestRepaintOfKind(Kind);
}
void TiComponent::SetDoubleProperty(double Value, double& Field, int32_t Kind) {
  if (Value == Field) return;
  Field = Value;
  RequestRepaintOfKind(Kind);
}
void TiComponent::SetStringProperty(const AnsiString& Value, AnsiString& Field, int32_t Kind) {
  if (Value == Field) return;
  Field = Value;
  RequestRepaintOfKind(Kind);
}
void TiComponent::SetColorProperty(TColor Value, TColor& Field, int32_t Kind) {
  if (Value == Field) return;
  Field = Value;
  RequestRepaintOfKind(Kind);
}

// ============================================================================ properties ======

void TiComponent::SetUpdateFrameRate(int32_t Value) { SetIntProperty(Value, updateFrameRate_, 1); }

void TiComponent::SetAutoFrameRate(bool Value) {
  if (Value == autoFrameRate_) return;
  autoFrameRate_ = Value;
  if (Value)
    RequestBackgroundRepaint();
  else
    EndUpdate();
}

void TiComponent::SetCachedDrawing(bool Value) {
  if (Value == cachedDrawing_) return;
  cachedDrawing_ = Value;
  if (!Value) cacheBitmap_.reset();
  RequestBackgroundRepaint();
}

void TiComponent::SetBackGroundColor(TColor Value) { SetColorProperty(Value, backGroundColor_, 1); }

void TiComponent::SetBackGroundPicture(TBitmap* Value) {
  if (!backGroundPicture_) return;
  backGroundPicture_->Assign(Value);
}

void TiComponent::SetBorderStyle(TiBevelStyle Value) {
  if (Value == borderStyle_) return;
  borderStyle_ = Value;
  RequestBackgroundRepaint();
}

void TiComponent::SetOffsetX(int32_t Value) { SetIntProperty(Value, offsetX_, 1); }
void TiComponent::SetOffsetY(int32_t Value) { SetIntProperty(Value, offsetY_, 1); }
void TiComponent::SetErrorActive(bool Value) { SetBoolProperty(Value, errorActive_, 1); }
void TiComponent::SetErrorText(const AnsiString& Value) { SetStringProperty(Value, errorText_, 1); }
void TiComponent::SetErrorBackGroundColor(TColor Value) { SetColorProperty(Value, errorBackGroundColor_, 1); }
void TiComponent::SetErrorFont(TFont* Value) { errorFont_->Assign(Value); }

void TiComponent::ErrorFontChanged(TObject*) { RequestRepaint(); }
void TiComponent::PictureChanged(TObject*) { BackGroundChanged(); }

void TiComponent::CreateBackGroundPicture() {
  if (backGroundPicture_) return;
  backGroundPicture_ = std::make_unique<TBitmap>();
  backGroundPicture_->OnChange = TNotifyEvent(this, &TiComponent::PictureChanged);
}

void TiComponent::BackGroundChanged() { RequestBackgroundRepaint(); }

bool TiComponent::SendPropertyToOPC(const AnsiString&, const Variant&) { return false; }

// ============================================================================ geometry ========

TPoint TiComponent::GetCenterPoint() { return {Width() / 2 + offsetX_, Height() / 2 + offsetY_}; }

TPoint TiComponent::PolarPoint(TPoint Center, double Radius, double AngleDegrees) {
  const double a = AngleDegrees * 0.017453292519943295769;
  return {Center.X + int32_t(Round(Radius * std::cos(a))), Center.Y - int32_t(Round(Radius * std::sin(a)))};
}

void TiComponent::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height()) return;
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (AWidth > 0 && AHeight > 0) {
    try {
      if (!cacheBitmap_) cacheBitmap_ = std::make_unique<TBitmap>();
      cacheBitmap_->SetSize(AWidth, AHeight);
    } catch (const Exception&) {
      // A size the surfaces refuse: no cache; the next paint shows the failure instead.
      cacheBitmap_.reset();
    }
  }
  RequestBackgroundRepaint();
}

// ============================================================================ cached layer ====

TBitmap* TiComponent::EnsureCacheBitmap() {
  if (!cacheBitmap_) cacheBitmap_ = std::make_unique<TBitmap>();
  if (cacheBitmap_->GetWidth() != Width() || cacheBitmap_->GetHeight() != Height())
    cacheBitmap_->SetSize(Width(), Height());
  return cacheBitmap_.get();
}

void TiComponent::DrawCacheBitmap(TCanvas* Canvas) {
  if (cacheBitmap_) Canvas->Draw(0, 0, cacheBitmap_.get());
}

// ============================================================================ painting ========

void TiComponent::DrawBackGround(TCanvas* Canvas, TColor BackColor) {
  backgroundDirty_ = false;
  if (backGroundPicture_ && backGroundPicture_->GetWidth() > 0) {
    Canvas->StretchDraw(TRect{0, 0, Width(), Height()}, backGroundPicture_.get());
    return;
  }
  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetBrush()->SetColor(BackColor);
  Canvas->FillRect(TRect{0, 0, Width(), Height()});
  DrawBorder(Canvas);
}

void TiComponent::DrawBorder(TCanvas* Canvas) {
  if (borderStyle_ == ibsRaised)
    DrawBevelFrame(Canvas, TRect{0, 0, Width(), Height()}, 1);
  else if (borderStyle_ == ibsLowered)
    DrawBevelFrame(Canvas, TRect{0, 0, Width(), Height()}, 0);
}

void TiComponent::Paint() {
  TCanvas* canvas = GetCanvas();
  if (GetDeviceCaps(canvas->GetHandle(), TECHNOLOGY) == DT_METAFILE)
    PaintDirect(canvas);
  else
    PaintBuffered();
}

void TiComponent::PaintDirect(TCanvas* Canvas) {
  LockPaint();
  const bool cached = cachedDrawing_;
  cachedDrawing_ = false;
  try {
    PaintToCanvas(Canvas);
  } catch (...) {
  }
  cachedDrawing_ = cached;
  UnlockPaint();
}

void TiComponent::PaintUncached(TCanvas* Canvas) {
  const bool cached = cachedDrawing_;
  cachedDrawing_ = false;
  try {
    PaintToCanvas(Canvas);
  } catch (...) {
    cachedDrawing_ = cached;
    throw;
  }
  cachedDrawing_ = cached;
}

void TiComponent::PaintBuffered() {
  LockPaint();
  try {
    TBitmap buffer;
    buffer.SetSize(Width(), Height());
    TCanvas* bc = buffer.GetCanvas();
    bc->GetBrush()->SetStyle(bsSolid);
    bc->GetPen()->SetStyle(psSolid);
    try {
      PaintToCanvas(bc);
    } catch (const std::exception& e) {
      // The failure in place of the control, white on black; later paints try again.
      TRect r = GetClientRect();
      bc->GetBrush()->SetStyle(bsSolid);
      bc->GetBrush()->SetColor(TColor(0));
      bc->FillRect(r);
      bc->GetFont()->SetColor(TColor(0xFFFFFF));
      DrawTextFlags(bc, e.what(), r, itfWordBreak | itfLeft | itfTop);
    }
    OnAfterPaint(this, bc);
    GetCanvas()->Draw(0, 0, &buffer);
  } catch (...) {
  }
  UnlockPaint();
}

// ============================================================================ input ===========

void TiComponent::DoGotFocus() {
  hasFocus_ = true;
  SetControlParentChain(this);
  Invalidate();
}

void TiComponent::DoLostFocus() {
  hasFocus_ = false;
  try {
    HandleMouseUp(mbLeft, TShiftState{}, 0, 0);
  } catch (...) {
  }
  Invalidate();
}

void TiComponent::WantSpecialKey(WORD&, LRESULT&) {}
void TiComponent::HandleKeyUp(WORD&, TShiftState) {}
void TiComponent::HandleKeyDown(WORD&, TShiftState) {}
void TiComponent::HandleKeyPress(char&) {}
void TiComponent::HandleMouseDown(TMouseButton, TShiftState, int32_t, int32_t) {}
void TiComponent::HandleMouseUp(TMouseButton, TShiftState, int32_t, int32_t) {}
void TiComponent::HandleMouseMove(TShiftState, int32_t, int32_t) {}
void TiComponent::HandleDblClick() {}
bool TiComponent::HandleMouseWheel(int32_t, TShiftState, TPoint) { return false; }

void TiComponent::KeyDown(WORD& Key, TShiftState Shift) {
  TUserInputScope scope(this);
  try {
    TCustomControl::KeyDown(Key, Shift);
    HandleKeyDown(Key, Shift);
  } catch (...) {
  }
}

void TiComponent::KeyUp(WORD& Key, TShiftState Shift) {
  TUserInputScope scope(this);
  try {
    TCustomControl::KeyUp(Key, Shift);
    HandleKeyUp(Key, Shift);
  } catch (...) {
  }
}

void TiComponent::KeyPress(char& Key) {
  TUserInputScope scope(this);
  try {
    TCustomControl::KeyPress(Key);
    HandleKeyPress(Key);
  } catch (...) {
  }
}

void TiComponent::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TUserInputScope scope(this);
  HandleMouseDown(Button, Shift, X, Y);
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TiComponent::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TUserInputScope scope(this);
  HandleMouseUp(Button, Shift, X, Y);
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TiComponent::MouseMove(TShiftState Shift, int32_t X, int32_t Y) {
  TUserInputScope scope(this);
  HandleMouseMove(Shift, X, Y);
  TCustomControl::MouseMove(Shift, X, Y);
}

void TiComponent::DblClick() {
  TUserInputScope scope(this);
  HandleDblClick();
  TCustomControl::DblClick();
}

bool TiComponent::DoMouseWheel(TShiftState Shift, int32_t WheelDelta, TPoint MousePos) {
  TUserInputScope scope(this);
  return HandleMouseWheel(WheelDelta, Shift, MousePos);
}

// ============================================================================ property files ==
// SavePropertyFile and LoadPropertyFile live with the property-list routines (iPropertyFiles.cpp).

namespace {
// Left out when a control saves itself unless OptionSaveAllProperties: layout and framework
// properties.
const char* const kiComponentLayoutProps[] = {"Left",    "Top",     "Width",    "Height",
                                              "Align",   "Cursor",  "ShowHint", "Tag",
                                              "Visible", "Enabled", "Hint",     "HelpContext"};
// A control's property file holds a few kilobytes; a larger one is refused before it is read in.
constexpr int64_t kiComponentMaxPropertyFile = 1 << 20;
}  // namespace

void TiComponent::AddPropertyFileExclusions(TStrings* List) const {
  List->Add("Name");
  if (!optionSaveAllProperties_)
    for (const char* name : kiComponentLayoutProps) List->Add(name);
}

void TiComponent::SavePropertyFile(const AnsiString& FileName) {
  try {
    TStringList exclude;
    AddPropertyFileExclusions(&exclude);
    TStringList lines;
    lines.Add("File Type = " + ClassType().Name());
    WritePropertiesToList(this, "", &lines, &exclude);
    lines.SaveToFile(FileName);
  } catch (const std::exception& e) {
    throw Exception(AnsiString("Error Saving Properties - ") + e.what());
  }
}

void TiComponent::LoadPropertyFile(const AnsiString& FileName) {
  try {
    TStringList lines;
    {
      TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
      if (file.GetSize() > kiComponentMaxPropertyFile)
        throw EReadError("The file is larger than " + IntToStr(kiComponentMaxPropertyFile) + " bytes");
      lines.LoadFromStream(&file);
    }
    BeginUpdate();
    try {
      ReadPropertiesFromList(this, "", &lines);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
  } catch (const std::exception& e) {
    throw Exception(AnsiString("Error Loading Properties - ") + e.what());
  }
}
