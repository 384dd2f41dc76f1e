object iValueConverterEditForm: TiValueConverterEditForm
  Left = 200
  Top = 120
  BorderStyle = bsDialog
  Caption = 'Value Converter'
  Width = 269
  Height = 264
  Position = poScreenCenter
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object PageControl: TiComponentEditorPageControl
    Left = 4
    Top = 2
    Width = 253
    Height = 167
    ActivePage = IntervalPage
    TabOrder = 0
    object IntervalPage: TTabSheet
      Caption = 'Interval'
      object HoursLabel: TLabel
        Left = 8
        Top = 13
        Width = 48
        Height = 13
        Caption = 'Hours'
      end
      object HoursEdit: TiComponentEditorEdit
        Left = 58
        Top = 10
        Width = 50
        TabOrder = 0
        OnUpdate = IntervalChanged
      end
      object HoursUpDown: TiUpDown
        Left = 108
        Top = 10
        Associate = HoursEdit
        Max = 23
      end
      object MinutesLabel: TLabel
        Left = 8
        Top = 43
        Width = 48
        Height = 13
        Caption = 'Minutes'
      end
      object MinutesEdit: TiComponentEditorEdit
        Left = 58
        Top = 40
        Width = 50
        TabOrder = 1
        OnUpdate = IntervalChanged
      end
      object MinutesUpDown: TiUpDown
        Left = 108
        Top = 40
        Associate = MinutesEdit
        Max = 59
      end
      object SecondsLabel: TLabel
        Left = 8
        Top = 73
        Width = 48
        Height = 13
        Caption = 'Seconds'
      end
      object SecondsEdit: TiComponentEditorEdit
        Left = 58
        Top = 70
        Width = 50
        TabOrder = 2
        OnUpdate = IntervalChanged
      end
      object SecondsUpDown: TiUpDown
        Left = 108
        Top = 70
        Associate = SecondsEdit
        Max = 59
      end
      object MilliSecondsLabel: TLabel
        Left = 128
        Top = 13
        Width = 48
        Height = 13
        Caption = 'mSec'
      end
      object MilliSecondsEdit: TiComponentEditorEdit
        Left = 178
        Top = 10
        Width = 50
        TabOrder = 3
        OnUpdate = IntervalChanged
      end
      object MilliSecondsUpDown: TiUpDown
        Left = 228
        Top = 10
        Associate = MilliSecondsEdit
        Max = 999
        Increment = 100
      end
      object DaysLabel: TLabel
        Left = 128
        Top = 43
        Width = 48
        Height = 13
        Caption = 'Days'
      end
      object DaysEdit: TiComponentEditorEdit
        Left = 178
        Top = 40
        Width = 50
        TabOrder = 4
        OnUpdate = IntervalChanged
      end
      object DaysUpDown: TiUpDown
        Left = 228
        Top = 40
        Associate = DaysEdit
        Max = 0
      end
      object WeeksLabel: TLabel
        Left = 128
        Top = 73
        Width = 48
        Height = 13
        Caption = 'Weeks'
      end
      object WeeksEdit: TiComponentEditorEdit
        Left = 178
        Top = 70
        Width = 50
        TabOrder = 5
        OnUpdate = WeeksChanged
      end
      object WeeksUpDown: TiUpDown
        Left = 228
        Top = 70
        Associate = WeeksEdit
        Max = 0
      end
      object ZeroButton: TButton
        Left = 8
        Top = 104
        Width = 100
        Height = 25
        Caption = 'Set All To 0'
        TabOrder = 6
        OnClick = ZeroClick
      end
    end
    object DateTimePage: TTabSheet
      Caption = 'Date/Time'
      object DateLabel: TLabel
        Left = 8
        Top = 13
        Width = 30
        Height = 13
        Caption = 'Date'
      end
      object TimeLabel: TLabel
        Left = 8
        Top = 43
        Width = 30
        Height = 13
        Caption = 'Time'
      end
      object NowButton: TButton
        Left = 8
        Top = 76
        Width = 75
        Height = 25
        Caption = 'Now'
        TabOrder = 0
        OnClick = NowClick
      end
    end
    object PricePage: TTabSheet
      Caption = 'Price 32nds'
      object PriceIntegerLabel: TLabel
        Left = 8
        Top = 13
        Width = 48
        Height = 13
        Caption = 'Integer'
      end
      object PriceIntegerEdit: TiComponentEditorEdit
        Left = 58
        Top = 10
        Width = 50
        TabOrder = 0
        OnUpdate = PriceChanged
      end
      object PriceIntegerUpDown: TiUpDown
        Left = 108
        Top = 10
        Associate = PriceIntegerEdit
        Max = 10000
      end
      object Price32ndsLabel: TLabel
        Left = 8
        Top = 43
        Width = 48
        Height = 13
        Caption = '32nds'
      end
      object Price32ndsEdit: TiComponentEditorEdit
        Left = 58
        Top = 40
        Width = 50
        TabOrder = 1
        OnUpdate = PriceChanged
      end
      object Price32ndsUpDown: TiUpDown
        Left = 108
        Top = 40
        Associate = Price32ndsEdit
        Max = 31
      end
      object Price256thsLabel: TLabel
        Left = 8
        Top = 73
        Width = 48
        Height = 13
        Caption = '256ths'
      end
      object Price256thsEdit: TiComponentEditorEdit
        Left = 58
        Top = 70
        Width = 50
        TabOrder = 2
        OnUpdate = PriceChanged
      end
      object Price256thsUpDown: TiUpDown
        Left = 108
        Top = 70
        Associate = Price256thsEdit
        Max = 7
      end
    end
  end
  object ValueEdit: TiComponentEditorEdit
    Left = 4
    Top = 176
    Width = 253
    TabOrder = 1
  end
  object ButtonPanel: TPanel
    Left = 0
    Top = 200
    Width = 263
    Height = 39
    Align = alBottom
    BevelOuter = bvNone
    TabOrder = 2
    object OkButton: TButton
      Left = 88
      Top = 7
      Width = 80
      Height = 25
      Caption = 'OK'
      ModalResult = 1
      TabOrder = 0
    end
    object CancelButton: TButton
      Left = 174
      Top = 7
      Width = 80
      Height = 25
      Caption = 'Cancel'
      ModalResult = 2
      TabOrder = 1
    end
  end
end
