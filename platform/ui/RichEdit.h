// The rich edit control (plain text with the members the grid relies on).
#pragma once

#include "platform/ui/Controls.h"
