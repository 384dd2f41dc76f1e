#include "platform/display/Headless.h"

THeadlessDisplay::THeadlessDisplay(TSize size)
    : size_{size.cx > 0 ? size.cx : 1024, size.cy > 0 ? size.cy : 768} {}
