#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestavian {

// A colour as 0x00BBGGRR; a value with the top bit set names system colour (value & 0xFF).
using Colour = std::uint32_t;
inline constexpr Colour ColourBlack = 0x000000;
inline constexpr Colour ColourWhite = 0xFFFFFF;
inline constexpr Colour ColourRed = 0x0000FF;
inline constexpr Colour SystemButtonFace = 0x8000000F;

enum DrawModes : int { DrawModeInvert = 6, DrawModeCopyPen = 13 };
enum DrawStyles : int { DrawStyleSolid = 0, DrawStyleDash = 1 };
enum FillStyles : int { FillStyleSolid = 0, FillStyleTransparent = 1 };

// The retained picture surface everything is drawn on. Coordinates are user units set by
// Scale; pen widths are pixels; font sizes are points. The pen, fill, font, text position and
// coordinate settings persist across calls until changed; Cls clears only the drawing.
//
// The settings live here; derived surfaces implement the primitives and read the settings.
class PictureSurface {
public:
    virtual ~PictureSurface() = default;

    // Clears the drawing to the background (white) and moves the text position to (0, 0).
    virtual void Cls() = 0;

    // Left, top, right and bottom edges of the surface in user units. Equal edges are an
    // invalid-property-value error (the coordinate system would have no extent).
    void Scale(double left, double top, double right, double bottom);

    // A segment from (x1, y1) to (x2, y2).
    virtual void Line(double x1, double y1, double x2, double y2,
                      std::optional<Colour> colour = std::nullopt) = 0;
    // A box outline with opposite corners (x1, y1) and (x2, y2), filled by FillStyle/FillColor.
    virtual void Box(double x1, double y1, double x2, double y2,
                     std::optional<Colour> colour = std::nullopt) = 0;
    // A box filled with the line's own colour.
    virtual void FilledBox(double x1, double y1, double x2, double y2,
                           std::optional<Colour> colour = std::nullopt) = 0;
    // A circle; the radius is in horizontal user units. Outline in the given or foreground
    // colour, filled by FillStyle/FillColor.
    virtual void Circle(double x, double y, double radius,
                        std::optional<Colour> colour = std::nullopt) = 0;
    // Draws the text with its top-left corner at (CurrentX, CurrentY) in the current font and
    // the foreground colour; afterwards CurrentX is the left edge and CurrentY one text line
    // further down.
    virtual void Print(const std::string& text) = 0;

    double CurrentX() const { return currentX_; }
    double CurrentY() const { return currentY_; }
    void setCurrentX(double x) { currentX_ = x; }
    void setCurrentY(double y) { currentY_ = y; }

    // Pen width in pixels, 1..32767.
    int DrawWidth() const { return drawWidth_; }
    void setDrawWidth(int width);
    // 0 solid, 1 dashed.
    int DrawStyle() const { return drawStyle_; }
    void setDrawStyle(int style);
    // 13 copy pen, 6 invert.
    int DrawMode() const { return drawMode_; }
    void setDrawMode(int mode);
    // 0 solid, 1 transparent.
    int FillStyle() const { return fillStyle_; }
    void setFillStyle(int style);
    Colour FillColor() const { return fillColor_; }
    void setFillColor(Colour colour) { fillColor_ = colour; }
    // The foreground colour is never changed by the program: black.
    Colour ForeColor() const { return ColourBlack; }

    double FontSize() const { return fontSize_; }
    void setFontSize(double points);
    bool FontBold() const { return fontBold_; }
    void setFontBold(bool bold) { fontBold_ = bold; }

    double ScaleLeft() const { return scaleLeft_; }
    double ScaleTop() const { return scaleTop_; }
    double ScaleWidth() const { return scaleWidth_; }
    double ScaleHeight() const { return scaleHeight_; }

protected:
    // The scale a new surface of the given pixel size starts with: one unit per pixel.
    void resetScale(double widthPixels, double heightPixels);

private:
    double scaleLeft_ = 0, scaleTop_ = 0, scaleWidth_ = 1, scaleHeight_ = 1;
    double currentX_ = 0, currentY_ = 0;
    int drawWidth_ = 1;
    int drawStyle_ = DrawStyleSolid;
    int drawMode_ = DrawModeCopyPen;
    int fillStyle_ = FillStyleTransparent;
    Colour fillColor_ = ColourBlack;
    double fontSize_ = 8.25;
    bool fontBold_ = false;
};

} // namespace kestavian
