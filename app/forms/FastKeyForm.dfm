object Form_FastKey: TForm_FastKey
  Left = 300
  Top = 200
  BorderStyle = bsDialog
  Caption = 'HotKey'
  ClientHeight = 118
  ClientWidth = 260
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object Label_Ch1FastKeyV: TLabel
    Left = 16
    Top = 20
    Caption = 'Voltage'
  end
  object iAnalogOutput_Ch1FastKeyV: TiAnalogOutput
    Left = 96
    Top = 14
    Width = 148
    Height = 24
    Precision = 3
    UnitsText = 'V'
    TabOrder = 0
  end
  object Label_Ch1FastKeyA: TLabel
    Left = 16
    Top = 52
    Caption = 'Current'
  end
  object iAnalogOutput_Ch1FastKeyA: TiAnalogOutput
    Left = 96
    Top = 46
    Width = 148
    Height = 24
    Precision = 3
    UnitsText = 'A'
    TabOrder = 1
  end
  object TeThemeButton1: TButton
    Left = 48
    Top = 82
    Width = 75
    Height = 25
    Caption = 'OK'
    ModalResult = 1
    TabOrder = 2
  end
  object TeThemeButton2: TButton
    Left = 136
    Top = 82
    Width = 75
    Height = 25
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 3
  end
end
