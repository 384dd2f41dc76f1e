// The plot's toolbar: a horizontal bar of buttons that pause and resume tracking, choose the axes'
// mouse mode, zoom, and start the editor, copy, save and print.  Every button action ends with the
// plot's OnToolBarButtonClick; programs run the same actions through the Click operations.
//
// Sections: button types / toolbar button / toolbar.
#pragma once

#include <memory>
#include <vector>

#include "platform/runtime/TypInfo.h"
#include "platform/ui/ImgList.h"
#include "plot/iPlotObjects.h"

// ============================================================================================
// button types
// ============================================================================================

enum TiPlotToolBarButtonType : uint8_t {
  iptbbtResume,
  iptbbtPause,
  iptbbtScrollAxesMode,
  iptbbtZoomAxesMode,
  iptbbtSelect,
  iptbbtZoomBox,
  iptbbtZoomOut,
  iptbbtZoomIn,
  iptbbtCursor,
  iptbbtEdit,
  iptbbtCopy,
  iptbbtSave,
  iptbbtPrint,
  iptbbtPreview
};
template <>
const EnumNames& EnumNamesOf<TiPlotToolBarButtonType>();

class TiPlotToolBar;
class TiPlotComponent;

// ============================================================================================
// toolbar button
// ============================================================================================

// One entry of the toolbar: an image button, or a separator that draws nothing and only reserves
// a gap.  The toolbar owns its entries; they are not plot objects of any manager.
class TiPlotToolBarButton : public TiPlotButton {
  PL_CLASS(TiPlotToolBarButton)
 public:
  TiPlotToolBarButton(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                      const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);

  void Draw(TCanvas* Canvas, TColor BackGroundColor) override;
  void MouseMove(TiHintData& HintData, TShiftState Shift, int32_t X, int32_t Y, bool DblClick) override;
  void Hover(const TiMouseRecord& MouseRecord, TiHintData& HintData) override;
  void MouseLeave() override;

  TiPlotToolBar* GetToolBar() const { return FToolBar; }
  TiPlotToolBarButtonType GetButtonType() const { return FButtonType; }
  const AnsiString& GetHint() const { return FHint; }
  bool GetSeparator() const { return FSeparator; }
  int32_t GetImageIndex() const { return FImageIndex; }
  const AnsiString& GetImageName() const { return FImageName; }
  bool GetFlat() const { return FFlat; }
  bool GetMouseOver() const { return FMouseOver; }

 private:
  friend class TiPlotToolBar;
  // The light grey of a pressed button's face.
  static TColor PressedColor();
  void DrawThinFrame(TCanvas* Canvas, bool Sunken);

  TiPlotToolBar* FToolBar = nullptr;
  TiPlotToolBarButtonType FButtonType = iptbbtResume;
  AnsiString FHint;
  bool FSeparator = false;
  TCustomImageList* FImageList = nullptr;
  int32_t FImageIndex = -1;
  AnsiString FImageName;
  bool FFlat = false;
  bool FMouseOver = false;
};

// ============================================================================================
// toolbar
// ============================================================================================

class TiPlotToolBar : public TiPlotLayoutObject {
  PL_CLASS(TiPlotToolBar)
 public:
  TiPlotToolBar(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
  ~TiPlotToolBar() override;

  // ---- object operations -------------------------------------------------------------------
  void NotifyObjectSelected(TiPlotObject* Obj) override;
  void Draw(TCanvas* Canvas, TColor BackGroundColor) override;
  TiPlotObject* SubObjectAt(int32_t X, int32_t Y) override;
  void BuildPopupMenu(TPopupMenu* PopupMenu) override;
  int32_t RequiredThickness(TCanvas* Canvas) override;

  // ---- actions: each runs its button's action and ends with OnToolBarButtonClick -------------
  void ClickResume();
  void ClickPause();
  void ClickZoomIn();
  void ClickZoomOut();
  void ClickSelect();
  void ClickZoomBox();
  void ClickCursor();
  void ClickSave();
  void ClickPrint();

  // ---- state ---------------------------------------------------------------------------------
  bool CursorActive() const;
  bool ZoomBoxActive() const;
  bool SelectActive() const;
  // The entries in drawing order: 14 buttons and 5 separators.
  int32_t ButtonCount() const { return int32_t(FButtons.size()); }
  TiPlotToolBarButton* GetButton(int32_t Index) const { return FButtons.at(size_t(Index)); }
  // The button of a type (never a separator).
  TiPlotToolBarButton* Button(TiPlotToolBarButtonType Type) const;
  // Separator 1..5.
  TiPlotToolBarButton* Separator(int32_t Number) const;
  TCustomImageList* ImageList() const { return FImageList.get(); }
  // Both run before every paint: separators follow their groups; Resume and Pause follow the
  // axes' tracking.
  void UpdateSeparators();
  void UpdateTrackingButtons();
  // Every button takes the large (24 x 24) or the small (16 x 16) image set, reloaded at the next
  // drawing.
  void UseLargeImages();
  void UseSmallImages();

  // ---- published properties ------------------------------------------------------------------
  bool GetShowResumeButton() const { return FResume->GetVisible(); }
  void SetShowResumeButton(bool Value) { FResume->SetVisible(Value); }
  bool GetShowPauseButton() const { return FPause->GetVisible(); }
  void SetShowPauseButton(bool Value) { FPause->SetVisible(Value); }
  bool GetShowAxesModeButtons() const { return FScroll->GetVisible(); }
  void SetShowAxesModeButtons(bool Value);
  bool GetShowZoomInOutButtons() const { return FZoomIn->GetVisible(); }
  void SetShowZoomInOutButtons(bool Value);
  bool GetShowSelectButton() const { return FSelect->GetVisible(); }
  void SetShowSelectButton(bool Value) { FSelect->SetVisible(Value); }
  bool GetShowZoomBoxButton() const { return FZoomBox->GetVisible(); }
  void SetShowZoomBoxButton(bool Value) { FZoomBox->SetVisible(Value); }
  bool GetShowCursorButton() const { return FCursor->GetVisible(); }
  void SetShowCursorButton(bool Value) { FCursor->SetVisible(Value); }
  bool GetShowEditButton() const { return FEdit->GetVisible(); }
  void SetShowEditButton(bool Value) { FEdit->SetVisible(Value); }
  bool GetShowCopyButton() const { return FCopy->GetVisible(); }
  void SetShowCopyButton(bool Value) { FCopy->SetVisible(Value); }
  bool GetShowSaveButton() const { return FSave->GetVisible(); }
  void SetShowSaveButton(bool Value) { FSave->SetVisible(Value); }
  bool GetShowPrintButton() const { return FPrint->GetVisible(); }
  void SetShowPrintButton(bool Value) { FPrint->SetVisible(Value); }
  bool GetShowPreviewButton() const { return FPreview->GetVisible(); }
  void SetShowPreviewButton(bool Value) { FPreview->SetVisible(Value); }
  double GetZoomInOutFactor() const { return FZoomInOutFactor; }
  void SetZoomInOutFactor(double Value);
  bool GetFlatBorder() const { return FFlatBorder; }
  void SetFlatBorder(bool Value) { SetBoolField(Value, FFlatBorder, &TiPlotObject::DoChange); }
  bool GetFlatButtons() const { return FFlatButtons; }
  void SetFlatButtons(bool Value);
  bool GetSmallButtons() const { return FSmallButtons; }
  void SetSmallButtons(bool Value);

 protected:
  // The actions without a public operation (Scroll, Zoom, Edit, Copy, Preview) and the shared
  // ones; each is a button's click handler.
  void ResumeClick(TObject* Sender);
  void PauseClick(TObject* Sender);
  void ScrollClick(TObject* Sender);
  void ZoomClick(TObject* Sender);
  void SelectClick(TObject* Sender);
  void ZoomBoxClick(TObject* Sender);
  void ZoomOutClick(TObject* Sender);
  void ZoomInClick(TObject* Sender);
  void CursorClick(TObject* Sender);
  void EditClick(TObject* Sender);
  void CopyClick(TObject* Sender);
  void SaveClick(TObject* Sender);
  void PrintClick(TObject* Sender);
  void PreviewClick(TObject* Sender);

 private:
  using TClick = void (TiPlotToolBar::*)(TObject*);
  TiPlotToolBarButton* AddButton(TiPlotToolBarButtonType Type, const AnsiString& Hint, int32_t GroupIndex,
                                 const AnsiString& ImageName, TClick Click);
  TiPlotToolBarButton* AddSeparator();
  void ButtonChanged(TObject* Sender);
  void ReleaseGroup(TObject* Sender);
  void CursorDownChanged(TObject* Sender);
  void SelectDownChanged(TObject* Sender);
  void ZoomBoxDownChanged(TObject* Sender);
  void SetImageSet(bool Small);
  // Fires OnToolBarButtonClick with this toolbar's index.
  void Clicked(TiPlotToolBarButtonType Type);
  // Runs one of the plot's operations, then Clicked (not when the operation raises).
  void RunPlotOperation(void (TiPlotComponent::*Operation)(), TiPlotToolBarButtonType Type);
  // Zooms every X axis, then every Y axis: linear axes by Factor, log10 axes by Decades.
  void ZoomAllAxes(double Factor, double Decades);
  void SetDragModeAllAxes(int32_t Mode);

  std::vector<TiPlotToolBarButton*> FButtons;  // owned
  std::unique_ptr<TImageList> FImageList;
  TiPlotToolBarButton *FResume = nullptr, *FPause = nullptr, *FScroll = nullptr, *FZoom = nullptr,
                      *FZoomOut = nullptr, *FZoomIn = nullptr, *FSelect = nullptr, *FZoomBox = nullptr,
                      *FCursor = nullptr, *FEdit = nullptr, *FCopy = nullptr, *FSave = nullptr,
                      *FPrint = nullptr, *FPreview = nullptr;
  TiPlotToolBarButton* FSeparators[5] = {};
  double FZoomInOutFactor = 2;
  bool FFlatBorder = false;
  bool FFlatButtons = false;
  bool FSmallButtons = false;
};
