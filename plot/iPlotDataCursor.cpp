#include "plot/iPlotDataCursor.h"

#include <cmath>
#include <cstring>

#include "platform/runtime/Strings.h"
#include "plot/iPlotComponent.h"
#include "plot/iPlotDataView.h"
#include "widgets/iGPFunctions.h"

PL_ENUM_NAMES(TiOrientationSide, "iosBottomRight", "iosTopLeft")

const TClassInfo& TiPlotDataCursor::ClassInfo() {
  using C = TiPlotDataCursor;
  static const TClassInfo info =
      TClassInfo::Of<C, TiPlotManagerObject>("TiPlotDataCursor")
          // Published again with the cursor's own initial value, so that a visible cursor is stored.
          .Prop("Visible", &TiPlotObject::GetVisible, &TiPlotObject::SetVisible)
          .Default(false)
          .Prop("ChannelName", &C::GetChannelName, &C::SetChannelName)
          .Prop("ChannelAllowAll", &C::GetChannelAllowAll, &C::SetChannelAllowAll)
          .Default(true)
          .Prop("ChannelShowAllInLegend", &C::GetChannelShowAllInLegend, &C::SetChannelShowAllInLegend)
          .Default(true)
          .Prop("Style", &C::GetStyle, &C::SetStyle)
          .Default(ipcsValueXY)
          .Object("Font", &C::GetFont, &C::SetFont)
          .Prop("Color", &C::GetColor, &C::SetColor)
          .Default(0x00FFFF)
          .Type(ColorTypeInfo())
          .Prop("UseChannelColor", &C::GetUseChannelColor, &C::SetUseChannelColor)
          .Default(true)
          .Prop("HintShow", &C::GetHintShow, &C::SetHintShow)
          .Default(true)
          .Prop("HintHideOnRelease", &C::GetHintHideOnRelease, &C::SetHintHideOnRelease)
          .Default(false)
          .Prop("HintOrientationSide", &C::GetHintOrientationSide, &C::SetHintOrientationSide)
          .Default(iosBottomRight)
          .Prop("HintPosition", &C::GetHintPosition, &C::SetHintPosition)
          .Prop("Pointer1Position", &C::GetPointer1Position, &C::SetPointer1Position)
          .Prop("Pointer2Position", &C::GetPointer2Position, &C::SetPointer2Position)
          .Prop("PointerPenWidth", &C::GetPointerPenWidth, &C::SetPointerPenWidth)
          .Default(1)
          .Prop("MenuUserCanChangeOptions", &C::GetMenuUserCanChangeOptions, &C::SetMenuUserCanChangeOptions)
          .Default(true)
          .Prop("MenuItemVisibleValueXY", &C::GetMenuItemVisibleValueXY, &C::SetMenuItemVisibleValueXY)
          .Default(true)
          .Prop("MenuItemVisibleValueX", &C::GetMenuItemVisibleValueX, &C::SetMenuItemVisibleValueX)
          .Default(true)
          .Prop("MenuItemVisibleValueY", &C::GetMenuItemVisibleValueY, &C::SetMenuItemVisibleValueY)
          .Default(true)
          .Prop("MenuItemVisibleDeltaX", &C::GetMenuItemVisibleDeltaX, &C::SetMenuItemVisibleDeltaX)
          .Default(true)
          .Prop("MenuItemVisibleDeltaY", &C::GetMenuItemVisibleDeltaY, &C::SetMenuItemVisibleDeltaY)
          .Default(true)
          .Prop("MenuItemVisibleInverseDeltaX", &C::GetMenuItemVisibleInverseDeltaX,
                &C::SetMenuItemVisibleInverseDeltaX)
          .Default(true)
          .Prop("MenuItemCaptionValueXY", &C::GetMenuItemCaptionValueXY, &C::SetMenuItemCaptionValueXY)
          .Prop("MenuItemCaptionValueX", &C::GetMenuItemCaptionValueX, &C::SetMenuItemCaptionValueX)
          .Prop("MenuItemCaptionValueY", &C::GetMenuItemCaptionValueY, &C::SetMenuItemCaptionValueY)
          .Prop("MenuItemCaptionDeltaX", &C::GetMenuItemCaptionDeltaX, &C::SetMenuItemCaptionDeltaX)
          .Prop("MenuItemCaptionDeltaY", &C::GetMenuItemCaptionDeltaY, &C::SetMenuItemCaptionDeltaY)
          .Prop("MenuItemCaptionInverseDeltaX", &C::GetMenuItemCaptionInverseDeltaX,
                &C::SetMenuItemCaptionInverseDeltaX);
  return info;
}

TiPlotDataCursor::TiPlotDataCursor(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                                   const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                                   const TNotifyEvent& AOnChange)
    : TiPlotManagerObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {
  FFont = std::make_unique<TFont>();
  FFont->OnChange = TNotifyEvent(this, &TiPlotDataCursor::FontChanged);
  TiPlotObject::SetVisible(false);
}

TiPlotDataCursor::~TiPlotDataCursor() = default;

namespace {
double DataCursorClampPercent(double Value) { return !(Value >= 0) ? 0 : Value > 100 ? 100 : Value; }
}  // namespace

void TiPlotDataCursor::SetPointer1Position(double Value) {
  SetDoubleField(DataCursorClampPercent(Value), FPointer1Position, &TiPlotObject::DoChange);
}

void TiPlotDataCursor::SetPointer2Position(double Value) {
  SetDoubleField(DataCursorClampPercent(Value), FPointer2Position, &TiPlotObject::DoChange);
}

// ============================================================================================
// reading
// ============================================================================================

void TiPlotDataCursor::SetChannelName(const AnsiString& Value) {
  if (Value == FChannelName) return;
  FChannel = nullptr;
  SetStringField(Value, FChannelName, &TiPlotObject::DoChange);
}

void TiPlotDataCursor::SetStyle(TiPlotDataCursorStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  UpdatePointerConfiguration();
  DoChange();
}

TiPlotChannelCustom* TiPlotDataCursor::Channel() {
  if (!FChannel && !IsAllChannels())
    if (TiPlotComponent* plot = Plot()) FChannel = plot->FindChannel(FChannelName);
  return FChannel;
}

void TiPlotDataCursor::UpdateReading() {
  TiPlotComponent* plot = Plot();
  if (plot) plot->DoBeforeDataCursorUpdate(this);
  if (!IsAllChannels()) {
    if (TiPlotChannelCustom* channel = Channel()) channel->UpdateDataCursor(this);
  } else if (plot) {
    for (int32_t i = 0; i < plot->ChannelCount(); ++i) plot->GetChannel(i)->UpdateDataCursor(this);
  }
}

void TiPlotDataCursor::SetReading(uint8_t Status, double Y, double X) {
  // Compared bit for bit, so that a reading that stays not-a-number is no change.
  const bool changed = Status != FReadingStatus || std::memcmp(&Y, &FReadingY, sizeof Y) != 0 ||
                       std::memcmp(&X, &FReadingX, sizeof X) != 0;
  FReadingStatus = Status;
  FReadingY = Y;
  FReadingX = X;
  if (changed)
    if (TiPlotComponent* plot = Plot()) plot->DoDataCursorChange(this);
}

// ============================================================================================
// pointers and hint
// ============================================================================================

namespace {
bool DataCursorIsDelta(TiPlotDataCursorStyle Style) {
  return Style == ipcsDeltaX || Style == ipcsDeltaY || Style == ipcsInverseDeltaX;
}
bool DataCursorHits(const TRect& Rect, const TiMouseRecord& MouseRecord) {
  return MouseRecord.X >= Rect.Left && MouseRecord.X < Rect.Right && MouseRecord.Y >= Rect.Top &&
         MouseRecord.Y < Rect.Bottom;
}
}  // namespace

void TiPlotDataCursor::UpdatePointerConfiguration() {
  const bool delta = DataCursorIsDelta(FStyle);
  // Delta-Y measures between two horizontal lines; every other style reads along X with vertical
  // lines.  With the axes exchanged, X runs up the view and every direction turns.
  const bool horizontal = (FStyle == ipcsDeltaY) != GetXYAxesReverse();
  FPointer1Active = true;
  FPointer2Active = delta;
  FPointer1Horizontal = horizontal;
  FPointer2Horizontal = horizontal;
  FHintMovesAlongX = horizontal;
}

int32_t TiPlotDataCursor::PointerPixel(double Position, bool Horizontal) const {
  if (!FDataView) return 0;
  return Horizontal ? FDataView->YPercentToPixel(Position) : FDataView->XPercentToPixel(Position);
}

int32_t TiPlotDataCursor::Pointer1Pixel() const {
  return PointerPixel(FPointer1Position, FPointer1Horizontal);
}
int32_t TiPlotDataCursor::Pointer2Pixel() const {
  return PointerPixel(FPointer2Position, FPointer2Horizontal);
}

bool TiPlotDataCursor::PartMovesAlongX(TDragPart Part) const {
  switch (Part) {
    case dpPointer1:
      return !FPointer1Horizontal;
    case dpPointer2:
      return !FPointer2Horizontal;
    default:
      return FHintMovesAlongX;
  }
}

double TiPlotDataCursor::PartPosition(TDragPart Part) const {
  switch (Part) {
    case dpPointer1:
      return FPointer1Position;
    case dpPointer2:
      return FPointer2Position;
    default:
      return FHintPosition;
  }
}

void TiPlotDataCursor::SetPartPosition(TDragPart Part, double Value) {
  Value = DataCursorClampPercent(Value);
  if (Part == dpPointer1)
    SetPointer1Position(Value);
  else if (Part == dpPointer2)
    SetPointer2Position(Value);
  else if (Part == dpHint)
    SetHintPosition(Value);
}

int32_t TiPlotDataCursor::PartPixel(TDragPart Part) const {
  // The hint's position is not clamped when set; a far one is drawn at the view's edge.
  return PointerPixel(DataCursorClampPercent(PartPosition(Part)), !PartMovesAlongX(Part));
}

TColor TiPlotDataCursor::PointerColor() {
  TiPlotChannelCustom* channel = Channel();
  return FUseChannelColor && channel ? channel->GetColor() : FColor;
}

void TiPlotDataCursor::DrawPointer(TCanvas* Canvas, double Position, bool Horizontal, bool Dragged,
                                   TRect& HitRect) {
  Canvas->GetPen()->SetWidth(Dragged ? 0 : FPointerPenWidth);
  const TRect& v = FDataView->GetLayoutRect();
  const int32_t at = PointerPixel(Position, Horizontal);
  if (Horizontal) {
    Canvas->MoveTo(v.Left, at);
    Canvas->LineTo(v.Right, at);
    HitRect = TRect{v.Left, at - 5, v.Right, at + 6};
  } else {
    Canvas->MoveTo(at, v.Top);
    Canvas->LineTo(at, v.Bottom);
    HitRect = TRect{at - 5, v.Top, at + 6, v.Bottom};
  }
}

void TiPlotDataCursor::DrawHint(TCanvas* Canvas, TColor PenColor) {
  TiPlotChannelCustom* channel = Channel();
  AnsiString text = channel ? FText : Translate("No Channel");
  if (TiPlotComponent* plot = Plot()) plot->DoDataCursorCustomizeHint(this, text);
  Canvas->SetFont(FFont.get());
  const int32_t tw = MultiLineTextWidth(Canvas, text);
  const int32_t th = WrappedTextHeight(Canvas, text, tw);
  const int32_t aw = Canvas->TextWidth("A");
  const int32_t hh = aw / 2 + th, hw = tw + aw;
  const bool delta = DataCursorIsDelta(FStyle);
  // The hint sits at pointer 1, or between both pointers for a difference.
  const TRect& at = FPointer1Active ? FPointer1Rect : FPointer2Rect;
  const bool horizontal = FPointer1Active ? FPointer1Horizontal : FPointer2Horizontal;
  const TRect& v = FDataView->GetLayoutRect();
  const TRect& r1 = FPointer1Rect;
  const TRect& r2 = FPointer2Rect;
  const int32_t p = PartPixel(dpHint);
  TRect hint;
  if (!horizontal) {
    const int32_t c = (at.Left + at.Right) / 2;
    if (c + aw + tw + 5 > v.Right) FHintOrientationSide = iosTopLeft;
    if (c - aw - tw - 5 < v.Left) FHintOrientationSide = iosBottomRight;
    if (delta) {
      const int32_t cx = (r1.Left + r1.Right + r2.Left + r2.Right) / 4;
      hint = TRect{cx - hw / 2, p - hh / 2, cx + hw / 2, p + hh / 2};
    } else if (FHintOrientationSide == iosBottomRight) {
      hint = TRect{c + 5, p - hh / 2, c + tw + aw + 5, p + hh / 2};
    } else {
      hint = TRect{c - tw - aw - 5, p - hh / 2, c - 5, p + hh / 2};
    }
  } else {
    const int32_t c = (at.Top + at.Bottom) / 2;
    if (c + aw + th > v.Bottom) FHintOrientationSide = iosTopLeft;
    if (c - aw - th < v.Top) FHintOrientationSide = iosBottomRight;
    if (delta) {
      const int32_t cy = (r1.Top + r1.Bottom + r2.Top + r2.Bottom) / 4;
      hint = TRect{p - hw / 2, cy - hh / 2, p + hw / 2, cy + hh / 2};
    } else if (FHintOrientationSide == iosBottomRight) {
      hint = TRect{p - hw / 2, c + 5, p + hw / 2, c + hh + 5};
    } else {
      hint = TRect{p - hw / 2, c - hh - 5, p + hw / 2, c - 5};
    }
  }
  auto shift = [&hint](int32_t dx, int32_t dy) {
    hint.Left += dx;
    hint.Right += dx;
    hint.Top += dy;
    hint.Bottom += dy;
  };
  if (hint.Left < v.Left) shift(v.Left - hint.Left, 0);
  if (hint.Right > v.Right) shift(v.Right - hint.Right, 0);
  if (hint.Top < v.Top) shift(0, v.Top - hint.Top);
  if (hint.Bottom > v.Bottom) shift(0, v.Bottom - hint.Bottom);
  FHintRect = hint;

  TPen* pen = Canvas->GetPen();
  TBrush* brush = Canvas->GetBrush();
  if (delta) {
    pen->SetColor(PenColor);
    pen->SetStyle(psDot);
    pen->SetWidth(1);
    brush->SetStyle(bsClear);
    const int32_t mx = (hint.Left + hint.Right) / 2, my = (hint.Top + hint.Bottom) / 2;
    if (!horizontal) {
      Canvas->MoveTo((r1.Left + r1.Right) / 2, my);
      Canvas->LineTo((r2.Left + r2.Right) / 2, my);
    } else {
      Canvas->MoveTo(mx, (r1.Top + r1.Bottom) / 2);
      Canvas->LineTo(mx, (r2.Top + r2.Bottom) / 2);
    }
  }
  pen->SetStyle(psSolid);
  pen->SetWidth(1);
  pen->SetColor(FUseChannelColor && channel ? channel->GetColor() : clBlack);
  brush->SetStyle(bsSolid);
  brush->SetColor(clInfoBk);
  Canvas->Rectangle(hint);
  Canvas->GetFont()->SetColor(clInfoText);
  // Left-aligned and centred between the top and the bottom of the box.
  TRect textRect{hint.Left + 2, hint.Top + 1, hint.Right, hint.Bottom};
  textRect.Top += std::max(0, (textRect.Bottom - textRect.Top - th) / 2);
  DrawTextFlags(Canvas, text, textRect, itfLeft | itfTop | itfWordBreak | itfNoClip);
  brush->SetStyle(bsClear);
  Canvas->Rectangle(hint);
  if (GetSelected())
    DrawPlotFocusFrame(Canvas, TRect{hint.Left - 2, hint.Top - 2, hint.Right + 2, hint.Bottom + 2});
}

// ============================================================================================
// object operations
// ============================================================================================

void TiPlotDataCursor::SetVisible(bool Value) {
  TiPlotManagerObject::SetVisible(Value);
  if (Value) UpdateReading();
}

void TiPlotDataCursor::SetXYAxesReverse(bool Value) {
  TiPlotManagerObject::SetXYAxesReverse(Value);
  UpdatePointerConfiguration();
}

void TiPlotDataCursor::NotifyObjectRemoved(TiPlotObject* Obj) {
  if (Obj && Obj == FChannel) FChannel = nullptr;
  if (Obj && Obj == FDataView) FDataView = nullptr;
}

void TiPlotDataCursor::NotifyObjectRenamed(TiPlotObject* Obj) {
  auto* channel = dynamic_cast<TiPlotChannelCustom*>(Obj);
  if (!channel || IsAllChannels()) return;
  // Also a channel the cursor has not looked up yet, found by the name it had.
  if (channel == FChannel || (!FChannel && SameText(channel->GetPreviousName(), FChannelName))) {
    FChannel = channel;
    FChannelName = channel->GetName();
  }
}

void TiPlotDataCursor::NotifyObjectSelected(TiPlotObject* Obj) {
  if (!Obj || Obj == this || !Obj->GetSelected()) return;
  if (auto* channel = dynamic_cast<TiPlotChannelCustom*>(Obj)) {
    if (channel == Channel()) return;
    if (GetSelected()) {
      SetChannelName(channel->GetName());
      FChannel = channel;
      return;
    }
  }
  SetSelected(false);
}

void TiPlotDataCursor::Draw(TCanvas* Canvas, TColor) {
  FHintShown = false;
  if (!FDataView || !GetVisible()) return;
  UpdateReading();
  const TColor color = PointerColor();
  Canvas->GetPen()->SetColor(color);
  Canvas->GetPen()->SetStyle(psSolid);
  if (FPointer1Active)
    DrawPointer(Canvas, FPointer1Position, FPointer1Horizontal, FDragPart == dpPointer1, FPointer1Rect);
  if (FPointer2Active)
    DrawPointer(Canvas, FPointer2Position, FPointer2Horizontal, FDragPart == dpPointer2, FPointer2Rect);
  const bool pointerDragged = FDragPart == dpPointer1 || FDragPart == dpPointer2;
  FHintShown = FHintShow && !IsAllChannels() && (!FHintHideOnRelease || pointerDragged);
  if (FHintShown) DrawHint(Canvas, color);
}

bool TiPlotDataCursor::HitTest(const TiMouseRecord& MouseRecord) {
  if (!FDataView || !GetVisible()) return false;
  return (FPointer1Active && DataCursorHits(FPointer1Rect, MouseRecord)) ||
         (FPointer2Active && DataCursorHits(FPointer2Rect, MouseRecord)) ||
         (FHintShown && DataCursorHits(FHintRect, MouseRecord));
}

void TiPlotDataCursor::LeftDown(const TiMouseRecord& MouseRecord) {
  FDragPart = dpNone;
  if (!FDataView || !GetVisible()) return;
  FDownPoint = TPoint{MouseRecord.X, MouseRecord.Y};
  if (FHintShown && DataCursorHits(FHintRect, MouseRecord))
    FDragPart = dpHint;
  else if (FPointer1Active && DataCursorHits(FPointer1Rect, MouseRecord))
    FDragPart = dpPointer1;
  else if (FPointer2Active && DataCursorHits(FPointer2Rect, MouseRecord))
    FDragPart = dpPointer2;
  else
    return;
  FDragStartPixel = PartPixel(FDragPart);
  DoSelectionChanged();
  if (FDragPart != dpHint) UpdateReading();
}

void TiPlotDataCursor::LeftDrag(const TiMouseRecord& MouseRecord) {
  if (FDragPart == dpNone || !FDataView) return;
  const double position = PartMovesAlongX(FDragPart)
                              ? FDataView->XPixelToPercent(FDragStartPixel + MouseRecord.X - FDownPoint.X)
                              : FDataView->YPixelToPercent(FDragStartPixel + MouseRecord.Y - FDownPoint.Y);
  SetPartPosition(FDragPart, position);
  UpdateReading();
  DoSelectionChanged();
}

void TiPlotDataCursor::LeftUp(const TiMouseRecord& MouseRecord) {
  // The plot also sends a release with every plain mouse move; only a real drag ends here.
  if (FDragPart == dpNone) return;
  FDragPart = dpNone;
  DoSelectionChanged();
  if (HitTest(MouseRecord))
    if (TiPlotObjectHost* host = GetOwnerHost()) host->DoObjectClick(this);
}

void TiPlotDataCursor::DoSelected() {
  TiPlotManagerObject::DoSelected();
  if (TiPlotChannelCustom* channel = Channel()) channel->SetSelected(true);
}

TCursor TiPlotDataCursor::GetCursor(const TiMouseRecord&) { return crHandPoint; }

void TiPlotDataCursor::KeyDown(WORD& Key, TShiftState Shift) {
  if (FDataView) {
    // One pixel in percent of the view; a view without width or height moves nothing.
    double px = FDataView->XPixelToPercent(101) - FDataView->XPixelToPercent(100);
    double py = FDataView->YPixelToPercent(100) - FDataView->YPixelToPercent(101);
    if (!std::isfinite(px)) px = 0;
    if (!std::isfinite(py)) py = 0;
    const bool ctrl = Shift.Contains(ssCtrl);
    // Ctrl moves pointer 1 and the hint, plain keys pointer 2 (when the style uses it).
    double& pointer = ctrl ? FPointer1Position : FPointer2Position;
    const bool active = ctrl ? FPointer1Active : FPointer2Active;
    const bool horizontal = ctrl ? FPointer1Horizontal : FPointer2Horizontal;
    const bool hintAlongX = ctrl && FHintShow && FHintMovesAlongX;
    const bool hintAlongY = ctrl && FHintShow && !FHintMovesAlongX;
    const double step = horizontal ? py : px;
    switch (Key) {
      case VK_PRIOR:
        if (active) pointer += 5 * step;
        break;
      case VK_NEXT:
        if (active) pointer -= 5 * step;
        break;
      case VK_END:
        if (active) pointer = 100;
        break;
      case VK_HOME:
        if (active) pointer = 0;
        break;
      case VK_LEFT:
      case VK_RIGHT: {
        const double d = Key == VK_LEFT ? -px : px;
        if (hintAlongX) FHintPosition += d;
        if (active && !horizontal) pointer += d;
        break;
      }
      case VK_UP:
      case VK_DOWN: {
        const double d = Key == VK_DOWN ? -py : py;
        if (hintAlongY) FHintPosition += d;
        if (active && horizontal) pointer += d;
        break;
      }
      default:
        break;
    }
  }
  FPointer1Position = DataCursorClampPercent(FPointer1Position);
  FPointer2Position = DataCursorClampPercent(FPointer2Position);
  FHintPosition = DataCursorClampPercent(FHintPosition);
  DoSelectionChanged();
}

// ============================================================================================
// popup menu
// ============================================================================================

void TiPlotDataCursor::BuildPopupMenu(TPopupMenu* PopupMenu) {
  TiPlotManagerObject::BuildPopupMenu(PopupMenu);
  if (!PopupMenu) return;
  auto add = [&](TMenuItem* Parent, TMenuItem* Item, const AnsiString& Caption,
                 void (TiPlotDataCursor::*Click)(TObject*)) {
    Item->SetCaption(Translate(Caption));
    if (Click) Item->OnClick = TNotifyEvent(this, Click);
    Parent->Add(Item);
    return Item;
  };
  TMenuItem* root = PopupMenu->Items();

  TMenuItem* channels = add(root, new TMenuItem(PopupMenu), "Channel", nullptr);
  auto addChannel = [&](const AnsiString& Caption, const AnsiString& Name, bool Checked) {
    auto* item = new TiMenuItem(PopupMenu);
    item->SetExtraText(Name);
    add(channels, item, Caption, &TiPlotDataCursor::ChannelMenuClick)->SetChecked(Checked);
  };
  if (FChannelAllowAll) addChannel(AllChannelsName(), AllChannelsName(), IsAllChannels());
  if (TiPlotComponent* plot = Plot())
    for (int32_t i = 0; i < plot->ChannelCount(); ++i) {
      TiPlotChannelCustom* channel = plot->GetChannel(i);
      if (!channel->GetVisible()) continue;
      addChannel(StringReplace(channel->GetTitleText(), "\r\n", "", {rfReplaceAll}), channel->GetName(),
                 channel->GetName() == FChannelName);
    }

  TMenuItem* styles = add(root, new TMenuItem(PopupMenu), "Style", nullptr);
  const std::pair<const AnsiString*, bool> entries[] = {
      {&FMenuItemCaptionValueXY, FMenuItemVisibleValueXY},
      {&FMenuItemCaptionValueX, FMenuItemVisibleValueX},
      {&FMenuItemCaptionValueY, FMenuItemVisibleValueY},
      {&FMenuItemCaptionDeltaX, FMenuItemVisibleDeltaX},
      {&FMenuItemCaptionDeltaY, FMenuItemVisibleDeltaY},
      {&FMenuItemCaptionInverseDeltaX, FMenuItemVisibleInverseDeltaX}};
  for (int32_t s = 0; s < int32_t(std::size(entries)); ++s) {
    TMenuItem* item =
        add(styles, new TMenuItem(PopupMenu), *entries[s].first, &TiPlotDataCursor::StyleMenuClick);
    item->SetTag(s);
    item->SetVisible(entries[s].second);
    item->SetChecked(FStyle == s);
  }

  if (FMenuUserCanChangeOptions) {
    TMenuItem* options = add(root, new TMenuItem(PopupMenu), "Options", nullptr);
    add(options, new TMenuItem(PopupMenu), "Use Channel Color", &TiPlotDataCursor::UseChannelColorMenuClick)
        ->SetChecked(FUseChannelColor);
    add(options, new TMenuItem(PopupMenu), "Hide Hint On Release",
        &TiPlotDataCursor::HideHintOnReleaseMenuClick)
        ->SetChecked(FHintHideOnRelease);
  }
  add(root, new TMenuItem(PopupMenu), "Flip Alignment", &TiPlotDataCursor::FlipAlignmentMenuClick)
      ->SetEnabled(!DataCursorIsDelta(FStyle) && !SameText(FChannelName, AllChannelsName()));
  AddEditMenuItem(PopupMenu);
}

void TiPlotDataCursor::ChannelMenuClick(TObject* Sender) {
  auto* item = dynamic_cast<TiMenuItem*>(Sender);
  TiPlotComponent* plot = Plot();
  if (!item || !plot) return;
  const AnsiString name = item->GetExtraText();
  SetChannelName(name);
  if (IsAllChannels()) {
    for (int32_t i = 0; i < plot->ChannelCount(); ++i) plot->GetChannel(i)->SetSelected(false);
  } else if (TiPlotChannelCustom* channel = Channel()) {
    channel->SetSelected(true);
  }
}

void TiPlotDataCursor::StyleMenuClick(TObject* Sender) {
  if (auto* item = dynamic_cast<TMenuItem*>(Sender))
    if (item->GetTag() >= 0 && item->GetTag() <= ipcsInverseDeltaX)
      SetStyle(TiPlotDataCursorStyle(item->GetTag()));
}

void TiPlotDataCursor::UseChannelColorMenuClick(TObject*) {
  SetUseChannelColor(!FUseChannelColor);
  DoSelectionChanged();
}

void TiPlotDataCursor::HideHintOnReleaseMenuClick(TObject*) {
  SetHintHideOnRelease(!FHintHideOnRelease);
  DoSelectionChanged();
}

void TiPlotDataCursor::FlipAlignmentMenuClick(TObject*) {
  SetHintOrientationSide(FHintOrientationSide == iosBottomRight ? iosTopLeft : iosBottomRight);
  DoSelectionChanged();
}
