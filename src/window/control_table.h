#pragma once

#include <QRect>
#include <array>

namespace kestavian {

enum class ControlKind {
    Picture,
    Label,
    HScrollBar,
    CommandButton,
    Frame,
    OptionButton,
    DropDownList,
    CheckBox,
    TextBox,
    MultiLineTextBox,
    Timer,
    FileDialog,
};

// One control of the main window as it is laid out: position and size in twips relative to its
// container ("" for the window's client area), and its place in the keyboard focus order.
struct ControlRow {
    const char* name;
    int index; // place in an option group, -1 for a control that is not in one
    ControlKind kind;
    const char* container;
    const char* caption;
    int left, top, width, height;
    int tab; // -1 for components that are not shown
};

inline constexpr int TwipsPerPixel = 15;

// Twips to logical pixels, the nearest whole pixel.
constexpr int twipsToPixels(int twips) {
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

inline QRect pixelRect(const ControlRow& row) {
    return QRect(twipsToPixels(row.left), twipsToPixels(row.top), twipsToPixels(row.width),
                 twipsToPixels(row.height));
}

inline constexpr int WindowClientWidthTwips = 10125;
inline constexpr int WindowClientHeightTwips = 9300;

// Containers come before the controls inside them.
inline constexpr std::array<ControlRow, 28> ControlTable{{
    // clang-format off
    {"GA",           -1, ControlKind::Picture,          "",       "",                         240,  240, 9615, 2500,  1},
    {"lblDistance",  -1, ControlKind::Label,            "GA",     "0",                       4920, 2160, 2055,  255, 16},
    {"lblTime",      -1, ControlKind::Label,            "GA",     "0",                       7440, 2160, 2055,  255, 15},
    {"scrTrucks",    -1, ControlKind::HScrollBar,       "",       "",                         240, 2880, 9615,  255, 12},
    {"cmdOpen",      -1, ControlKind::CommandButton,    "",       "Open",                    7080, 3360, 1215,  375,  2},
    {"cmdSave",      -1, ControlKind::CommandButton,    "",       "Save Picture",            8520, 3360, 1215,  375,  3},
    {"Frame3",       -1, ControlKind::Frame,            "",       "Datum Type",               240, 3360, 3015,  735, 20},
    {"optDatum",      0, ControlKind::OptionButton,     "Frame3", "RHS",                      240,  240,  735,  375, 22},
    {"optDatum",      1, ControlKind::OptionButton,     "Frame3", "Mixed",                    960,  240,  735,  375, 21},
    {"Frame2",       -1, ControlKind::Frame,            "",       "Event data",              3600, 3360, 2775, 1575,  7},
    {"Label2",       -1, ControlKind::Label,            "Frame2", "Draw Event No:",           120,  480, 1575,  375, 11},
    {"cmbEvent",     -1, ControlKind::DropDownList,     "Frame2", "",                        1440,  420, 1215,  315, 10},
    {"Label3",       -1, ControlKind::Label,            "Frame2", "Draw Effect No:",          120, 1080, 1575,  375,  9},
    {"cmbEffect",    -1, ControlKind::DropDownList,     "Frame2", "",                        1440, 1020, 1215,  315,  8},
    {"chkFlip",      -1, ControlKind::CheckBox,         "",       "Flip datum",              2040, 3600, 1095,  375, 25},
    {"scrSpeed",     -1, ControlKind::HScrollBar,       "",       "",                        7080, 3960, 1335,  255, 13},
    {"chkAnimate",   -1, ControlKind::CheckBox,         "",       "Animate",                 8640, 3960, 1095,  255, 14},
    {"Frame1",       -1, ControlKind::Frame,            "",       "Drive side",               240, 4200, 3015,  735,  4},
    {"optDriveSide",  0, ControlKind::OptionButton,     "Frame1", "Left",                     240,  240,  735,  375,  6},
    {"optDriveSide",  1, ControlKind::OptionButton,     "Frame1", "Right",                   1680,  240,  735,  375,  5},
    {"chkCritPos",   -1, ControlKind::CheckBox,         "",       "Approx Critical Position",7080, 4440, 2775,  255, 17},
    {"Label1",       -1, ControlKind::Label,            "",       "No. of load effects:",    7080, 4920, 1695,  255, 18},
    {"txtNoEffects", -1, ControlKind::TextBox,          "",       "3",                       9240, 4920,  615,  285, 19},
    {"Editor",       -1, ControlKind::MultiLineTextBox, "",       "",                         240, 5160, 6615, 3975,  0},
    {"Label4",       -1, ControlKind::Label,            "",       "Diagnostics:",            7080, 5400, 1455,  375, 24},
    {"txtOut",       -1, ControlKind::MultiLineTextBox, "",       "",                        7080, 5640, 2775, 3495, 23},
    {"Timer1",       -1, ControlKind::Timer,            "",       "",                           0,    0,    0,    0, -1},
    {"CD",           -1, ControlKind::FileDialog,       "",       "",                           0,    0,    0,    0, -1},
    // clang-format on
}};

} // namespace kestavian
