// The Services dialog's icon buttons as they must come out: small pictures of the edge (no
// icon, the caption right of the picture) in letters for the button's colours, and the dots
// the focus rectangle (4, 4, 8, 6) adds. Shared by the unit tests and the conformance tests,
// so both platforms are held to the same pictures.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Canvas.h"

namespace test {

// H highlight, S shadow, F face, K black (the edge's fixed colour, and the focus frame in the
// context's default pen), f face inverted by the focus rectangle's dots, '.' background.
inline Legend ButtonLegend(COLORREF background) {
    return {{'H', GetSysColor(COLOR_BTNHIGHLIGHT)}, {'S', GetSysColor(COLOR_BTNSHADOW)},
            {'F', GetSysColor(COLOR_BTNFACE)},      {'K', RGB(0, 0, 0)},
            {'f', GetSysColor(COLOR_BTNFACE) ^ 0x00FFFFFF}, {'.', background}};
}

// rcItem (0, 0, 8, 6) without the focus.
const std::vector<std::string> kRaised8x6 = {
    "HHHHHHHK",
    "HFFFFFSK",
    "HFFFFFSK",
    "HFFFFFSK",
    "HSSSSSSK",
    "KKKKKKKK",
};
const std::vector<std::string> kPressed8x6 = {
    "SSSSSSSS",
    "SFFFFFFS",
    "SFFFFFFS",
    "SFFFFFFS",
    "SFFFFFFS",
    "SSSSSSSS",
};
// rcItem (0, 0, 12, 10) without the focus.
const std::vector<std::string> kRaised12x10 = {
    "HHHHHHHHHHHK",
    "HFFFFFFFFFSK",
    "HFFFFFFFFFSK",
    "HFFFFFFFFFSK",
    "HFFFFFFFFFSK",
    "HFFFFFFFFFSK",
    "HFFFFFFFFFSK",
    "HFFFFFFFFFSK",
    "HSSSSSSSSSSK",
    "KKKKKKKKKKKK",
};
// rcItem (0, 0, 12, 10) with the focus, before the focus rectangle (4, 4, 8, 6) is drawn.
const std::vector<std::string> kRaisedFocused12x10 = {
    "KKKKKKKKKKKK",
    "KHHHHHHHHHKK",
    "KHFFFFFFFSKK",
    "KHFFFFFFFSKK",
    "KHFFFFFFFSKK",
    "KHFFFFFFFSKK",
    "KHFFFFFFFSKK",
    "KHSSSSSSSSKK",
    "KKKKKKKKKKKK",
    "KKKKKKKKKKKK",
};
const std::vector<std::string> kPressedFocused12x10 = {
    "KKKKKKKKKKKK",
    "KSSSSSSSSSSK",
    "KSFFFFFFFFSK",
    "KSFFFFFFFFSK",
    "KSFFFFFFFFSK",
    "KSFFFFFFFFSK",
    "KSFFFFFFFFSK",
    "KSFFFFFFFFSK",
    "KSSSSSSSSSSK",
    "KKKKKKKKKKKK",
};

// A focused 12 x 10 picture with the dots of its focus rectangle (4, 4, 8, 6): DrawFocusRect
// inverts (5, 4), (7, 4), (4, 5) and (6, 5), all face.
inline std::vector<std::string> WithFocusDots(std::vector<std::string> picture) {
    const POINT dots[] = {{5, 4}, {7, 4}, {4, 5}, {6, 5}};
    for (const POINT& p : dots) {
        char& c = picture[static_cast<size_t>(p.y)][static_cast<size_t>(p.x)];
        c = c == 'F' ? 'f' : '?';
    }
    return picture;
}

}  // namespace test
