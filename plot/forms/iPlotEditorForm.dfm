object iPlotEditorForm: TiPlotEditorForm
  Left = 200
  Top = 120
  Caption = 'Plot'
  ClientWidth = 576
  ClientHeight = 272
  Color = clBtnFace
  PixelsPerInch = 96
  TextHeight = 13
  OnCreate = FormCreate
  object PageControl: TiComponentEditorPageControl
    Left = 0
    Top = 0
    Width = 576
    Height = 272
    Align = alClient
    TabOrder = 0
  end
end
