object Form_Config: TForm_Config
  Left = 300
  Top = 160
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Config'
  ClientHeight = 356
  ClientWidth = 228
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
  object GroupBox1: TGroupBox
    Left = 8
    Top = 8
    Width = 212
    Height = 84
    Caption = 'Comm'
    TabOrder = 0
    object Label2: TLabel
      Left = 12
      Top = 24
      Caption = 'BaudRate'
    end
    object TeThemeComboBoxRaudRate: TComboBox
      Left = 100
      Top = 20
      Width = 96
      Height = 21
      ItemHeight = 13
      Items.Strings = (
        '4800'
        '9600'
        '19200'
        '38400')
      ItemIndex = 1
      TabOrder = 0
    end
    object Label1: TLabel
      Left = 12
      Top = 54
      Caption = 'CommPort'
    end
    object TeThemeComboBoxComm: TComboBox
      Left = 100
      Top = 50
      Width = 96
      Height = 21
      ItemHeight = 13
      TabOrder = 1
    end
  end
  object GroupBox3: TGroupBox
    Left = 8
    Top = 100
    Width = 212
    Height = 100
    Caption = 'VoltageStep'
    TabOrder = 1
    object StaticText1: TStaticText
      Left = 12
      Top = 22
      Caption = 'Key--Arrow'
    end
    object iAnalogOutputKA1: TiAnalogOutput
      Left = 100
      Top = 18
      Width = 96
      Height = 22
      Value = 0.01
      Precision = 2
      UnitsText = 'V'
    end
    object StaticText2: TStaticText
      Left = 12
      Top = 48
      Caption = 'Key--Page'
    end
    object iAnalogOutputKP1: TiAnalogOutput
      Left = 100
      Top = 44
      Width = 96
      Height = 22
      Value = 0.01
      Precision = 2
      UnitsText = 'V'
    end
    object StaticText3: TStaticText
      Left = 12
      Top = 74
      Caption = 'Mouse--wheel'
    end
    object iAnalogOutputMW1: TiAnalogOutput
      Left = 100
      Top = 70
      Width = 96
      Height = 22
      Value = 0.01
      Precision = 2
      UnitsText = 'V'
    end
  end
  object GroupBox2: TGroupBox
    Left = 8
    Top = 208
    Width = 212
    Height = 100
    Caption = 'CurrentStep'
    TabOrder = 2
    object StaticText4: TStaticText
      Left = 12
      Top = 22
      Caption = 'Key--Arrow'
    end
    object iAnalogOutputKA2: TiAnalogOutput
      Left = 100
      Top = 18
      Width = 96
      Height = 22
      Value = 0.01
      Precision = 2
      UnitsText = 'A'
    end
    object StaticText5: TStaticText
      Left = 12
      Top = 48
      Caption = 'Key--Page'
    end
    object iAnalogOutputKP2: TiAnalogOutput
      Left = 100
      Top = 44
      Width = 96
      Height = 22
      Value = 0.01
      Precision = 2
      UnitsText = 'A'
    end
    object StaticText6: TStaticText
      Left = 12
      Top = 74
      Caption = 'Mouse--wheel'
    end
    object iAnalogOutputMW2: TiAnalogOutput
      Left = 100
      Top = 70
      Width = 96
      Height = 22
      Value = 0.01
      Precision = 2
      UnitsText = 'A'
    end
  end
  object TeThemeButton2: TButton
    Left = 24
    Top = 320
    Width = 75
    Height = 25
    Caption = 'Ok'
    Default = True
    ModalResult = 1
    TabOrder = 3
  end
  object TeThemeButton1: TButton
    Left = 128
    Top = 320
    Width = 75
    Height = 25
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 4
  end
end
