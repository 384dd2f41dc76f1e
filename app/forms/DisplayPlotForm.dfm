object Form_DisplayPlot: TForm_DisplayPlot
  Left = 200
  Top = 120
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Plot'
  ClientHeight = 508
  ClientWidth = 799
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
  object sbZoomOut: TSpeedButton
    Left = 8
    Top = 6
    Width = 80
    Height = 26
    Caption = 'Zoom out'
    Hint = 'Zoom out'
    ShowHint = True
    OnClick = sbZoomOutClick
  end
  object sbZoomIn: TSpeedButton
    Left = 90
    Top = 6
    Width = 80
    Height = 26
    Caption = 'Zoom in'
    Hint = 'Zoom in'
    ShowHint = True
    OnClick = sbZoomInClick
  end
  object sbZoomRectange: TSpeedButton
    Left = 172
    Top = 6
    Width = 80
    Height = 26
    Caption = 'Zoom box'
    Hint = 'Zoom rectange'
    ShowHint = True
    OnClick = sbZoomRectangeClick
  end
  object sbResume: TSpeedButton
    Left = 254
    Top = 6
    Width = 80
    Height = 26
    Caption = 'Auto scale'
    Hint = 'Auto scale'
    ShowHint = True
    OnClick = sbResumeClick
  end
  object sbTrack: TSpeedButton
    Left = 336
    Top = 6
    Width = 80
    Height = 26
    Caption = 'Track'
    Hint = 'Resume tracking'
    ShowHint = True
    OnClick = sbTrackClick
  end
  object sbPrint: TSpeedButton
    Left = 418
    Top = 6
    Width = 80
    Height = 26
    Caption = 'Print'
    Hint = 'Print plot'
    ShowHint = True
    OnClick = sbPrintClick
  end
  object sbSave: TSpeedButton
    Left = 500
    Top = 6
    Width = 80
    Height = 26
    Caption = 'Save image'
    Hint = 'Save plot to file'
    ShowHint = True
    OnClick = sbSaveClick
  end
  object TeThemeSpeedButton2: TSpeedButton
    Left = 582
    Top = 6
    Width = 80
    Height = 26
    Caption = 'Load data'
    Hint = 'Load plot from file'
    ShowHint = True
    OnClick = TeThemeSpeedButton2Click
  end
  object TeThemeSpeedButton1: TSpeedButton
    Left = 664
    Top = 6
    Width = 80
    Height = 26
    Caption = 'Save data'
    Hint = 'Save plot to file'
    ShowHint = True
    OnClick = TeThemeSpeedButton1Click
  end
  object iPlotScanVoltage: TiPlot
    Left = 8
    Top = 38
    Width = 783
    Height = 430
    TitleText = 'Voltage/Current/DVM'
    DataFileColumnSeparator = ipdfcsTab
    DataFileFormat = ipdffText
    ToolBarManager = <
      item
        Name = 'Toolbar 1'
        Visible = False
        Horizontal = True
        ZOrder = 3
        StopPercent = 100.0
        ZoomInOutFactor = 2.0
      end>
    XAxisManager = <
      item
        Name = 'X-Axis 1'
        Horizontal = True
        ZOrder = 0
        StopPercent = 100.0
        Title = 'Time(s)'
      end>
    YAxisManager = <
      item
        Name = 'Y-Axis 1'
        Horizontal = False
        ZOrder = 0
        StopPercent = 100.0
        Title = 'Value'
      end>
    ChannelManager = <
      item
        Name = 'Voltage'
        TitleText = 'Voltage'
        XAxisName = 'X-Axis 1'
        YAxisName = 'Y-Axis 1'
        RingBufferSize = 180000
      end
      item
        Name = 'Current'
        TitleText = 'Current'
        Color = clBlue
        XAxisName = 'X-Axis 1'
        YAxisName = 'Y-Axis 1'
        RingBufferSize = 180000
      end
      item
        Name = 'DVM(V)'
        TitleText = 'DVM(V)'
        Color = clYellow
        XAxisName = 'X-Axis 1'
        YAxisName = 'Y-Axis 1'
        RingBufferSize = 180000
      end>
  end
  object tbCancel: TButton
    Left = 708
    Top = 476
    Width = 83
    Height = 25
    Caption = 'Close'
    ModalResult = 2
    TabOrder = 0
  end
  object OpenDialog1: TOpenDialog
    Filter = 'plot files (*.plt)|*.plt'
  end
  object SaveDialog1: TSaveDialog
    Filter = 'plot files (*.plt)|*.plt'
  end
end
