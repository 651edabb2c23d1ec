#include "win32/win32_controls.h"

#include <algorithm>
#include <string>
#include <vector>

#include "config/button_layout.h"
#include "media/bmp_decoder.h"
#include "media/gif_decoder.h"
#include "media/intmath.h"
#include "media/jpeg_codec.h"
#include "media/picture_decoder.h"
#include "media/resample.h"
#include "win32/dib.h"

namespace kx::win32 {

PaintSurface::PaintSurface(HDC screen, const RECT& area)
    : area_(area), width_(std::max(1, static_cast<int>(area.right - area.left))),
      height_(std::max(1, static_cast<int>(area.bottom - area.top))) {
  const BITMAPINFO bi = TopDownBitmapInfo(width_, height_);
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap_) return;
  dc_ = CreateCompatibleDC(screen);
  if (!dc_) return;
  bits_ = static_cast<uint32_t*>(bits);
  old_ = SelectObject(dc_, bitmap_);
  SetWindowOrgEx(dc_, area.left, area.top, nullptr);
}

PaintSurface::~PaintSurface() {
  if (dc_) {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
}

uint32_t* PaintSurface::Bits() {
  GdiFlush();
  return bits_;
}

COLORREF ToColorRef(FormColor c, COLORREF fallback) {
  if (c == kColorDefault || c == kColorNone) return fallback;
  if (IsSystemColor(c)) return GetSysColor(SystemColorIndex(c));
  return static_cast<COLORREF>(c & 0x00FFFFFF);
}

HFONT MakeFont(const FontSpec& f, int screen_dpi, int design_dpi) {
  const int height = design_dpi > 0 ? MulDiv(f.height, screen_dpi, design_dpi) : f.height;
  return CreateFontA(height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, f.italic, f.underline,
                     f.strike_out, static_cast<DWORD>(f.charset), OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, f.name.c_str());
}

bool DecodeFormPicture(const PictureData& data, Bitmap32& out) {
  out = Bitmap32();
  if (data.bytes.empty()) return false;
  const uint8_t* p = data.bytes.data();
  const size_t n = data.bytes.size();
  std::string error;
  PictureKind kind = PictureKind::Unknown;
  if (n >= 2 && p[0] == 'B' && p[1] == 'M') kind = PictureKind::Bmp;
  else if (n >= 2 && p[0] == 0xFF && p[1] == 0xD8) kind = PictureKind::Jpeg;
  else if (n >= 3 && p[0] == 'G' && p[1] == 'I' && p[2] == 'F') kind = PictureKind::Gif;
  if (kind == PictureKind::Unknown) return false;
  if (DecodePicture(kind, p, n, out, error)) return true;
  out = Bitmap32();
  return false;
}

void DrawPicture(PaintSurface& s, const RECT& r, const RECT& clip, const Bitmap32& picture, bool keyed) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (picture.Empty() || w <= 0 || h <= 0 || !s.Ok()) return;
  // The part of the picture's place that is to be drawn, in client coordinates.
  RECT vis;
  if (!IntersectRect(&vis, &r, &clip) || !IntersectRect(&vis, &vis, &s.Area())) return;
  const int vw = vis.right - vis.left, vh = vis.bottom - vis.top;
  const Pixel key = picture.GetPixel(0, picture.Height() - 1) & 0x00FFFFFF;
  const int pw = picture.Width(), ph = picture.Height();
  // Source pixels for the visible part: the picture itself at its own size; else each
  // visible column and row of the grid sampled (keyed pictures keep their exact colours so
  // that the key still matches) or filtered through the resampler for just that part.
  Bitmap32 part;
  std::vector<int> cols;
  const bool same = w == pw && h == ph;
  const bool nearest = !same && keyed;
  if (nearest) {
    cols.resize(static_cast<size_t>(vw));
    for (int x = 0; x < vw; ++x)
      cols[static_cast<size_t>(x)] = static_cast<int>((static_cast<int64_t>(vis.left - r.left + x) * pw) / w);
  } else if (!same) {
    if (!part.SetSize(vw, vh) || part.Empty()) return;
    ResampleWindow(picture, picture.BoundsRect(), w, h,
                   Rect{static_cast<int>(vis.left - r.left), static_cast<int>(vis.top - r.top),
                        static_cast<int>(vis.right - r.left), static_cast<int>(vis.bottom - r.top)},
                   StretchFilter::Bilinear, part.Data(), vw);
  }
  uint32_t* bits = s.Bits();
  const RECT& area = s.Area();
  for (int y = 0; y < vh; ++y) {
    uint32_t* to = bits + static_cast<size_t>(vis.top - area.top + y) * s.Width() + (vis.left - area.left);
    const Pixel* from;
    if (same) {
      from = picture.Row(vis.top - r.top + y) + (vis.left - r.left);
    } else if (nearest) {
      const int sy = static_cast<int>((static_cast<int64_t>(vis.top - r.top + y) * ph) / h);
      const Pixel* row = picture.Row(sy);
      for (int x = 0; x < vw; ++x) {
        const Pixel p = row[cols[static_cast<size_t>(x)]];
        if ((p & 0x00FFFFFF) != key) to[x] = p | 0xFF000000u;
      }
      continue;
    } else {
      from = part.Row(y);
    }
    for (int x = 0; x < vw; ++x) {
      if (keyed && (from[x] & 0x00FFFFFF) == key) continue;
      to[x] = from[x] | 0xFF000000u;
    }
  }
}

void FillColor(HDC dc, const RECT& r, COLORREF c) {
  HBRUSH b = CreateSolidBrush(c);
  FillRect(dc, &r, b);
  DeleteObject(b);
}

namespace {

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF c) {
  HPEN pen = CreatePen(PS_SOLID, 1, c);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
  SelectObject(dc, old);
  DeleteObject(pen);
}

// A 1-pixel box: top and left in c1, bottom and right in c2.
void Box(HDC dc, const RECT& r, COLORREF c1, COLORREF c2) {
  Line(dc, r.left, r.bottom - 1, r.left, r.top, c1);
  Line(dc, r.left, r.top, r.right - 1, r.top, c1);
  Line(dc, r.right - 1, r.top, r.right - 1, r.bottom - 1, c2);
  Line(dc, r.right - 1, r.bottom - 1, r.left - 1, r.bottom - 1, c2);
}

void PaintLabel(PaintSurface& s, const ControlSpec& c, const RECT& r, HFONT font) {
  HDC dc = s.Dc();
  if (!c.transparent) FillColor(dc, r, ToColorRef(c.color, GetSysColor(COLOR_BTNFACE)));
  UINT flags = DT_EXPANDTABS | DT_NOCLIP;
  if (c.word_wrap) flags |= DT_WORDBREAK;
  if (c.alignment == TextAlign::Center) flags |= DT_CENTER;
  else if (c.alignment == TextAlign::Right) flags |= DT_RIGHT;
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, c.enabled ? ToColorRef(c.font.color, GetSysColor(COLOR_WINDOWTEXT)) : GetSysColor(COLOR_GRAYTEXT));
  RECT box = r;
  if (c.layout != TextLayout::Top) {
    RECT calc = r;
    DrawTextA(dc, c.caption.c_str(), static_cast<int>(c.caption.size()), &calc, flags | DT_CALCRECT);
    const int text_h = calc.bottom - calc.top, room = r.bottom - r.top;
    box.top += c.layout == TextLayout::Center ? (room - text_h) / 2 : room - text_h;
  }
  HRGN clip = CreateRectRgnIndirect(&r);
  OffsetRgn(clip, -s.Area().left, -s.Area().top);  // clip regions are in device pixels
  SelectClipRgn(dc, clip);
  DrawTextA(dc, c.caption.c_str(), static_cast<int>(c.caption.size()), &box, flags);
  SelectClipRgn(dc, nullptr);
  DeleteObject(clip);
  SelectObject(dc, old);
}

void PaintImage(PaintSurface& s, const ControlSpec& c, const RECT& r, const Bitmap32* picture) {
  if (!picture || picture->Empty()) return;
  RECT dest = r;
  if (!c.stretch) {
    const int w = picture->Width(), h = picture->Height();
    if (c.center) {
      dest.left = r.left + ((r.right - r.left) - w) / 2;
      dest.top = r.top + ((r.bottom - r.top) - h) / 2;
    }
    dest.right = dest.left + w;
    dest.bottom = dest.top + h;
  }
  DrawPicture(s, dest, r, *picture, c.transparent);
}

void PaintShape(PaintSurface& s, const ControlSpec& c, const RECT& r, const DpiScale& scale) {
  HDC dc = s.Dc();
  const int pen_styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
  const int pen_width = scale.Size(c.pen_width);
  HPEN pen = CreatePen(pen_styles[static_cast<int>(c.pen_style)], pen_width, ToColorRef(c.pen_color, 0));
  HBRUSH brush;
  const COLORREF bc = ToColorRef(c.brush_color, RGB(255, 255, 255));
  switch (c.brush_style) {
    case BrushKind::Solid: brush = CreateSolidBrush(bc); break;
    case BrushKind::Clear: brush = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)); break;
    case BrushKind::Horizontal: brush = CreateHatchBrush(HS_HORIZONTAL, bc); break;
    case BrushKind::Vertical: brush = CreateHatchBrush(HS_VERTICAL, bc); break;
    case BrushKind::FDiagonal: brush = CreateHatchBrush(HS_FDIAGONAL, bc); break;
    case BrushKind::BDiagonal: brush = CreateHatchBrush(HS_BDIAGONAL, bc); break;
    case BrushKind::Cross: brush = CreateHatchBrush(HS_CROSS, bc); break;
    default: brush = CreateHatchBrush(HS_DIAGCROSS, bc); break;
  }
  HGDIOBJ old_pen = SelectObject(dc, pen), old_brush = SelectObject(dc, brush);
  SetBkMode(dc, TRANSPARENT);
  const int pw = std::max(1, pen_width);
  int x = r.left + pw / 2, y = r.top + pw / 2;
  int w = r.right - r.left - pw + 1, h = r.bottom - r.top - pw + 1;
  const bool square = c.shape == ShapeKind::Square || c.shape == ShapeKind::RoundSquare ||
                      c.shape == ShapeKind::Circle;
  if (square) {
    const int side = std::min(w, h);
    x += (w - side) / 2;
    y += (h - side) / 2;
    w = h = side;
  }
  switch (c.shape) {
    case ShapeKind::Rectangle:
    case ShapeKind::Square: Rectangle(dc, x, y, x + w, y + h); break;
    case ShapeKind::RoundRect:
    case ShapeKind::RoundSquare: RoundRect(dc, x, y, x + w, y + h, std::min(w, h) / 4, std::min(w, h) / 4); break;
    default: Ellipse(dc, x, y, x + w, y + h); break;
  }
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(pen);
  if (c.brush_style != BrushKind::Clear) DeleteObject(brush);
}

void PaintBevel(PaintSurface& s, const ControlSpec& c, const RECT& r) {
  HDC dc = s.Dc();
  COLORREF c1 = GetSysColor(COLOR_BTNSHADOW), c2 = GetSysColor(COLOR_BTNHIGHLIGHT);
  if (c.bevel_style == BevelStyleKind::Raised) std::swap(c1, c2);
  switch (c.bevel_shape) {
    case BevelShapeKind::Box: Box(dc, r, c1, c2); break;
    case BevelShapeKind::Frame: {
      RECT a = {r.left, r.top, r.right - 1, r.bottom - 1};
      RECT b = {r.left + 1, r.top + 1, r.right, r.bottom};
      Box(dc, b, c2, c2);
      Box(dc, a, c1, c1);
      break;
    }
    case BevelShapeKind::TopLine:
      Line(dc, r.left, r.top, r.right, r.top, c1);
      Line(dc, r.left, r.top + 1, r.right, r.top + 1, c2);
      break;
    case BevelShapeKind::BottomLine:
      Line(dc, r.left, r.bottom - 2, r.right, r.bottom - 2, c1);
      Line(dc, r.left, r.bottom - 1, r.right, r.bottom - 1, c2);
      break;
    case BevelShapeKind::LeftLine:
      Line(dc, r.left, r.top, r.left, r.bottom, c1);
      Line(dc, r.left + 1, r.top, r.left + 1, r.bottom, c2);
      break;
    case BevelShapeKind::RightLine:
      Line(dc, r.right - 2, r.top, r.right - 2, r.bottom, c1);
      Line(dc, r.right - 1, r.top, r.right - 1, r.bottom, c2);
      break;
    case BevelShapeKind::Spacer: break;
  }
}

// A greyed glyph for a disabled button whose strip has no disabled face: the see-through
// colour stays, every other pixel becomes a light grey of its brightness.
void GreyGlyph(Bitmap32& g) {
  const int w = g.Width(), h = g.Height();
  if (w <= 0 || h <= 0) return;
  const Pixel key = g.Row(h - 1)[0];
  for (int y = 0; y < h; ++y) {
    Pixel* row = g.Row(y);
    for (int x = 0; x < w; ++x) {
      const Pixel p = row[x];
      if (p == key) continue;
      const int b = p & 0xFF, gr = (p >> 8) & 0xFF, rd = (p >> 16) & 0xFF;
      const int lum = (rd * 77 + gr * 151 + b * 28) >> 8;
      const int v = 128 + lum / 2;  // a light grey of the pixel's brightness
      row[x] = (p & 0xFF000000u) | static_cast<Pixel>(v << 16 | v << 8 | v);
    }
  }
}

void CenteredText(HDC dc, const std::string& text, RECT r, HFONT font, COLORREF color) {
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, old);
}

}  // namespace

void PaintGraphicControl(PaintSurface& s, const ControlSpec& c, const RECT& r, HFONT font,
                         const Bitmap32* picture, const DpiScale& scale) {
  switch (c.cls) {
    case ControlClass::Label: PaintLabel(s, c, r, font); break;
    case ControlClass::Image:
    case ControlClass::Preview: PaintImage(s, c, r, picture); break;
    case ControlClass::Shape:
    case ControlClass::ClickShape: PaintShape(s, c, r, scale); break;
    case ControlClass::Bevel: PaintBevel(s, c, r); break;
    default: break;
  }
}

void PaintButton(PaintSurface& s, const ControlSpec& c, const RECT& r, HFONT font,
                 const Bitmap32* glyph, bool pressed, const DpiScale& scale) {
  HDC dc = s.Dc();
  RECT face = r;
  if (c.default_button) {
    // The default button (Enter) wears a dark outline.
    HBRUSH frame = CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME));
    FrameRect(dc, &face, frame);
    DeleteObject(frame);
    InflateRect(&face, -1, -1);
  }
  DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  const int shift = pressed ? 1 : 0;
  // The glyph strip holds NumGlyphs faces side by side: normal, disabled, pressed, latched.
  int gw = 0, gh = 0;
  Bitmap32 face_glyph;
  if (glyph && !glyph->Empty()) {
    const int n = std::clamp(c.num_glyphs, 1, 4);
    gw = glyph->Width() / n;
    gh = glyph->Height();
    const int index = GlyphFace(n, c.enabled, pressed);
    if (gw > 0 && face_glyph.SetSize(gw, gh)) {
      face_glyph.CopyRect(*glyph, Rect::FromSize(std::max(0, index) * gw, 0, gw, gh), 0, 0);
      if (index < 0) GreyGlyph(face_glyph);
    } else {
      gw = 0;
    }
  }
  SIZE text{};
  HGDIOBJ old = SelectObject(dc, font);
  if (!c.caption.empty()) GetTextExtentPoint32A(dc, c.caption.c_str(), static_cast<int>(c.caption.size()), &text);
  SelectObject(dc, old);
  const GlyphPlacement at = LayOutButtonFace(r.right - r.left, r.bottom - r.top, gw, gw > 0 ? gh : 0,
                                         static_cast<int>(text.cx), static_cast<int>(text.cy),
                                         c.glyph_layout, c.margin > 0 ? scale.Px(c.margin) : c.margin,
                                         c.spacing > 0 ? scale.Px(c.spacing) : c.spacing);
  if (gw > 0) {
    const int gx = r.left + at.glyph.x + shift, gy = r.top + at.glyph.y + shift;
    RECT g = {gx, gy, gx + gw, gy + gh};
    // A glyph's bottom-left pixel marks its see-through colour.
    DrawPicture(s, g, r, face_glyph, true);
  }
  if (!c.caption.empty()) {
    const int tx = r.left + at.text.x + shift, ty = r.top + at.text.y + shift;
    RECT t = {tx, ty, tx + text.cx + 2, ty + text.cy};
    CenteredText(dc, c.caption, t, font,
                 c.enabled ? ToColorRef(c.font.color, GetSysColor(COLOR_BTNTEXT)) : GetSysColor(COLOR_GRAYTEXT));
  }
}

void PaintPanel(PaintSurface& s, const ControlSpec& c, const RECT& r, HFONT font, int bevel_px, int border_px) {
  HDC dc = s.Dc();
  FillColor(dc, r, ToColorRef(c.color, GetSysColor(COLOR_BTNFACE)));
  RECT inner = r;
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  auto bevel = [&](BevelCut cut) {
    if (cut == BevelCut::None) return;
    for (int i = 0; i < bevel_px; ++i) {
      if (cut == BevelCut::Lowered) Box(dc, inner, shadow, light);
      else if (cut == BevelCut::Raised) Box(dc, inner, light, shadow);
      InflateRect(&inner, -1, -1);
    }
  };
  bevel(c.bevel_outer);
  InflateRect(&inner, -border_px, -border_px);
  bevel(c.bevel_inner);
  if (!c.caption.empty()) {
    // The caption on one line, centred vertically, at the side Alignment names.
    RECT t = inner;
    UINT flags = DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS;
    flags |= c.alignment == TextAlign::Left ? DT_LEFT : c.alignment == TextAlign::Right ? DT_RIGHT : DT_CENTER;
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(c.font.color, GetSysColor(COLOR_WINDOWTEXT)));
    DrawTextA(dc, c.caption.c_str(), static_cast<int>(c.caption.size()), &t, flags);
    SelectObject(dc, old);
  }
}

HCURSOR CursorFor(int cursor) {
  LPCSTR id = IDC_ARROW;
  switch (cursor) {
    case -21: id = IDC_HAND; break;       // crHandPoint
    case -4: id = IDC_IBEAM; break;       // crIBeam
    case -11: id = IDC_WAIT; break;       // crHourGlass
    case -3: id = IDC_CROSS; break;       // crCross
    case -19: id = IDC_APPSTARTING; break;
    case -20: id = IDC_HELP; break;
    case -18: id = IDC_NO; break;
    case -22: id = IDC_SIZEALL; break;
    default: break;
  }
  return LoadCursorA(nullptr, id);
}

}  // namespace kx::win32
