// The date-time picker.
#pragma once

#include "platform/ui/Controls.h"
