#include "app/TFlatPanelUnit.h"

#include <memory>

#include "platform/runtime/TypInfo.h"
#include "platform/ui/Messages.h"

namespace {
constexpr TColor kFlatPanelFrameColor = TColor(0x8396A0);
}  // namespace

const TClassInfo& TFlatPanel::ClassInfo() {
  using P = TFlatPanel;
  static const TClassInfo info = TClassInfo::Of<P, TCustomPanel>("TFlatPanel")
                                     .Prop("Transparent", &P::GetTransparent, &P::SetTransparent)
                                     .Default(false)
                                     .Prop("ColorHighLight", &P::GetColorHighLight, &P::SetColorHighLight)
                                     .Type(ColorTypeInfo())
                                     .Prop("ColorShadow", &P::GetColorShadow, &P::SetColorShadow)
                                     .Type(ColorTypeInfo());
  return info;
}

namespace {
// Stored window definitions name the class.
struct TFlatPanelRegistration {
  TFlatPanelRegistration() { RegisterClass(TFlatPanel::ClassInfo()); }
} g_flatPanelRegistration;
}  // namespace

TFlatPanel::TFlatPanel(TComponent* AOwner)
    : TCustomPanel(AOwner), FColorHighLight(kFlatPanelFrameColor), FColorShadow(kFlatPanelFrameColor) {
  SetParentFont(true);
  SetParentColor(true);
  ControlStyle.Include(csAcceptsControls);
  ControlStyle.Include(csOpaque);
  SetBounds(0, 0, 185, 41);
}

void TFlatPanel::SetTransparent(bool Value) {
  FTransparent = Value;
  Invalidate();
}

void TFlatPanel::SetColors(int Index, TColor Value) {
  (Index == 0 ? FColorHighLight : FColorShadow) = Value;
  Invalidate();
}

void TFlatPanel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
      TCustomPanel::Dispatch(Message);
      Invalidate();
      return;
    default:
      TCustomPanel::Dispatch(Message);
  }
}

void TFlatPanel::Paint() {
  const TAlignment alignment = GetAlignment();
  const UINT format = DT_SINGLELINE | DT_VCENTER |
                      (alignment == taLeftJustify    ? DT_LEFT
                       : alignment == taRightJustify ? DT_RIGHT
                                                     : DT_CENTER);
  const TRect client = GetClientRect();
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(client.Width(), client.Height());
  TCanvas* canvas = bitmap->GetCanvas();
  if (FTransparent) {
    FlatPanelParentBackground(this, canvas);
  } else {
    canvas->GetBrush()->SetColor(GetColor());
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->FillRect(client);
  }
  TRect frame = client;
  FlatPanelFrame(canvas, frame, FColorHighLight, FColorShadow, 1);
  const AnsiString text = GetCaption();
  if (!text.empty()) {
    canvas->SetFont(GetFont());
    canvas->GetBrush()->SetStyle(bsClear);
    auto draw = [&](TRect r, TColor color) {
      HDC dc = canvas->GetHandle();
      // Both passes over the same place: the second must not fill under its text.
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, COLORREF(ColorToRGB(color)));
      DrawTextA(dc, text.c_str(), int(text.size()), &r, format);
    };
    if (GetEnabled()) {
      draw(client, GetFont()->GetColor());
    } else {
      draw(Rect(client.Left + 1, client.Top + 1, client.Right + 1, client.Bottom + 1), clBtnHighlight);
      draw(client, clBtnShadow);
    }
  }
  GetCanvas()->Draw(0, 0, bitmap.get());
}

void FlatPanelFrame(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int32_t Width) {
  Canvas->GetPen()->SetWidth(1);
  --Rect.Bottom;
  --Rect.Right;
  for (int32_t i = 0; i < Width; ++i) {
    Canvas->GetPen()->SetColor(TopColor);
    Canvas->MoveTo(Rect.Left, Rect.Bottom);
    Canvas->LineTo(Rect.Left, Rect.Top);
    Canvas->LineTo(Rect.Right, Rect.Top);
    Canvas->GetPen()->SetColor(BottomColor);
    Canvas->LineTo(Rect.Right, Rect.Bottom);
    Canvas->LineTo(Rect.Left - 1, Rect.Bottom);
    Rect.Left += 1;
    Rect.Top += 1;
    Rect.Right -= 1;
    Rect.Bottom -= 1;
  }
  ++Rect.Bottom;
  ++Rect.Right;
}

void FlatPanelParentBackground(TWinControl* Panel, TCanvas* Canvas) {
  TWinControl* parent = Panel->GetParent();
  if (!parent) return;
  HDC dc = Canvas->GetHandle();
  const int saved = SaveDC(dc);
  POINT old;
  SetViewportOrgEx(dc, -Panel->GetLeft(), -Panel->GetTop(), &old);
  IntersectClipRect(dc, 0, 0, parent->GetClientWidth(), parent->GetClientHeight());
  parent->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
  parent->Perform(WM_PAINT, WPARAM(dc), 0);
  RestoreDC(dc, saved);
}
