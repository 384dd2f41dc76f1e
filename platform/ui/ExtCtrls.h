// The timer component, the panel and the paint box.
//
// Thread contract: main thread only.  Timers fire from every message loop of the main thread
// (the application's, modal ones, ProcessMessages).
#pragma once

#include "platform/ui/Controls.h"

// ============================================================================ timer ===========

// Calls OnTimer every Interval milliseconds while Enabled.  An interval of 0 (or no handler)
// never fires; setting Enabled to the value it has changes nothing (a running timer keeps its
// phase); a new Interval or handler starts the period again.
class TTimer : public TComponent {
  PL_CLASS(TTimer)
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  bool GetEnabled() const { return enabled_; }
  void SetEnabled(bool Value);
  uint32_t GetInterval() const { return interval_; }
  void SetInterval(uint32_t Value);
  const TNotifyEvent& GetOnTimer() const { return onTimer_; }
  void SetOnTimer(const TNotifyEvent& Value);
  // Whether the system timer runs now.
  bool Running() const { return running_; }

 protected:
  virtual void Timer();

 private:
  void UpdateTimer();
  void WndProc(TMessage& Message);

  bool enabled_ = true;
  uint32_t interval_ = 1000;
  TNotifyEvent onTimer_;
  HWND window_ = nullptr;
  bool running_ = false;
};

// ============================================================================ panel ===========

enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
using TBevelWidth = int32_t;
template <>
const EnumNames& EnumNamesOf<TBevelCut>();

// A container with a caption and two bevels; the children align inside the bevels and border.
class TCustomPanel : public TCustomControl {
  PL_CLASS(TCustomPanel)
 public:
  explicit TCustomPanel(TComponent* AOwner);
  TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  TBevelCut GetBevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut GetBevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut Value);
  TBevelWidth GetBevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(TBevelWidth Value);
  TBorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle Value);
  bool GetFullRepaint() const { return fullRepaint_; }
  void SetFullRepaint(bool Value) { fullRepaint_ = Value; }
  void AdjustClientRect(TRect& Rect) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

 private:
  void BevelsChanged();
  TAlignment alignment_ = taCenter;
  TBevelCut bevelInner_ = bvNone, bevelOuter_ = bvRaised;
  TBevelWidth bevelWidth_ = 1;
  TBorderStyle borderStyle_ = bsNone;
  bool fullRepaint_ = true;
};

class TPanel : public TCustomPanel {
  PL_CLASS(TPanel)
 public:
  explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

// ============================================================================ paint box =======

// A windowless area the program paints in OnPaint.
class TPaintBox : public TGraphicControl {
  PL_CLASS(TPaintBox)
 public:
  explicit TPaintBox(TComponent* AOwner);
  TNotifyEvent OnPaint;

 protected:
  void Paint() override;
};
