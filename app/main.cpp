// The control program: the main window over the instrument link and its dialogs.
// PL_SCREENSHOT=<file.png> writes the main window to that file a few seconds after start (to
// look at a run without a screen).
#include <cstdlib>

#include "app/AboutForm.h"
#include "app/ConfigForm.h"
#include "app/DisplayPlotForm.h"
#include "app/FastKeyForm.h"
#include "app/GoNGTableForm.h"
#include "app/MainForm.h"
#include "platform/display/Display.h"

int main() {
  if (StartDisplay() == TDisplayKind::Headless && !std::getenv("PL_DISPLAY")) {
    std::fprintf(stderr,
                 "powersupply: no display; run it under X (DISPLAY) or as `xvfb-run -a scripts/run.sh`\n");
    return 2;
  }
  Application->Initialize();
  Application->CreateForm(Form_Main);
  Application->CreateForm(Form_FastKey);
  Application->CreateForm(Form_Config);
  Application->CreateForm(Form_About);
  Application->CreateForm(Form_GoNGTable);
  Application->CreateForm(Form_DisplayPlot);
  TTimer* shot = nullptr;
  if (const char* file = std::getenv("PL_SCREENSHOT")) {
    shot = new TTimer(Form_Main);
    shot->SetInterval(4000);
    AnsiString name = file;
    shot->SetOnTimer(TNotifyEvent::Lambda([shot, name](TObject*) {
      shot->SetEnabled(false);
      SaveWindowPng(Form_Main->Handle(), name);
    }));
  }
  Application->Run();
  return 0;
}
