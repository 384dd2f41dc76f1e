object iPlotPreviewForm: TiPlotPreviewForm
  Left = 200
  Top = 120
  Caption = 'Tarvik Plot Preview'
  Width = 836
  Height = 563
  Constraints.MinHeight = 300
  Constraints.MinWidth = 500
  Position = poScreenCenter
  BorderIcons = [biSystemMenu, biMaximize]
  Color = clBtnFace
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object TopPanel: TPanel
    Left = 0
    Top = 0
    Width = 828
    Height = 41
    Align = alTop
    BevelOuter = bvNone
    TabOrder = 0
    object PrintButton: TSpeedButton
      Left = 8
      Top = 8
      Width = 28
      Height = 28
      OnClick = PrintButtonClick
    end
    object SettingsButton: TButton
      Left = 48
      Top = 8
      Width = 75
      Height = 28
      Caption = 'Settings'
      TabOrder = 0
      OnClick = SettingsButtonClick
    end
    object CloseButton: TButton
      Left = 135
      Top = 8
      Width = 75
      Height = 28
      Caption = 'Close'
      TabOrder = 1
      OnClick = CloseButtonClick
    end
  end
  object Preview: TiPaintBox
    Left = 0
    Top = 41
    Width = 828
    Height = 495
    Align = alClient
    OnPaint = PreviewPaint
  end
end
