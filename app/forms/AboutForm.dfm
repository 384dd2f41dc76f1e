object Form_About: TForm_About
  Left = 300
  Top = 200
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'About'
  ClientHeight = 214
  ClientWidth = 330
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object Bevel1: TBevel
    Left = 8
    Top = 8
    Width = 314
    Height = 160
    Shape = bsFrame
  end
  object Image1: TImage
    Left = 20
    Top = 20
    Width = 96
    Height = 96
  end
  object Label_Product: TLabel
    Left = 132
    Top = 24
    Caption = 'RZ4180'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -19
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Label_Version: TLabel
    Left = 132
    Top = 56
    Caption = 'Version 3.0'
  end
  object Label1: TLabel
    Left = 20
    Top = 128
    Caption = 'Web:'
  end
  object Label3: TLabel
    Left = 72
    Top = 128
    Cursor = crHandPoint
    Caption = 'https://www.example.com/rz4180'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clBlue
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsUnderline]
    ParentFont = False
    OnClick = Label3Click
  end
  object Label2: TLabel
    Left = 20
    Top = 146
    Caption = 'E-mail:'
  end
  object Label4: TLabel
    Left = 72
    Top = 146
    Cursor = crHandPoint
    Caption = 'support@example.com'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clBlue
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsUnderline]
    ParentFont = False
    OnClick = Label4Click
  end
  object TeThemeButton1: TButton
    Left = 128
    Top = 180
    Width = 75
    Height = 25
    Caption = 'Close'
    ModalResult = 2
    TabOrder = 0
  end
end
