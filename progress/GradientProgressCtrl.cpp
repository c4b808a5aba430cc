#include "progress/GradientProgressCtrl.h"

#include <cstdio>
#include <cstdlib>

#include "framework/PaintDc.h"
#include "framework/UniqueResource.h"
#include "progress/MemDc.h"

namespace {
// DT_CENTER | DT_VCENTER | DT_SINGLELINE: one line centred both ways.
constexpr UINT kCentredLine = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
// Drawn opaque in the background colour at position 0, these blank out a
// box one line high at the centre of the bar, under the percentage text.
constexpr char kBlankBox[] = "                                              ";
static_assert(sizeof kBlankBox - 1 == 46, "the blank box is 46 spaces wide");
constexpr char kLabelJoiner[] = " : ";
constexpr size_t kPercentTextSize = 300;

int Channel(COLORREF colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

// Band edges and colours are products of a band index and a single-precision
// width or step, formed in double precision and then cut toward zero, so that
// every band keeps its place and colour whatever the position.
int BandEdge(int index, float bandWidth) {
  return static_cast<int>(index * static_cast<double>(bandWidth));
}

int BandChannel(int start, int index, float step) {
  return static_cast<int>(start + index * static_cast<double>(step)) & 0xFF;
}

// Fills `rect` with one colour through the given brush owner, then frees the
// brush, so that at most one brush exists at a time.
void FillWithColour(CDC& dc, UniqueGdiObject& brush, const RECT& rect, COLORREF colour) {
  brush.reset(::CreateSolidBrush(colour));
  dc.FillRect(&rect, static_cast<HBRUSH>(brush.get()));
  brush.reset();
}
}  // namespace

const MessageEntry<CGradientProgressCtrl> CGradientProgressCtrl::kMessageMap[] = {
    OnMessage<CGradientProgressCtrl>(WM_PAINT,
                                     [](CGradientProgressCtrl& self, WPARAM, LPARAM) -> LRESULT {
                                       self.OnPaint();
                                       return 0;
                                     }),
    OnMessage<CGradientProgressCtrl>(
        WM_ERASEBKGND,
        [](CGradientProgressCtrl& self, WPARAM, LPARAM) -> LRESULT { return self.OnEraseBkgnd(); }),
};

CGradientProgressCtrl::CGradientProgressCtrl() : m_clrBackground(::GetSysColor(COLOR_BTNFACE)) {}

CGradientProgressCtrl::~CGradientProgressCtrl() = default;

void CGradientProgressCtrl::SetRange(int lower, int upper) {
  m_nLower = lower;
  m_nUpper = upper;
  m_nPos = lower;
  CProgressCtrl::SetRange(static_cast<short>(lower), static_cast<short>(upper));
}

int CGradientProgressCtrl::SetPos(int pos) {
  m_nPos = pos;
  return CProgressCtrl::SetPos(pos);
}

void CGradientProgressCtrl::SetPosNoWait(int pos) {
  m_nPos = pos;
  ::SendNotifyMessageA(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
}

LRESULT CGradientProgressCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (DispatchMessageMap(kMessageMap, *this, message, wParam, lParam, result)) return result;
  return Default();
}

BOOL CGradientProgressCtrl::OnEraseBkgnd() { return TRUE; }

void CGradientProgressCtrl::OnPaint() {
  CPaintDC dc(this);
  Paint(dc);
}

void CGradientProgressCtrl::Paint(CDC& dc) {
  const int pos = m_nPos;
  RECT client;
  GetClientRect(&client);

  if (pos < m_nLower || pos > m_nUpper) {
    // Out of range: the plain button face, read now, and nothing else.
    UniqueGdiObject brush;
    FillWithColour(dc, brush, client, ::GetSysColor(COLOR_BTNFACE));
    return;
  }

  // An upper bound of 0 has no proportion to show: the flat background.
  const bool hasScale = m_nUpper != 0;
  int filledWidth = 0;
  if (hasScale) {
    filledWidth =
        static_cast<int>(static_cast<float>(static_cast<double>(pos) / m_nUpper * client.right));
  }
  DrawGradient(&dc, client, filledWidth);

  if (pos == m_nLower) {
    dc.SetTextColor(m_clrBackground);
    dc.SetBkColor(m_clrBackground);
    dc.SetBkMode(OPAQUE);
    dc.DrawText(kBlankBox, -1, &client, kCentredLine);
  }

  if (m_bShowPercent && hasScale) {
    char text[kPercentTextSize];
    int length = std::snprintf(text, sizeof text, "%.0f%%", pos * 100.0 / m_nUpper);
    if (!m_strLabel.IsEmpty() && length > 0) {
      std::snprintf(text + length, sizeof text - length, "%s%s", kLabelJoiner,
                    m_strLabel.GetString());
    }
    dc.SetTextColor(m_clrText);
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(text, -1, &client, kCentredLine);
  }
}

void CGradientProgressCtrl::DrawGradient(CDC* target, const RECT& client, int& filledWidth) {
  UniqueGdiObject brush;
  CMemDC memDC(target);

  const int width = client.right;
  const int height = client.bottom;
  const RECT unfilled = {filledWidth, 0, width, height};
  const RECT whole = {0, 0, width, height};

  const int startR = Channel(m_clrStart, 0);
  const int startG = Channel(m_clrStart, 8);
  const int startB = Channel(m_clrStart, 16);
  const int dR = Channel(m_clrEnd, 0) - startR;
  const int dG = Channel(m_clrEnd, 8) - startG;
  const int dB = Channel(m_clrEnd, 16) - startB;

  int bands = std::abs(dR);
  if (std::abs(dG) > bands) bands = std::abs(dG);
  if (std::abs(dB) > bands) bands = std::abs(dB);
  if (bands == 0) {
    // Equal colours make no bands: show the flat background rather than
    // whatever the new off-screen bitmap holds.
    FillWithColour(memDC, brush, whole, m_clrBackground);
    return;
  }

  const float bandWidth = static_cast<float>(width) / bands;
  const float stepR = static_cast<float>(dR) / bands;
  const float stepG = static_cast<float>(dG) / bands;
  const float stepB = static_cast<float>(dB) / bands;

  for (int i = 0; i < bands; ++i) {
    const RECT band = {BandEdge(i, bandWidth), 0, BandEdge(i + 1, bandWidth), height + 1};
    const int red = BandChannel(startR, i, stepR);
    const int green = BandChannel(startG, i, stepG);
    const int blue = BandChannel(startB, i, stepB);
    FillWithColour(memDC, brush, band, RGB(red, green, blue));

    if (filledWidth == 0) {
      FillWithColour(memDC, brush, whole, m_clrBackground);
      return;
    }
    if (band.right > filledWidth) {
      FillWithColour(memDC, brush, unfilled, m_clrBackground);
      return;
    }
  }
}
