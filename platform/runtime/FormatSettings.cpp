#include "platform/runtime/FormatSettings.h"

const TFormatSettings& DefaultFormatSettings() {
  static const TFormatSettings defaults;
  return defaults;
}

TFormatSettings FormatSettings;
