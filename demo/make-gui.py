#!/usr/bin/env python3
"""Writes the demo saver's GUI description (gui.kui): a dark main window with a header
picture, the picture preview, image buttons for the previous and next picture and labels
for the actions, and a thumbnail window with a grid of the pictures.

usage: make-gui.py OUT.kui ASSETS_DIR
ASSETS_DIR holds header.bmp, prev-up.bmp, prev-over.bmp, prev-down.bmp, next-up.bmp,
next-over.bmp, next-down.bmp (made by make-pictures.sh with ImageMagick)."""
import os
import struct
import sys

out, assets = sys.argv[1], sys.argv[2]


def picture(prop, path, indent):
    """A Picture.Data-style property holding a Windows bitmap."""
    bmp = open(os.path.join(assets, path), 'rb').read()
    data = bytes([7]) + b'TBitmap' + struct.pack('<I', len(bmp)) + bmp
    hexs = data.hex().upper()
    lines = [indent + prop + ' = {'] + [indent + '  ' + hexs[i:i + 64] for i in range(0, len(hexs), 64)]
    lines[-1] += '}'
    return lines


def colour(r, g, b):
    return str((b << 16) | (g << 8) | r)


def label(name, left, top, width, height, caption, fg, bg=None, size=-15, bold=False, align='taCenter'):
    lines = ['  object %s: TLabel' % name, '    Tag = 3', '    Left = %d' % left, '    Top = %d' % top,
             '    Width = %d' % width, '    Height = %d' % height, '    AutoSize = False',
             '    Alignment = %s' % align, '    Layout = tlCenter', "    Caption = '%s'" % caption,
             '    Cursor = crHandPoint', '    Font.Color = %s' % fg, '    Font.Height = %d' % size,
             "    Font.Name = 'Segoe UI'", '    Font.Style = [%s]' % ('fsBold' if bold else '')]
    if bg is None:
        lines.append('    Transparent = True')
    else:
        lines += ['    Color = %s' % bg, '    Transparent = False']
    return lines + ['  end']


def button(name, left, top, face):
    lines = ['  object %s: TMyButton' % name, '    Tag = 3', '    Left = %d' % left, '    Top = %d' % top,
             '    Width = 44', '    Height = 44', '    Cursor = crHandPoint', '    AutoSize = True',
             '    Transparent = False']
    lines += picture('ButtonUp.Data', face + '-up.bmp', '    ')
    lines += picture('ButtonOver.Data', face + '-over.bmp', '    ')
    lines += picture('ButtonDown.Data', face + '-down.bmp', '    ')
    return lines + ['  end']


BG = colour(24, 28, 38)
PANEL = colour(36, 42, 56)
ACCENT = colour(90, 160, 255)
TEXT = colour(230, 234, 242)
MUTED = colour(150, 160, 180)

main = ['object MainWindow: TfmForm', '  Left = 0', '  Top = 0', "  Caption = '<ScreensaverName> Settings'",
        '  ClientWidth = 680', '  ClientHeight = 440', '  Color = %s' % BG, '  Font.Color = %s' % TEXT,
        '  Font.Height = -13', "  Font.Name = 'Segoe UI'", '  ShowButtons = True', '  Sizeable = False',
        '  NoFrame = False', '  MaximizeButton = False', '  MinimizeButton = True', '  MaximizeOnShow = False',
        '  PixelsPerInch = 96', '  TextHeight = 13',
        '  object imgHeader: TImage', '    Tag = 3', '    Left = 0', '    Top = 0', '    Width = 680',
        '    Height = 72', '    Stretch = True']
main += picture('Picture.Data', 'header.bmp', '    ') + ['  end']
main += label('lblTitle', 24, 12, 500, 30, '<ScreensaverName>', TEXT, size=-24, bold=True, align='taLeftJustify')
main += label('lblCompany', 24, 42, 500, 20, 'by <CompanyName>', MUTED, size=-13, align='taLeftJustify')
main += ['  object KXPreview1: TKXPreview', '    Tag = 3', '    Left = 24', '    Top = 92', '    Width = 416',
         '    Height = 234', '    Stretch = True', '    Cursor = crHandPoint',
         "    Hint = 'Click to show this picture full screen'", '    ShowHint = True', '  end']
main += button('btnPrev', 170, 340, 'prev')
main += button('btnNext', 250, 340, 'next')
main += label('lblPosition', 24, 398, 416, 22, 'Choose a picture, then press Preview', MUTED, size=-12)
actions = [('KXPreview1', 4, ' '), ('btnPrev', 3, ' '), ('btnNext', 2, ' ')]
items = [('lblPreview', 'Preview full screen', 4, ' '), ('lblSettings', 'Settings...', 5, ' '),
         ('lblThumbs', 'Choose pictures...', 1, 'ThumbnailWindow'), ('lblWallpaper', 'Set as wallpaper', 9, ' '),
         ('lblWebsite', 'Visit website', 0, '<Website>'), ('lblClose', 'Close', 6, ' ')]
top = 92
for name, caption, code, param in items:
    main += label(name, 464, top, 192, 36, caption, TEXT, bg=ACCENT if name == 'lblPreview' else PANEL,
                  bold=name == 'lblPreview')
    actions.append((name, code, param))
    top += 46
main += ['end']

thumbs = ['object ThumbnailWindow: TfmForm', "  Caption = 'Choose pictures'", '  ClientWidth = 600',
          '  ClientHeight = 420', '  Color = %s' % BG, '  Font.Color = %s' % TEXT, '  Font.Height = -12',
          "  Font.Name = 'Segoe UI'", '  ShowButtons = True', '  PixelsPerInch = 96',
          '  object KXThumbnail1: TKXThumbnail2', '    Tag = 3', '    Left = 16', '    Top = 48', '    Width = 568',
          '    Height = 300', '    Color = %s' % PANEL, '    PictureWidth = 160', '    PictureHeight = 90',
          '    ShowCheckBox = True', '    ShowTitle = True', '    MultiRows = True', '  end']
thumbs += label('lblHint', 16, 12, 568, 28, 'Tick the pictures the show uses (order: favourites)', MUTED,
                size=-13, align='taLeftJustify')
thumbs += label('lblShow', 304, 364, 130, 36, 'Preview', TEXT, bg=ACCENT, bold=True)
thumbs += label('lblDone', 454, 364, 130, 36, 'Done', TEXT, bg=PANEL)
thumbs += ['end']
thumb_actions = [('lblShow', 4, ' '), ('lblDone', 6, ' ')]


def action_text(items):
    lines = [str(len(items))]
    for name, code, param in items:
        lines += [name, str(code), param, ' ', ' ']
    return lines


forms = [(main, action_text(actions)), (thumbs, action_text(thumb_actions))]
text = [str(len(forms))]
for form, acts in forms:
    text += [str(len(form))] + form + [str(len(acts))] + acts + ['1', 'Dummy']
open(out, 'wb').write(('\r\n'.join(text) + '\r\n').encode('latin-1'))
