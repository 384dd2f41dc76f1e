// The standard controls: labels, edits and memos, buttons, check boxes and radio buttons, group
// boxes, scroll bars, list boxes and combo boxes.  One header for the callers; the classes live in
// three units by family.
#pragma once

#include "platform/ui/StdButtons.h"
#include "platform/ui/StdEdit.h"
#include "platform/ui/StdLists.h"
