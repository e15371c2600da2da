#include "support/recording_canvas.h"

#include <cstdio>

namespace drex {

namespace {

const char* OpName(CanvasOp op) {
  switch (op) {
  case CanvasOp::FillRect:
    return "FillRect";
  case CanvasOp::MoveTo:
    return "MoveTo";
  case CanvasOp::LineTo:
    return "LineTo";
  case CanvasOp::Ellipse:
    return "Ellipse";
  case CanvasOp::Rectangle:
    return "Rectangle";
  case CanvasOp::Polygon:
    return "Polygon";
  case CanvasOp::SetPixel:
    return "SetPixel";
  case CanvasOp::TextOut:
    return "TextOut";
  }
  return "?";
}

const char* StyleName(PenStyle style) {
  switch (style) {
  case PenStyle::Solid:
    return "solid";
  case PenStyle::Dash:
    return "dash";
  case PenStyle::Dot:
    return "dot";
  case PenStyle::DashDot:
    return "dashdot";
  }
  return "?";
}

} // namespace

std::string DescribeCall(const CanvasCall& call) {
  char buf[256];
  std::string s = OpName(call.Op);
  switch (call.Op) {
  case CanvasOp::MoveTo:
  case CanvasOp::SetPixel:
  case CanvasOp::TextOut:
    std::snprintf(buf, sizeof buf, " (%d,%d)", call.A, call.B);
    break;
  case CanvasOp::LineTo:
    std::snprintf(buf, sizeof buf, " (%d,%d)-(%d,%d)", call.A, call.B, call.C, call.D);
    break;
  case CanvasOp::Polygon:
    std::snprintf(buf, sizeof buf, " %zu points", call.Points.size());
    break;
  default:
    std::snprintf(buf, sizeof buf, " (%d,%d,%d,%d)", call.A, call.B, call.C, call.D);
    break;
  }
  s += buf;
  if (call.Op == CanvasOp::SetPixel) {
    std::snprintf(buf, sizeof buf, " colour 0x%06X", static_cast<unsigned>(call.Color));
    return s + buf;
  }
  if (call.Op == CanvasOp::TextOut) {
    std::snprintf(buf, sizeof buf, " font 0x%06X brush %s", static_cast<unsigned>(call.Font.Color),
                  call.Brush.Style == BrushStyle::Solid ? "solid" : "clear");
    return s + " \"" + call.Text + "\"" + buf;
  }
  std::snprintf(buf, sizeof buf, " pen 0x%06X %s w%d %s brush 0x%06X %s", static_cast<unsigned>(call.Pen.Color),
                StyleName(call.Pen.Style), call.Pen.Width, call.Pen.Mode == PenMode::Xor ? "xor" : "copy",
                static_cast<unsigned>(call.Brush.Color), call.Brush.Style == BrushStyle::Solid ? "solid" : "clear");
  return s + buf;
}

CanvasCall RecordingCanvas::Make(CanvasOp op, int a, int b, int c, int d) const {
  CanvasCall call;
  call.Op = op;
  call.A = a;
  call.B = b;
  call.C = c;
  call.D = d;
  call.Pen = pen_;
  call.Brush = brush_;
  call.Font = font_;
  call.Smooth = smooth_;
  return call;
}

void RecordingCanvas::FillRect(int left, int top, int right, int bottom) {
  Calls.push_back(Make(CanvasOp::FillRect, left, top, right, bottom));
}

void RecordingCanvas::MoveTo(int x, int y) {
  Calls.push_back(Make(CanvasOp::MoveTo, x, y, 0, 0));
  curX_ = x;
  curY_ = y;
}

void RecordingCanvas::LineTo(int x, int y) {
  Calls.push_back(Make(CanvasOp::LineTo, curX_, curY_, x, y));
  curX_ = x;
  curY_ = y;
}

void RecordingCanvas::Ellipse(int left, int top, int right, int bottom) {
  Calls.push_back(Make(CanvasOp::Ellipse, left, top, right, bottom));
}

void RecordingCanvas::Rectangle(int left, int top, int right, int bottom) {
  Calls.push_back(Make(CanvasOp::Rectangle, left, top, right, bottom));
}

void RecordingCanvas::Polygon(const std::vector<PixelPoint>& points) {
  CanvasCall call = Make(CanvasOp::Polygon, 0, 0, 0, 0);
  call.Points = points;
  Calls.push_back(std::move(call));
}

void RecordingCanvas::SetPixel(int x, int y, int32_t color) {
  CanvasCall call = Make(CanvasOp::SetPixel, x, y, 0, 0);
  call.Color = color;
  Calls.push_back(std::move(call));
}

void RecordingCanvas::TextOut(int x, int y, const std::string& text) {
  CanvasCall call = Make(CanvasOp::TextOut, x, y, 0, 0);
  call.Text = text;
  Calls.push_back(std::move(call));
}

int RecordingCanvas::TextWidth(const std::string& text) {
  int chars = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++chars;
  }
  return chars * CharWidth;
}

std::vector<CanvasCall> RecordingCanvas::Of(CanvasOp op) const {
  std::vector<CanvasCall> out;
  for (const CanvasCall& c : Calls) {
    if (c.Op == op) out.push_back(c);
  }
  return out;
}

const CanvasCall* RecordingCanvas::FindLine(int x0, int y0, int x1, int y1) const {
  return Find(CanvasOp::LineTo, x0, y0, x1, y1);
}

const CanvasCall* RecordingCanvas::Find(CanvasOp op, int a, int b, int c, int d) const {
  for (const CanvasCall& call : Calls) {
    if (call.Op == op && call.A == a && call.B == b && call.C == c && call.D == d) return &call;
  }
  return nullptr;
}

const CanvasCall* RecordingCanvas::FindText(const std::string& text) const {
  for (const CanvasCall& call : Calls) {
    if (call.Op == CanvasOp::TextOut && call.Text == text) return &call;
  }
  return nullptr;
}

int RecordingCanvas::IndexOf(const CanvasCall* call) const {
  if (call == nullptr || Calls.empty() || call < Calls.data() || call >= Calls.data() + Calls.size()) return -1;
  return static_cast<int>(call - Calls.data());
}

std::string RecordingCanvas::Log() const {
  std::string out;
  for (const CanvasCall& c : Calls)
    out += DescribeCall(c) + "\n";
  return out;
}

} // namespace drex
