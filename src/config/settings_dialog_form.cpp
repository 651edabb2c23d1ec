#include "config/settings_dialog.h"

namespace kx {

// The settings dialog as a form text, read by the same reader and built by the same builder
// as the windows of a description.
const char* SettingsDialogFormText() {
  return R"(object fmSettingWindow: TfmSettingWindow
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Settings'
  ClientHeight = 325
  ClientWidth = 364
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  PixelsPerInch = 96
  TextHeight = 13
  object Button1: TButton
    Left = 198
    Top = 292
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 0
  end
  object Button2: TButton
    Left = 278
    Top = 292
    Width = 75
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 1
  end
  object PageControl1: TPageControl
    Left = 8
    Top = 8
    Width = 345
    Height = 277
    ActivePage = TabSheet1
    TabOrder = 2
    object TabSheet1: TTabSheet
      Caption = 'Display Mode'
      object lblImgQuality: TLabel
        Left = 29
        Top = 69
        Width = 80
        Height = 13
        Caption = 'Direct X Quality'
      end
      object Label5: TLabel
        Left = 29
        Top = 101
        Width = 51
        Height = 13
        Caption = 'Image Size'
      end
      object Label6: TLabel
        Left = 30
        Top = 132
        Width = 58
        Height = 13
        Caption = 'Show Image'
      end
      object lblDuration: TLabel
        Left = 30
        Top = 160
        Width = 73
        Height = 13
        Caption = 'Image Duration'
      end
      object lblSec: TLabel
        Left = 196
        Top = 160
        Width = 39
        Height = 13
        Caption = 'seconds'
      end
      object Label8: TLabel
        Left = 30
        Top = 190
        Width = 81
        Height = 13
        Caption = 'Animation Speed'
      end
      object lblMonitors: TLabel
        Left = 30
        Top = 221
        Width = 44
        Height = 13
        Caption = 'Monitors'
      end
      object cbMusic: TCheckBox
        Left = 29
        Top = 14
        Width = 93
        Height = 17
        Caption = 'Enable Music'
        TabOrder = 0
      end
      object cbSound: TCheckBox
        Left = 142
        Top = 14
        Width = 195
        Height = 17
        Caption = 'Enable Sound Effects'
        TabOrder = 1
      end
      object cbDirectX: TCheckBox
        Left = 29
        Top = 40
        Width = 171
        Height = 17
        Caption = 'Use DirectX (Faster Animation)'
        TabOrder = 2
      end
      object cbImageQuality: TComboBox
        Left = 141
        Top = 67
        Width = 154
        Height = 21
        Style = csDropDownList
        ItemHeight = 13
        ItemIndex = 1
        TabOrder = 3
        Items.Strings = (
          'Highest (Slower)'
          'Normal '
          'Low (Faster)')
      end
      object cbImageSize: TComboBox
        Left = 141
        Top = 97
        Width = 154
        Height = 21
        Style = csDropDownList
        ItemHeight = 13
        TabOrder = 4
        Items.Strings = (
          'Original Size'
          'Stretch-Full'
          'Stretch-Proportional')
      end
      object cbShowImageMode: TComboBox
        Left = 141
        Top = 127
        Width = 154
        Height = 21
        Style = csDropDownList
        ItemHeight = 13
        TabOrder = 5
        Items.Strings = (
          'All images - Random'
          'All images - Sequential'
          'User''s favorite (checked images) - Random'
          'Single - Selected Image')
      end
      object txtDuration: TEdit
        Left = 140
        Top = 157
        Width = 27
        Height = 21
        MaxLength = 3
        TabOrder = 6
        Text = '10'
      end
      object UpDown1: TUpDown
        Left = 167
        Top = 157
        Width = 16
        Height = 21
        Associate = txtDuration
        Min = 10
        Max = 999
        Position = 10
        TabOrder = 7
      end
      object tbSpeed: TTrackBar
        Left = 136
        Top = 189
        Width = 162
        Height = 20
        Cursor = crHandPoint
        Max = 20
        Position = 10
        TabOrder = 8
        TickStyle = tsNone
      end
      object cbMonitors: TComboBox
        Left = 141
        Top = 218
        Width = 154
        Height = 21
        Style = csDropDownList
        ItemHeight = 13
        ItemIndex = 0
        TabOrder = 9
        Items.Strings = (
          'Primary monitor only'
          'Each monitor its own show'
          'Same show on every monitor'
          'One show across all monitors')
      end
    end
    object TabSheet2: TTabSheet
      Caption = 'Background Music'
      ImageIndex = 1
      object cbCustomMusic: TCheckBox
        Left = 7
        Top = 7
        Width = 114
        Height = 17
        Caption = 'Use Custom Music'
        TabOrder = 0
      end
      object cbShuffleMusic: TCheckBox
        Left = 137
        Top = 7
        Width = 97
        Height = 17
        Caption = 'Shuffle Playlist'
        TabOrder = 1
      end
      object lstMusic: TListView
        Left = 7
        Top = 32
        Width = 324
        Height = 157
        Columns = <
          item
            AutoSize = True
            Caption = 'File'
          end>
        GridLines = True
        ReadOnly = True
        RowSelect = True
        TabOrder = 2
        ViewStyle = vsReport
      end
      object Button3: TButton
        Left = 8
        Top = 195
        Width = 38
        Height = 21
        Caption = 'Add'
        TabOrder = 3
      end
      object Button4: TButton
        Left = 50
        Top = 195
        Width = 49
        Height = 21
        Caption = 'Remove'
        TabOrder = 4
      end
    end
  end
  object GroupBox1: TGroupBox
    Left = 13
    Top = 334
    Width = 297
    Height = 114
    Caption = 'Play Mode'
    TabOrder = 3
    object Label3: TLabel
      Left = 237
      Top = 81
      Width = 28
      Height = 13
      Cursor = crHandPoint
      Caption = 'Reset'
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clBlue
      Font.Height = -11
      Font.Name = 'Tahoma'
      Font.Style = [fsUnderline]
      ParentFont = False
    end
  end
  object cbTransition: TCheckBox
    Left = 22
    Top = 341
    Width = 179
    Height = 17
    Caption = 'Enable Transition'
    Checked = True
    State = cbChecked
    TabOrder = 4
  end
  object OpenDialog1: TOpenDialog
    Filter = 'Music Files|*.mp3;*.wma;*.mid;*.wav'
    Options = [ofHideReadOnly, ofFileMustExist, ofEnableSizing]
    Left = 320
    Top = 264
  end
end
)";
}

}  // namespace kx
