#pragma once
// Editable shape objects: while a drawing is open, each pin, graphic item and
// marker is one object that can be hit, selected, dragged by its handles,
// rotated and turned back into a stored item record. Coordinates are world
// units; the screen shows them multiplied by the zoom (1, 2, 3, 4 or 8).
// Geometry never depends on the zoom or on the last paint: texts are
// measured through the text-metrics service.
#include <climits>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "C_DSData.h"
#include "Canvas.h"

namespace wendro {

enum TCursorId {
  kCursorDefault,
  kCursorDrag,
  kCursorSizeAll,
  kCursorCross,
  kCursorSizeNWSE,
  kCursorSizeNS,
  kCursorSizeNESW,
  kCursorSizeWE,
};

// How an object is drawn: as it is, erased (white) or as a not-XOR outline
// that a second drawing removes.
enum class TPenMode { Normal, Erase, Outline };

// HandlePoint's end of the enumeration.
inline constexpr TPointL kNoHandlePoint{-11111, -11111};
// A rotation pivot not yet set: the first object rotated sets it.
inline constexpr std::int32_t kNoPivot = INT_MAX;

// The editor's style controls.
struct TStyle {
  int penWidth = 1;
  std::int32_t penColour = 0;
  std::int32_t fillColour = kNoColour;
};

// What the pin and text dialogs show and give back.
struct TPinProperties {
  std::string name;
  bool showName = true;
  int shape = 0;      // bit 0 dot, bit 1 clock
  int length = 2;     // 0..4
  int direction = 0;  // 0 East .. 3 North
  int electricType = 4;
  int visibility = 0;
  std::string fontSize;  // as typed
  bool resetNamePosition = false;
};
struct TTextProperties {
  std::string text;
  std::string fontName;
  int fontSize = 14;
  bool bold = false, italic = false;
  std::int32_t colour = 0;
};
// The dialogs behind EditProperties: true when confirmed.
class TPropertyEditor {
 public:
  virtual ~TPropertyEditor() = default;
  virtual bool EditPin(TPinProperties& properties) = 0;
  virtual bool EditText(TTextProperties& properties) = 0;
};

// --- the editor's canvas --------------------------------------------------------

// The paint box's canvas at the zoom, with an offset, a direction (quarter
// turns: 1 maps (x, y) to (-y, x)) and a mirror flag for the geometry of
// the object being drawn.
class TDirCanvas {
 public:
  TDirCanvas(platform::Canvas* canvas, const TTextMetrics& metrics, int zoom);

  int Zoom() const { return zoom_; }
  TDrawContext& Context() { return context_; }
  const TTextMetrics& Metrics() const { return context_.Metrics(); }
  // The canvas shows the paint box from this device point on.
  void SetViewOrigin(int x, int y) { context_.SetOriginShift(x, y); }
  void SetFrame(TPointL offset, int direction = 0, bool mirrored = false);
  bool pinMarkers = false;

  // A point of the current frame in world units.
  TPointL Map(std::int32_t x, std::int32_t y) const;

  void SetMode(TPenMode mode);
  TPenMode Mode() const { return mode_; }
  void SetPen(std::int32_t colour, int width, int style = 0);
  void SetBrush(std::int32_t colour);  // kNoColour: no fill
  void MoveTo(std::int32_t x, std::int32_t y);
  void LineTo(std::int32_t x, std::int32_t y);
  void Rectangle(TPointL a, TPointL b);
  void Ellipse(TPointL a, TPointL b);
  void Arc(TPointL a, TPointL b, TPointL start, TPointL end);
  void Pie(TPointL a, TPointL b, TPointL start, TPointL end);
  void Polygon(const std::vector<TPointL>& points);
  // A text at a frame point; the world rectangle it takes, also kept as
  // the last text's.
  TRectL Text(std::int32_t x, std::int32_t y, std::string_view text, TTextStyle style);
  TRectL LastTextRect() const { return lastText_; }
  // A 5 × 5 grey handle at a world point.
  void Handle(TPointL p);

 private:
  TDrawContext context_;
  int zoom_;
  TPointL offset_;
  int direction_ = 0;
  bool mirrored_ = false;
  TPenMode mode_ = TPenMode::Normal;
  TRectL lastText_;
};

// --- objects --------------------------------------------------------------------

class TXShape {
 public:
  TXShape() = default;
  virtual ~TXShape() = default;
  TXShape(const TXShape&) = default;
  TXShape& operator=(const TXShape&) = default;

  virtual void SetPosition(TPointL p) { position = p; }
  virtual bool EditProperties(TPropertyEditor&) { return false; }
  virtual bool CanSelect() const { return true; }
  virtual bool HasProperties() const { return false; }
  virtual void StyleFromEditor(const TStyle&) {}
  virtual void StyleToEditor(TStyle&) const {}
  virtual TRectL GetBounds() const;
  bool Intersects(const TRectL& r) const;
  bool ContainedIn(const TRectL& r) const;
  virtual bool HitTest(std::int32_t x, std::int32_t y) const;
  // Turns about the pivot; an unset pivot (x = kNoPivot) is set to this
  // object's reference point first.
  virtual void RotateLeft(TPointL&) {}
  virtual void RotateRight(TPointL&) {}
  virtual void Draw(TDirCanvas&, TPenMode) const {}
  virtual TCursorId CursorAt(std::int32_t x, std::int32_t y, int zoom) const;
  // The last handle whose square (3 pixels before, 4 after the point, at
  // least one unit each way) holds the point; -1 none. An unselected object
  // has none.
  int HandleAt(std::int32_t x, std::int32_t y, int zoom) const;
  // Handle k (from 0); kNoHandlePoint past the last.
  virtual TPointL HandlePoint(int) const { return kNoHandlePoint; }
  virtual void BeginDrag(TDirCanvas& canvas, int handle);
  virtual void DragTo(TDirCanvas& canvas, std::int32_t dx, std::int32_t dy);
  virtual void EndDrag(TDirCanvas& canvas);
  virtual void CancelDrag(TDirCanvas& canvas);
  // A stored item with coordinates relative to origin; none for markers.
  virtual std::optional<TItemRecord> ToRecord(TPointL origin) const;
  virtual void FromRecord(const TItemRecord&, TPointL) {}
  // Origin, COR, label position and sensing rectangle.
  virtual bool IsMarker() const { return false; }

  TPointL saved;      // position for cancel
  TPointL dragStart;  // position when the drag began
  TPointL position;
  bool selected = false;
  bool dragging = false;
  int handle = -1;  // -1: the whole object

 protected:
  // Handles are drawn at the HandlePoints of a selected object.
  void DrawHandles(TDirCanvas& canvas, TPenMode mode) const;
  // Turns p about the pivot (set to `reference` when unset).
  static TPointL Turn(TPointL p, TPointL& pivot, TPointL reference, bool right);
  void MoveDragStart(TPointL before);
  // The record this object was made from: stored back as it was while the
  // object still says the same.
  std::optional<TItemRecord> source_;
};

// Snaps to the 8-unit pin grid.
TPointL SnapToGrid(TPointL p);

class TPin : public TXShape {
 public:
  explicit TPin(const TTextMetrics& metrics) : metrics_(&metrics) {}

  void SetPosition(TPointL p) override;
  bool EditProperties(TPropertyEditor& editor) override;
  bool HasProperties() const override { return true; }
  TRectL GetBounds() const override;
  bool HitTest(std::int32_t x, std::int32_t y) const override;
  void RotateLeft(TPointL& pivot) override;
  void RotateRight(TPointL& pivot) override;
  void Draw(TDirCanvas& canvas, TPenMode mode) const override;
  TCursorId CursorAt(std::int32_t x, std::int32_t y, int zoom) const override;
  TPointL HandlePoint(int i) const override;
  void BeginDrag(TDirCanvas& canvas, int handle) override;
  void DragTo(TDirCanvas& canvas, std::int32_t dx, std::int32_t dy) override;
  void CancelDrag(TDirCanvas& canvas) override;
  std::optional<TItemRecord> ToRecord(TPointL origin) const override;
  void FromRecord(const TItemRecord& record, TPointL origin) override;

  // Stores what the pin dialog gave: the name cut to 16 characters, a size
  // that does not read as a positive number keeps the old one.
  void ApplyProperties(const TPinProperties& p);
  TPinProperties Properties() const;
  int Length() const { return shapeAndLength >> 4; }
  // Where the name is anchored and the rectangle it takes, in world units.
  TPointL NameAnchor() const;
  TRectL NameRect() const;

  std::string name;
  bool showName = true;
  std::int16_t index = 0;
  std::uint8_t electricType = 4;
  std::uint8_t shapeAndLength = 0x20;
  int savedDirection = 0;
  int direction = 0;
  std::uint8_t visibility = 0;
  TPointL savedNameOffset;
  TPointL nameOffset;  // pin-local
  double fontSize = 8.0;

 private:
  TTextStyle NameStyle() const;
  const TTextMetrics* metrics_;
};

class TXText : public TXShape {
 public:
  explicit TXText(const TTextMetrics& metrics) : metrics_(&metrics) {}

  bool EditProperties(TPropertyEditor& editor) override;
  bool HasProperties() const override { return true; }
  TRectL GetBounds() const override;
  void RotateLeft(TPointL& pivot) override { Rotate(pivot, false); }
  void RotateRight(TPointL& pivot) override { Rotate(pivot, true); }
  void Draw(TDirCanvas& canvas, TPenMode mode) const override;
  std::optional<TItemRecord> ToRecord(TPointL origin) const override;
  void FromRecord(const TItemRecord& record, TPointL origin) override;

  // Stores what the text dialog gave; an unchanged size keeps the factor.
  void ApplyProperties(const TTextProperties& p);
  TTextProperties Properties() const;
  // Width and height in world units.
  TTextExtent Extent() const;

  std::string text;
  std::string fontName = "Arial";
  double sizeFactor = 1.0;
  bool bold = false, italic = false;
  std::int32_t colour = 0;

 private:
  void Rotate(TPointL& pivot, bool right);
  platform::Font Font() const;
  const TTextMetrics* metrics_;
};

// Two corners: position and (x2, y2).
class TSegment : public TXShape {
 public:
  void RotateLeft(TPointL& pivot) override { Rotate(pivot, false); }
  void RotateRight(TPointL& pivot) override { Rotate(pivot, true); }
  void BeginDrag(TDirCanvas& canvas, int handle) override;
  void CancelDrag(TDirCanvas& canvas) override;
  TRectL GetBounds() const override { return Box(); }
  TPointL Second() const { return {x2, y2}; }
  TRectL Box() const;  // normalised corners

  std::int32_t x2 = 0, y2 = 0;
  std::int32_t savedX2 = 0, savedY2 = 0;

 protected:
  virtual void Rotate(TPointL& pivot, bool right);
  TPointL startSecond_;  // second corner when the drag began
};

class TSegLine : public TSegment {
 public:
  void StyleFromEditor(const TStyle& s) override;
  void StyleToEditor(TStyle& s) const override;
  TRectL GetBounds() const override;
  bool HitTest(std::int32_t x, std::int32_t y) const override;
  void Draw(TDirCanvas& canvas, TPenMode mode) const override;
  TCursorId CursorAt(std::int32_t x, std::int32_t y, int zoom) const override;
  TPointL HandlePoint(int i) const override;
  void DragTo(TDirCanvas& canvas, std::int32_t dx, std::int32_t dy) override;
  std::optional<TItemRecord> ToRecord(TPointL origin) const override;
  void FromRecord(const TItemRecord& record, TPointL origin) override;

  std::int32_t penColour = 0;
  int penWidth = 1;
};

// A segment with an outline and a fill.
class TFilledSegment : public TSegment {
 public:
  void StyleFromEditor(const TStyle& s) override;
  void StyleToEditor(TStyle& s) const override;

  std::int32_t penColour = 0;
  std::int32_t fillColour = kNoColour;
  int penWidth = 1;
};

class TSegShape : public TFilledSegment {
 public:
  TRectL GetBounds() const override;
  bool HitTest(std::int32_t x, std::int32_t y) const override;
  void Draw(TDirCanvas& canvas, TPenMode mode) const override;
  TCursorId CursorAt(std::int32_t x, std::int32_t y, int zoom) const override;
  TPointL HandlePoint(int i) const override;
  void DragTo(TDirCanvas& canvas, std::int32_t dx, std::int32_t dy) override;
  std::optional<TItemRecord> ToRecord(TPointL origin) const override;
  void FromRecord(const TItemRecord& record, TPointL origin) override;

  int kind = 0;  // 0 rectangle, 1 ellipse, 2 arc

 protected:
  void Rotate(TPointL& pivot, bool right) override;
};

class TSegPolygon : public TFilledSegment {
 public:
  bool HitTest(std::int32_t x, std::int32_t y) const override;
  void Draw(TDirCanvas& canvas, TPenMode mode) const override;
  TCursorId CursorAt(std::int32_t x, std::int32_t y, int zoom) const override;
  TPointL HandlePoint(int i) const override;
  void BeginDrag(TDirCanvas& canvas, int handle) override;
  void DragTo(TDirCanvas& canvas, std::int32_t dx, std::int32_t dy) override;
  void EndDrag(TDirCanvas& canvas) override;
  void CancelDrag(TDirCanvas& canvas) override;
  std::optional<TItemRecord> ToRecord(TPointL origin) const override;
  void FromRecord(const TItemRecord& record, TPointL origin) override;

  // Appends an absolute vertex and renormalises.
  void AddPoint(TPointL p);
  // Bounding box from the vertices; position at its top-left, every vertex
  // rebased on it.
  void Renormalise();
  TPointL Vertex(std::size_t k) const { return {position.x + points[k].x, position.y + points[k].y}; }

  std::vector<TPointL> points;  // relative to position

 protected:
  void Rotate(TPointL& pivot, bool right) override;

 private:
  std::vector<TPointL> savedPoints_;
  TPointL vertexStart_;
};

// A stored item the editor shows but does not edit (the curved connector):
// drawn as stored, never hit or selected, stored back unchanged.
class TFixedItem : public TXShape {
 public:

  bool CanSelect() const override { return false; }
  bool HitTest(std::int32_t, std::int32_t) const override { return false; }
  TRectL GetBounds() const override;
  void Draw(TDirCanvas& canvas, TPenMode mode) const override;
  // Unchanged; a connector moves with the origin when that has moved.
  std::optional<TItemRecord> ToRecord(TPointL origin) const override;
  void FromRecord(const TItemRecord& record, TPointL origin) override;

 private:
  TPointL origin_;
};

// --- markers ------------------------------------------------------------------

class TStatic : public TXShape {
 public:
  void SetPosition(TPointL p) override;
  TRectL GetBounds() const override;
  bool IsMarker() const override { return true; }
};

class TOrigo : public TStatic {
 public:
  void Draw(TDirCanvas& canvas, TPenMode mode) const override;
};

class TCOR : public TStatic {
 public:
  void Draw(TDirCanvas& canvas, TPenMode mode) const override;
};

class TDefLabelPos : public TStatic {
 public:
  explicit TDefLabelPos(const TTextMetrics& metrics) : metrics_(&metrics) {}
  void SetPosition(TPointL p) override { position = p; }
  TRectL GetBounds() const override;
  void Draw(TDirCanvas& canvas, TPenMode mode) const override;

 private:
  const TTextMetrics* metrics_;
};

class TSensingRect : public TSegShape {
 public:
  bool IsMarker() const override { return true; }
  void RotateLeft(TPointL&) override {}
  void RotateRight(TPointL&) override {}
  void StyleFromEditor(const TStyle&) override {}
  void StyleToEditor(TStyle&) const override {}
  void Draw(TDirCanvas& canvas, TPenMode mode) const override;
  std::optional<TItemRecord> ToRecord(TPointL) const override { return std::nullopt; }
  void FromRecord(const TItemRecord&, TPointL) override {}
};

// --- a drawing as objects -----------------------------------------------------------

using TShapeList = std::vector<std::unique_ptr<TXShape>>;

// One object per marker (origin, COR, label position, sensing rectangle, in
// this order), pin and graphic item of the drawing. Polygons without points
// are left out; types other than line, text, polygon and connector are read
// as item 102.
TShapeList ExplodeDShape(const TDShape& drawing, const TTextMetrics& metrics);
// Fills the drawing from the objects (only the selected ones when asked):
// origin, COR and label offsets from the first markers, bounds from the
// non-marker objects, sensing rectangle from the first sensing marker, then
// the pins and the graphics in list order. Key and spare rectangle stay.
void StoreDShape(const TShapeList& items, TDShape& drawing, bool selectedOnly = false);

}  // namespace wendro
