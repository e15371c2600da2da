#pragma once
// The raster surface the drawing goes through. Pixels are ints, (0, 0) is the top left corner,
// colours are the 32-bit values red + 256·green + 65536·blue of the object record.
//
// Raster conventions every implementation keeps: an ellipse or a rectangle covers its left and top
// edge and stops one pixel short of its right and bottom edge; a line does not paint its last pixel.

#include <cstdint>
#include <string>
#include <vector>

namespace drex {

enum class PenStyle : uint8_t { Solid, Dash, Dot, DashDot };
enum class PenMode : uint8_t { Copy, Xor };
enum class BrushStyle : uint8_t { Solid, Clear };

/// Narrowest and widest pen of the surface; wider or narrower requests are held to these. The
/// widest is that of a record's widest pen at the largest display scale in a picture drawn at four
/// times the screen's resolution.
constexpr int MinPenWidth = 1;
constexpr int MaxPenWidth = 64;
/// Widest pen an object record asks for; the display scale widens it up to MaxPenWidth.
constexpr int MaxRecordPenWidth = 5;

/// Colour values of the fixed colours of the drawing.
constexpr int32_t ColorBlack = 0x000000;
constexpr int32_t ColorWhite = 0xFFFFFF;
constexpr int32_t ColorGrey = 0x808080;
constexpr int32_t ColorRed = 0x0000FF;
constexpr int32_t ColorBlue = 0xFF0000;
constexpr int32_t ColorNavy = 0x800000;

struct CanvasPen {
  int32_t Color = ColorBlack;
  PenStyle Style = PenStyle::Solid;
  int Width = 1; ///< MinPenWidth..MaxPenWidth pixels
  PenMode Mode = PenMode::Copy;
};

struct CanvasBrush {
  int32_t Color = ColorWhite;
  BrushStyle Style = BrushStyle::Solid;
};

struct CanvasFont {
  std::string Name = "Courier";
  int32_t Color = ColorBlack;
  /// Size in percent of the font's usual size.
  int Scale = 100;
  /// Colour of a thin outline around the glyphs that keeps a text readable over lines, or -1 for
  /// none. Surfaces that draw only aliased pixels draw no outline.
  int32_t Halo = -1;
};

struct PixelPoint {
  int X = 0;
  int Y = 0;
};

class PaintList;

/// The drawing surface: a retained bitmap of Width() × Height() pixels with a pen, a brush, a font
/// and a current position.
class Canvas {
public:
  virtual ~Canvas() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;

  virtual void SetPen(const CanvasPen& pen) = 0;
  virtual CanvasPen Pen() const = 0;
  virtual void SetBrush(const CanvasBrush& brush) = 0;
  virtual CanvasBrush Brush() const = 0;
  virtual void SetFont(const CanvasFont& font) = 0;
  virtual CanvasFont Font() const = 0;

  /// Fills [left, right) × [top, bottom) with the brush colour, whatever the brush style and pen mode.
  virtual void FillRect(int left, int top, int right, int bottom) = 0;
  /// Sets the current position; a dash pattern starts afresh from here.
  virtual void MoveTo(int x, int y) = 0;
  /// Draws from the current position to (x, y), without the pixel (x, y), and moves there. A dash
  /// pattern runs on across consecutive LineTo calls.
  virtual void LineTo(int x, int y) = 0;
  /// Ellipse inscribed in [left, right) × [top, bottom): outline with the pen, inside with the brush.
  virtual void Ellipse(int left, int top, int right, int bottom) = 0;
  /// Rectangle [left, right) × [top, bottom): outline with the pen, inside with the brush.
  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
  /// Closed polygon through the points: inside (even-odd rule) with the brush, outline with the pen.
  virtual void Polygon(const std::vector<PixelPoint>& points) = 0;
  /// Sets one pixel to a colour, whatever the pen.
  virtual void SetPixel(int x, int y, int32_t color) = 0;
  /// Text (UTF-8) with its top left corner at (x, y) in the font colour; the background is the
  /// brush colour when the brush is solid and left as it is when the brush is clear.
  virtual void TextOut(int x, int y, const std::string& text) = 0;
  /// Width of a text (UTF-8) in pixels with the current font.
  virtual int TextWidth(const std::string& text) = 0;

  /// Asks for antialiased lines, shapes and texts from here on (on) or for exactly the aliased
  /// pixels of the raster conventions (off, the start). XOR drawing stays aliased either way, so
  /// that drawing it twice still restores the picture. A surface that draws only aliased pixels
  /// ignores the request.
  virtual void SetSmooth(bool on) { (void)on; }

  /// The drawing `list` is about to be recorded for this surface, which may start painting it
  /// as it comes; Paint follows once it is recorded. The start does nothing.
  virtual void BeginPaint(PaintList& list) { (void)list; }
  /// Paints a recorded drawing as if its calls were made on this surface in order; the surface's
  /// pen, brush and font are the drawing's last ones afterwards. The start replays the calls.
  virtual void Paint(const PaintList& list);
  /// True for a surface that keeps the retained layers a drawing builds (PaintList::UseLayer).
  /// A drawing painted on any other surface uses none.
  virtual bool CanKeepLayers() const { return false; }
  /// The stamp of the layers kept from the last drawing that built them, 0 for none. A surface
  /// forgets its layers when its size changes.
  virtual uint32_t KeptLayers() const { return 0; }

  // Single-attribute changes, built on the state calls above.
  void SetPenColor(int32_t color) {
    CanvasPen p = Pen();
    p.Color = color;
    SetPen(p);
  }
  void SetPenStyle(PenStyle style) {
    CanvasPen p = Pen();
    p.Style = style;
    SetPen(p);
  }
  void SetPenWidth(int width) {
    CanvasPen p = Pen();
    p.Width = width;
    SetPen(p);
  }
  void SetPenMode(PenMode mode) {
    CanvasPen p = Pen();
    p.Mode = mode;
    SetPen(p);
  }
  /// Sets the brush colour; a clear brush becomes solid.
  void SetBrushColor(int32_t color) { SetBrush(CanvasBrush{color, BrushStyle::Solid}); }
  void SetBrushStyle(BrushStyle style) {
    CanvasBrush b = Brush();
    b.Style = style;
    SetBrush(b);
  }
  void SetFontColor(int32_t color) {
    CanvasFont f = Font();
    f.Color = color;
    SetFont(f);
  }
};

/// A pen width held to MinPenWidth..MaxPenWidth.
constexpr int ClampPenWidth(int width) {
  return width < MinPenWidth ? MinPenWidth : (width > MaxPenWidth ? MaxPenWidth : width);
}

/// The pen width stored in an object record held to 1..MaxRecordPenWidth.
constexpr int RecordPenWidth(int width) {
  return width < MinPenWidth ? MinPenWidth : (width > MaxRecordPenWidth ? MaxRecordPenWidth : width);
}

/// The pen style stored in an object record (0 solid, 1 dashed, 2 dotted, 3 dash-dot); other
/// values draw solid.
constexpr PenStyle PenStyleOfRecord(int32_t style) {
  return style == 1 ? PenStyle::Dash : style == 2 ? PenStyle::Dot : style == 3 ? PenStyle::DashDot : PenStyle::Solid;
}

} // namespace drex
