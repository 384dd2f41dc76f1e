// The plot's toolbar: a horizontal bar of buttons that pause and resume tracking, choose the axes'
// mouse mode, zoom, and start the editor, copy, save and print.  This unit holds its published
// settings; the buttons and their actions join it with the toolbar's drawing and input.
#pragma once

#include <memory>

#include "platform/runtime/TypInfo.h"
#include "plot/iPlotObjects.h"

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

class TiPlotToolBar : public TiPlotLayoutObject {
  PL_CLASS(TiPlotToolBar)
 public:
  TiPlotToolBar(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);

  bool GetShowResumeButton() const { return FShowResumeButton; }
  void SetShowResumeButton(bool Value) { SetBoolField(Value, FShowResumeButton, &TiPlotObject::DoChange); }
  bool GetShowPauseButton() const { return FShowPauseButton; }
  void SetShowPauseButton(bool Value) { SetBoolField(Value, FShowPauseButton, &TiPlotObject::DoChange); }
  bool GetShowAxesModeButtons() const { return FShowAxesModeButtons; }
  void SetShowAxesModeButtons(bool Value) {
    SetBoolField(Value, FShowAxesModeButtons, &TiPlotObject::DoChange);
  }
  bool GetShowZoomInOutButtons() const { return FShowZoomInOutButtons; }
  void SetShowZoomInOutButtons(bool Value) {
    SetBoolField(Value, FShowZoomInOutButtons, &TiPlotObject::DoChange);
  }
  bool GetShowSelectButton() const { return FShowSelectButton; }
  void SetShowSelectButton(bool Value) { SetBoolField(Value, FShowSelectButton, &TiPlotObject::DoChange); }
  bool GetShowZoomBoxButton() const { return FShowZoomBoxButton; }
  void SetShowZoomBoxButton(bool Value) { SetBoolField(Value, FShowZoomBoxButton, &TiPlotObject::DoChange); }
  bool GetShowCursorButton() const { return FShowCursorButton; }
  void SetShowCursorButton(bool Value) { SetBoolField(Value, FShowCursorButton, &TiPlotObject::DoChange); }
  bool GetShowEditButton() const { return FShowEditButton; }
  void SetShowEditButton(bool Value) { SetBoolField(Value, FShowEditButton, &TiPlotObject::DoChange); }
  bool GetShowCopyButton() const { return FShowCopyButton; }
  void SetShowCopyButton(bool Value) { SetBoolField(Value, FShowCopyButton, &TiPlotObject::DoChange); }
  bool GetShowSaveButton() const { return FShowSaveButton; }
  void SetShowSaveButton(bool Value) { SetBoolField(Value, FShowSaveButton, &TiPlotObject::DoChange); }
  bool GetShowPrintButton() const { return FShowPrintButton; }
  void SetShowPrintButton(bool Value) { SetBoolField(Value, FShowPrintButton, &TiPlotObject::DoChange); }
  bool GetShowPreviewButton() const { return FShowPreviewButton; }
  void SetShowPreviewButton(bool Value) { SetBoolField(Value, FShowPreviewButton, &TiPlotObject::DoChange); }
  double GetZoomInOutFactor() const { return FZoomInOutFactor; }
  void SetZoomInOutFactor(double Value);
  bool GetFlatBorder() const { return FFlatBorder; }
  void SetFlatBorder(bool Value) { SetBoolField(Value, FFlatBorder, &TiPlotObject::DoChange); }
  bool GetFlatButtons() const { return FFlatButtons; }
  void SetFlatButtons(bool Value) { SetBoolField(Value, FFlatButtons, &TiPlotObject::DoChange); }
  bool GetSmallButtons() const { return FSmallButtons; }
  void SetSmallButtons(bool Value) { SetBoolField(Value, FSmallButtons, &TiPlotObject::DoChange); }

 private:
  bool FShowResumeButton = true;
  bool FShowPauseButton = true;
  bool FShowAxesModeButtons = true;
  bool FShowZoomInOutButtons = true;
  bool FShowSelectButton = false;
  bool FShowZoomBoxButton = true;
  bool FShowCursorButton = true;
  bool FShowEditButton = true;
  bool FShowCopyButton = true;
  bool FShowSaveButton = true;
  bool FShowPrintButton = true;
  bool FShowPreviewButton = false;
  double FZoomInOutFactor = 2;
  bool FFlatBorder = false;
  bool FFlatButtons = false;
  bool FSmallButtons = false;
};
