// The common base of the seven-segment rows: colours, segment sizes, spacing and automatic sizing,
// drawn through an owned, never shown glyph painter.
#pragma once

#include <memory>

#include "widgets/iSevenSegmentCharacter.h"

class TiSevenSegmentDisplay : public TiCustomComponent {
  PL_CLASS(TiSevenSegmentDisplay)
 public:
  explicit TiSevenSegmentDisplay(TComponent* AOwner);
  ~TiSevenSegmentDisplay() override;

  bool GetAutoSize() const { return autoSize_; }
  void SetAutoSize(bool Value) override;
  int32_t GetDigitSpacing() const { return digitSpacing_; }
  void SetDigitSpacing(int32_t Value);
  int32_t GetSegmentMargin() const { return segmentMargin_; }
  void SetSegmentMargin(int32_t Value);
  TColor GetSegmentColor() const { return segmentColor_; }
  void SetSegmentColor(TColor Value);
  TColor GetSegmentOffColor() const { return segmentOffColor_; }
  void SetSegmentOffColor(TColor Value);
  bool GetAutoSegmentOffColor() const { return autoSegmentOffColor_; }
  void SetAutoSegmentOffColor(bool Value);
  int32_t GetSegmentSeperation() const { return segmentSeperation_; }
  void SetSegmentSeperation(int32_t Value);
  int32_t GetSegmentSize() const { return segmentSize_; }
  void SetSegmentSize(int32_t Value);
  bool GetShowOffSegments() const { return showOffSegments_; }
  void SetShowOffSegments(bool Value);
  bool GetPowerOff() const { return powerOff_; }
  void SetPowerOff(bool Value);

  // Raised after every stored change of the value (not while a definition is read).
  TNotifyEvent OnValueChange;

  // The width and height that fit the row at the present segment size.
  virtual TSize GetPreferredSize() = 0;
  TiSevenSegmentCharacter* Painter() const { return painter_.get(); }

 protected:
  // Copies the row's colours, sizes, separation, off-segment and power settings onto the painter.
  void SyncPainter();
  // Takes the preferred size when AutoSize is on and no definition is being read.
  void Resize() override;

 private:
  bool autoSize_ = true;
  int32_t digitSpacing_ = 6;
  int32_t segmentMargin_ = 5;
  TColor segmentColor_ = TColor(16777215);
  TColor segmentOffColor_ = TColor(8421504);
  bool autoSegmentOffColor_ = true;
  int32_t segmentSeperation_ = 1;
  int32_t segmentSize_ = 1;
  bool showOffSegments_ = true;
  bool powerOff_ = false;
  std::unique_ptr<TiSevenSegmentCharacter> painter_;
};
