// The common controls: page and tab controls, status bar, up-down, track bar, progress bar, rich
// edit and date-time picker.  One header for the callers; the classes live in units by family.
#pragma once

#include "platform/ui/ComBars.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/RichEdit.h"
