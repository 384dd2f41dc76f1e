#include "widgets/iTypes.h"

PL_ENUM_NAMES(TiBevelStyle, "ibsNone", "ibsRaised", "ibsLowered")
PL_ENUM_NAMES(TiFillDirection, "ifdTopBottom", "ifdBottomTop", "ifdLeftRight", "ifdRightLeft",
              "ifdTopLeftBottomRight", "ifdBottomRightTopLeft", "ifdBottomLeftTopRight",
              "ifdTopRightBottomLeft", "ifdRectangleOut", "ifdRectangleIn", "ifdCircleOut", "ifdCircleIn")
PL_ENUM_NAMES(TiPrecisionStyle, "ipsSignificantDigits", "ipsFixedDecimalPoints")
PL_ENUM_NAMES(TiTickMinorAlignment, "itmnaInside", "itmnaCenter", "itmnaOutside")
PL_ENUM_NAMES(TiAlignmentHorizontal, "iahCenter", "iahLeft", "iahRight")
PL_ENUM_NAMES(TiAlignmentVertical, "iavCenter", "iavTop", "iavBottom")
PL_ENUM_NAMES(TiOrientation, "ioVertical", "ioHorizontal")
