// Canvas: a memory DC holding a colour bitmap to draw on and read back, and its pixels as
// lines of letters (one a pixel, from a legend), so that a failed comparison shows the whole
// picture. Plain Win32 only: used by the unit tests and by the conformance tests on both
// platforms.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace test {

// Letters for colours; the first entry with a pixel's colour names it, '?' when none does.
using Legend = std::vector<std::pair<char, COLORREF>>;

class Canvas {
public:
    // A bitmap compatible with the screen, so that it holds colours (one compatible with a
    // new memory DC would be monochrome on Windows), filled with background.
    Canvas(int cx, int cy, COLORREF background) : m_cx(cx), m_cy(cy) {
        HDC hScreen = GetDC(NULL);
        m_hdc = CreateCompatibleDC(hScreen);
        m_hbm = CreateCompatibleBitmap(hScreen, cx, cy);
        ReleaseDC(NULL, hScreen);
        m_hOld = SelectObject(m_hdc, m_hbm);
        Fill(background);
    }
    ~Canvas() {
        SelectObject(m_hdc, m_hOld);
        DeleteObject(m_hbm);
        DeleteDC(m_hdc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return m_hdc; }
    int cx() const { return m_cx; }
    int cy() const { return m_cy; }

    void Fill(COLORREF color) {
        RECT rc = {0, 0, m_cx, m_cy};
        HBRUSH hbr = CreateSolidBrush(color);
        FillRect(m_hdc, &rc, hbr);
        DeleteObject(hbr);
    }

    COLORREF At(int x, int y) const { return GetPixel(m_hdc, x, y); }

    // The pixels of [left, right) x [top, bottom) as letters, one line a row, top first.
    std::string Picture(const Legend& legend, int left, int top, int right, int bottom) const {
        std::string picture;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) picture += Letter(legend, At(x, y));
            picture += '\n';
        }
        return picture;
    }
    std::string Picture(const Legend& legend) const { return Picture(legend, 0, 0, m_cx, m_cy); }

    static char Letter(const Legend& legend, COLORREF color) {
        for (const auto& entry : legend) {
            if (entry.second == color) return entry.first;
        }
        return '?';
    }

private:
    int m_cx;
    int m_cy;
    HDC m_hdc;
    HBITMAP m_hbm;
    HGDIOBJ m_hOld;
};

// Rows of letters as one picture, in the form Canvas::Picture gives.
inline std::string Lines(const std::vector<std::string>& rows) {
    std::string picture;
    for (const std::string& row : rows) picture += row + '\n';
    return picture;
}

}  // namespace test
