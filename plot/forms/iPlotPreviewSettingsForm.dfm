object iPlotPreviewSettingsForm: TiPlotPreviewSettingsForm
  Left = 220
  Top = 140
  BorderStyle = bsDialog
  Caption = 'Settings'
  Width = 419
  Height = 237
  Position = poScreenCenter
  Color = clBtnFace
  PixelsPerInch = 96
  TextHeight = 13
  object PrintOrientationRadioGroup: TiComponentEditorRadioGroup
    Left = 8
    Top = 8
    Width = 113
    Height = 105
    Caption = 'Orientation'
    Items.Strings = (
      'Portrait'
      'Landscape')
    TabOrder = 0
  end
  object PrinterMarginGroupBox: TiComponentEditorGroupBox
    Left = 128
    Top = 8
    Width = 273
    Height = 105
    Caption = 'Margin'
    TabOrder = 1
    object PrintMarginTopEdit: TiComponentEditorEdit
      Left = 108
      Top = 18
      Width = 57
      TabOrder = 0
    end
    object PrintMarginLeftEdit: TiComponentEditorEdit
      Left = 24
      Top = 44
      Width = 57
      TabOrder = 1
    end
    object PrintMarginRightEdit: TiComponentEditorEdit
      Left = 192
      Top = 44
      Width = 57
      TabOrder = 2
    end
    object PrintMarginBottomEdit: TiComponentEditorEdit
      Left = 108
      Top = 70
      Width = 57
      TabOrder = 3
    end
  end
  object PrintDocumentNameLabel: TLabel
    Left = 8
    Top = 124
    Width = 90
    Height = 13
    Caption = 'Document Name'
  end
  object PrintDocumentNameEdit: TiComponentEditorEdit
    Left = 8
    Top = 140
    Width = 233
    TabOrder = 2
  end
  object PrintPaperSizeLabel: TLabel
    Left = 256
    Top = 124
    Width = 60
    Height = 13
    Caption = 'Paper Size'
  end
  object PrintPaperSizeComboBox: TiComponentEditorComboBox
    Left = 256
    Top = 140
    Width = 145
    Height = 21
    Style = csDropDownList
    Items.Strings = (
      'Letter'
      'Legal'
      'A3'
      'A4'
      'A5')
    TabOrder = 3
  end
  object OKButton: TButton
    Left = 240
    Top = 176
    Width = 75
    Height = 25
    Caption = 'OK'
    ModalResult = 1
    TabOrder = 4
  end
  object CancelButton: TButton
    Left = 326
    Top = 176
    Width = 75
    Height = 25
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 5
  end
end
