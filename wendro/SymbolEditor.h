#pragma once
// The editing side of the main form without its window: the objects of the
// open drawing, the drag list, the current editing state and the view
// switches, and what mouse presses, keys, the timer and the editing
// commands do to them. The form shows the result and feeds the events in.
#include <memory>
#include <string>
#include <vector>

#include "EditStates.h"

namespace platform {
class Canvas;
}

namespace wendro {

// What the editor needs of the window that shows it.
class TEditorView {
 public:
  virtual ~TEditorView() = default;
  // The paint box's canvas for outlines drawn between repaints.
  virtual platform::Canvas* PaintBoxCanvas() = 0;
  virtual void Repaint() = 0;
  virtual void SetCursor(TCursorId cursor) = 0;
  // A repeating window timer; its ticks come back through TimerMessage.
  virtual bool StartTimer(int id, unsigned milliseconds) = 0;
  virtual void KillTimer(int id) = 0;
};

enum class TTool { None, Line, Rectangle, Ellipse, Arc, Polygon, Text };

enum class TEditKey { Escape, Delete, RotateRight, RotateLeft };

class TSymbolEditor final : public TEditorHost {
 public:
  TSymbolEditor(TEditorView& view, const TTextMetrics& metrics, TPropertyEditor& dialogs);
  ~TSymbolEditor() override;

  // --- what the states see ----------------------------------------------------
  int Zoom() const override { return zoom_; }
  bool SnapOn() const override { return snap; }
  TShapeList& Items() override { return items_; }
  const TShapeList& Items() const { return items_; }
  std::vector<TXShape*>& DragList() override { return dragList_; }
  TShapeList& Carried() override { return carried_; }
  TDirCanvas& FeedbackCanvas() override;
  TStyle Style() const override { return style; }
  const TTextMetrics& Metrics() const override { return metrics_; }
  TPropertyEditor& Dialogs() override { return dialogs_; }
  bool Modified() const override { return modified_; }
  void SetModified(bool modified) override { modified_ = modified; }
  void DeselectAll() override;
  void Repaint() override { view_.Repaint(); }
  TCursorId SetEditorCursor(TCursorId cursor) override;
  bool StartWindowTimer(unsigned milliseconds) override;
  void KillWindowTimer() override;

  // --- the open drawing ---------------------------------------------------------
  // Replaces the objects (a current state is cancelled first).
  void SetItems(TShapeList items);
  const CModalState* State() const { return state_.get(); }
  TTool Tool() const { return tool_; }
  TCursorId Cursor() const { return cursor_; }
  const std::string& Status() const { return status_; }

  // --- events from the paint box (pixels) -------------------------------------
  void MouseDown(int button, int x, int y, unsigned shift);
  void MouseUp(int button, int x, int y, unsigned shift);
  void MouseMove(int x, int y);
  void DoubleClick(int x, int y);
  void Key(TEditKey key);
  void TimerMessage(int id);
  void Idle();
  // The current state's outline, on the view's canvas.
  void DrawFeedback();

  // --- commands ------------------------------------------------------------------
  void CancelState();
  void ChooseTool(TTool tool);
  // Carries a new pin with this shape-and-length byte; the next press puts
  // it down.
  void NewPin(std::uint8_t shapeAndLength);
  void DeleteSelected();
  void SelectAll();
  void Rotate(bool right);
  bool EditProperties();
  // Zoom combo entry 0..4: 1x, 2x, 3x, 4x, 8x.
  void SetZoomIndex(int index);
  std::string NextPinName() const;
  std::vector<TXShape*> Selected() const;
  // The object under a world point; null when none.
  TXShape* ItemAt(std::int32_t x, std::int32_t y) const;

  bool snap = true, grid = true, supplementary = true, pinMarkers = true, autoSensing = true;
  TStyle style;

 private:
  void Apply(TStep step);
  void Start(std::unique_ptr<CModalState> state);

  TEditorView& view_;
  const TTextMetrics& metrics_;
  TPropertyEditor& dialogs_;
  TShapeList items_;
  std::vector<TXShape*> dragList_;
  TShapeList carried_;
  std::unique_ptr<CModalState> state_;
  std::unique_ptr<TDirCanvas> canvas_;
  platform::Canvas* canvasTarget_ = nullptr;
  TTool tool_ = TTool::None;
  TCursorId cursor_ = kCursorDefault;
  std::string status_;
  int zoom_ = 2;
  bool modified_ = false;
};

}  // namespace wendro
