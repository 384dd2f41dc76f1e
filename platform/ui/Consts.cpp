// The framework's string table.
#include "platform/ui/Consts.h"

#include <string>

#include "platform/runtime/Resources.h"

namespace {

struct ConstsEntry {
  UINT Id;
  const char* Text;
};
constexpr ConstsEntry kConstsTable[] = {
    {SEditSelectAll, "Select All"}, {SEditUndo, "Undo"},    {SEditCopy, "Copy"}, {SEditCut, "Cut"},
    {SEditPaste, "Paste"},          {SEditDelete, "Delete"}};

// Registers the table once; FrameworkString keeps this file in every program that uses it.
struct ConstsRegistration {
  ConstsRegistration() {
    for (const ConstsEntry& e : kConstsTable)
      TResourceRegistration(RT_STRING, ResourceIdName(e.Id), e.Text, std::char_traits<char>::length(e.Text));
  }
} constsRegistration;

}  // namespace

AnsiString FrameworkString(UINT id) {
  for (const ConstsEntry& e : kConstsTable)
    if (e.Id == id) return e.Text;
  return "";
}
