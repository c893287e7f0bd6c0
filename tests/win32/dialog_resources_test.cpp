// The dialog template and the pane cursors as the built module holds them, read back
// from its resources.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cwctype>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "support/dialog_driver.h"
#include "support/plugin_library.h"
#include "support/preview_oracle.h"

namespace {

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

// Reads a dialog template (the plain, not the extended, form) field by field.
class TemplateReader {
 public:
  explicit TemplateReader(const void* data) : p(static_cast<const BYTE*>(data)), start(p) {}
  DWORD Dword() { return Take<DWORD>(); }
  WORD Word() { return Take<WORD>(); }
  short Short() { return Take<short>(); }
  // A string or an ordinal (0xFFFF followed by the number), as text: "#n" for ordinals.
  std::wstring SzOrOrd() {
    if (Peek() == 0xFFFF) {
      Word();
      return L"#" + std::to_wstring(Word());
    }
    return Sz();
  }
  std::wstring Sz() {
    std::wstring s;
    for (WORD c; (c = Word()) != 0;) s += static_cast<wchar_t>(c);
    return s;
  }
  void AlignDword() {
    while ((p - start) % 4) ++p;
  }
  WORD Peek() const { return *reinterpret_cast<const WORD*>(p); }
  void Skip(size_t bytes) { p += bytes; }

 private:
  template <class T>
  T Take() {
    T v;
    memcpy(&v, p, sizeof v);
    p += sizeof v;
    return v;
  }
  const BYTE* p;
  const BYTE* start;
};

struct Item {
  DWORD style, exStyle;
  short x, y, cx, cy;
  WORD id;
  std::wstring className, text;
};

std::wstring Lower(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(towlower(c));
  return s;
}

// Predefined classes are stored as atoms.
std::wstring ClassName(const std::wstring& stored) {
  if (stored == L"#128") return L"button";
  if (stored == L"#129") return L"edit";
  if (stored == L"#130") return L"static";
  if (stored == L"#133") return L"combobox";
  return Lower(stored);
}

const void* FindResourceData(HMODULE module, LPCSTR type, int id, WORD language) {
  HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), language);
  if (!found) return nullptr;
  return LockResource(LoadResource(module, found));
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR list) {
  reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
  return TRUE;
}

TEST(SolarizationTemplate, MatchesItsLayoutExactly) {
  PluginLibrary plugin;
  std::vector<WORD> languages;
  EnumResourceLanguagesA(plugin.Module(), MAKEINTRESOURCEA(5) /* RT_DIALOG */,
                         MAKEINTRESOURCEA(IDD_SOLARIZATION), &CollectLanguage,
                         reinterpret_cast<LONG_PTR>(&languages));
  ASSERT_EQ(languages, std::vector<WORD>{kJapanese});
  const void* data = FindResourceData(plugin.Module(), MAKEINTRESOURCEA(5), IDD_SOLARIZATION, kJapanese);
  ASSERT_NE(data, nullptr);

  TemplateReader t(data);
  ASSERT_NE(t.Peek(), 1) << "an extended template";
  EXPECT_EQ(t.Dword(), static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
  EXPECT_EQ(t.Dword(), 0u);  // no extended style
  const WORD count = t.Word();
  EXPECT_EQ(t.Short(), 0);
  EXPECT_EQ(t.Short(), 0);
  EXPECT_EQ(t.Short(), 183);
  EXPECT_EQ(t.Short(), 159);
  EXPECT_EQ(t.SzOrOrd(), L"");  // no menu
  EXPECT_EQ(t.SzOrOrd(), L"");  // the platform's dialog class
  EXPECT_EQ(t.Sz(), L"ソラリゼーション");
  EXPECT_EQ(t.Word(), 9);
  EXPECT_EQ(t.Sz(), L"ＭＳ Ｐゴシック");

  const DWORD child = WS_CHILD | WS_VISIBLE;
  const Item expected[] = {
      {child | WS_GROUP | SS_LEFT, 0, 130, 10, 24, 8, 0xFFFF, L"static", L"閾値(&T):"},
      {child | WS_BORDER | WS_TABSTOP | ES_NUMBER | ES_RIGHT, 0, 130, 20, 40, 14, 1003, L"edit", L""},
      {child | UDS_ARROWKEYS | UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_SETBUDDYINT, 0, 170, 20, 9, 14, 1004,
       L"msctls_updown32", L"Spin1"},
      {child | WS_TABSTOP | TBS_HORZ | TBS_TOP | TBS_AUTOTICKS, 0, 125, 35, 55, 20, 1022,
       L"msctls_trackbar32", L"Slider1"},
      {child | WS_GROUP | SS_LEFT, 0, 130, 65, 50, 8, 0xFFFF, L"static", L"適用チャネル(&C):"},
      {child | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, 0, 130, 75, 48, 55, 1023, L"combobox", L""},
      {child | SS_SUNKEN | SS_NOTIFY | SS_GRAYFRAME, 0, 5, 5, 120, 110, 1005, L"static", L""},
      {child | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 30, 120, 55, 10, 1006, L"button", L"プレビュー(&P)"},
      {child | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 5, 140, 50, 14, 1, L"button", L"OK"},
      {child | WS_TABSTOP | BS_PUSHBUTTON, 0, 130, 140, 50, 14, 2, L"button", L"ｷｬﾝｾﾙ"},
  };
  ASSERT_EQ(count, sizeof expected / sizeof expected[0]);
  for (const Item& e : expected) {
    SCOPED_TRACE("control " + std::to_string(e.id));
    t.AlignDword();
    EXPECT_EQ(t.Dword(), e.style);
    EXPECT_EQ(t.Dword(), e.exStyle);
    EXPECT_EQ(t.Short(), e.x);
    EXPECT_EQ(t.Short(), e.y);
    EXPECT_EQ(t.Short(), e.cx);
    EXPECT_EQ(t.Short(), e.cy);
    EXPECT_EQ(t.Word(), e.id);
    EXPECT_EQ(ClassName(t.SzOrOrd()), e.className);
    EXPECT_EQ(t.SzOrOrd(), e.text);
    EXPECT_EQ(t.Word(), 0);  // no creation data
  }
}

// The caption, then each control's class and text, as template `id` holds them.
std::vector<std::pair<std::wstring, std::wstring>> TemplateTexts(HMODULE module, int id) {
  TemplateReader t(FindResourceData(module, MAKEINTRESOURCEA(5), id, kJapanese));
  t.Skip(8);  // the styles
  const WORD count = t.Word();
  t.Skip(8);  // place and size
  t.SzOrOrd(), t.SzOrOrd();  // menu and class
  std::vector<std::pair<std::wstring, std::wstring>> texts = {{L"#32770", t.Sz()}};
  t.Word(), t.Sz();  // the font
  for (WORD i = 0; i < count; ++i) {
    t.AlignDword();
    t.Skip(18);  // the styles, place, size and id
    const std::wstring className = ClassName(t.SzOrOrd());
    texts.push_back({className, t.SzOrOrd()});
    t.Word();  // no creation data
  }
  return texts;
}

// Every text of the three dialogs reads as its template holds it, whatever the ANSI
// code page (CTest runs this under 932 and again under 1252), and every window stays a
// Unicode one, the subclassed pane among them.
TEST(DialogTexts, ReadAsTheirTemplatesOnAnyCodePage) {
  PluginLibrary plugin;
  HostWindow host;
  const TestImage image = ColourfulImage(40, 30);
  for (int32_t filter : {0, 1, 2}) {
    const auto expected = TemplateTexts(plugin.Module(), IDD_SOLARIZATION + filter);
    const DriveResult r = DriveDialog(
        [&] { return plugin.Setup(filter, host, image.data(), image.width, image.height); },
        {[&](HWND d) {
           std::vector<HWND> windows = {d};
           for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
             windows.push_back(c);
           }
           ASSERT_EQ(windows.size(), expected.size());
           for (size_t i = 0; i < windows.size(); ++i) {
             SCOPED_TRACE("filter " + std::to_string(filter) + ", window " + std::to_string(i));
             EXPECT_TRUE(IsWindowUnicode(windows[i]));
             // The dialog fills its edit boxes and its list itself.
             const std::wstring& className = expected[i].first;
             if (className != L"edit" && className != L"combobox") {
               EXPECT_EQ(WindowTextW(windows[i]), expected[i].second);
             }
           }
         },
         Cancel});
    EXPECT_EQ(r.stepsDone, 2);
  }
}

// One cursor image: 32 x 32, one bit per pixel, XOR mask then AND mask, bottom-up.
struct CursorImage {
  WORD hotX = 0xFFFF, hotY = 0xFFFF;
  BITMAPINFOHEADER header{};
  RGBQUAD colours[2]{};
  // 'k' black, 'w' white, '.' transparent, 'x' inverted, per pixel, rows top-down.
  std::vector<std::string> rows;
};

CursorImage ReadCursor(HMODULE module, int id) {
  CursorImage c;
  const BYTE* group = static_cast<const BYTE*>(FindResourceData(module, MAKEINTRESOURCEA(12), id, kJapanese));
  if (!group) return c;
  const WORD* g = reinterpret_cast<const WORD*>(group);
  EXPECT_EQ(g[1], 2);  // cursors
  EXPECT_EQ(g[2], 1);  // one image
  WORD imageId;
  memcpy(&imageId, group + 6 + 12, sizeof imageId);
  const BYTE* image = static_cast<const BYTE*>(FindResourceData(module, MAKEINTRESOURCEA(1), imageId, kJapanese));
  if (!image) return c;
  memcpy(&c.hotX, image, 2);
  memcpy(&c.hotY, image + 2, 2);
  memcpy(&c.header, image + 4, sizeof c.header);
  memcpy(c.colours, image + 4 + sizeof c.header, sizeof c.colours);
  const BYTE* xorMask = image + 4 + sizeof c.header + sizeof c.colours;
  const BYTE* andMask = xorMask + 32 * 4;
  for (int y = 31; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < 32; ++x) {
      const bool a = andMask[y * 4 + x / 8] & (0x80 >> (x % 8));
      const bool o = xorMask[y * 4 + x / 8] & (0x80 >> (x % 8));
      row += a ? (o ? 'x' : '.') : (o ? 'w' : 'k');
    }
    c.rows.push_back(row);
  }
  return c;
}

int Count(const CursorImage& c, char what, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) n += c.rows[y][x] == what;
  return n;
}

TEST(PaneCursors, MonochromeHandAndArrowsWithTheHotSpotTopLeft) {
  PluginLibrary plugin;
  const CursorImage open = ReadCursor(plugin.Module(), IDCUR_HAND_OPEN);
  const CursorImage grip = ReadCursor(plugin.Module(), IDCUR_HAND_GRIP);
  for (const CursorImage* c : {&open, &grip}) {
    ASSERT_EQ(c->rows.size(), 32u);
    EXPECT_EQ(c->hotX, 0);
    EXPECT_EQ(c->hotY, 0);
    EXPECT_EQ(c->header.biWidth, 32);
    EXPECT_EQ(c->header.biHeight, 64);
    EXPECT_EQ(c->header.biBitCount, 1);
    EXPECT_EQ(c->colours[0].rgbRed + c->colours[0].rgbGreen + c->colours[0].rgbBlue, 0);
    EXPECT_EQ(c->colours[1].rgbRed & c->colours[1].rgbGreen & c->colours[1].rgbBlue, 255);
    EXPECT_EQ(Count(*c, 'x', 0, 0, 32, 32), 0) << "no inverted pixels";
    // A hand upper left, the arrows lower right, nothing in the other corners.
    EXPECT_GT(Count(*c, 'w', 0, 0, 18, 17), 60);
    EXPECT_GT(Count(*c, 'k', 0, 0, 18, 17), 30);
    EXPECT_GT(Count(*c, 'w', 17, 17, 32, 32), 20);
    EXPECT_EQ(Count(*c, '.', 20, 0, 32, 12), 12 * 12);
    EXPECT_EQ(Count(*c, '.', 0, 20, 12, 32), 12 * 12);
  }
  EXPECT_NE(open.rows, grip.rows);
  // The same cross in both.
  for (int y = 17; y < 32; ++y) EXPECT_EQ(open.rows[y].substr(17), grip.rows[y].substr(17));
  EXPECT_NE(LoadCursorA(plugin.Module(), MAKEINTRESOURCEA(IDCUR_HAND_OPEN)), nullptr);
  EXPECT_NE(LoadCursorA(plugin.Module(), MAKEINTRESOURCEA(IDCUR_HAND_GRIP)), nullptr);
}

}  // namespace
