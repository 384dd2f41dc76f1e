// List boxes and combo boxes.
#pragma once

#include "platform/ui/Controls.h"
