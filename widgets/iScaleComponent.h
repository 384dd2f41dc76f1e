// A tick scale on the value model: the scale's settings in a TiScaleObject, and the automatic
// choice of a nice range (or nice ticks inside a fixed range) and tick count.
#pragma once

#include <memory>

#include "widgets/iPositionComponent.h"

enum TiAutoScaleStyle : uint8_t { iassAutoMinMax, iassFixedMinMax };
template <>
const EnumNames& EnumNamesOf<TiAutoScaleStyle>();

// Sender, Index, var DisplayText.
using TOnCustomizeTickLabel = TEvent<TObject*, int32_t, AnsiString&>;

// The scale's settings; every change is told through OnChange (the owner repaints its static layer).
class TiScaleObject : public TPersistent {
  PL_CLASS(TiScaleObject)
 public:
  TiScaleObject();
  ~TiScaleObject() override;

  bool GetShowTicksMajor() const { return showTicksMajor_; }
  void SetShowTicksMajor(bool Value) { Set(showTicksMajor_, Value); }
  bool GetShowTicksMinor() const { return showTicksMinor_; }
  void SetShowTicksMinor(bool Value) { Set(showTicksMinor_, Value); }
  bool GetShowTickLabels() const { return showTickLabels_; }
  void SetShowTickLabels(bool Value) { Set(showTickLabels_, Value); }
  // 2..100.
  int32_t GetTickMajorCount() const { return tickMajorCount_; }
  void SetTickMajorCount(int32_t Value) { Set(tickMajorCount_, std::clamp(Value, 2, 100)); }
  // 1..100.
  int32_t GetTickMinorCount() const { return tickMinorCount_; }
  void SetTickMinorCount(int32_t Value) { Set(tickMinorCount_, std::clamp(Value, 1, 100)); }
  // At least 1.
  int32_t GetTickMajorLength() const { return tickMajorLength_; }
  void SetTickMajorLength(int32_t Value) { Set(tickMajorLength_, Value <= 0 ? 1 : Value); }
  int32_t GetTickMinorLength() const { return tickMinorLength_; }
  void SetTickMinorLength(int32_t Value) { Set(tickMinorLength_, Value <= 0 ? 1 : Value); }
  int32_t GetTickMargin() const { return tickMargin_; }
  void SetTickMargin(int32_t Value) { Set(tickMargin_, Value); }
  int32_t GetTickLabelMargin() const { return tickLabelMargin_; }
  void SetTickLabelMargin(int32_t Value) { Set(tickLabelMargin_, Value); }
  // At least 0.
  int32_t GetTickLabelPrecision() const { return tickLabelPrecision_; }
  void SetTickLabelPrecision(int32_t Value) { Set(tickLabelPrecision_, Value < 0 ? 0 : Value); }
  TColor GetTickMajorColor() const { return tickMajorColor_; }
  void SetTickMajorColor(TColor Value) { Set(tickMajorColor_, Value); }
  TColor GetTickMinorColor() const { return tickMinorColor_; }
  void SetTickMinorColor(TColor Value) { Set(tickMinorColor_, Value); }
  TiTickMinorAlignment GetTickMinorAlignment() const { return tickMinorAlignment_; }
  void SetTickMinorAlignment(TiTickMinorAlignment Value) { Set(tickMinorAlignment_, Value); }
  TFont* GetTickLabelFont() const { return tickLabelFont_.get(); }
  void SetTickLabelFont(TFont* Value) { tickLabelFont_->Assign(Value); }
  TiPrecisionStyle GetPrecisionStyle() const { return precisionStyle_; }
  void SetPrecisionStyle(TiPrecisionStyle Value) { Set(precisionStyle_, Value); }
  double InnerMin() const { return innerMin_; }
  double InnerMax() const { return innerMax_; }
  void SetInnerRange(double AMin, double AMax);

  TOnCustomizeTickLabel OnCustomizeTickLabel;
  TNotifyEvent OnChange;

 private:
  template <class V>
  void Set(V& field, V value) {
    if (field == value) return;
    field = value;
    OnChange(this);
  }
  void FontChanged(TObject*) { OnChange(this); }

  bool showTicksMajor_ = true, showTicksMinor_ = true, showTickLabels_ = true;
  int32_t tickMajorCount_ = 5, tickMinorCount_ = 4, tickMajorLength_ = 7, tickMinorLength_ = 3;
  int32_t tickMargin_ = 5, tickLabelMargin_ = 5, tickLabelPrecision_ = 0;
  TColor tickMajorColor_ = clBlack, tickMinorColor_ = clBlack;
  TiTickMinorAlignment tickMinorAlignment_ = itmnaInside;
  std::unique_ptr<TFont> tickLabelFont_;
  TiPrecisionStyle precisionStyle_ = ipsFixedDecimalPoints;
  double innerMin_ = 0, innerMax_ = 0;
};

class TiScaleComponent : public TiPositionComponent {
  PL_CLASS(TiScaleComponent)
 public:
  explicit TiScaleComponent(TComponent* AOwner);
  ~TiScaleComponent() override;

  TiScaleObject* Scale() const { return scale_.get(); }

  void SetPositionMin(double Value) override;
  void SetPositionMax(double Value) override;
  bool GetAutoScaleEnabled() const { return autoScaleEnabled_; }
  void SetAutoScaleEnabled(bool Value);
  int32_t GetAutoScaleDesiredTicks() const { return autoScaleDesiredTicks_; }
  // Values below 2 are ignored.
  void SetAutoScaleDesiredTicks(int32_t Value);
  int32_t GetAutoScaleMaxTicks() const { return autoScaleMaxTicks_; }
  void SetAutoScaleMaxTicks(int32_t Value);
  TiAutoScaleStyle GetAutoScaleStyle() const { return autoScaleStyle_; }
  void SetAutoScaleStyle(TiAutoScaleStyle Value);
  // The ticks found by the fixed automatic scale.
  double InnerMin() const { return innerMin_; }
  double InnerMax() const { return innerMax_; }

  // Runs only when AutoScaleEnabled and not streaming.
  void AutoScaleRange(double Min, double Max);
  virtual int32_t GetTickLabelDecimals();
  void Loaded() override;

 private:
  void ScaleChanged(TObject*) { RequestBackgroundRepaint(); }

  std::unique_ptr<TiScaleObject> scale_;
  bool autoScaleEnabled_ = false;
  int32_t autoScaleDesiredTicks_ = 5;
  int32_t autoScaleMaxTicks_ = 6;
  TiAutoScaleStyle autoScaleStyle_ = iassAutoMinMax;
  double innerMin_ = 0, innerMax_ = 0;
};
