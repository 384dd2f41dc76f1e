// Window definitions as text, and reading them into components.
//
// The text form, one component per block:
//
//   object Form_Main: TForm_Main          (also "inherited ..." and "inline ...", optional " [n]")
//     Caption = 'Power'#13#10'supply' +   (quoted text, #nn character codes, + across lines)
//       ' control'
//     Font.Style = [fsBold, fsItalic]     (dotted names reach nested objects; sets)
//     Left = 8                            (integers, $hex; floats 1.5, 1.5E10, suffix s/c/d)
//     Kind = bkOK                         (identifiers: enumerations, True/False, nil, Null)
//     Items.Strings = (                   (lists)
//       'one'
//       'two')
//     Panels = <                          (collections)
//       item
//         Width = 50
//       end>
//     Data = {0A0B0C}                     (binary, hexadecimal)
//     OnClick = OkButtonClick             (events: the root's published methods by name)
//     FocusControl = Edit1                (components by name, "Form2.Edit1" in another root)
//     object Edit1: TEdit
//     end
//   end
//
// The text is single-byte; the writer puts every character outside 32..126 as #nn.
#pragma once

#include "platform/runtime/Filer.h"

// The converters; a malformed text raises EReadError naming the line ("Line 3: '=' expected").
void ObjectTextToBinary(TStream* Input, TStream* Output);
void ObjectBinaryToText(TStream* Input, TStream* Output);
AnsiString ObjectTextToBinary(const AnsiString& Text);
AnsiString ObjectBinaryToText(const AnsiString& Binary);

// Reads the definition compiled into the program for ResName (a class name; see pl_definitions)
// into Instance, or into a new instance of the stored class when Instance is nil.  The root then
// joins the global roots.  Raises EResNotFound "Resource X not found" when there is none, and
// EReadError "X line N: ..." for a malformed definition, after freeing everything it created.
TComponent* ReadComponentRes(const AnsiString& ResName, TComponent* Instance);
// Reads the definitions of Instance's class and of its ancestors below RootAncestor, base class
// first, then calls Loaded once on every component.  False when none of them has a definition.
// Call it once the instance is fully constructed: a base-class constructor sees its own class.
bool InitInheritedComponent(TComponent* Instance, const TClassInfo& RootAncestor);
// A definition given as text (or in the binary form); SourceName prefixes error messages.
// The root does not join the global roots.
TComponent* ReadComponentText(const AnsiString& Text, TComponent* Instance,
                              const AnsiString& SourceName = "");
// The text definition of Instance and its children.
AnsiString WriteComponentText(TComponent* Instance);
