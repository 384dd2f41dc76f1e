// The base of a lamp: a Boolean Active with its lit and unlit colours and a bevel.  Descendants
// draw it (PaintToCanvas stays abstract here).
#pragma once

#include "widgets/iCustomComponent.h"

class TiLed : public TiCustomComponent {
  PL_CLASS(TiLed)
 public:
  explicit TiLed(TComponent* AOwner);

  bool GetActive() const { return active_; }
  virtual void SetActive(bool Value);
  TColor GetActiveColor() const { return activeColor_; }
  void SetActiveColor(TColor Value);
  bool GetAutoInactiveColor() const { return autoInactiveColor_; }
  void SetAutoInactiveColor(bool Value);
  TColor GetInactiveColor() const { return inactiveColor_; }
  void SetInactiveColor(TColor Value);
  TiBevelStyle GetBevelStyle() const { return bevelStyle_; }
  void SetBevelStyle(TiBevelStyle Value);

  // The face colour for the present state: ActiveColor when lit; unlit, ActiveColor dimmed by 3
  // (AutoInactiveColor) or InactiveColor.
  TColor LampColor() const;

  // Raised after every stored change of Active (not while a definition is read).
  TNotifyEvent OnChange;

 private:
  bool active_ = false;
  TColor activeColor_ = TColor(0x00FF00);
  bool autoInactiveColor_ = true;
  TColor inactiveColor_ = TColor(0x005500);
  TiBevelStyle bevelStyle_ = ibsLowered;
};
