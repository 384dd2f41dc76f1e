// Page control and tab sheets, tab control, status bar, up-down, track bar and progress bar.
#pragma once

#include "platform/ui/Controls.h"
