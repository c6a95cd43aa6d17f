#pragma once
// Editing states: every multi-step mouse interaction of the symbol editor
// (moving or resizing the selection, carrying a new pin, rubber-band
// selection, drawing a line, shape, polygon or text) is a state that the
// editor makes current and hands its mouse, double-click, idle and timer
// events to first. At most one state is current; the editor owns it.
//
// A handler never ends its own state: it answers a TStep that says what
// happens next, and the editor applies it after the handler has returned.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "C_Shapes.h"

namespace wendro {

// The id of the editor window's timer that the states use.
inline constexpr int kStateTimerId = 32111;

// Shift-state bits of a mouse event.
enum : unsigned { kShift = 1, kCtrl = 2 };

// The snap steps of moves and drawing tools, and of whole pins.
inline std::int32_t Snap4(std::int32_t v) { return Snap(v, 4); }
inline std::int32_t Snap8(std::int32_t v) { return Snap(v, 8); }
inline TPointL Snap4(TPointL p) { return {Snap4(p.x), Snap4(p.y)}; }
inline TPointL Snap8(TPointL p) { return {Snap8(p.x), Snap8(p.y)}; }

// What a state needs of the editor.
class TEditorHost {
 public:
  virtual ~TEditorHost() = default;
  virtual int Zoom() const = 0;
  virtual bool SnapOn() const = 0;
  // Paint-box pixels to world units (division by the zoom, truncating).
  TPointL ScreenToWorld(int x, int y) const { return {x / Zoom(), y / Zoom()}; }
  virtual TShapeList& Items() = 0;
  // The objects being dragged or carried; not owned.
  virtual std::vector<TXShape*>& DragList() = 0;
  // New objects that live only in the drag list until a drag drops them.
  virtual TShapeList& Carried() = 0;
  // The paint box's canvas, for outlines drawn while the mouse moves.
  virtual TDirCanvas& FeedbackCanvas() = 0;
  virtual TStyle Style() const = 0;
  virtual const TTextMetrics& Metrics() const = 0;
  virtual TPropertyEditor& Dialogs() = 0;
  virtual bool Modified() const = 0;
  virtual void SetModified(bool modified) = 0;
  virtual void DeselectAll() = 0;
  virtual void Repaint() = 0;
  // Sets the paint box's cursor; answers the previous one.
  virtual TCursorId SetEditorCursor(TCursorId cursor) = 0;
  // The window timer kStateTimerId: (re)started with a period, or killed.
  virtual bool StartWindowTimer(unsigned milliseconds) = 0;
  virtual void KillWindowTimer() = 0;
};

class CModalState;

// What a handler answers: whether the editor goes on handling the event
// itself, and what becomes of the state.
struct TStep {
  enum Kind { Stay, Finish, Cancel, Replace };
  bool passOn = false;
  Kind kind = Stay;
  std::unique_ptr<CModalState> next;  // Replace: the state that follows

  static TStep Go(bool passOn = false) { return {passOn, Stay, nullptr}; }
  static TStep Done(bool passOn = false) { return {passOn, Finish, nullptr}; }
};

class CModalState {
 public:
  explicit CModalState(TEditorHost& editor) : editor_(editor) {}
  virtual ~CModalState();
  CModalState(const CModalState&) = delete;
  CModalState& operator=(const CModalState&) = delete;

  // Called once the state is current: takes the paint box's cursor.
  virtual void Enter();
  virtual void IdleTick() {}
  // The state's own work when it ends well or is abandoned; the editor then
  // frees it. Finishing marks the document modified unless a state says
  // otherwise.
  virtual void OnFinish() { editor_.SetModified(true); }
  virtual void OnCancel() {}
  virtual void DrawFeedback() {}
  virtual TCursorId CursorId() const { return kCursorDefault; }
  virtual TStep DoubleClick() { return TStep::Go(); }
  virtual TStep MouseDown(int /*button*/, int /*x*/, int /*y*/, unsigned /*shift*/) { return TStep::Go(); }
  virtual TStep MouseUp(int /*button*/, int /*x*/, int /*y*/, unsigned /*shift*/) { return TStep::Go(); }
  virtual TStep MouseMove(int /*x*/, int /*y*/) { return TStep::Go(); }
  virtual TStep OnTimer() { return TStep::Go(); }

  bool TimerRunning() const { return timerRunning_; }

 protected:
  bool StartTimer(unsigned milliseconds);
  void StopTimer();
  TEditorHost& editor_;

 private:
  std::optional<TCursorId> savedCursor_;
  bool timerRunning_ = false;
};

// Moves or resizes the objects of the editor's drag list.
class CMS_Drag : public CModalState {
 public:
  // start: the press in paint-box pixels; none for an object carried from a
  // tool button, which the next press puts down.
  CMS_Drag(TEditorHost& editor, std::optional<TPointL> start, bool finishOnRelease, int handle);

  void Enter() override;
  void OnFinish() override;
  void OnCancel() override;
  TCursorId CursorId() const override { return kCursorDrag; }
  TStep DoubleClick() override;
  TStep MouseDown(int button, int x, int y, unsigned shift) override;
  TStep MouseUp(int button, int x, int y, unsigned shift) override;
  TStep MouseMove(int x, int y) override;
  TStep OnTimer() override;

  bool Started() const { return started_; }

 private:
  void BeginDrag();
  void Follow(int x, int y);

  std::optional<TPointL> start_;  // world
  bool carrying_;
  bool finishOnRelease_;
  bool waiting_ = false;
  bool started_ = false;
  int handle_;
  bool modifiedBefore_ = false;
};

// Rubber-band selection.
class CMS_Block : public CModalState {
 public:
  CMS_Block(TEditorHost& editor, TPointL corner);  // world

  void Enter() override;
  void OnFinish() override;
  void OnCancel() override;
  void DrawFeedback() override { DrawBand(); }
  TCursorId CursorId() const override { return kCursorCross; }
  TStep DoubleClick() override { return TStep::Done(); }
  TStep MouseDown(int, int, int, unsigned) override { return TStep::Done(); }
  TStep MouseUp(int, int, int, unsigned) override { return TStep::Done(); }
  TStep MouseMove(int x, int y) override;

  TRectL Band() const;

 private:
  void DrawBand();
  TPointL first_, moving_;
  bool modifiedBefore_ = false;
};

// The line tool: a press starts a drag of a new line's end.
class CMS_DLine : public CModalState {
 public:
  using CModalState::CModalState;
  TCursorId CursorId() const override { return kCursorCross; }
  TStep MouseDown(int button, int x, int y, unsigned shift) override;
};

// The rectangle, ellipse and arc tools.
class CMS_DShape : public CModalState {
 public:
  CMS_DShape(TEditorHost& editor, int kind) : CModalState(editor), kind_(kind) {}
  TCursorId CursorId() const override { return kCursorCross; }
  TStep MouseDown(int button, int x, int y, unsigned shift) override;
  int Kind() const { return kind_; }

 private:
  int kind_;  // 0 rectangle, 1 ellipse, 2 arc
};

// The text tool: a press asks for the text and puts it there.
class CMS_DText : public CModalState {
 public:
  using CModalState::CModalState;
  TCursorId CursorId() const override { return kCursorCross; }
  TStep MouseDown(int button, int x, int y, unsigned shift) override;
};

// The polygon tool: each click adds a vertex; a click on the first one or a
// double-click closes it.
class CMS_DPolygon : public CModalState {
 public:
  using CModalState::CModalState;
  void OnFinish() override;
  void OnCancel() override { editor_.Repaint(); }
  void DrawFeedback() override;
  TCursorId CursorId() const override { return kCursorCross; }
  TStep DoubleClick() override;
  TStep MouseDown(int button, int x, int y, unsigned shift) override;
  TStep MouseUp(int, int, int, unsigned) override { return TStep::Go(!started_); }
  TStep MouseMove(int x, int y) override;

  const std::vector<TPointL>& Points() const { return points_; }

 private:
  TPointL Point(int x, int y) const;
  std::vector<TPointL> points_;
  std::size_t moving_ = 0;
  bool started_ = false;
  TRectL closing_;
};

}  // namespace wendro
