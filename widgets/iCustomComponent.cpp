#include "widgets/iCustomComponent.h"

const TClassInfo& TiCustomComponent::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiCustomComponent, TiVCLComponent>("TiCustomComponent");
  return info;
}
