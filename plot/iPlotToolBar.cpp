#include "plot/iPlotToolBar.h"

#include "platform/ui/Graphics.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotComponent.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotToolBarImages.h"
#include "widgets/iGPFunctions.h"

// Sections: button types / toolbar button / toolbar: published description, construction,
// actions, down-changed handlers, drawing, mouse.

// ============================================================================================
// button types
// ============================================================================================

PL_ENUM_NAMES(TiPlotToolBarButtonType, "iptbbtResume", "iptbbtPause", "iptbbtScrollAxesMode",
              "iptbbtZoomAxesMode", "iptbbtSelect", "iptbbtZoomBox", "iptbbtZoomOut", "iptbbtZoomIn",
              "iptbbtCursor", "iptbbtEdit", "iptbbtCopy", "iptbbtSave", "iptbbtPrint", "iptbbtPreview")

namespace {
// The pictures' transparent colour.
constexpr TColor kPlotToolBarMaskColor = 0x808000;
}  // namespace

// ============================================================================================
// toolbar button
// ============================================================================================

const TClassInfo& TiPlotToolBarButton::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPlotToolBarButton, TiPlotButton>("TiPlotToolBarButton");
  return info;
}

TiPlotToolBarButton::TiPlotToolBarButton(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                                         const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                                         const TNotifyEvent& AOnChange)
    : TiPlotButton(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {}

TColor TiPlotToolBarButton::PressedColor() { return TColor(ColorToRGB(clWhite) - 0x101010); }

void TiPlotToolBarButton::DrawThinFrame(TCanvas* Canvas, bool Sunken) {
  const TRect& r = GetButtonRect();
  const TColor topLeft = Sunken ? clBtnShadow : clBtnHighlight;
  const TColor bottomRight = Sunken ? clBtnHighlight : clBtnShadow;
  TPen* pen = Canvas->GetPen();
  pen->SetStyle(psSolid);
  pen->SetWidth(1);
  pen->SetColor(topLeft);
  Canvas->MoveTo(r.Left, r.Bottom - 1);
  Canvas->LineTo(r.Left, r.Top);
  Canvas->LineTo(r.Right - 1, r.Top);
  pen->SetColor(bottomRight);
  Canvas->LineTo(r.Right - 1, r.Bottom - 1);
  Canvas->LineTo(r.Left, r.Bottom - 1);
}

void TiPlotToolBarButton::Draw(TCanvas* Canvas, TColor) {
  if (FSeparator) return;
  if (FImageIndex == -1 && !FImageName.empty() && FImageList) {
    RegisterPlotToolBarImages();
    TBitmap picture;
    picture.LoadFromResourceName(nullptr, FImageName);
    FImageIndex = FImageList->AddMasked(&picture, kPlotToolBarMaskColor);
  }
  const TRect& r = GetButtonRect();
  const int32_t iw = FImageList ? FImageList->GetWidth() : 0;
  const int32_t ih = FImageList ? FImageList->GetHeight() : 0;
  int32_t x = r.Left + ButtonWidth() / 2 - iw / 2;
  int32_t y = r.Top + ButtonHeight() / 2 - ih / 2;
  const bool pressed = GetLeftPressed() || GetDown();
  Canvas->GetBrush()->SetStyle(bsSolid);
  if (!FFlat) {
    if (pressed) {
      Canvas->GetBrush()->SetColor(PressedColor());
      Canvas->FillRect(r);
      DrawBevelFrame(Canvas, r, 0);
      ++x, ++y;
    } else {
      DrawBevelFrame(Canvas, r, 1);
    }
  } else {
    if (pressed && !FMouseOver) {
      Canvas->GetBrush()->SetColor(PressedColor());
      Canvas->FillRect(r);
    }
    if (GetEnabled()) {
      if (pressed) {
        ++x, ++y;
        DrawThinFrame(Canvas, true);
      } else if (FMouseOver) {
        DrawThinFrame(Canvas, false);
      }
    }
  }
  if (FImageList && FImageIndex >= 0) FImageList->Draw(Canvas, x, y, FImageIndex, GetEnabled());
}

void TiPlotToolBarButton::MouseMove(TiHintData& HintData, TShiftState Shift, int32_t X, int32_t Y,
                                    bool DblClick) {
  FMouseOver = true;
  if (FFlat) DoChange();
  TiPlotButton::MouseMove(HintData, Shift, X, Y, DblClick);
}

void TiPlotToolBarButton::Hover(const TiMouseRecord&, TiHintData& HintData) {
  HintData.Text = Translate(FHint);
  HintData.Top = GetButtonRect().Bottom + 3;
  HintData.Left = GetButtonRect().Left;
  if (TiPlotComponent* plot = Plot(); plot && FToolBar)
    plot->DoToolBarCustomizeHint(plot->Master()->GetToolBarManager()->IndexOf(FToolBar), HintData.Text);
}

void TiPlotToolBarButton::MouseLeave() {
  FMouseOver = false;
  DoChange();
}

// ============================================================================================
// toolbar: published description
// ============================================================================================

const TClassInfo& TiPlotToolBar::ClassInfo() {
  using C = TiPlotToolBar;
  static const TClassInfo info =
      TClassInfo::Of<C, TiPlotLayoutObject>("TiPlotToolBar")
          .Prop("ShowResumeButton", &C::GetShowResumeButton, &C::SetShowResumeButton)
          .Default(true)
          .Prop("ShowPauseButton", &C::GetShowPauseButton, &C::SetShowPauseButton)
          .Default(true)
          .Prop("ShowAxesModeButtons", &C::GetShowAxesModeButtons, &C::SetShowAxesModeButtons)
          .Default(true)
          .Prop("ShowZoomInOutButtons", &C::GetShowZoomInOutButtons, &C::SetShowZoomInOutButtons)
          .Default(true)
          .Prop("ShowSelectButton", &C::GetShowSelectButton, &C::SetShowSelectButton)
          .Default(false)
          .Prop("ShowZoomBoxButton", &C::GetShowZoomBoxButton, &C::SetShowZoomBoxButton)
          .Default(true)
          .Prop("ShowCursorButton", &C::GetShowCursorButton, &C::SetShowCursorButton)
          .Default(true)
          .Prop("ShowEditButton", &C::GetShowEditButton, &C::SetShowEditButton)
          .Default(true)
          .Prop("ShowCopyButton", &C::GetShowCopyButton, &C::SetShowCopyButton)
          .Default(true)
          .Prop("ShowSaveButton", &C::GetShowSaveButton, &C::SetShowSaveButton)
          .Default(true)
          .Prop("ShowPrintButton", &C::GetShowPrintButton, &C::SetShowPrintButton)
          .Default(true)
          .Prop("ShowPreviewButton", &C::GetShowPreviewButton, &C::SetShowPreviewButton)
          .Default(false)
          .Prop("ZoomInOutFactor", &C::GetZoomInOutFactor, &C::SetZoomInOutFactor)
          .Prop("FlatBorder", &C::GetFlatBorder, &C::SetFlatBorder)
          .Default(false)
          .Prop("FlatButtons", &C::GetFlatButtons, &C::SetFlatButtons)
          .Default(false)
          .Prop("SmallButtons", &C::GetSmallButtons, &C::SetSmallButtons)
          .Default(false);
  return info;
}

// ============================================================================================
// toolbar: construction
// ============================================================================================

TiPlotToolBar::TiPlotToolBar(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                             const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                             const TNotifyEvent& AOnChange)
    : TiPlotLayoutObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {
  FImageList = std::make_unique<TImageList>(nullptr);
  FImageList->SetWidth(24);
  FImageList->SetHeight(24);
  SetHorizontal(true);
  FZoomInOutFactor = 2;
  using T = TiPlotToolBar;
  FResume = AddButton(iptbbtResume, "Resume All (Tracking)", 0, "AUTO", &T::ResumeClick);
  FPause = AddButton(iptbbtPause, "Pause All (Tracking)", 0, "PAUSE", &T::PauseClick);
  FSeparators[0] = AddSeparator();
  FScroll = AddButton(iptbbtScrollAxesMode, "Scroll (Axes)", 2, "SCROLL", &T::ScrollClick);
  FZoom = AddButton(iptbbtZoomAxesMode, "Zoom (Axes)", 2, "ZOOM", &T::ZoomClick);
  FSeparators[1] = AddSeparator();
  FZoomOut = AddButton(iptbbtZoomOut, "Zoom Out All Axes", 0, "ZOOMOUT", &T::ZoomOutClick);
  FZoomIn = AddButton(iptbbtZoomIn, "Zoom In All Axes", 0, "ZOOMIN", &T::ZoomInClick);
  FSeparators[2] = AddSeparator();
  FSelect = AddButton(iptbbtSelect, "Select", -1, "SELECT", &T::SelectClick);
  FZoomBox = AddButton(iptbbtZoomBox, "Zoom Box", -1, "SCROLLBOX", &T::ZoomBoxClick);
  FCursor = AddButton(iptbbtCursor, "Cursor", -2, "CURSOR", &T::CursorClick);
  FSeparators[3] = AddSeparator();
  FEdit = AddButton(iptbbtEdit, "Properties", 0, "PROPERTIES", &T::EditClick);
  FSeparators[4] = AddSeparator();
  FCopy = AddButton(iptbbtCopy, "Copy to Clipboard", 0, "COPY", &T::CopyClick);
  FSave = AddButton(iptbbtSave, "Save to File", 0, "SAVE", &T::SaveClick);
  FPrint = AddButton(iptbbtPrint, "Print", 0, "PRINTER", &T::PrintClick);
  FPreview = AddButton(iptbbtPreview, "Preview", 0, "PREVIEW", &T::PreviewClick);
  FScroll->SetDown(true);
  FCursor->OnDownChange = TNotifyEvent(this, &T::CursorDownChanged);
  FZoomBox->OnDownChange = TNotifyEvent(this, &T::ZoomBoxDownChanged);
  FSelect->OnDownChange = TNotifyEvent(this, &T::SelectDownChanged);
  FSelect->SetVisible(false);
  FPreview->SetVisible(false);
  UseLargeImages();
}

TiPlotToolBar::~TiPlotToolBar() {
  // The entries call nothing back while they go: the toolbar is going too.
  for (TiPlotToolBarButton* b : FButtons) {
    b->Detach();
    b->OnClick = nullptr;
    b->OnRedraw = nullptr;
    b->OnDownChange = nullptr;
    b->OnGroup = nullptr;
  }
  for (TiPlotToolBarButton* b : FButtons) TiPlotObject::FreeObject(b);
  FButtons.clear();
}

TiPlotToolBarButton* TiPlotToolBar::AddButton(TiPlotToolBarButtonType Type, const AnsiString& Hint,
                                              int32_t GroupIndex, const AnsiString& ImageName, TClick Click) {
  TiPlotToolBarButton* b = AddSeparator();
  b->FSeparator = false;
  b->FButtonType = Type;
  b->FHint = Hint;
  b->SetGroupIndex(GroupIndex);
  b->FImageName = ImageName;
  b->OnClick = TNotifyEvent(this, Click);
  b->OnRedraw = TNotifyEvent(this, &TiPlotToolBar::ButtonChanged);
  b->OnGroup = TNotifyEvent(this, &TiPlotToolBar::ReleaseGroup);
  return b;
}

TiPlotToolBarButton* TiPlotToolBar::AddSeparator() {
  // An entry repaints the plot through the toolbar's own change handlers.
  const TNotifyEvent change = TNotifyEvent::Lambda([this](TObject*) { DoChange(); });
  auto* b = new TiPlotToolBarButton(GetOwnerHost(), nullptr, nullptr, nullptr, change);
  b->SetOnLayoutChange(TNotifyEvent::Lambda([this](TObject*) { DoLayoutChange(); }));
  b->FToolBar = this;
  b->FSeparator = true;
  b->FImageList = FImageList.get();
  b->FFlat = FFlatButtons;
  FButtons.push_back(b);
  return b;
}

TiPlotToolBarButton* TiPlotToolBar::Button(TiPlotToolBarButtonType Type) const {
  for (TiPlotToolBarButton* b : FButtons)
    if (!b->FSeparator && b->FButtonType == Type) return b;
  return nullptr;
}

TiPlotToolBarButton* TiPlotToolBar::Separator(int32_t Number) const {
  return Number >= 1 && Number <= 5 ? FSeparators[Number - 1] : nullptr;
}

void TiPlotToolBar::UseLargeImages() { SetImageSet(false); }
void TiPlotToolBar::UseSmallImages() { SetImageSet(true); }

void TiPlotToolBar::SetImageSet(bool Small) {
  for (TiPlotToolBarButton* b : FButtons) {
    if (b->FSeparator) continue;
    AnsiString name = b->FImageName;
    if (name.compare(0, 5, "SMALL") == 0) name.erase(0, 5);
    b->FImageName = Small ? "SMALL" + name : name;
  }
  FImageList->Clear();
  FImageList->SetWidth(Small ? 16 : 24);
  FImageList->SetHeight(Small ? 16 : 24);
  for (TiPlotToolBarButton* b : FButtons) b->FImageIndex = -1;
}

// ============================================================================================
// toolbar: properties
// ============================================================================================

void TiPlotToolBar::SetShowAxesModeButtons(bool Value) {
  FScroll->SetVisible(Value);
  FZoom->SetVisible(Value);
}

void TiPlotToolBar::SetShowZoomInOutButtons(bool Value) {
  FZoomIn->SetVisible(Value);
  FZoomOut->SetVisible(Value);
}

void TiPlotToolBar::SetZoomInOutFactor(double Value) {
  // A factor below 1 would zoom the wrong way; NaN counts as below.
  if (!(Value >= 1)) Value = 1;
  SetDoubleField(Value, FZoomInOutFactor, &TiPlotObject::DoChange);
}

void TiPlotToolBar::SetFlatButtons(bool Value) {
  if (Value == FFlatButtons) return;
  FFlatButtons = Value;
  for (TiPlotToolBarButton* b : FButtons) b->FFlat = Value;
  DoChange();
}

void TiPlotToolBar::SetSmallButtons(bool Value) {
  if (Value == FSmallButtons) return;
  FSmallButtons = Value;
  SetImageSet(Value);
  DoChange();
}

bool TiPlotToolBar::CursorActive() const { return FCursor->GetDown(); }
bool TiPlotToolBar::ZoomBoxActive() const { return FZoomBox->GetDown(); }
bool TiPlotToolBar::SelectActive() const { return FSelect->GetDown(); }

// ============================================================================================
// toolbar: actions
// ============================================================================================

void TiPlotToolBar::Clicked(TiPlotToolBarButtonType Type) {
  if (TiPlotComponent* plot = Plot())
    plot->DoToolBarButtonClick(plot->Master()->GetToolBarManager()->IndexOf(this), Type);
}

void TiPlotToolBar::ZoomAllAxes(double Factor, double Decades) {
  TiPlotComponent* plot = Plot();
  if (!plot) return;
  auto zoom = [&](TiPlotAxis* a) { a->Zoom(a->GetScaleType() == ipstLog10 ? Decades : Factor); };
  for (int32_t i = 0; i < plot->XAxisCount(); ++i) zoom(plot->GetXAxis(i));
  for (int32_t i = 0; i < plot->YAxisCount(); ++i) zoom(plot->GetYAxis(i));
}

void TiPlotToolBar::SetDragModeAllAxes(int32_t Mode) {
  TiPlotComponent* plot = Plot();
  if (!plot) return;
  for (int32_t i = 0; i < plot->XAxisCount(); ++i) plot->GetXAxis(i)->SetDragMode(Mode);
  for (int32_t i = 0; i < plot->YAxisCount(); ++i) plot->GetYAxis(i)->SetDragMode(Mode);
}

void TiPlotToolBar::ResumeClick(TObject*) {
  if (FCursor->GetDown()) CursorClick(FCursor);
  if (FSelect->GetDown()) SelectClick(FSelect);
  if (TiPlotComponent* plot = Plot()) {
    plot->GetObjectManager()->DeselectAll();
    plot->ResumeAllAxes();
  }
  Clicked(iptbbtResume);
}

void TiPlotToolBar::PauseClick(TObject*) {
  if (TiPlotComponent* plot = Plot()) plot->PauseAllAxes();
  Clicked(iptbbtPause);
}

void TiPlotToolBar::ScrollClick(TObject*) {
  FScroll->SetDown(true);
  FZoom->SetDown(false);
  SetDragModeAllAxes(0);
  Clicked(iptbbtScrollAxesMode);
}

void TiPlotToolBar::ZoomClick(TObject*) {
  FZoom->SetDown(true);
  FScroll->SetDown(false);
  SetDragModeAllAxes(1);
  Clicked(iptbbtZoomAxesMode);
}

void TiPlotToolBar::SelectClick(TObject*) {
  FSelect->SetDown(!FSelect->GetDown());
  FZoomBox->SetDown(false);
  Clicked(iptbbtSelect);
}

void TiPlotToolBar::ZoomBoxClick(TObject*) {
  FSelect->SetDown(false);
  FZoomBox->SetDown(!FZoomBox->GetDown());
  Clicked(iptbbtZoomBox);
}

void TiPlotToolBar::ZoomOutClick(TObject*) {
  PauseClick(FPause);
  ZoomAllAxes(FZoomInOutFactor, 1);
  Clicked(iptbbtZoomOut);
}

void TiPlotToolBar::ZoomInClick(TObject*) {
  PauseClick(FPause);
  ZoomAllAxes(1 / FZoomInOutFactor, -1);
  Clicked(iptbbtZoomIn);
}

void TiPlotToolBar::CursorClick(TObject*) {
  FCursor->SetDown(!FCursor->GetDown());
  Clicked(iptbbtCursor);
}

void TiPlotToolBar::EditClick(TObject*) {
  if (TiPlotComponent* plot = Plot()) plot->Master()->ShowEditorFor(nullptr);
  Clicked(iptbbtEdit);
}

void TiPlotToolBar::RunPlotOperation(void (TiPlotComponent::*Operation)(), TiPlotToolBarButtonType Type) {
  if (TiPlotComponent* plot = Plot()) (plot->*Operation)();
  Clicked(Type);
}

void TiPlotToolBar::CopyClick(TObject*) { RunPlotOperation(&TiPlotComponent::CopyToClipboard, iptbbtCopy); }
void TiPlotToolBar::SaveClick(TObject*) { RunPlotOperation(&TiPlotComponent::SaveImageDialog, iptbbtSave); }
void TiPlotToolBar::PrintClick(TObject*) { RunPlotOperation(&TiPlotComponent::Print, iptbbtPrint); }
void TiPlotToolBar::PreviewClick(TObject*) {
  RunPlotOperation(&TiPlotComponent::PrintPreview, iptbbtPreview);
}

void TiPlotToolBar::ClickResume() { ResumeClick(FResume); }
void TiPlotToolBar::ClickPause() { PauseClick(FPause); }
void TiPlotToolBar::ClickZoomIn() { ZoomInClick(FZoomIn); }
void TiPlotToolBar::ClickZoomOut() { ZoomOutClick(FZoomOut); }
void TiPlotToolBar::ClickSelect() { SelectClick(FSelect); }
void TiPlotToolBar::ClickZoomBox() { ZoomBoxClick(FZoomBox); }
void TiPlotToolBar::ClickCursor() { CursorClick(FCursor); }
void TiPlotToolBar::ClickSave() { SaveClick(FSave); }
void TiPlotToolBar::ClickPrint() { PrintClick(FPrint); }

// ============================================================================================
// toolbar: down-changed handlers, groups and redraw
// ============================================================================================

void TiPlotToolBar::CursorDownChanged(TObject*) {
  TiPlotComponent* plot = Plot();
  if (!plot) return;
  const bool down = FCursor->GetDown();
  for (int32_t i = 0; i < plot->DataCursorCount(); ++i) plot->GetDataCursor(i)->SetVisible(down);
  if (!down) return;
  plot->PauseAllAxes();
  if (plot->DataCursorCount() > 0) plot->GetDataCursor(0)->SetSelected(true);
}

void TiPlotToolBar::SelectDownChanged(TObject*) {
  TiPlotComponent* plot = Plot();
  if (!plot) return;
  if (FSelect->GetDown()) {
    plot->PauseAllAxes();
    plot->SetSelectMode(true);
  } else {
    plot->SetSelectMode(false);
  }
}

void TiPlotToolBar::ZoomBoxDownChanged(TObject*) {}

void TiPlotToolBar::ReleaseGroup(TObject* Sender) {
  auto* source = dynamic_cast<TiPlotToolBarButton*>(Sender);
  if (!source) return;
  for (TiPlotToolBarButton* b : FButtons)
    if (b != source && b->GetGroupIndex() == source->GetGroupIndex()) b->SetDown(false);
}

void TiPlotToolBar::ButtonChanged(TObject*) { DoSelectionChanged(); }

// ============================================================================================
// toolbar: drawing
// ============================================================================================

void TiPlotToolBar::UpdateSeparators() {
  FSeparators[0]->SetVisible(FResume->GetVisible() || FPause->GetVisible());
  FSeparators[1]->SetVisible(FScroll->GetVisible() || FZoom->GetVisible());
  FSeparators[2]->SetVisible(FZoomIn->GetVisible() || FZoomOut->GetVisible());
  FSeparators[3]->SetVisible(FZoomBox->GetVisible() || FCursor->GetVisible());
  FSeparators[4]->SetVisible(FEdit->GetVisible());
}

void TiPlotToolBar::UpdateTrackingButtons() {
  bool paused = false, tracking = false;
  if (TiPlotComponent* plot = Plot()) {
    auto fold = [&](TiPlotAxis* a) { (a->GetTrackingEnabled() ? tracking : paused) = true; };
    for (int32_t i = 0; i < plot->XAxisCount(); ++i) fold(plot->GetXAxis(i));
    for (int32_t i = 0; i < plot->YAxisCount(); ++i) fold(plot->GetYAxis(i));
  }
  FResume->SetEnabled(paused);
  FPause->SetEnabled(tracking);
}

int32_t TiPlotToolBar::RequiredThickness(TCanvas*) { return FSmallButtons ? 28 : 36; }

void TiPlotToolBar::Draw(TCanvas* Canvas, TColor BackGroundColor) {
  TiPlotLayoutObject::Draw(Canvas, BackGroundColor);
  UpdateSeparators();
  UpdateTrackingButtons();
  if (!GetVisible()) return;
  const int32_t s = FSmallButtons ? 22 : 30;
  const TRect& r = GetLayoutRect();
  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetBrush()->SetColor(clBtnFace);
  Canvas->GetPen()->SetWidth(1);
  Canvas->FillRect(TRect{r.Left, r.Top, r.Right + 1, r.Bottom});
  if (!FFlatBorder) DrawBevelFrame(Canvas, r, 1);
  int32_t x = r.Left + 3;
  const int32_t y = r.Top + 3;
  for (TiPlotToolBarButton* b : FButtons) {
    if (!b->GetVisible()) continue;
    const int32_t w = b->FSeparator ? 10 : s;
    b->SetButtonRect(TRect{x, y, x + w, y + s});
    b->Draw(Canvas, BackGroundColor);
    x += w;
  }
}

// ============================================================================================
// toolbar: mouse and menu
// ============================================================================================

TiPlotObject* TiPlotToolBar::SubObjectAt(int32_t X, int32_t Y) {
  for (TiPlotToolBarButton* b : FButtons) {
    const TRect& r = b->GetButtonRect();
    if (b->GetVisible() && X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom) return b;
  }
  return TiPlotLayoutObject::SubObjectAt(X, Y);
}

void TiPlotToolBar::NotifyObjectSelected(TiPlotObject* Obj) {
  if (Obj != this && GetSelected()) SetSelected(false);
}

void TiPlotToolBar::BuildPopupMenu(TPopupMenu* PopupMenu) {
  TiPlotLayoutObject::BuildPopupMenu(PopupMenu);
  AddEditMenuItem(PopupMenu);
}
