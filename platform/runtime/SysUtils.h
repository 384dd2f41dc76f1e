// The runtime's everyday routines in one include: value types, exceptions, strings, numbers and
// dates as text, mathematics, files and the clock.
#pragma once

#include "platform/runtime/Clock.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Files.h"
#include "platform/runtime/FormatSettings.h"
#include "platform/runtime/MathUtils.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/Types.h"
