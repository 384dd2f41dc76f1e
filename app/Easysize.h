// TFormResizer: makes a window's whole layout scale with the window.  It records the size of its
// owner and the bounds and font size of every control the owner owns, once; on each resize every
// recorded control takes its recorded bounds scaled by the owner's width and height ratios, and
// (with ResizeFonts) its font size scaled by the height ratio between MinFontSize and MaxFontSize.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/runtime/Component.h"
#include "platform/runtime/Events.h"
#include "platform/runtime/Exceptions.h"

class TControl;
class TFont;

PL_EXCEPTION(EResizerException, Exception);

// Sender is the resizer, Comp the control just resized (null once that control was removed).
using TPostResizeEvent = TEvent<TObject*, TControl*, double, double>;

// The recorded layout of one control.
class TSingleResizer : public TObject {
 public:
  TSingleResizer(TControl* Control, TControl* ParentForm, bool ResizeFonts, int32_t MinFontSize,
                 int32_t MaxFontSize);
  void Resize(double NewHeight, double NewWidth, double HeightRatio, double WidthRatio);

  TControl* Control = nullptr;
  bool ResizeHeight = true, ResizeLeft = true, ResizeTop = true, ResizeWidth = true;
  bool ResizeFont = false;
  int32_t MinFontSize = 8, MaxFontSize = 48;
  bool HasFont = false;
  TFont* Font = nullptr;
  int32_t Height = 0, Left = 0, Top = 0, Width = 0;
  int32_t ParentHeight = 0, ParentWidth = 0;
  int32_t FontSize = 0;

 private:
  void ApplyFontSize(int32_t Size);
};

class TFormResizer : public TComponent {
  PL_CLASS(TFormResizer)
 public:
  // The owner must be a control (a form or a panel).
  explicit TFormResizer(TComponent* AOwner);
  ~TFormResizer() override;

  // Records the owner's size and its controls, once; later calls do nothing.
  virtual void InitializeForm();
  // Scales every recorded control to the owner's present size; nothing before recording.
  virtual void ResizeAll();

  bool GetResizeFonts() const { return FResizeFonts; }
  void SetResizeFonts(bool Value) { FResizeFonts = Value; }
  int32_t GetMinFontSize() const { return FMinFontSize; }
  void SetMinFontSize(int32_t Value) { FMinFontSize = Value; }
  int32_t GetMaxFontSize() const { return FMaxFontSize; }
  void SetMaxFontSize(int32_t Value) { FMaxFontSize = Value; }
  bool GetEnforceMinSize() const { return FEnforceMinSize; }
  void SetEnforceMinSize(bool Value) { FEnforceMinSize = Value; }
  const std::vector<TSingleResizer*>& Resizers() const { return FResizers; }

  TPostResizeEvent OnPostResize;

 protected:
  virtual void DoPostResize(TControl* Comp, double HeightRatio, double WidthRatio);
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool FResizeFonts = false;
  int32_t FMinFontSize = 8;
  int32_t FMaxFontSize = 48;
  bool FEnforceMinSize = false;
  bool FInitialized = false;
  int32_t FHeight = 0, FWidth = 0;
  std::vector<TSingleResizer*> FResizers;
};
