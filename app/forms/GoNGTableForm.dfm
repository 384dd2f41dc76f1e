object Form_GoNGTable: TForm_GoNGTable
  Left = 250
  Top = 150
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'GoNG Table'
  ClientHeight = 400
  ClientWidth = 560
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
  object Label4: TLabel
    Left = 12
    Top = 16
    Caption = 'Name'
  end
  object TeThemeComboBox1: TComboBox
    Left = 56
    Top = 12
    Width = 180
    Height = 21
    Style = csDropDownList
    TabOrder = 0
  end
  object TeThemeButton6: TButton
    Left = 248
    Top = 10
    Width = 70
    Height = 25
    Caption = 'Display'
    TabOrder = 1
    OnClick = TeThemeButton6Click
  end
  object TeThemeButton7: TButton
    Left = 324
    Top = 10
    Width = 80
    Height = 25
    Caption = 'Delete Table'
    TabOrder = 2
    OnClick = TeThemeButton7Click
  end
  object TeThemeButton2: TButton
    Left = 410
    Top = 10
    Width = 64
    Height = 25
    Caption = 'Report'
    Enabled = False
    TabOrder = 3
    OnClick = TeThemeButton2Click
  end
  object TeThemeButton5: TButton
    Left = 480
    Top = 10
    Width = 68
    Height = 25
    Caption = 'Close'
    ModalResult = 2
    TabOrder = 4
  end
  object DBGrid1: TDBGrid
    Left = 12
    Top = 44
    Width = 536
    Height = 344
    TabOrder = 5
  end
  object BatteryRecordTable: TTable
  end
  object BatteryRecordDataSource: TDataSource
  end
  object GoNGDatabase: TDatabase
    SessionName = 'Default'
  end
end
