// The window layer of the base control: the paint lock, transparency over the parent's pixels, a
// private window timer, the window messages of the widgets (focus, keys, buttons with their
// exceptions swallowed, wheel), the OPC item list and the frame-rate gate's flush timer.
#pragma once

#include <memory>

#include "platform/runtime/SyncObjs.h"
#include "widgets/iComponent.h"

class TiOPCItemManager;
class TiOPCItem;

class TiVCLComponent : public TiComponent {
  PL_CLASS(TiVCLComponent)
 public:
  explicit TiVCLComponent(TComponent* AOwner);
  ~TiVCLComponent() override;

  bool GetTransparent() const { return transparent_; }
  virtual void SetTransparent(bool Value);

  bool TimerRunning() override { return timerId_ != 0; }
  void StartTimer(int32_t InitialDelay, int32_t Interval) override;
  void StopTimer() override;
  // Called on every tick of the private timer.
  TNotifyEvent OnTimer;

  TiOPCItemManager* OPCItemManager() const { return opcItems_.get(); }
  bool SendPropertyToOPC(const AnsiString& PropertyName, const Variant& Value) override;
  TIndexObjectEvent OnNewOPCData;
  TBeforeOPCNewDataEvent OnBeforeNewOPCData;

  // The OPC binding's new data for one item: the item's value into its property (through
  // OnBeforeNewOPCData), then OnNewOPCData.
  void ApplyOPCData(TiOPCItem* Item);

  void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void DrawBackGround(TCanvas* Canvas, TColor BackColor) override;
  void BackGroundChanged() override;
  void LockPaint() override;
  void UnlockPaint() override;
  void ArmFrameFlush(uint32_t DelayMs) override;
  void CreateWnd() override;
  // Stores the OPC item list as "OPCItems" when it is not empty.
  void DefineProperties(TFiler* Filer) override;
  // The OPC binding's new data for one item; True when the control applied it itself.
  virtual bool HandleOPCData(TiOPCItem* Item);
  bool ApplyingOPCData() const { return applyingOPCData_; }
  void MarkParentRegrab();

 private:
  friend class TiOPCItemManager;
  void TimerWndProc(TMessage& Message);
  void CallButtonMessage(TMessage& Message);
  void ReadOPCItems(TReader* Reader);
  void WriteOPCItems(TWriter* Writer);

  TCriticalSection paintLock_;
  bool transparent_ = false;
  std::unique_ptr<TBitmap> parentBackground_;
  bool regrabParent_ = false;
  std::unique_ptr<TiOPCItemManager> opcItems_;
  bool applyingOPCData_ = false;
  HWND timerWindow_ = nullptr;
  UINT_PTR timerId_ = 0;
  bool firstDelayPending_ = false;
  int32_t interval_ = 0;
  bool flushArmed_ = false;
};

// ---- image export: the control draws itself with PaintToCanvas off screen ------------------------
class TJPEGImage;
void ExportBitmapFile(TiComponent* Control, const AnsiString& FileName);
// An enhanced metafile of the control's size, vector drawing.
void ExportMetafile(TiComponent* Control, const AnsiString& FileName);
// Quality 1..100, else "Compression must be in the range of 1-100" before anything is drawn.
void ExportJpegFile(TiComponent* Control, const AnsiString& FileName, int32_t Quality, bool Progressive);
// Compression 0..9, else "Compression must be in the range of 0-9".
void ExportPngFile(TiComponent* Control, const AnsiString& FileName, int32_t Compression);
// The compressed picture in memory; the caller owns it.
TJPEGImage* RenderJpegImage(TiComponent* Control, int32_t Quality, bool Progressive);
