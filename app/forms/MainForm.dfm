object Form_Main: TForm_Main
  Left = 100
  Top = 60
  Caption = 'RZ4180'
  ClientHeight = 546
  ClientWidth = 803
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  OnClose = FormClose
  OnCreate = FormCreate
  OnResize = FormResize
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object FlatPanel1: TFlatPanel
    Left = 0
    Top = 0
    Width = 803
    Height = 546
    Align = alClient
    BevelOuter = bvNone
    object FlatPanel2: TFlatPanel
      Left = 0
      Top = 0
      Width = 803
      Height = 546
      Align = alClient
      BevelOuter = bvNone
      object FlatPanel3: TFlatPanel
        Left = 0
        Top = 0
        Width = 803
        Height = 546
        Align = alClient
        BevelOuter = bvNone
        object TeThemeGroupBox_ToolBar: TGroupBox
          Left = 0
          Top = 0
          Width = 803
          Height = 48
          Caption = ''
          object tbConfig: TButton
            Left = 8
            Top = 14
            Width = 64
            Height = 28
            Caption = 'Config'
            OnClick = tbConfigClick
          end
          object tbHelp: TButton
            Left = 76
            Top = 14
            Width = 64
            Height = 28
            Caption = 'Help'
            OnClick = tbHelpClick
          end
          object tbSave: TButton
            Left = 144
            Top = 14
            Width = 64
            Height = 28
            Caption = 'Save'
            OnClick = tbSaveClick
          end
          object tbOpen: TButton
            Left = 212
            Top = 14
            Width = 64
            Height = 28
            Caption = 'Open'
            OnClick = tbOpenClick
          end
          object TeThemeLabelDVM: TLabel
            Left = 520
            Top = 22
            Caption = 'DVM'
          end
          object iSevenSegmentAnalog_DVM: TiSevenSegmentAnalog
            Left = 552
            Top = 8
            Width = 180
            Height = 36
            Precision = 4
            DigitCount = 7
          end
          object TeThemeLabelDVMUnit: TLabel
            Left = 740
            Top = 22
            Caption = 'V'
          end
        end
        object TeThemeGroupBox16: TGroupBox
          Left = 0
          Top = 48
          Width = 520
          Height = 210
          Caption = ''
          object iPlotVoltage_Current: TiPlot
            Left = 6
            Top = 14
            Width = 508
            Height = 190
            BackGroundColor = clSilver
            UserCanEditObjects = False
            TitleText = 'Voltage/Current/DVM'
            DataFileColumnSeparator = ipdfcsTab
            DataFileFormat = ipdffText
            OnDblClick = iPlotVoltage_CurrentDblClick
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
                PopupEnabled = False
                Horizontal = True
                ZOrder = 0
                StopPercent = 100.0
                Span = 100.0
                TrackingStyle = iptsScrollSmooth
                TrackingAlignFirstStyle = ipafsAuto
                Title = 'Time(S)'
              end>
            YAxisManager = <
              item
                Name = 'Y-Axis 1'
                PopupEnabled = False
                Horizontal = False
                ZOrder = 0
                StopPercent = 100.0
                Span = 100.0
                TrackingStyle = iptsScaleMinMax
                Title = 'Value'
              end>
            ChannelManager = <
              item
                Name = 'V'
                TitleText = 'Voltage'
                XAxisName = 'X-Axis 1'
                YAxisName = 'Y-Axis 1'
                DataStyle = ipdsStandard
                RingBufferSize = 180000
              end
              item
                Name = 'A'
                TitleText = 'Current'
                Color = clBlue
                XAxisName = 'X-Axis 1'
                YAxisName = 'Y-Axis 1'
                DataStyle = ipdsStandard
                RingBufferSize = 180000
              end
              item
                Name = 'V'
                TitleText = 'DVM'
                Color = clYellow
                XAxisName = 'X-Axis 1'
                YAxisName = 'Y-Axis 1'
                DataStyle = ipdsStandard
                RingBufferSize = 180000
              end>
            DataViewManager = <
              item
                Name = 'Data View 1'
                Horizontal = False
                ZOrder = 0
                StopPercent = 100.0
                GridXAxisName = 'X-Axis 1'
                GridYAxisName = 'Y-Axis 1'
                GridLineMajorStyle = ipglsDot
                GridLineMinorStyle = ipglsDot
                AxesControlEnabled = False
              end>
            DataCursorManager = <
              item
                Name = 'Cursor 1'
                Visible = False
                ChannelName = 'V'
              end>
          end
        end
        object TeThemeGroupBox6: TGroupBox
          Left = 0
          Top = 258
          Width = 260
          Height = 190
          Caption = 'Voltage'
          object iKnob_Voltage: TiKnob
            Left = 8
            Top = 40
            Width = 110
            Height = 110
            PositionMax = 20
            PositionDisplayPrecision = 2
            PositionDisplayUnits = 'V'
            KeyArrowStepSize = 0.1
            KeyPageStepSize = 1
            MouseWheelStepSize = 0.1
            TickLabelPrecision = 0
            OnPositionChangeFinished = iKnob_VoltagePositionChangeFinished
          end
          object TeThemeLabel4: TLabel
            Left = 128
            Top = 16
            Caption = 'Present Value'
          end
          object iSevenSegmentAnalog_PresentVoltage: TiSevenSegmentAnalog
            Left = 122
            Top = 32
            Width = 110
            Height = 34
            Precision = 4
            DigitCount = 7
          end
          object TeThemeLabelVU1: TLabel
            Left = 236
            Top = 44
            Caption = 'V'
          end
          object TeThemeLabel3: TLabel
            Left = 128
            Top = 76
            Caption = 'Setup Value'
          end
          object iSevenSegmentAnalog_SteupVoltage: TiSevenSegmentAnalog
            Left = 122
            Top = 92
            Width = 110
            Height = 34
            Precision = 4
            DigitCount = 7
          end
          object TeThemeLabelVU2: TLabel
            Left = 236
            Top = 104
            Caption = 'V'
          end
          object TeThemeLabel5: TLabel
            Left = 8
            Top = 154
            Caption = 'You can use the Mouse wheel ,Arrow or Page Up/Down key to change the setup value.'
            Width = 244
            Height = 30
            AutoSize = False
            WordWrap = True
          end
        end
        object TeThemeGroupBox9: TGroupBox
          Left = 260
          Top = 258
          Width = 260
          Height = 190
          Caption = 'Current'
          object iKnob_Current: TiKnob
            Left = 8
            Top = 40
            Width = 110
            Height = 110
            PositionMax = 1.2
            PositionDisplayPrecision = 2
            PositionDisplayUnits = 'A'
            KeyArrowStepSize = 0.1
            KeyPageStepSize = 1
            MouseWheelStepSize = 0.01
            TickLabelPrecision = 1
            OnPositionChangeFinished = iKnob_CurrentPositionChangeFinished
          end
          object TeThemeLabel12: TLabel
            Left = 128
            Top = 16
            Caption = 'Present Value'
          end
          object iSevenSegmentAnalog_PresentCurrent: TiSevenSegmentAnalog
            Left = 122
            Top = 32
            Width = 110
            Height = 34
            Precision = 5
            DigitCount = 7
          end
          object TeThemeLabelAU1: TLabel
            Left = 236
            Top = 44
            Caption = 'A'
          end
          object TeThemeLabel11: TLabel
            Left = 128
            Top = 76
            Caption = 'Setup Value'
          end
          object iSevenSegmentAnalog_SteupCurrent: TiSevenSegmentAnalog
            Left = 122
            Top = 92
            Width = 110
            Height = 34
            Precision = 4
            DigitCount = 7
          end
          object TeThemeLabelAU2: TLabel
            Left = 236
            Top = 104
            Caption = 'A'
          end
          object TeThemeLabel15: TLabel
            Left = 8
            Top = 154
            Caption = 'You can use the Mouse wheel ,Arrow or Page Up/Down key to change the setup value.'
            Width = 244
            Height = 30
            AutoSize = False
            WordWrap = True
          end
        end
        object TeThemeGroupBoxCtrl: TGroupBox
          Left = 0
          Top = 448
          Width = 520
          Height = 78
          Caption = ''
          object TeThemeLabel6: TLabel
            Left = 8
            Top = 14
            Caption = 'Output On'
          end
          object iSwitchToggle_OutputOnOff: TiSwitchToggle
            Left = 20
            Top = 28
            Width = 40
            Height = 30
            SwitchOrientation = ioHorizontal
            OnChange = iSwitchToggle_OutputOnOffChange
          end
          object TeThemeLabel8: TLabel
            Left = 8
            Top = 60
            Caption = 'Output Off'
          end
          object TeThemeLabel9: TLabel
            Left = 100
            Top = 14
            Caption = 'Sense On'
          end
          object iSwitchToggle_SensOnOff: TiSwitchToggle
            Left = 112
            Top = 28
            Width = 40
            Height = 30
            SwitchOrientation = ioHorizontal
            OnChange = iSwitchToggle_SensOnOffChange
          end
          object TeThemeLabel10: TLabel
            Left = 100
            Top = 60
            Caption = 'Sense Off'
          end
          object iLedRectangleRx: TiLedRectangle
            Left = 200
            Top = 24
            Width = 24
            Height = 16
          end
          object TeThemeLabelRx: TLabel
            Left = 204
            Top = 44
            Caption = 'RX'
          end
          object iLedRectangleTx: TiLedRectangle
            Left = 240
            Top = 24
            Width = 24
            Height = 16
          end
          object TeThemeLabelTx: TLabel
            Left = 244
            Top = 44
            Caption = 'TX'
          end
          object StaticText16: TStaticText
            Left = 290
            Top = 30
            Caption = 'All control options must be on PC control mode'
          end
        end
        object TeThemePageControl1: TPageControl
          Left = 522
          Top = 48
          Width = 281
          Height = 402
          ActivePage = TabSheet1
          OnChange = TeThemePageControl1Change
          object TabSheet1: TTabSheet
            Caption = 'QuickSet'
            object TeThemeGroupBoxFastKey: TGroupBox
              Left = 4
              Top = 4
              Width = 268
              Height = 78
              Caption = 'HotKey'
              object tbFastKey1: TSpeedButton
                Left = 8
                Top = 18
                Width = 50
                Height = 24
                Caption = '0V/0A'
                Hint = '0V/0A'
                ShowHint = True
                OnMouseDown = tbFastKey1MouseDown
              end
              object tbFastKey2: TSpeedButton
                Left = 60
                Top = 18
                Width = 50
                Height = 24
                Caption = '0V/0A'
                Hint = '0V/0A'
                ShowHint = True
                OnMouseDown = tbFastKey1MouseDown
              end
              object tbFastKey3: TSpeedButton
                Left = 112
                Top = 18
                Width = 50
                Height = 24
                Caption = '0V/0A'
                Hint = '0V/0A'
                ShowHint = True
                OnMouseDown = tbFastKey1MouseDown
              end
              object tbFastKey4: TSpeedButton
                Left = 164
                Top = 18
                Width = 50
                Height = 24
                Caption = '0V/0A'
                Hint = '0V/0A'
                ShowHint = True
                OnMouseDown = tbFastKey1MouseDown
              end
              object tbFastKey5: TSpeedButton
                Left = 216
                Top = 18
                Width = 50
                Height = 24
                Caption = '0V/0A'
                Hint = '0V/0A'
                ShowHint = True
                OnMouseDown = tbFastKey1MouseDown
              end
              object tbFastKey6: TSpeedButton
                Left = 8
                Top = 46
                Width = 50
                Height = 24
                Caption = '0V/0A'
                Hint = '0V/0A'
                ShowHint = True
                OnMouseDown = tbFastKey1MouseDown
              end
              object tbFastKey7: TSpeedButton
                Left = 60
                Top = 46
                Width = 50
                Height = 24
                Caption = '0V/0A'
                Hint = '0V/0A'
                ShowHint = True
                OnMouseDown = tbFastKey1MouseDown
              end
              object tbFastKey8: TSpeedButton
                Left = 112
                Top = 46
                Width = 50
                Height = 24
                Caption = '0V/0A'
                Hint = '0V/0A'
                ShowHint = True
                OnMouseDown = tbFastKey1MouseDown
              end
              object tbFastKey9: TSpeedButton
                Left = 164
                Top = 46
                Width = 50
                Height = 24
                Caption = '0V/0A'
                Hint = '0V/0A'
                ShowHint = True
                OnMouseDown = tbFastKey1MouseDown
              end
              object tbFastKey10: TSpeedButton
                Left = 216
                Top = 46
                Width = 50
                Height = 24
                Caption = '0V/0A'
                Hint = '0V/0A'
                ShowHint = True
                OnMouseDown = tbFastKey1MouseDown
              end
            end
            object TeThemeGroupBox11: TGroupBox
              Left = 4
              Top = 84
              Width = 268
              Height = 88
              Caption = 'VoltageScan'
              object StaticText22: TStaticText
                Left = 8
                Top = 16
                Caption = 'StartValue'
              end
              object iAnalogOutput_ScanVoltStart: TiAnalogOutput
                Left = 8
                Top = 32
                Width = 80
                Height = 21
                Precision = 2
                UnitsText = 'V'
              end
              object StaticText23: TStaticText
                Left = 94
                Top = 16
                Caption = 'StopValue'
              end
              object iAnalogOutput_ScanVoltStop: TiAnalogOutput
                Left = 94
                Top = 32
                Width = 80
                Height = 21
                Precision = 2
                UnitsText = 'V'
              end
              object StaticText24: TStaticText
                Left = 180
                Top = 16
                Caption = 'VoltageStep'
              end
              object iAnalogOutput_ScanVoltStep: TiAnalogOutput
                Left = 180
                Top = 32
                Width = 80
                Height = 21
                Precision = 2
                UnitsText = 'V'
              end
              object StaticText25: TStaticText
                Left = 8
                Top = 62
                Caption = 'Delay'
              end
              object iAnalogOutput_ScanVoltDelay: TiAnalogOutput
                Left = 94
                Top = 58
                Width = 80
                Height = 21
                Precision = 2
                UnitsText = 'S'
              end
            end
            object TeThemeGroupBox_SetValue: TGroupBox
              Left = 4
              Top = 174
              Width = 268
              Height = 180
              Caption = 'SetValue'
              object iSevenSegmentAnalog_EnterValue: TiSevenSegmentAnalog
                Left = 8
                Top = 18
                Width = 200
                Height = 38
                Precision = 4
                DigitCount = 7
              end
              object Button14: TButton
                Left = 8
                Top = 62
                Width = 36
                Height = 24
                Caption = '1'
                Tag = 1
                OnClick = Button14Click
              end
              object Button15: TButton
                Left = 48
                Top = 62
                Width = 36
                Height = 24
                Caption = '2'
                Tag = 2
                OnClick = Button14Click
              end
              object Button16: TButton
                Left = 88
                Top = 62
                Width = 36
                Height = 24
                Caption = '3'
                Tag = 3
                OnClick = Button14Click
              end
              object Button18: TButton
                Left = 8
                Top = 90
                Width = 36
                Height = 24
                Caption = '4'
                Tag = 4
                OnClick = Button14Click
              end
              object Button19: TButton
                Left = 48
                Top = 90
                Width = 36
                Height = 24
                Caption = '5'
                Tag = 5
                OnClick = Button14Click
              end
              object Button20: TButton
                Left = 88
                Top = 90
                Width = 36
                Height = 24
                Caption = '6'
                Tag = 6
                OnClick = Button14Click
              end
              object Button22: TButton
                Left = 8
                Top = 118
                Width = 36
                Height = 24
                Caption = '7'
                Tag = 7
                OnClick = Button14Click
              end
              object Button23: TButton
                Left = 48
                Top = 118
                Width = 36
                Height = 24
                Caption = '8'
                Tag = 8
                OnClick = Button14Click
              end
              object Button24: TButton
                Left = 88
                Top = 118
                Width = 36
                Height = 24
                Caption = '9'
                Tag = 9
                OnClick = Button14Click
              end
              object Button21: TButton
                Left = 8
                Top = 146
                Width = 76
                Height = 24
                Caption = '0'
                Tag = 0
                OnClick = Button14Click
              end
              object Button25: TButton
                Left = 88
                Top = 146
                Width = 36
                Height = 24
                Caption = '.'
                OnClick = Button25Click
              end
              object Button17: TButton
                Left = 132
                Top = 118
                Width = 70
                Height = 24
                Caption = 'ESC'
                OnClick = Button17Click
              end
              object Button26: TButton
                Left = 132
                Top = 146
                Width = 70
                Height = 24
                Caption = 'Enter'
                OnClick = Button26Click
              end
              object TeThemeRadioButton3: TRadioButton
                Left = 140
                Top = 66
                Width = 70
                Height = 17
                Caption = 'SET CV'
                Checked = True
              end
              object TeThemeRadioButton4: TRadioButton
                Left = 140
                Top = 88
                Width = 70
                Height = 17
                Caption = 'SET CC'
              end
            end
          end
          object TabSheet2: TTabSheet
            Caption = 'Program'
            object StaticText27: TStaticText
              Left = 8
              Top = 8
              Caption = 'Time Units'
            end
            object ComboBox_ProgramTimeUnits: TComboBox
              Left = 96
              Top = 4
              Width = 100
              Height = 21
              Style = csDropDownList
              Items.Strings = (
                'Second'
                'Minute'
                'Hour')
              ItemIndex = 0
            end
            object TeThemeRadioGroupRun: TRadioGroup
              Left = 4
              Top = 30
              Width = 264
              Height = 44
              Caption = 'RunTimes'
              Columns = 3
              Items.Strings = (
                'Once'
                'Repeat'
                'Custom')
              ItemIndex = 0
              OnClick = TeThemeRadioGroupRunClick
            end
            object TeThemeSpinEdit: TEdit
              Left = 208
              Top = 4
              Width = 60
              Height = 21
              Text = '2'
              Visible = False
            end
            object TeThemeStringGridList: TAdvStringGrid
              Left = 4
              Top = 80
              Width = 264
              Height = 280
              ColCount = 4
              DefaultRowHeight = 23
              RowCount = 2
              FixedCols = 1
              FixedRows = 1
              Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine]
              PopupMenu = PopupMenuList
              OnKeyPress = TeThemeStringGridListKeyPress
              OnGetCellColor = TeThemeStringGridListGetCellColor
              OnGetAlignment = TeThemeStringGridListGetAlignment
              OnCanEditCell = TeThemeStringGridListCanEditCell
              OnEditingDone = TeThemeStringGridListEditingDone
              FixedRowAlways = True
              MouseActions.RangeSelectAndEdit = True
            end
          end
          object TabSheet3: TTabSheet
            Caption = 'GO/NG'
            object StaticText28: TStaticText
              Left = 8
              Top = 8
              Caption = 'Time Units'
            end
            object ComboBox_GoNGTimeUnits: TComboBox
              Left = 96
              Top = 4
              Width = 100
              Height = 21
              Style = csDropDownList
              Items.Strings = (
                'Second'
                'Minute'
                'Hour')
              ItemIndex = 0
            end
            object TeThemeStringGridGoNg: TAdvStringGrid
              Left = 4
              Top = 30
              Width = 264
              Height = 270
              ColCount = 7
              DefaultRowHeight = 21
              RowCount = 2
              FixedCols = 1
              FixedRows = 1
              Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine]
              PopupMenu = PopupMenuGoNg
              OnKeyPress = TeThemeStringGridGoNgKeyPress
              OnGetCellColor = TeThemeStringGridGoNgGetCellColor
              OnGetAlignment = TeThemeStringGridGoNgGetAlignment
              OnCanEditCell = TeThemeStringGridGoNgCanEditCell
              OnEditingDone = TeThemeStringGridGoNgEditingDone
              FixedRowAlways = True
              MouseActions.RangeSelectAndEdit = True
            end
            object TeThemeLabel16: TLabel
              Left = 8
              Top = 308
              Caption = 'Current GoNG Recorder Name'
            end
            object TeThemeEdit2: TEdit
              Left = 8
              Top = 324
              Width = 180
              Height = 21
              Text = 'GoNG'
            end
          end
        end
        object Panel_ScanVoltageCommandPanel: TPanel
          Left = 522
          Top = 452
          Width = 281
          Height = 74
          BevelOuter = bvNone
          Visible = True
          object TeThemeButton_VoltScanRun: TSpeedButton
            Left = 40
            Top = 20
            Width = 80
            Height = 30
            Caption = 'Run'
            OnClick = TeThemeButton_VoltScanRunClick
          end
          object TeThemeButton_VoltScanStop: TSpeedButton
            Left = 150
            Top = 20
            Width = 80
            Height = 30
            Caption = 'Stop'
            Enabled = False
            OnClick = TeThemeButton_VoltScanStopClick
          end
        end
        object Panel_RunProgramPanel: TPanel
          Left = 522
          Top = 452
          Width = 281
          Height = 74
          BevelOuter = bvNone
          Visible = False
          object Label_RunTimes: TLabel
            Left = 8
            Top = 4
            Caption = 'Run Times:'
            Visible = False
          end
          object TeThemeButton_RunPorgramRun: TButton
            Left = 40
            Top = 20
            Width = 80
            Height = 30
            Caption = 'Run'
            OnClick = TeThemeButton_RunPorgramRunClick
          end
          object TeThemeButton_RunProgramStop: TButton
            Left = 150
            Top = 20
            Width = 80
            Height = 30
            Caption = 'Stop'
            Enabled = False
            OnClick = TeThemeButton_RunProgramStopClick
          end
        end
        object Panel_GoNGRun: TPanel
          Left = 522
          Top = 452
          Width = 281
          Height = 74
          BevelOuter = bvNone
          Visible = False
          object TeThemeButton_GoNGRun: TButton
            Left = 8
            Top = 20
            Width = 70
            Height = 30
            Caption = 'Run'
            OnClick = TeThemeButton_GoNGRunClick
          end
          object TeThemeButton_GoNGStop: TButton
            Left = 82
            Top = 20
            Width = 70
            Height = 30
            Caption = 'Stop'
            Enabled = False
            OnClick = TeThemeButton_GoNGStopClick
          end
          object TeThemeButton_ReportOperation: TButton
            Left = 156
            Top = 20
            Width = 118
            Height = 30
            Caption = 'Report Operation'
            OnClick = TeThemeButton_ReportOperationClick
          end
        end
        object TeThemeStatusBar: TStatusBar
          Left = 0
          Top = 526
          Width = 803
          Height = 20
          Hint = 'Ready'
          Panels = <
            item
              Width = 300
            end>
          SimplePanel = False
        end
      end
    end
  end
  object FormResizer: TFormResizer
    ResizeFonts = True
    MinFontSize = 8
    MaxFontSize = 48
  end
  object Timer_OverTime: TTimer
    Enabled = False
    Interval = 5000
  end
  object PowerComPort: TComPort
  end
  object Timer_VoltScan: TTimer
    Enabled = False
    OnTimer = Timer_VoltScanTimer
  end
  object Timer_RunProgram: TTimer
    Enabled = False
    OnTimer = Timer_RunProgramTimer
  end
  object Timer_RunGoNG: TTimer
    Enabled = False
    OnTimer = Timer_RunGoNGTimer
  end
  object PopupMenuList: TPopupMenu
    object MenuListItemAppend: TMenuItem
      Caption = 'AppendLine'
      OnClick = MenuListItemAppendClick
    end
    object MenuListItemInsert: TMenuItem
      Caption = 'InsertLine'
      OnClick = MenuListItemInsertClick
    end
    object MenuListItemDelete: TMenuItem
      Caption = 'DeleteLine'
      OnClick = MenuListItemDeleteClick
    end
  end
  object PopupMenuGoNg: TPopupMenu
    object MenuItemGoNgAppend: TMenuItem
      Caption = 'AppendLine'
      OnClick = MenuItemGoNgAppendClick
    end
    object MenuItemGoNgInsert: TMenuItem
      Caption = 'InsertLine'
      OnClick = MenuItemGoNgInsertClick
    end
    object MenuItemGoNgDelete: TMenuItem
      Caption = 'DeleteLine'
      OnClick = MenuItemGoNgDeleteClick
    end
  end
  object GoNGDatabase: TDatabase
    SessionName = 'Default'
  end
  object GoNGTable: TTable
  end
  object OpenDialog: TOpenDialog
    Filter = 'Param files (*.Par)|*.Par'
  end
  object SaveDialog: TSaveDialog
  end
end
