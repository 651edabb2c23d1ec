#include "config/form_names.h"

#include "config/text_util.h"
#include "package/paths.h"

namespace kx {
namespace {

struct NamedValue {
  const char* name;
  int64_t value;
};

constexpr NamedValue kColors[] = {
    {"clBlack", 0x000000}, {"clMaroon", 0x000080}, {"clGreen", 0x008000}, {"clOlive", 0x008080},
    {"clNavy", 0x800000}, {"clPurple", 0x800080}, {"clTeal", 0x808000}, {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF}, {"clLime", 0x00FF00}, {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000}, {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00}, {"clLtGray", 0xC0C0C0},
    {"clDkGray", 0x808080}, {"clWhite", 0xFFFFFF}, {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6}, {"clCream", 0xF0FBFF}, {"clMedGray", 0xA4A0A0},
    {"clNone", kColorNone}, {"clDefault", kColorDefault},
    {"clScrollBar", SystemColor(0)}, {"clBackground", SystemColor(1)},
    {"clActiveCaption", SystemColor(2)}, {"clInactiveCaption", SystemColor(3)},
    {"clMenu", SystemColor(4)}, {"clWindow", SystemColor(5)}, {"clWindowFrame", SystemColor(6)},
    {"clMenuText", SystemColor(7)}, {"clWindowText", SystemColor(8)},
    {"clCaptionText", SystemColor(9)}, {"clActiveBorder", SystemColor(10)},
    {"clInactiveBorder", SystemColor(11)}, {"clAppWorkSpace", SystemColor(12)},
    {"clHighlight", SystemColor(13)}, {"clHighlightText", SystemColor(14)},
    {"clBtnFace", SystemColor(15)}, {"clBtnShadow", SystemColor(16)},
    {"clGrayText", SystemColor(17)}, {"clBtnText", SystemColor(18)},
    {"clInactiveCaptionText", SystemColor(19)}, {"clBtnHighlight", SystemColor(20)},
    {"cl3DDkShadow", SystemColor(21)}, {"cl3DLight", SystemColor(22)},
    {"clInfoText", SystemColor(23)}, {"clInfoBk", SystemColor(24)},
    {"clHotLight", SystemColor(26)}, {"clGradientActiveCaption", SystemColor(27)},
    {"clGradientInactiveCaption", SystemColor(28)}, {"clMenuHighlight", SystemColor(29)},
    {"clMenuBar", SystemColor(30)},
};

constexpr NamedValue kCursors[] = {
    {"crDefault", 0}, {"crNone", -1}, {"crArrow", -2}, {"crCross", -3}, {"crIBeam", -4},
    {"crSizeNESW", -6}, {"crSizeNS", -7}, {"crSizeNWSE", -8}, {"crSizeWE", -9},
    {"crUpArrow", -10}, {"crHourGlass", -11}, {"crDrag", -12}, {"crNoDrop", -13},
    {"crHSplit", -14}, {"crVSplit", -15}, {"crMultiDrag", -16}, {"crSQLWait", -17},
    {"crNo", -18}, {"crAppStart", -19}, {"crHelp", -20}, {"crHandPoint", -21},
    {"crSize", -22}, {"crSizeAll", -22},
};

constexpr NamedValue kCharsets[] = {
    {"ANSI_CHARSET", 0}, {"DEFAULT_CHARSET", 1}, {"SYMBOL_CHARSET", 2}, {"MAC_CHARSET", 77},
    {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129}, {"JOHAB_CHARSET", 130},
    {"GB2312_CHARSET", 134}, {"CHINESEBIG5_CHARSET", 136}, {"GREEK_CHARSET", 161},
    {"TURKISH_CHARSET", 162}, {"VIETNAMESE_CHARSET", 163}, {"HEBREW_CHARSET", 177},
    {"ARABIC_CHARSET", 178}, {"BALTIC_CHARSET", 186}, {"RUSSIAN_CHARSET", 204},
    {"THAI_CHARSET", 222}, {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255},
};

template <size_t N>
std::optional<int64_t> Lookup(const NamedValue (&table)[N], std::string_view name) {
  for (const NamedValue& v : table)
    if (EqualNoCase(v.name, name)) return v.value;
  return std::nullopt;
}

}  // namespace

std::optional<FormColor> ColorFromName(std::string_view name) {
  if (auto v = Lookup(kColors, name)) return static_cast<FormColor>(*v);
  return std::nullopt;
}

std::optional<int> CursorFromName(std::string_view name) {
  if (auto v = Lookup(kCursors, name)) return static_cast<int>(*v);
  return std::nullopt;
}

std::optional<int> CharsetFromName(std::string_view name) {
  if (auto v = Lookup(kCharsets, name)) return static_cast<int>(*v);
  return std::nullopt;
}

}  // namespace kx
