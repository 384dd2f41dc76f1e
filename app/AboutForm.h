// The about box: the product, its version and the maker's web and mail addresses; a click on
// an address hands it to the desktop's opener.  Close answers modal result 2.
#pragma once

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

class TForm_About : public TForm {
  PL_CLASS(TForm_About)
 public:
  explicit TForm_About(TComponent* AOwner);

  // ---- stored components
  TBevel* Bevel1 = nullptr;
  TImage* Image1 = nullptr;
  TLabel* Label_Product = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
  TLabel* Label_Version = nullptr;
  TButton* TeThemeButton1 = nullptr;

  void FormCreate(TObject* Sender);
  void Label3Click(TObject* Sender);
  void Label4Click(TObject* Sender);
};

extern TForm_About* Form_About;
