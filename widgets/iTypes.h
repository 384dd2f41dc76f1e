// The enumerations, records and event types shared by the instrument widgets and the plot.
#pragma once

#include "platform/runtime/TypInfo.h"
#include "platform/runtime/Types.h"
#include "platform/ui/Graphics.h"

class Variant;

enum TiBevelStyle : uint8_t { ibsNone, ibsRaised, ibsLowered };
enum TiFillDirection : uint8_t {
  ifdTopBottom,
  ifdBottomTop,
  ifdLeftRight,
  ifdRightLeft,
  ifdTopLeftBottomRight,
  ifdBottomRightTopLeft,
  ifdBottomLeftTopRight,
  ifdTopRightBottomLeft,
  ifdRectangleOut,
  ifdRectangleIn,
  ifdCircleOut,
  ifdCircleIn
};
enum TiPrecisionStyle : uint8_t { ipsSignificantDigits, ipsFixedDecimalPoints };
enum TiTickMinorAlignment : uint8_t { itmnaInside, itmnaCenter, itmnaOutside };
enum TiAlignmentHorizontal : uint8_t { iahCenter, iahLeft, iahRight };
enum TiAlignmentVertical : uint8_t { iavCenter, iavTop, iavBottom };
enum TiOrientation : uint8_t { ioVertical, ioHorizontal };

template <>
const EnumNames& EnumNamesOf<TiBevelStyle>();
template <>
const EnumNames& EnumNamesOf<TiFillDirection>();
template <>
const EnumNames& EnumNamesOf<TiPrecisionStyle>();
template <>
const EnumNames& EnumNamesOf<TiTickMinorAlignment>();
template <>
const EnumNames& EnumNamesOf<TiAlignmentHorizontal>();
template <>
const EnumNames& EnumNamesOf<TiAlignmentVertical>();
template <>
const EnumNames& EnumNamesOf<TiOrientation>();

// A point of two doubles, X then Y.
struct TDoublePoint {
  double X = 0;
  double Y = 0;
  friend bool operator==(const TDoublePoint&, const TDoublePoint&) = default;
};

// Numeric arrays of the interpolation routines: used from index 1 to N, index 0 unused.
using TDoubleArray = std::vector<double>;

// Events of the base control and the value model.
using TIndexObjectEvent = TEvent<TObject*, int32_t>;
using TBeforeOPCNewDataEvent = TEvent<TObject*, int32_t, Variant&>;
// Sender, canvas: called on the paint buffer after the control drew itself.
using TiAfterPaintEvent = TEvent<TObject*, TCanvas*>;
// Sender, property name, var Allow: asked before a change is stored.
using TiPropertyChangingEvent = TEvent<TObject*, const AnsiString&, bool&>;
// Sender, property name: told after a change.
using TiPropertyChangedEvent = TEvent<TObject*, const AnsiString&>;
// Sender, var IsDesign: may override whether the control counts as being designed.
using TiDesignModeEvent = TEvent<TObject*, bool&>;
