// The base control of the instrument widgets and the plot: the repaint protocol (setters compare,
// assign and ask for a repaint of a kind), the update lock, the frame-rate gate, double-buffered
// painting with a cached static layer, the error display, input dispatch into overridable hooks,
// and the property text file operations.  A concrete control implements PaintToCanvas only and
// overrides the input hooks it needs.
//
// Repaint kinds: 0 redraws the dynamic layer, 1 also marks the cached static layer for redrawing,
// any other kind repaints nothing.
//
// Thread contract: UI thread only; LockPaint/UnlockPaint bracket each paint for a descendant that
// changes drawing data from another thread.
#pragma once

#include <memory>

#include "platform/ui/Controls.h"
#include "widgets/iGPFunctions.h"
#include "widgets/iTypes.h"

class Variant;

class TiComponent : public TCustomControl {
  PL_CLASS(TiComponent)
 public:
  explicit TiComponent(TComponent* AOwner);
  ~TiComponent() override;

  // ---- repaint protocol -----------------------------------------------------------------------
  void RequestRepaint();
  void RequestBackgroundRepaint();
  void RequestRepaintOfKind(int32_t Kind);
  // Clears what is pending, notes the time and invalidates the window.
  void RepaintNow();
  // The frame-rate gate, then RepaintNow.
  void RepaintIfFrameDue();
  // RepaintNow past the update lock and the gate.
  void InvalidateNow();
  // A flag, not a counter: one EndUpdate unlocks any number of BeginUpdate calls.
  virtual void BeginUpdate();
  virtual void EndUpdate();
  bool UpdateLocked() const { return updateLocked_; }
  bool RepaintPending() const { return pendingRepaint_; }
  bool BackgroundRepaintPending() const { return pendingBackground_; }
  bool BackgroundDirty() const { return backgroundDirty_; }

  // True while the control is read from a stored definition: setters store raw values only.
  bool IsStreaming() const;
  bool IsDesignMode();

  // ---- the drawing a control implements --------------------------------------------------------
  // Draws the whole control, background included, on any canvas.
  virtual void PaintToCanvas(TCanvas* Canvas) = 0;
  virtual TPoint GetCenterPoint();
  // PaintToCanvas with the static-layer cache off for the call (metafiles get vector drawing);
  // failures reach the caller.
  void PaintUncached(TCanvas* Canvas);

  // ---- cached static layer --------------------------------------------------------------------
  TBitmap* EnsureCacheBitmap();
  TBitmap* CacheBitmap() const { return cacheBitmap_.get(); }
  void DrawCacheBitmap(TCanvas* Canvas);
  void ClearBackgroundDirty() { backgroundDirty_ = false; }

  // ---- properties --------------------------------------------------------------------------------
  int32_t GetUpdateFrameRate() const { return updateFrameRate_; }
  void SetUpdateFrameRate(int32_t Value);
  bool GetAutoFrameRate() const { return autoFrameRate_; }
  void SetAutoFrameRate(bool Value);
  bool GetCachedDrawing() const { return cachedDrawing_; }
  virtual void SetCachedDrawing(bool Value);
  TColor GetBackGroundColor() const { return backGroundColor_; }
  virtual void SetBackGroundColor(TColor Value);
  TBitmap* GetBackGroundPicture() const { return backGroundPicture_.get(); }
  void SetBackGroundPicture(TBitmap* Value);
  TiBevelStyle GetBorderStyle() const { return borderStyle_; }
  virtual void SetBorderStyle(TiBevelStyle Value);
  int32_t GetOffsetX() const { return offsetX_; }
  void SetOffsetX(int32_t Value);
  int32_t GetOffsetY() const { return offsetY_; }
  void SetOffsetY(int32_t Value);
  bool GetOptionSaveAllProperties() const { return optionSaveAllProperties_; }
  void SetOptionSaveAllProperties(bool Value) { optionSaveAllProperties_ = Value; }
  bool GetErrorActive() const { return errorActive_; }
  void SetErrorActive(bool Value);
  const AnsiString& GetErrorText() const { return errorText_; }
  void SetErrorText(const AnsiString& Value);
  TColor GetErrorBackGroundColor() const { return errorBackGroundColor_; }
  void SetErrorBackGroundColor(TColor Value);
  TFont* GetErrorFont() const { return errorFont_.get(); }
  void SetErrorFont(TFont* Value);
  bool HasFocus() const { return hasFocus_; }
  bool InsideUserInput() const { return insideUserInput_; }

  // ---- hooks of owners (the plot's objects, the property editors) ------------------------------
  TiAfterPaintEvent OnAfterPaint;
  TiPropertyChangingEvent OnPropertyChanging;
  TiPropertyChangedEvent OnPropertyChanged;
  TiDesignModeEvent OnDesignMode;

  // ---- property text files --------------------------------------------------------------------
  virtual void SavePropertyFile(const AnsiString& FileName);
  virtual void LoadPropertyFile(const AnsiString& FileName);
  // The paths a saved property file leaves out: "Name" and, unless OptionSaveAllProperties, the
  // layout and framework properties.
  void AddPropertyFileExclusions(TStrings* List) const;

  // ---- private timer (implemented by TiVCLComponent) -------------------------------------------
  virtual bool TimerRunning() = 0;
  virtual void StartTimer(int32_t InitialDelay, int32_t Interval) = 0;
  virtual void StopTimer() = 0;

  // Sends a property's value to the bound OPC item; False when none is bound.
  virtual bool SendPropertyToOPC(const AnsiString& PropertyName, const Variant& Value);

  // (Center.X + Round(Radius cos a), Center.Y - Round(Radius sin a)); 0 degrees points right.
  static TPoint PolarPoint(TPoint Center, double Radius, double AngleDegrees);

  void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) override;
  void DblClick() override;

 protected:
  void Paint() override;
  virtual void DrawBackGround(TCanvas* Canvas, TColor BackColor);
  virtual void DrawBorder(TCanvas* Canvas);
  virtual void DoGotFocus();
  virtual void DoLostFocus();
  virtual void WantSpecialKey(WORD& CharCode, LRESULT& Result);
  virtual void HandleKeyUp(WORD& Key, TShiftState Shift);
  virtual void HandleKeyDown(WORD& Key, TShiftState Shift);
  virtual void HandleKeyPress(char& Key);
  virtual void HandleMouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  virtual void HandleMouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  virtual void HandleMouseMove(TShiftState Shift, int32_t X, int32_t Y);
  virtual void HandleDblClick();
  virtual bool HandleMouseWheel(int32_t WheelDelta, TShiftState Shift, TPoint MousePos);
  virtual void BackGroundChanged();
  virtual void LockPaint() = 0;
  virtual void UnlockPaint() = 0;
  // Asks for one RepaintIfFrameDue after DelayMs, so that a request the frame-rate gate held back
  // is shown once its interval has passed even when no further request comes.
  virtual void ArmFrameFlush(uint32_t DelayMs);

  // Compare, assign, request a repaint of Kind.
  void SetBoolProperty(bool Value, bool& Field, int32_t Kind);
  void SetIntProperty(int32_t Value, int32_t& Field, int32_t Kind);
  void SetDoubleProperty(double Value, double& Field, int32_t Kind);
  void SetStringProperty(const AnsiString& Value, AnsiString& Field, int32_t Kind);
  void SetColorProperty(TColor Value, TColor& Field, int32_t Kind);

  // Makes the owned, empty BackGroundPicture (controls that publish it).
  void CreateBackGroundPicture();
  // Sets or clears the inside-user-input flag for the life of a scope.
  class TUserInputScope {
   public:
    explicit TUserInputScope(TiComponent* c) : c_(c), old_(c->insideUserInput_) {
      c->insideUserInput_ = true;
    }
    ~TUserInputScope() { c_->insideUserInput_ = old_; }

   private:
    TiComponent* c_;
    bool old_;
  };

  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseMove(TShiftState Shift, int32_t X, int32_t Y) override;
  bool DoMouseWheel(TShiftState Shift, int32_t WheelDelta, TPoint MousePos) override;

  // The gate's last repaint, on the monotonic clock (a wall clock going back would stall it).
  uint64_t LastRepaintMs() const { return lastRepaintMs_; }

 private:
  void PaintDirect(TCanvas* Canvas);
  void PaintBuffered();
  void PictureChanged(TObject* Sender);
  void ErrorFontChanged(TObject* Sender);
  bool FrameDue() const;

  bool updateLocked_ = false;
  bool pendingRepaint_ = false;
  bool pendingBackground_ = false;
  bool backgroundDirty_ = true;
  uint64_t lastRepaintMs_ = 0;
  int32_t updateFrameRate_ = 60;
  bool autoFrameRate_ = false;
  bool cachedDrawing_ = true;
  std::unique_ptr<TBitmap> cacheBitmap_;
  TColor backGroundColor_ = clBtnFace;
  std::unique_ptr<TBitmap> backGroundPicture_;
  TiBevelStyle borderStyle_ = ibsNone;
  int32_t offsetX_ = 0, offsetY_ = 0;
  bool hasFocus_ = false;
  bool insideUserInput_ = false;
  bool optionSaveAllProperties_ = false;
  bool errorActive_ = false;
  AnsiString errorText_ = "Error";
  TColor errorBackGroundColor_ = clBlack;
  std::unique_ptr<TFont> errorFont_;
};
