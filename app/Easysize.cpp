#include "app/Easysize.h"

#include "platform/runtime/MathUtils.h"
#include "platform/runtime/TypInfo.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/StdButtons.h"

// ======================================================================== single resizer ======

TSingleResizer::TSingleResizer(TControl* AControl, TControl* ParentForm, bool AResizeFonts,
                               int32_t AMinFontSize, int32_t AMaxFontSize) {
  if (!AControl) throw EResizerException("TSingleResizer created without a component link");
  if (!ParentForm) throw EResizerException("TSingleResizer created without a parent form link");
  Control = AControl;
  Height = AControl->GetHeight();
  Left = AControl->GetLeft();
  Top = AControl->GetTop();
  Width = AControl->GetWidth();
  if (const TPropInfo* p = GetPropInfo(AControl->ClassType(), "Font"))
    Font = dynamic_cast<TFont*>(GetObjectProp(AControl, p));
  HasFont = Font != nullptr;
  FontSize = HasFont ? Font->GetSize() : 0;
  ParentHeight = ParentForm->GetHeight();
  ParentWidth = ParentForm->GetWidth();
  ResizeFont = AResizeFonts;
  MinFontSize = AMinFontSize;
  MaxFontSize = AMaxFontSize;
  if (Is<TCustomLabel>(AControl)) ResizeWidth = false;
}

void TSingleResizer::ApplyFontSize(int32_t Size) {
  Font->SetSize(Size);
  if (const TPropInfo* p = GetPropInfo(Control->ClassType(), "Font")) SetObjectProp(Control, p, Font);
}

void TSingleResizer::Resize(double NewHeight, double NewWidth, double HeightRatio, double WidthRatio) {
  if (!Control || Control->GetAlign() == alClient) return;
  int32_t l = Control->GetLeft(), t = Control->GetTop(), w = Control->GetWidth(), h = Control->GetHeight();
  if (Round(NewHeight) == ParentHeight && Round(NewWidth) == ParentWidth) {
    // Back at the recorded size: the recorded values, whatever rounding came in between.
    if (ResizeHeight) h = Height;
    if (ResizeLeft) l = Left;
    if (ResizeTop) t = Top;
    if (ResizeWidth) w = Width;
    if (HasFont && ResizeFont) ApplyFontSize(FontSize);
    Control->SetBounds(l, t, w, h);
    return;
  }
  if (ResizeHeight) h = int32_t(Round(Height * HeightRatio));
  if (ResizeWidth) w = int32_t(Round(Width * WidthRatio));
  if (ResizeLeft) l = int32_t(Round(WidthRatio * Left));
  if (ResizeTop) t = int32_t(Round(HeightRatio * Top));
  if (HasFont && ResizeFont) {
    int64_t size = Round(HeightRatio * FontSize);
    if (size > MaxFontSize) size = MaxFontSize;
    if (size < MinFontSize) size = MinFontSize;
    ApplyFontSize(int32_t(size));
  }
  if (Is<TCustomLabel>(Control)) {
    // A label sizes itself to its text: switched off for the move, then it may fit its text.
    const TPropInfo* autoSize = GetPropInfo(Control->ClassType(), "AutoSize");
    const int64_t was = autoSize ? GetOrdProp(Control, autoSize) : 0;
    if (autoSize) SetOrdProp(Control, autoSize, 0);
    Control->SetBounds(l, t, w, h);
    if (autoSize) SetOrdProp(Control, autoSize, 1);
    Control->Refresh();
    if (autoSize) SetOrdProp(Control, autoSize, was);
  } else {
    Control->SetBounds(l, t, w, h);
  }
}

// ========================================================================== form resizer ======

const TClassInfo& TFormResizer::ClassInfo() {
  using R = TFormResizer;
  static const TClassInfo info = TClassInfo::Of<R, TComponent>("TFormResizer")
                                     .Prop("ResizeFonts", &R::GetResizeFonts, &R::SetResizeFonts)
                                     .Default(false)
                                     .Prop("MinFontSize", &R::GetMinFontSize, &R::SetMinFontSize)
                                     .Prop("MaxFontSize", &R::GetMaxFontSize, &R::SetMaxFontSize)
                                     .Prop("EnforceMinSize", &R::GetEnforceMinSize, &R::SetEnforceMinSize)
                                     .Default(false)
                                     .Event("OnPostResize", &R::OnPostResize);
  return info;
}

TFormResizer::TFormResizer(TComponent* AOwner) : TComponent(AOwner) {
  if (!AOwner) throw EResizerException("TFormResizer created without an owner");
  if (!Is<TControl>(AOwner)) throw EResizerException("TFormResizer owner must be a panel or form");
}

TFormResizer::~TFormResizer() {
  for (TSingleResizer* r : FResizers) delete r;
}

void TFormResizer::Loaded() { TComponent::Loaded(); }

void TFormResizer::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  for (TSingleResizer* r : FResizers)
    if (r->Control == AComponent) r->Control = nullptr;
}

void TFormResizer::InitializeForm() {
  if (FInitialized) return;
  FInitialized = true;
  auto* owner = static_cast<TControl*>(Owner());
  FHeight = owner->GetHeight();
  FWidth = owner->GetWidth();
  for (int32_t i = 0; i < owner->ComponentCount(); ++i)
    if (auto* c = dynamic_cast<TControl*>(owner->Components(i))) {
      FResizers.push_back(new TSingleResizer(c, owner, FResizeFonts, FMinFontSize, FMaxFontSize));
      // Removal reaches the resizer even for controls that are not the owner's.
      c->FreeNotification(this);
    }
}

void TFormResizer::ResizeAll() {
  if (FHeight == 0 || FWidth == 0) return;
  auto* owner = static_cast<TControl*>(Owner());
  if (FEnforceMinSize) {
    if (owner->GetHeight() < FHeight) owner->SetHeight(FHeight);
    if (owner->GetWidth() < FWidth) owner->SetWidth(FWidth);
  }
  const double h = owner->GetHeight(), w = owner->GetWidth();
  const double widthRatio = w / FWidth, heightRatio = h / FHeight;
  for (TSingleResizer* r : FResizers) {
    r->Resize(h, w, heightRatio, widthRatio);
    DoPostResize(r->Control, heightRatio, widthRatio);
  }
}

void TFormResizer::DoPostResize(TControl* Comp, double HeightRatio, double WidthRatio) {
  OnPostResize(this, Comp, HeightRatio, WidthRatio);
}
