object TestMainForm: TTestMainForm
  Left = 120
  Top = 80
  BorderStyle = bsSingle
  Caption = 'Main window'
  ClientHeight = 200
  ClientWidth = 320
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  OnCreate = FormCreate
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object Probe1: TProbe
  end
  object Timer1: TTimer
    Enabled = False
    Interval = 100
    OnTimer = Timer1Timer
  end
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 100
    Height = 41
    Align = alTop
    BevelInner = bvLowered
    Caption = 'Top panel'
    Color = clSkyBlue
    TabOrder = 1
  end
  object OkButton: TTestButton
    Left = 120
    Top = 120
    Width = 75
    Height = 25
    Caption = '&OK'
    TabOrder = 0
    TabStop = True
    ModalResult = 1
    Default = True
    OnClick = OkButtonClick
  end
end
