// Labels, push buttons, check boxes, radio buttons, group boxes and scroll bars.
#pragma once

#include "platform/ui/Controls.h"
