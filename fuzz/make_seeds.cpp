// Writes the seed corpora under fuzz/corpus/<harness>/ with the project's own writers, plus a few
// texts written by hand.  Usage: fuzz_make_seeds <corpus folder>.  Run by "scripts/fuzz.sh seeds";
// the output is committed, so a change here shows in the corpus diff.
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>

#include "app/LoadSource.h"
#include "app/PowerType.h"
#include "app/Settings.h"
#include "fuzz/support/Definitions.h"
#include "fuzz/support/FuzzSupport.h"
#include "fuzz/support/PlotChannel.h"
#include "fuzz/support/PropertyWidget.h"
#include "grid/AdvGrid.h"
#include "grid/PictureContainer.h"
#include "platform/data/DBGrids.h"
#include "platform/data/DBTables.h"
#include "platform/os/gdi/Icons.h"
#include "platform/os/gdi/ImageFiles.h"
#include "platform/runtime/FormText.h"
#include "platform/runtime/Registry.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "platform/ui/RichEdit.h"
#include "plot/iPlot.h"
#include "plot/iPlotMasterManager.h"
#include "plot/iPlotTranslation.h"
#include "plot/iXYPlotChannel.h"
#include "serial/CPort.h"
#include "tools/instrument_sim/core/Instrument.h"
#include "widgets/iAnalogOutput.h"
#include "widgets/iCheckBox.h"
#include "widgets/iComponentEditorDialogs.h"
#include "widgets/iKnob.h"
#include "widgets/iLedRectangle.h"
#include "widgets/iOPCItem.h"
#include "widgets/iRadioGroup.h"
#include "widgets/iSevenSegmentAnalog.h"
#include "widgets/iSwitchToggle.h"

namespace {

std::filesystem::path gRoot;

void Seed(const std::string& harness, const std::string& name, const std::string& bytes) {
  std::filesystem::create_directories(gRoot / harness);
  std::ofstream out(gRoot / harness / name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string Str(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Small pictures: a few colours in stripes.
std::vector<uint32_t> Pixels(int w, int h) {
  std::vector<uint32_t> p(size_t(w * h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p[size_t(y * w + x)] = 0xFF000000u | (x * 60u << 16) | (y * 80u << 8) | 0x40u;
  return p;
}

std::string MetafileBytes() {
  TMetafile mf;
  mf.SetWidth(40);
  mf.SetHeight(30);
  {
    std::unique_ptr<TMetafileCanvas> c(TMetafileCanvas::CreateWithComment(&mf, nullptr, "Seed", "Chart"));
    c->GetBrush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 20, 30));
    c->GetPen()->SetWidth(2);
    c->MoveTo(0, 0);
    c->LineTo(39, 29);
    c->Ellipse(5, 5, 30, 25);
    c->TextOut(2, 2, "V");
  }
  TMemoryStream s;
  mf.SaveToStream(&s);
  return std::string(static_cast<const char*>(s.Memory()), size_t(s.GetSize()));
}

// The stored data of a picture control holding Graphic, as Picture.Data carries it.
std::string PictureData(TGraphic* graphic) {
  fuzz::TFuzzPictureBox box(nullptr);
  box.SetName("Box");
  box.GetPicture()->SetGraphic(graphic);
  TMemoryStream s;
  WriteComponent(&s, &box);
  std::string all(static_cast<const char*>(s.Memory()), size_t(s.GetSize()));
  size_t at = all.find("Picture.Data");
  if (at == std::string::npos) fuzz::Fail("no picture data written");
  at += 12 + 1;  // the name, then vaBinary
  uint32_t n = 0;
  std::memcpy(&n, all.data() + at, 4);
  return all.substr(at + 4, n);
}

void FormSeeds() {
  fuzz::StartUi();
  fuzz::RegisterDefinitionClasses();
  std::vector<std::string> texts = {
      "object Form_Main: TForm_Main\n"
      "  Left = 8\n  Top = $10\n  Width = 320\n  Height = 200\n"
      "  Caption = 'Power'#13#10'supply' +\n    ' control'\n"
      "  Font.Style = [fsBold, fsItalic]\n  Font.Height = -11\n  Tag = -7\n"
      "  object Panel1: TPanel\n    Align = alTop\n    Caption = 'Top'\n    Color = clSkyBlue\n  end\n"
      "  object Timer1: TTimer\n    Interval = 250\n  end\n"
      "  object Grid1: TStringGrid\n    Top = 50\n    ColCount = 3\n    RowCount = 2\n"
      "    Options = [goFixedVertLine, goRowSelect]\n    ColWidths = (\n      20\n      64\n      30)\n  "
      "end\n"
      "end\n",
      "inherited Dlg: TForm [0]\n  Visible = True\n  Hint = 'x'\n"
      "  inline Box: TFuzzPictureBox\n    Width = 1.5E1\n    Tag = 2147483647\n  end\n"
      "  object Db: TDatabase\n    DatabaseName = 'Local'\n    Params.Strings = (\n      'PATH=.')\n  end\n"
      "  object T: TTable\n    TableName = 'Run1.db'\n  end\n"
      "  object S: TDataSource\n    DataSet = T\n  end\n"
      "  object G: TDBGrid\n    DataSource = S\n    Columns = <\n      item\n        FieldName = 'Setting'\n"
      "        Title.Caption = 'Set'\n        Width = 40\n      end>\n  end\n"
      "end\n"};
  // And one written by the writer, with a picture inside.
  TForm* form = TCustomForm::CreateNew<TForm>(Application);
  form->SetName("Written");
  form->SetCaption("Written form");
  auto* box = new fuzz::TFuzzPictureBox(form);
  box->SetName("Picture1");
  box->SetParent(form);
  TBitmap bmp;
  bmp.SetSize(4, 3);
  bmp.GetCanvas()->GetBrush()->SetColor(clBlue);
  bmp.GetCanvas()->FillRect(Rect(0, 0, 2, 3));
  box->GetPicture()->SetGraphic(&bmp);
  auto* grid = new TStringGrid(form);
  grid->SetName("Cells");
  grid->SetParent(form);
  grid->SetCells(1, 1, "a\tb");
  texts.push_back(WriteComponentText(form));
  form->Free();
  for (size_t i = 0; i < texts.size(); ++i) {
    Seed("form_text", "seed-" + std::to_string(i), texts[i]);
    Seed("form_binary", "seed-" + std::to_string(i), ObjectTextToBinary(texts[i]).substr(4));
  }

  Seed("picture_data", "bitmap", PictureData(&bmp));
  TIcon icon;
  HICON small = CreateIconFromPixels(Pixels(4, 4).data(), 4, 4);
  std::vector<uint8_t> ico = IconToIcoFile(small);
  DestroyIcon(small);
  TMemoryStream is;
  is.WriteBuffer(ico.data(), int32_t(ico.size()));
  is.SetPosition(0);
  icon.LoadFromStream(&is);
  Seed("picture_data", "icon", PictureData(&icon));
  TPngImage png;
  png.Assign(&bmp);
  Seed("picture_data", "png", PictureData(&png));
  TMetafile mf;
  std::string emf = MetafileBytes();
  TMemoryStream ms;
  ms.WriteBuffer(emf.data(), int32_t(emf.size()));
  ms.SetPosition(0);
  mf.LoadFromStream(&ms);
  Seed("picture_data", "metafile", PictureData(&mf));
}

void PictureSeeds() {
  std::vector<uint32_t> px = Pixels(5, 3);
  Seed("image_bmp", "rgb24", Str(WriteBmp(px.data(), 5, 3, 24)));
  Seed("image_bmp", "rgb32", Str(WriteBmp(px.data(), 5, 3, 32)));
  std::vector<RGBQUAD> pal = {{0, 0, 0, 0}, {255, 255, 255, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}};
  std::vector<uint8_t> idx = {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2};
  for (int bpp : {1, 4, 8}) {
    std::vector<uint8_t> use = idx;
    if (bpp == 1)
      for (auto& i : use) i &= 1;
    Seed("image_bmp", "indexed" + std::to_string(bpp), Str(WriteBmpIndexed(use.data(), 5, 3, bpp, pal)));
  }
  Seed("image_png", "rgb", Str(WritePng(px.data(), 5, 3, 6, false)));
  Seed("image_png", "rgba", Str(WritePng(px.data(), 5, 3, 9, true)));
  Seed("image_jpeg", "baseline", Str(WriteJpeg(px.data(), 5, 3, 75, false)));
  Seed("image_jpeg", "progressive", Str(WriteJpeg(px.data(), 5, 3, 90, true)));
  HICON small = CreateIconFromPixels(Pixels(4, 4).data(), 4, 4);
  Seed("icon", "small", Str(IconToIcoFile(small)));
  DestroyIcon(small);
  Seed("icon", "application", Str(IconToIcoFile(LoadIcon(nullptr, IDI_APPLICATION))));
  Seed("metafile", "drawing", MetafileBytes());
  // Pictures of cell markup: a one-frame and a three-frame GIF, and a bitmap.
  std::vector<TGifFrame> frames(3);
  for (size_t k = 0; k < frames.size(); ++k) {
    frames[k].Left = int32_t(k), frames[k].Width = 3, frames[k].Height = 2;
    frames[k].Indices.assign(6, uint8_t(k));
  }
  Seed("markup_picture", "three-frames", Str(WriteGif(6, 4, pal, frames)));
  frames.resize(1);
  Seed("markup_picture", "one-frame", Str(WriteGif(3, 2, pal, frames)));
  Seed("markup_picture", "bitmap", Str(WriteBmp(px.data(), 5, 3, 24)));
}

void MarkupSeeds() {
  Seed("cell_markup", "styles", "<B>bold</B> <I>it</I> <U>u</U> <S>s</S> <SUB>2</SUB><SUP>3</SUP> <Z>hid</Z>");
  Seed("cell_markup", "fonts",
       "<FONT face=\"Arial\" size=\"4\" color=\"#FF0000\" bgcolor=\"clyellow\">big</FONT><BR><HI>hi</HI>");
  Seed("cell_markup", "anchors", "see <A href=\"http://x\">here</A> &amp; &lt;there&gt; &euro;&permil;<HR>end");
  Seed("cell_markup", "lists", "<P align=\"center\" bgcolor=\"#EEEEEE\"><UL><LI>one<UL><LI>two</UL></UL></P>");
  Seed("cell_markup", "controls",
       "<CONTROL TYPE=\"CHECK\" ID=\"a\" VALUE=\"TRUE\" WIDTH=\"16\"><CONTROL TYPE=\"EDIT\" ID=\"b\" "
       "VALUE=\"x&lt;y\" WIDTH=\"40\"><CONTROL TYPE=\"COMBO\" ID=\"c\" WIDTH=\"50\"><CONTROL "
       "TYPE=\"BUTTON\" ID=\"d\" VALUE=\"go\" WIDTH=\"30\"><CONTROL TYPE=\"RADIO\" WIDTH=\"16\">");
  Seed("cell_markup", "misc",
       "<BODY bgcolor=\"#FFFFFF\"><IND x=\"20\">in<SH>shadow</SH><E>err</E><BL>blink</BL><R a=\"90\">up</R>"
       "<IMG src=\"idx:0\" align=\"top\"><#1>");
}

void TextSeeds() {
  auto nul = [](const std::string& a, const std::string& b) { return a + std::string(1, '\0') + b; };
  Seed("number_format", "float", nul("#,##0.00;(#,##0.00);'zero'", "-1234.5"));
  Seed("number_format", "exponent", nul("0.###E+00", "1.5e10"));
  Seed("number_format", "format", nul("%d|%-8s|%8.3f|%e|%g|%x|%n|%m|%2:s|%*d|%%", " 42 "));
  Seed("number_format", "date",
       nul("yyyy-mm-dd hh:nn:ss.zzz am/pm dddd ddddd tt \"lit\"", "12/31/1999 11:59 PM"));
  Seed("number_format", "plain", nul("0.0000", "0.5120"));
  Seed("mask_text", "date", nul("!99/99/0000;1;_", "12/31/1999"));
  Seed("mask_text", "code", nul(">LL-000;0;*", "ab123"));
  Seed("mask_text", "phone", nul("(999) 000-0000;0", "5551234567"));

  {
    // Rich text: the writer's own, and the kind other writers make.
    const TRichCharFormat def{"Arial", 10, {}, clWindowText, DEFAULT_CHARSET};
    TRichDocument doc;
    doc.Text = "plain {b} \\ bold\r\n\tcaf\xE9";
    doc.Runs = {{6, def},
                {10, {"Courier New", 14, {fsBold, fsUnderline}, TColor(0x0000FF), ANSI_CHARSET}},
                {int32_t(doc.Text.size()) - 16, {"Tahoma", 8, {fsItalic, fsStrikeOut}, TColor(0x00AA00), 0}}};
    Seed("rich_text", "runs", WriteRichText(doc, def));
    Seed("rich_text", "foreign",
         "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1 Courier;}}"
         "{\\colortbl;\\red255\\green0\\blue0;}{\\*\\generator x;}{\\info{\\title t}}"
         "\\uc1\\pard\\f0\\fs20 a {\\b\\cf1 b}\\par{\\f1\\i c}\\u233?\\'e9\\bin2 xy\\tab\\line}");
  }
  Seed("ini_file", "sections",
       "; settings\r\n[Main]\r\nLeft=10\r\nTop = "
       "$1F\r\nMax=1.5E3\r\nOn=1\r\n\r\n[Port]\r\nName=COM1\r\n[main]\r\nLeft=3\r\n");
  Seed("ini_file", "odd", "x=1\n[ a b ]\n=v\n[\nk==\r[z]\rq\n");
  Seed("string_list", "lines", "one\r\ntwo=2\nthree\rfour");
  Seed("string_list", "comma", "a,\"b c\",\"d\"\"e\", f ,,'g'");
  Seed("port_map", "map",
       nul("COM1=/dev/ttyUSB0\n# note\nCOM2=/dev/pts/3;COM3=ttyS1",
           "COM1\n\\\\.\\COM2\n//./com3\nCOM9\nttyS0\n../etc\n"));

  Seed("instrument_sim", "session",
       "*IDN?\nVOLT 5.0;CURR 1.5\nOUTP 1\nMEAS:VOLT?;:MEAS:CURR?\nSYST:SENS 1\nVOLT "
       "99\nSYST:ERR?\nmeas:dvm?\r\nBOGUS\n");
  Seed("instrument_sim", "models", BuildModelTable(BuiltInModels()));

  // The program's own files, by the program's writers.
  {
    TLinkSettings link;
    link.SetPortName("COM12");
    TParameterBody body = DefaultParameterBody();
    body.HotKeyCaptions[2] = "12.5V/1.5A";
    body.ProgramSteps.resize(3);
    Seed("parameter_files", "config", WriteParameterBytes(&link, body));
    Seed("parameter_files", "par", WriteParameterBytes(nullptr, DefaultParameterBody()));
    Seed("model_table", "models",
         WritePowerTypeBytes(
             {{"RZ4180", "20", "1.2", "DC power supply", "1", ""}, {"rz4181", " 30 ", "3", "", "2", "note"}}));
    TStringList strings;
    for (const char* s : {"RZ4180", "Config", "Save", "", "Open"}) strings.Add(s);
    Seed("language_files", "list-and-file",
         nul("0x0409 English.lng\r\n0x0407 Deutsch.lng\r\n0x080a x\n", WriteLanguageBytes(strings)));
    Seed("link_replies", "session",
         "RZ Instruments,RZ4180,SN1,1.0\n0\n5.0000\x01"
         "0.5000\r\n0.0000\n0.0000\x02"
         "0.0000\n-222,\"Data out of range: value too large\"\n0,\"No error\"\nxx\x7f\n1.0\n1.0\n");
  }

  // The settings store and the port's stored settings, written by their own writers, from an
  // empty store (a harness run may have left its last input there).
  std::remove(RegistryStoreFileName().c_str());
  {
    TRegistry reg;
    reg.OpenKey("\\Software\\Seed\\Form\\TForm1", true);
    reg.WriteInteger("Left", 12);
    reg.WriteString("Caption", " a=b;[c]%\r\n");
    reg.WriteBool("Max", true);
    reg.OpenKey("\\Software\\Seed\\Other", true);
    reg.WriteString("", "default");
  }
  Seed("registry_store", "written", FileText(RegistryStoreFileName()));
  std::remove(RegistryStoreFileName().c_str());
  TComPort port(nullptr);
  port.SetName("ComPort1");
  port.SetStoredProps({spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers});
  port.SetBaudRate(br19200);
  port.GetParity()->SetBits(prEven);
  std::string iniPath = fuzz::TempPath("seed.ini");
  {
    TIniFile ini(iniPath);
    port.StoreToIniFile(&ini);
  }
  TRegistry reg;
  reg.OpenKey("\\Software\\Fuzz\\ComPort1", true);
  port.StoreToRegistry(&reg);
  Seed("serial_settings", "stored", nul(FileText(iniPath), FileText(RegistryStoreFileName())));
  Seed("serial_settings", "custom",
       nul("[ComPort1]\nBaudRate=Custom\nCustomBaudRate=31250\nFlowControl.XonChar=#17\nParity=odd\n", ""));
}

void TableSeeds() {
  std::string folder = fuzz::TempFolder();
  TTable t(nullptr);
  t.SetDatabaseName(folder);
  t.SetTableName("Run1.db");
  t.GetFieldDefs()->Add("Setting", ftString, 20);
  t.GetFieldDefs()->Add("Real", ftFloat);
  t.GetFieldDefs()->Add("Count", ftInteger);
  t.GetFieldDefs()->Add("Pass", ftBoolean);
  t.GetFieldDefs()->Add("When", ftDateTime);
  t.CreateTable();
  t.Open();
  for (int i = 0; i < 3; ++i) {
    t.Append();
    t.FieldByName("Setting")->SetAsString("S" + std::to_string(i));
    t.FieldByName("Real")->SetAsFloat(0.5 * i);
    t.FieldByName("Count")->SetAsInteger(i);
    t.FieldByName("Pass")->SetAsBoolean(i % 2 == 0);
    t.FieldByName("When")->SetAsDateTime(45000.25 + i);
    t.Post();
  }
  t.Close();
  Seed("data_table", "run", FileText(fuzz::TempPath("Run1.db")));
}

// Property text files as the control saves them, and one written by hand with what a file from
// elsewhere may hold (the other decimal separator, a foreign class, broken and unknown lines).
void PropertyFileSeeds() {
  const std::string path = fuzz::TempPath("widget-seed.txt");
  fuzz::TFuzzWidget w(nullptr);
  w.SavePropertyFile(path);
  Seed("property_file", "default", FileText(path));
  w.SetOptionSaveAllProperties(true);
  w.SetParentFont(false);
  w.SetBounds(4, 6, 120, 40);
  w.SetCaption("&Knob");
  w.SetBackGroundColor(clNavy);
  w.SetBorderStyle(ibsLowered);
  w.SetStep(0.25);
  w.GetFont()->SetColor(clYellow);
  w.GetFont()->SetStyle(TFontStyles{fsBold, fsItalic});
  w.SavePropertyFile(path);
  Seed("property_file", "all", FileText(path));
  Seed("property_file", "mixed",
       "File Type = TiKnob\r\nStep = 0,1\r\nWidth = abc\r\nBorderStyle = 9\r\nUnknown = 1\r\n"
       "Font.Style = 3\r\n= 4\r\nFont.Size\r\nstep = 7\r\nCaption =  padded  \r\n");
}

// Data files of a plot channel as the channel saves them: the input's first byte is the harness's
// mode (style, ring, clear, separator).
void PlotChannelSeeds() {
  const std::string path = fuzz::TempPath("channel-seed.txt");
  for (const char separator : {'\t', ','}) {
    fuzz::TPlotChannelHost host;
    host.Separator = separator;
    auto channel = fuzz::MakePlotChannel(host);
    for (int i = 0; i < 12; ++i) channel->AddPointXY(0.25 * i, i % 3 == 0 ? -1.5e-7 * i : 1234.5 + i);
    channel->SetPointNull(4, true);
    channel->SetPointEmpty(7, true);
    channel->SaveDataToFile(path);
    const std::string text = FileText(path);
    const char mode = separator == ',' ? 16 + 8 : 8;
    Seed("channel_data_file", separator == ',' ? "comma" : "tab", std::string(1, mode) + text);
    Seed("channel_data_file", separator == ',' ? "comma-compact-ring" : "tab-interval",
         std::string(1, char(separator == ',' ? 16 + 4 + 1 : 2)) + text);
  }
  Seed("channel_data_file", "mixed",
       std::string(1, char(3)) + " 1 \t 2 \n\t5\n3,5\t4\r\n7\tnull\r\n8\n1e999\t1\n");
}

// A plot's data files in both forms and its property and annotation files, as the plot writes
// them, and a few written by hand.  The data harness's first byte is its mode (channel count,
// style, separator); the property harness's picks the reader.
void PlotFileSeeds() {
  const std::string path = fuzz::TempPath("plot-seed");
  TiPlot plot(nullptr);
  plot.AddChannel();
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < 6 - 2 * c; ++i) plot.GetChannel(c)->AddPointXY(0.5 * i, c == 0 ? 1.25 * i : -3e-7 * i);
  plot.GetChannel(0)->SetPointNull(2, true);
  plot.GetChannel(0)->SetPointEmpty(3, true);
  plot.SaveDataToFile(path);
  Seed("plot_data_file", "text", std::string(1, char(2)) + FileText(path));
  Seed("plot_data_file", "text-interval", std::string(1, char(2 | 8 | 16)) + FileText(path));
  plot.SetDataFileFormat(ipdffCompactInterval);
  plot.SaveDataToFile(path);
  Seed("plot_data_file", "binary", std::string(1, char(2)) + FileText(path));
  Seed("plot_data_file", "binary-three-channels", std::string(1, char(3 | 4)) + FileText(path));
  Seed("plot_data_file", "shared-x", std::string(1, char(3)) + "(X)\tA(Y)\tB(Y)\r\n1\t2\t\r\n2\tnull\t4\r\n\t5\r\n");
  Seed("plot_data_file", "comma", std::string(1, char(2 | 16)) + "A(X),A(Y)\n1,2\n3\t4\n,5\n6,EMPTY,7,8\n");

  plot.AddLimit();
  plot.AddAnnotation();
  plot.SetTitleText("Seed");
  plot.SavePropertyFile(path);
  Seed("plot_config_file", "plot", std::string(1, char(0)) + FileText(path));
  plot.SaveAnnotationsToFile(path);
  Seed("plot_config_file", "annotations", std::string(1, char(1)) + FileText(path));
  plot.Master()->SetChannelClass(&PlotClassOf<TiXYPlotChannel>());
  plot.AddChannel();
  plot.SavePropertyFile(path);
  Seed("plot_config_file", "xy-channel", std::string(1, char(0)) + FileText(path));
  Seed("plot_config_file", "counts", std::string(1, char(0)) +
                                          "File Type = Plot Config\r\nLabelCount = 2\r\nChannelCount = 1\r\n"
                                          "Channel0.RingBufferSize = -4\r\nLabel1.Caption = x\r\nLimitCount = 1001\r\n");
}

// Window definitions holding a plot, for the widget definitions harness, as the definition writer
// stores them: one at its defaults, one with objects of every kind and channels of both classes,
// and one written by hand that names a class no channel has.
void PlotDefinitionSeeds() {
  fuzz::StartUi();
  RegisterClass(TiPlot::ClassInfo());
  const auto seed = [](const char* Name, const std::function<void(TiPlot*)>& Fill) {
    TForm* f = TCustomForm::CreateNew<TForm>(Application);
    f->SetName("WidgetForm");
    auto* plot = new TiPlot(f);
    plot->SetName("Plot1");
    plot->SetParent(f);
    plot->SetBounds(0, 0, 200, 120);
    Fill(plot);
    Seed("widget_definitions", Name, WriteComponentText(f));
    f->Free();
  };
  seed("plot-defaults", [](TiPlot*) {});
  seed("plot-every-kind", [](TiPlot* plot) {
    plot->Master()->SetChannelClass(&PlotClassOf<TiXYPlotChannel>());
    plot->TiPlotComponent::GetChannel(plot->AddChannel())->SetTitleText("Path");
    plot->Master()->SetChannelClass(&PlotClassOf<TiPlotChannel>());
    plot->AddChannel();
    plot->AddTable();
    plot->AddLimit();
    plot->AddLabel();
    plot->AddDataCursor();
    plot->AddYAxis();
    plot->GetTranslationManager()->NewPair("Edit...", "Bearbeiten...");
  });
  Seed("widget_definitions", "plot-unknown-class",
       "object WidgetForm: TForm\n  object Plot1: TiPlot\n    ChannelManager = <\n      item\n"
       "        ObjectClass = 'TiPlotLimit'\n        Name = 'Channel 1'\n      end\n      item\n"
       "        ObjectClass = 'TiXYPlotChannel'\n      end>\n  end\nend\n");
}

// Window definitions holding the widgets as the definition writer stores them: one with every
// widget at its defaults, one with each property kind changed (integers, floats, enumerations,
// sets, colours, characters, strings, string lists, nested fonts, a picture, the defined
// properties) and OPC item lists; and one written by hand with values out of range.
void WidgetDefinitionSeeds() {
  fuzz::StartUi();
  auto form = [] {
    TForm* f = TCustomForm::CreateNew<TForm>(Application);
    f->SetName("WidgetForm");
    return f;
  };
  {
    TForm* f = form();
    for (TComponent* c : std::initializer_list<TComponent*>{
             new TiKnob(f), new TiSevenSegmentAnalog(f), new TiSevenSegmentCharacter(f), new TiLedRectangle(f),
             new TiSwitchToggle(f), new TiEditCustom(f), new TiAnalogOutput(f), new TiCheckBox(f),
             new TiRadioGroup(f), new TiColorDialog(f), new TiFontDialog(f), new TiOpenDialog(f),
             new TiSaveDialog(f)}) {
      c->SetName(c->ClassName().substr(2) + "1");
      if (auto* w = dynamic_cast<TControl*>(c)) w->SetParent(f);
    }
    Seed("widget_definitions", "defaults", WriteComponentText(f));
    f->Free();
  }
  TForm* f = form();
  f->SetCaption("Front panel");
  auto* knob = new TiKnob(f);
  knob->SetName("Knob");
  knob->SetParent(f);
  knob->SetBounds(8, 8, 120, 120);
  knob->SetPositionMax(30);
  knob->SetPosition(12.5);
  knob->SetKnobStyle(iksSunken);
  knob->SetIndicatorActiveColor(clRed);
  knob->SetKeyArrowStepSize(0.25);
  knob->SetPositionDisplayUnits("V");
  knob->SetShowPostionDisplay(true);
  knob->GetPositionDisplayFont()->SetStyle(TFontStyles{fsBold});
  knob->SetAnchors(TAnchors{akLeft, akBottom});
  knob->GetBackGroundPicture()->SetSize(3, 2);
  knob->GetBackGroundPicture()->GetCanvas()->SetPixel(1, 1, clRed);
  TiOPCItem* item = knob->OPCItemManager()->Add();
  item->SetPropertyName("Position");
  item->SetServerName("Bench.Server");
  item->SetItemName("PSU.Voltage");
  item->SetUpdateRate(250);
  item->SetAutoConnect(false);
  item = knob->OPCItemManager()->Add();
  item->SetPropertyName("PositionDisplayFont.Color");
  item->SetGroupName("G");
  item->SetItemName("Colour");
  auto* display = new TiSevenSegmentAnalog(f);
  display->SetName("Volts");
  display->SetParent(f);
  display->SetDigitCount(5);
  display->SetPrecision(3);
  display->SetValue(-12.345);
  display->SetLeadingStyle(ilsZeros);
  display->SetSegmentColor(TColor(65408));
  auto* digit = new TiSevenSegmentCharacter(f);
  digit->SetName("Digit");
  digit->SetParent(f);
  digit->SetCharacter('E');
  auto* lamp = new TiLedRectangle(f);
  lamp->SetName("Output");
  lamp->SetParent(f);
  lamp->SetActive(true);
  lamp->SetCenterLabelText("OUT\n'1'");
  auto* sw = new TiSwitchToggle(f);
  sw->SetName("Power");
  sw->SetParent(f);
  sw->SetSwitchOrientation(ioHorizontal);
  sw->SetHint("Output on/off");
  auto* edit = new TiEditCustom(f);
  edit->SetName("Edit");
  edit->SetParent(f);
  edit->SetMaxLength(8);
  edit->SetEditText("text");
  auto* entry = new TiAnalogOutput(f);
  entry->SetName("Setpoint");
  entry->SetParent(f);
  entry->SetValueMin(-5);
  entry->SetValueMax(30);
  entry->SetPrecision(2);
  entry->SetUnitsText("V");
  entry->SetValue(2.25);
  entry->GetFont()->SetName("DejaVu Sans Mono");
  entry->OPCItemManager()->Add()->SetPropertyName("Value");
  auto* check = new TiCheckBox(f);
  check->SetName("Log");
  check->SetParent(f);
  check->SetCaption("&Logging");
  check->SetChecked(true);
  auto* radio = new TiRadioGroup(f);
  radio->SetName("Mode");
  radio->SetParent(f);
  for (const char* s : {"Voltage", "Current", "Power"}) radio->GetItems()->Add(s);
  radio->SetColumns(2);
  radio->SetItemIndex(1);
  auto* save = new TiSaveDialog(f);
  save->SetName("SaveImage");
  save->SetFilter("Bitmap|*.bmp|All|*.*");
  Seed("widget_definitions", "front-panel", WriteComponentText(f));
  f->Free();
  Seed("widget_definitions", "odd-values",
       "object WidgetForm: TForm\n"
       "  object K: TiKnob\n    PositionMin = 10\n    PositionMax = -10\n    Position = 1e300\n"
       "    KnobRadius = -4\n    IndicatorSize = 0\n    PositionDisplayPrecision = 99\n"
       "    PositionMax_2 = 5\n    KeyArrowStepSize_2 = -1\n    KeyPageStepSize_2 = 0\n"
       "    OPCItems = <\n      item\n        PropertyName = 'Font.Style'\n      end\n      item\n      end>\n"
       "  end\n"
       "  object S: TiSevenSegmentAnalog\n    Value = -1e20\n    DigitCount = 0\n    Precision = -3\n"
       "    SegmentSize = 1000\n  end\n"
       "  object R: TiRadioGroup\n    Columns = 0\n    ItemIndex = 7\n    Width = 1\n    Height = 1\n  end\n"
       "  object A: TiAnalogOutput\n    ValueMin = 3\n    ValueMax = -3\n    Value = 9\n    Precision = 40\n"
       "    UnitsText = ''\n  end\n"
       "end\n");
}

// The grid's CSV files, pasted texts and its own clipboard block (written by the grid).
void GridSeeds() {
  Seed("grid_csv", "semicolons", "a;b;c\r\n1;2;3\r\n");
  Seed("grid_csv", "quotes", "\"x\"\"y\",\"a,b\",c\n1,2,3\n");
  Seed("grid_csv", "ragged", "a,b,c\r\n1\r\n1,2,3,4,5");
  Seed("grid_clipboard_text", "block", "a\tb\r\nc\td\r\n");
  Seed("grid_clipboard_text", "ragged", "\tx\r\n\r\ny\rz\tw");
  TAdvStringGrid grid(nullptr);
  grid.SetColCount(4);
  grid.SetRowCount(4);
  grid.SetCells(1, 1, "one");
  grid.SetCells(2, 2, "two");
  grid.CellProperties(2, 2)->SetBrushColor(clRed);
  TCellGraphic* check = grid.CreateCellGraphic(1, 2);
  check->CellType = ctCheckBox;
  check->CellBoolean = true;
  TCellGraphic* radio = grid.CreateCellGraphic(2, 1);
  radio->CellType = ctRadio;
  radio->CellCreated = true;
  auto* items = new TStringList;
  items->SetCommaText("a,b");
  radio->Graphic = items;
  for (const auto& [name, rect] : {std::pair<const char*, TGridRect>{"block", {1, 1, 2, 2}}, {"full", {0, 0, 3, 3}}}) {
    TMemoryStream block;
    grid.WriteCellsToStream(rect, &block);
    Seed("grid_clipboard_format", name,
         std::string(static_cast<const char*>(block.Memory()), size_t(block.Size())));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: fuzz_make_seeds <corpus folder>\n";
    return 2;
  }
  gRoot = argv[1];
  try {
    FormSeeds();
    PictureSeeds();
    MarkupSeeds();
    TextSeeds();
    TableSeeds();
    PropertyFileSeeds();
    PlotChannelSeeds();
    PlotFileSeeds();
    WidgetDefinitionSeeds();
    PlotDefinitionSeeds();
    GridSeeds();
  } catch (const Exception& e) {
    std::cerr << "fuzz_make_seeds: " << e.Message << "\n";
    return 1;
  }
  return 0;
}
