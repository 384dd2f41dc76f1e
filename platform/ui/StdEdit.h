// Single-line and multi-line edit controls.
#pragma once

#include "platform/ui/Controls.h"
