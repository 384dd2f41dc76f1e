// The class every concrete instrument control derives from.
#pragma once

#include "widgets/iVCLComponent.h"

class TiCustomComponent : public TiVCLComponent {
  PL_CLASS(TiCustomComponent)
 public:
  explicit TiCustomComponent(TComponent* AOwner) : TiVCLComponent(AOwner) {}
};
