#include "app/AboutForm.h"

#include "app/MainForm.h"
#include "platform/os/shell/ShellAPI.h"
#include "platform/runtime/Files.h"

TForm_About* Form_About = nullptr;

const TClassInfo& TForm_About::ClassInfo() {
  using F = TForm_About;
  static const TClassInfo info = TClassInfo::Of<TForm_About, TForm>("TForm_About")
                                     .Field("Bevel1", &F::Bevel1)
                                     .Field("Image1", &F::Image1)
                                     .Field("Label_Product", &F::Label_Product)
                                     .Field("Label1", &F::Label1)
                                     .Field("Label2", &F::Label2)
                                     .Field("Label3", &F::Label3)
                                     .Field("Label4", &F::Label4)
                                     .Field("Label_Version", &F::Label_Version)
                                     .Field("TeThemeButton1", &F::TeThemeButton1)
                                     .Method("FormCreate", &F::FormCreate)
                                     .Method("Label3Click", &F::Label3Click)
                                     .Method("Label4Click", &F::Label4Click);
  return info;
}

TForm_About::TForm_About(TComponent* AOwner) : TForm(AOwner) {}

void TForm_About::FormCreate(TObject*) {
  // The picture lives beside the program with the other data files; without it the frame stays
  // empty.
  AnsiString folder = TForm_Main::DataFolder().empty() ? ProgramFolder() : TForm_Main::DataFolder();
  AnsiString picture = IncludeTrailingPathDelimiter(folder) + "About.bmp";
  if (FileExists(picture)) Image1->GetPicture()->LoadFromFile(picture);
}

void TForm_About::Label3Click(TObject*) {
  AnsiString link = Label3->GetCaption();
  ShellExecute(Handle(), "open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TForm_About::Label4Click(TObject*) {
  // The opener takes mail addresses as "mailto:" links.
  AnsiString link = "mailto:" + Label4->GetCaption();
  ShellExecute(Handle(), "open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
