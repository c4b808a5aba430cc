// The gradient bar painted by a real progress control into a 32-bit DIB
// section, checked pixel by pixel.
#include <windows.h>
// windows.h must come first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "framework/Dc.h"
#include "framework/UniqueResource.h"
#include "framework/Wnd.h"
#include "framework/WorkerThread.h"
#include "progress/GradientProgressCtrl.h"

namespace {
constexpr int kProgressId = 1003;
constexpr int kHeight = 40;
// Where the one test that shows its window keeps it out of other tests' way.
constexpr int kOffScreen = -4000;
// Bound on a worker that should end at once.
constexpr DWORD kWorkerLimitMs = 5000;
// The dialog's look.
constexpr COLORREF kStart = RGB(0, 128, 128);
constexpr COLORREF kEnd = RGB(0, 0, 128);
constexpr COLORREF kText = RGB(0, 128, 0);
// Left in the canvas where nothing was painted.
constexpr COLORREF kUnpainted = RGB(255, 0, 255);
const char kBlankBox[] = "                                              ";

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
std::ostream& operator<<(std::ostream& out, const Rgb& c) {
  return out << "rgb(" << c.r << "," << c.g << "," << c.b << ")";
}
Rgb ToRgb(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }
Rgb ButtonFace() { return ToRgb(::GetSysColor(COLOR_BTNFACE)); }
// Stands for the background colour in the case table.
constexpr Rgb kBackground = {-1, -1, -1};

using Pixels = std::set<std::pair<int, int>>;

// A memory DC with a top-down 32-bit DIB section selected, first filled with
// kUnpainted.
class Canvas {
 public:
  Canvas(int width, int height) : m_width(width), m_height(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_memory.reset(::CreateCompatibleDC(nullptr));
    m_bitmap.reset(::CreateDIBSection(m_memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    m_oldBitmap = ::SelectObject(m_memory.get(), m_bitmap.get());
    m_dc.m_hDC = m_dc.m_hAttribDC = m_memory.get();
    Fill(kUnpainted);
  }
  ~Canvas() {
    m_dc.m_hDC = m_dc.m_hAttribDC = nullptr;
    ::SelectObject(m_memory.get(), m_oldBitmap);
  }

  CDC& dc() { return m_dc; }
  HDC hdc() const { return m_memory.get(); }
  RECT rect() const { return {0, 0, m_width, m_height}; }

  void Fill(COLORREF colour) {
    UniqueGdiObject brush(::CreateSolidBrush(colour));
    RECT all = rect();
    ::FillRect(hdc(), &all, static_cast<HBRUSH>(brush.get()));
  }
  Rgb Pixel(int x, int y) const { return ToRgb(::GetPixel(hdc(), x, y)); }
  Pixels PixelsOf(COLORREF colour) const {
    Pixels found;
    for (int y = 0; y < m_height; ++y)
      for (int x = 0; x < m_width; ++x)
        if (Pixel(x, y) == ToRgb(colour)) found.emplace(x, y);
    return found;
  }

 private:
  int m_width, m_height;
  UniqueMemoryDc m_memory;
  UniqueGdiObject m_bitmap;
  HGDIOBJ m_oldBitmap = nullptr;
  CDC m_dc;
};

// One line of text centred as the bar centres it, drawn alone on a canvas.
// `opaque` draws the cells behind the glyphs too, as the blank box does.
struct TextImage {
  Pixels touched;  // every pixel the text changes, smoothed glyph edges too
  Pixels solid;    // the pixels wholly in the text colour
  bool Touches(int x, int y) const { return touched.count({x, y}) != 0; }
};

TextImage RenderText(const char* text, int width, bool opaque) {
  Canvas reference(width, kHeight);
  RECT rect = reference.rect();
  ::SetTextColor(reference.hdc(), kText);
  ::SetBkColor(reference.hdc(), kText);
  ::SetBkMode(reference.hdc(), opaque ? OPAQUE : TRANSPARENT);
  ::DrawTextA(reference.hdc(), text, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  TextImage image{{}, reference.PixelsOf(kText)};
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < width; ++x)
      if (!(reference.Pixel(x, y) == ToRgb(kUnpainted))) image.touched.emplace(x, y);
  return image;
}

// A hidden top-level window with a comctl32 progress bar as control 1003,
// taken over by the bar under test.
class GradientBarTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
  }

  // False when no control could be made (no display, say).
  bool CreateBar(int clientWidth) {
    m_host.m_hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, kOffScreen, kOffScreen, 400, 200,
                                      nullptr, nullptr, nullptr, nullptr);
    HWND control =
        ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 0, clientWidth, kHeight,
                          m_host.m_hWnd, reinterpret_cast<HMENU>(kProgressId), nullptr, nullptr);
    if (!control) return false;
    // The control adds an edge of its own: grow it so the client area is as asked.
    RECT window, client;
    ::GetWindowRect(control, &window);
    ::GetClientRect(control, &client);
    const int edgeWidth = (window.right - window.left) - client.right;
    const int edgeHeight = (window.bottom - window.top) - client.bottom;
    ::SetWindowPos(control, nullptr, 0, 0, clientWidth + edgeWidth, kHeight + edgeHeight,
                   SWP_NOMOVE | SWP_NOZORDER);
    return m_bar.SubclassDlgItem(kProgressId, &m_host) != FALSE;
  }

  void TearDown() override {
    if (m_host.m_hWnd) ::DestroyWindow(m_host.m_hWnd);
    m_host.m_hWnd = nullptr;
  }

  // The dialog's six calls, with the range and colours of the case.
  void Configure(int lower, int upper, int pos, COLORREF start = kStart, COLORREF end = kEnd) {
    m_bar.SetRange(lower, upper);
    m_bar.SetPos(pos);
    m_bar.SetShowPercent(TRUE);
    m_bar.SetStartColor(start);
    m_bar.SetEndColor(end);
    m_bar.SetTextColor(kText);
  }

  // Counts the paint messages that reach the control from now on.
  void CountPaints() {
    g_paints = 0;
    g_barProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(m_bar.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
  }
  static LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) ++g_paints;
    return ::CallWindowProcA(g_barProc, hwnd, message, wParam, lParam);
  }
  static inline int g_paints = 0;
  static inline WNDPROC g_barProc = nullptr;

  // Paints the bar into a fresh canvas of its client size.
  Canvas& Paint() {
    RECT client;
    m_bar.GetClientRect(&client);
    m_canvas = std::make_unique<Canvas>(client.right, client.bottom);
    m_bar.Paint(m_canvas->dc());
    return *m_canvas;
  }

  CWnd m_host;
  CGradientProgressCtrl m_bar;
  std::unique_ptr<Canvas> m_canvas;
};

Rgb Band(int green) { return {0, green, 128}; }

TEST_F(GradientBarTest, HalfwayShowsTwoPixelBandsThenBackgroundUnderTheText) {
  ASSERT_TRUE(CreateBar(256));
  Configure(0, 100, 50);
  Canvas& canvas = Paint();

  const TextImage text = RenderText("50%", 256, false);
  EXPECT_FALSE(text.solid.empty());
  EXPECT_EQ(canvas.PixelsOf(kText), text.solid);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < 256; ++x) {
      if (text.Touches(x, y)) continue;
      const Rgb expected = x < 128 ? Band(128 - x / 2) : ButtonFace();
      ASSERT_EQ(canvas.Pixel(x, y), expected) << "at " << x << "," << y;
    }
  }
}

struct BarCase {
  const char* name;
  int width;
  COLORREF start, end;
  int lower, upper, pos;
  // Columns checked on the top and bottom rows, clear of the text.
  std::vector<std::pair<int, Rgb>> columns;
  const char* text;  // nullptr: no text at all
  bool blankBox;     // the 46-space box in the background colour
};

void PrintTo(const BarCase& c, std::ostream* out) { *out << c.name; }

class GradientBarCaseTest : public GradientBarTest,
                            public ::testing::WithParamInterface<BarCase> {};

TEST_P(GradientBarCaseTest, PaintsBandsBackgroundAndText) {
  const BarCase& c = GetParam();
  ASSERT_TRUE(CreateBar(c.width));
  Configure(c.lower, c.upper, c.pos, c.start, c.end);
  Canvas& canvas = Paint();

  EXPECT_TRUE(canvas.PixelsOf(kUnpainted).empty());
  for (const auto& [x, colour] : c.columns) {
    const Rgb expected = colour == kBackground ? ButtonFace() : colour;
    EXPECT_EQ(canvas.Pixel(x, 0), expected) << "column " << x;
    EXPECT_EQ(canvas.Pixel(x, kHeight - 1), expected) << "column " << x;
  }
  const TextImage text = RenderText(c.text ? c.text : "", c.width, false);
  EXPECT_EQ(canvas.PixelsOf(kText), text.solid);
  if (c.blankBox) {
    for (const auto& [x, y] : RenderText(kBlankBox, c.width, true).touched) {
      if (text.Touches(x, y)) continue;
      ASSERT_EQ(canvas.Pixel(x, y), ButtonFace()) << "in the box at " << x << "," << y;
    }
  }
}

const Rgb kBg = kBackground;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, GradientBarCaseTest, ::testing::Values(
    //      name                   width start  end  lower upper pos  {column, colour} on top and bottom rows                          text  blank box
    BarCase{"PositionZero",          256, kStart, kEnd,  0, 100,   0, {{0, kBg}, {128, kBg}, {255, kBg}},                                 "0%",   true},
    BarCase{"AtUpperBound",          256, kStart, kEnd,  0, 100, 100, {{0, Band(128)}, {253, Band(2)}, {254, Band(1)}, {255, Band(1)}}, "100%", false},
    BarCase{"AboveUpperBound",       256, kStart, kEnd,  0, 100, 150, {{0, kBg}, {128, kBg}, {255, kBg}},                                 nullptr, false},
    BarCase{"BelowLowerBound",       256, kStart, kEnd, 20, 100,  10, {{0, kBg}, {128, kBg}, {255, kBg}},                                 nullptr, false},
    // The lower bound takes no part in the filled width: 20% of 256 is 51.
    BarCase{"LowerBoundTwenty",      256, kStart, kEnd, 20, 100,  20, {{0, Band(128)}, {50, Band(103)}, {51, kBg}, {255, kBg}},           "20%",  true},
    BarCase{"OneBand",               256, RGB(0, 0, 128), RGB(0, 0, 129), 0, 100, 100, {{0, {0, 0, 128}}, {255, {0, 0, 128}}},            "100%", false},
    BarCase{"OneBandHalfway",        256, RGB(0, 0, 128), RGB(0, 0, 129), 0, 100,  50, {{127, {0, 0, 128}}, {128, kBg}},                  "50%",  false},
    // 128 bands over 100 pixels: band 0 has no width, band 1 covers x 0.
    BarCase{"NarrowerThanBands",     100, kStart, kEnd,  0, 100, 100, {{0, Band(127)}, {1, Band(126)}, {99, Band(1)}},                   "100%", false},
    // Band 64 spans 50..50 and does not pass the filled width 50; band 65 does.
    BarCase{"NarrowerThanBandsHalf", 100, kStart, kEnd,  0, 100,  50, {{49, Band(65)}, {50, kBg}},                                        "50%",  false},
    // Green steps of -1/3 in single precision, times the band in double: 200 - 1.00000003.
    BarCase{"StepsMultipliedInDouble", 255, RGB(0, 200, 0), RGB(255, 115, 0), 0, 100, 100, {{3, {3, 198, 0}}, {6, {6, 197, 0}}},         "100%", false},
    BarCase{"EqualColours",          256, kStart, kStart, 0, 100, 50, {{0, kBg}, {255, kBg}},                                             "50%",  false},
    BarCase{"UpperBoundZero",        256, kStart, kEnd,  0,   0,   0, {{0, kBg}, {255, kBg}},                                             nullptr, true},
    BarCase{"UpperBoundZeroBelowIt", 256, kStart, kEnd, -10,  0,  -5, {{0, kBg}, {255, kBg}},                                             nullptr, false}),
    [](const ::testing::TestParamInfo<BarCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(GradientBarTest, SetRangeMovesThePositionToTheLowerBound) {
  ASSERT_TRUE(CreateBar(256));
  Configure(0, 100, 70);
  m_bar.SetRange(20, 100);
  Canvas& canvas = Paint();
  EXPECT_EQ(canvas.Pixel(50, 0), Band(103));
  EXPECT_EQ(canvas.Pixel(51, 0), ButtonFace());
  EXPECT_EQ(canvas.PixelsOf(kText), RenderText("20%", 256, false).solid);
}

TEST_F(GradientBarTest, SetPosReturnsThePreviousPositionOfTheControl) {
  ASSERT_TRUE(CreateBar(256));
  Configure(0, 100, 30);
  EXPECT_EQ(m_bar.SetPos(60), 30);
}

TEST_F(GradientBarTest, ColourAndPercentSettersDoNotRepaint) {
  ASSERT_TRUE(CreateBar(256));
  Configure(0, 100, 50);
  CountPaints();
  ::ShowWindow(m_host.m_hWnd, SW_SHOWNOACTIVATE);
  ::UpdateWindow(m_host.m_hWnd);
  const int paintsBefore = g_paints;

  m_bar.SetStartColor(RGB(255, 0, 0));
  m_bar.SetEndColor(RGB(0, 255, 0));
  m_bar.SetTextColor(RGB(0, 0, 255));
  m_bar.SetShowPercent(FALSE);
  EXPECT_EQ(g_paints, paintsBefore);
  EXPECT_FALSE(::GetUpdateRect(m_bar.m_hWnd, nullptr, FALSE));

  // The position, by contrast, reaches the control, which repaints now or later.
  m_bar.SetPos(60);
  EXPECT_TRUE(g_paints > paintsBefore || ::GetUpdateRect(m_bar.m_hWnd, nullptr, FALSE));
}

// Moves the bar to 10, 20 and 30 from a worker thread.
UINT __cdecl MoveFromWorker(LPVOID bar) {
  for (int pos = 10; pos <= 30; pos += 10)
    static_cast<CGradientProgressCtrl*>(bar)->SetPosNoWait(pos);
  return 0;
}

void PumpMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

TEST_F(GradientBarTest, SetPosNoWaitFromAWorkerNeverWaitsAndLandsInOrder) {
  ASSERT_TRUE(CreateBar(256));
  Configure(0, 100, 0);
  // This thread does not pump while the worker runs: a call that waited for
  // it would not return.
  UniqueHandle worker = AfxBeginThread(MoveFromWorker, &m_bar);
  ASSERT_TRUE(worker);
  const bool returned = ::WaitForSingleObject(worker.get(), kWorkerLimitMs) == WAIT_OBJECT_0;
  if (!returned) {
    // Let a waiting worker go before failing.
    PumpMessages();
    ::WaitForSingleObject(worker.get(), INFINITE);
  }
  EXPECT_TRUE(returned);

  // The bar paints the newest position at once; the control takes each over
  // in order once this thread pumps.
  EXPECT_EQ(Paint().PixelsOf(kText), RenderText("30%", 256, false).solid);
  PumpMessages();
  EXPECT_EQ(::SendMessageA(m_bar.m_hWnd, PBM_GETPOS, 0, 0), 30);
}

TEST_F(GradientBarTest, EraseBackgroundDrawsNothing) {
  ASSERT_TRUE(CreateBar(256));
  Canvas canvas(256, kHeight);
  EXPECT_EQ(::SendMessageA(m_bar.m_hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.hdc()), 0),
            TRUE);
  EXPECT_EQ(canvas.PixelsOf(kUnpainted).size(), 256u * kHeight);
}
}  // namespace
