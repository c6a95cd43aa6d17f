#include "EditStates.h"

#include <algorithm>

namespace wendro {

namespace {

TPointL Add(TPointL a, TPointL b) { return {a.x + b.x, a.y + b.y}; }
TPointL Sub(TPointL a, TPointL b) { return {a.x - b.x, a.y - b.y}; }

bool IsCarried(TEditorHost& editor, const TXShape* item) {
  const TShapeList& carried = editor.Carried();
  return std::any_of(carried.begin(), carried.end(), [&](const auto& c) { return c.get() == item; });
}

// A drawing tool's press: the point in world units, snapped when snap is on.
TPointL ToolPoint(TEditorHost& editor, int x, int y) {
  const TPointL p = editor.ScreenToWorld(x, y);
  return editor.SnapOn() ? Snap4(p) : p;
}

// Starts carrying a new object by its handle: the object becomes the only
// entry of the drag list and a drag follows the mouse until the release.
TStep CarryNew(TEditorHost& editor, std::unique_ptr<TXShape> item, int handle, int x, int y) {
  item->selected = true;
  editor.DragList().clear();
  editor.DragList().push_back(item.get());
  editor.Carried().push_back(std::move(item));
  TStep step{false, TStep::Replace, nullptr};
  step.next = std::make_unique<CMS_Drag>(editor, TPointL{x, y}, true, handle);
  return step;
}

}  // namespace

// --- CModalState --------------------------------------------------------------

CModalState::~CModalState() {
  if (savedCursor_) editor_.SetEditorCursor(*savedCursor_);
  StopTimer();
}

void CModalState::Enter() { savedCursor_ = editor_.SetEditorCursor(CursorId()); }

bool CModalState::StartTimer(unsigned milliseconds) {
  StopTimer();
  timerRunning_ = editor_.StartWindowTimer(milliseconds);
  return timerRunning_;
}

void CModalState::StopTimer() {
  if (timerRunning_) editor_.KillWindowTimer();
  timerRunning_ = false;
}

// --- CMS_Drag -----------------------------------------------------------------

CMS_Drag::CMS_Drag(TEditorHost& editor, std::optional<TPointL> start, bool finishOnRelease,
                   int handle)
    : CModalState(editor), carrying_(!start), finishOnRelease_(finishOnRelease), handle_(handle) {
  if (start) {
    start_ = editor.ScreenToWorld(start->x, start->y);
    if (editor.SnapOn()) start_ = Snap4(*start_);
  }
  if (editor.DragList().size() > 1) handle_ = -1;
}

void CMS_Drag::Enter() {
  CModalState::Enter();
  modifiedBefore_ = editor_.Modified();
  waiting_ = true;
  // Without a timer the drag begins at once and follows every move.
  if (!StartTimer(200)) {
    waiting_ = false;
    BeginDrag();
  }
}

TStep CMS_Drag::OnTimer() {
  if (waiting_) {
    waiting_ = false;
    if (!StartTimer(500)) BeginDrag();
  } else if (!started_) {
    BeginDrag();
  }
  return TStep::Go();
}

void CMS_Drag::BeginDrag() {
  StopTimer();
  for (TXShape* item : editor_.DragList()) item->BeginDrag(editor_.FeedbackCanvas(), handle_);
  started_ = true;
  editor_.SetEditorCursor(CursorId());
}

void CMS_Drag::Follow(int x, int y) {
  if (!started_) BeginDrag();
  std::vector<TXShape*>& list = editor_.DragList();
  const TPointL p = editor_.ScreenToWorld(x, y);
  TPointL offset;
  if (!start_) {
    // A carried object: the first one lands on the cursor, on the pin grid.
    const TPointL at = Snap8(p);
    start_ = at;
    if (!list.empty()) {
      const TPointL first = list.front()->dragStart;
      for (TXShape* item : list) item->dragStart = Add(at, Sub(item->dragStart, first));
    }
  } else {
    offset = Sub(p, *start_);
    if (editor_.SnapOn()) offset = Snap4(offset);
    // Whole pins stay on the pin grid, snap or not.
    const bool wholePin = handle_ == -1 && std::any_of(list.begin(), list.end(), [](TXShape* s) {
                            return dynamic_cast<TPin*>(s) != nullptr;
                          });
    if (wholePin) offset = Snap8(offset);
  }
  for (TXShape* item : list) item->DragTo(editor_.FeedbackCanvas(), offset.x, offset.y);
}

TStep CMS_Drag::MouseMove(int x, int y) {
  if (waiting_) return TStep::Go();
  Follow(x, y);
  return TStep::Go(!started_);
}

TStep CMS_Drag::MouseDown(int, int x, int y, unsigned) {
  // A carried object is put down where the press is.
  if (carrying_) {
    start_.reset();
    Follow(x, y);
  }
  return TStep::Done();
}

TStep CMS_Drag::MouseUp(int, int, int, unsigned) {
  const bool passOn = !started_;
  return finishOnRelease_ ? TStep::Done(passOn) : TStep::Go(passOn);
}

TStep CMS_Drag::DoubleClick() { return TStep::Done(!started_); }

void CMS_Drag::OnFinish() {
  std::vector<TXShape*>& list = editor_.DragList();
  bool changed = false;
  for (TXShape* item : list) {
    if (item->dragging) item->EndDrag(editor_.FeedbackCanvas());
    if (!IsCarried(editor_, item)) {
      changed = true;
      continue;
    }
    // A new line or shape of no size (a click without a drag) is dropped.
    if (auto* segment = dynamic_cast<TSegment*>(item);
        segment && segment->position == segment->Second())
      continue;
    auto& carried = editor_.Carried();
    auto it = std::find_if(carried.begin(), carried.end(), [&](const auto& c) { return c.get() == item; });
    editor_.Items().push_back(std::move(*it));
    carried.erase(it);
    changed = true;
  }
  editor_.SetModified(modifiedBefore_ || changed);
  list.clear();
  editor_.Carried().clear();
  editor_.Repaint();
}

void CMS_Drag::OnCancel() {
  for (TXShape* item : editor_.DragList())
    if (item->dragging) item->CancelDrag(editor_.FeedbackCanvas());
  editor_.DragList().clear();
  editor_.Carried().clear();
  editor_.Repaint();
}

// --- CMS_Block ----------------------------------------------------------------

CMS_Block::CMS_Block(TEditorHost& editor, TPointL corner)
    : CModalState(editor), first_(corner), moving_(corner) {}

void CMS_Block::Enter() {
  CModalState::Enter();
  modifiedBefore_ = editor_.Modified();
  DrawBand();
}

TRectL CMS_Block::Band() const {
  return {std::min(first_.x, moving_.x), std::min(first_.y, moving_.y), std::max(first_.x, moving_.x),
          std::max(first_.y, moving_.y)};
}

void CMS_Block::DrawBand() {
  TDirCanvas& canvas = editor_.FeedbackCanvas();
  canvas.SetFrame({0, 0});
  canvas.SetMode(TPenMode::Outline);
  canvas.SetPen(RGB(128, 128, 128), 0, 2);  // dotted
  canvas.SetBrush(kNoColour);
  const TRectL band = Band();
  canvas.Rectangle({band.left, band.top}, {band.right, band.bottom});
  canvas.SetMode(TPenMode::Normal);
}

TStep CMS_Block::MouseMove(int x, int y) {
  DrawBand();
  moving_ = editor_.ScreenToWorld(x, y);
  DrawBand();
  return TStep::Go();
}

void CMS_Block::OnFinish() {
  DrawBand();
  const TRectL band = Band();
  for (const auto& item : editor_.Items())
    if (item->CanSelect() && item->ContainedIn(band)) item->selected = true;
  // Selecting changes nothing in the document.
  editor_.SetModified(modifiedBefore_);
  editor_.Repaint();
}

void CMS_Block::OnCancel() { DrawBand(); }

// --- drawing tools --------------------------------------------------------------

TStep CMS_DLine::MouseDown(int, int x, int y, unsigned) {
  editor_.DeselectAll();
  const TPointL p = ToolPoint(editor_, x, y);
  auto line = std::make_unique<TSegLine>();
  line->SetPosition(p);
  line->x2 = p.x, line->y2 = p.y;
  const TStyle style = editor_.Style();
  line->penWidth = style.penWidth;
  line->penColour = style.penColour;
  return CarryNew(editor_, std::move(line), 1, x, y);
}

TStep CMS_DShape::MouseDown(int, int x, int y, unsigned) {
  editor_.DeselectAll();
  const TPointL p = ToolPoint(editor_, x, y);
  auto shape = std::make_unique<TSegShape>();
  shape->kind = kind_;
  shape->SetPosition(p);
  shape->x2 = p.x, shape->y2 = p.y;
  const TStyle style = editor_.Style();
  shape->penWidth = style.penWidth;
  shape->penColour = style.penColour;
  shape->fillColour = style.fillColour;
  return CarryNew(editor_, std::move(shape), 7, x, y);
}

TStep CMS_DText::MouseDown(int, int x, int y, unsigned) {
  editor_.DeselectAll();
  auto text = std::make_unique<TXText>(editor_.Metrics());
  text->SetPosition(ToolPoint(editor_, x, y));
  text->fontName = "Arial";
  text->sizeFactor = 1.0;
  text->colour = RGB(0, 128, 128);
  if (text->EditProperties(editor_.Dialogs())) {
    text->selected = true;
    editor_.Items().push_back(std::move(text));
  }
  return TStep::Done();
}

// --- CMS_DPolygon -----------------------------------------------------------------

TPointL CMS_DPolygon::Point(int x, int y) const { return ToolPoint(editor_, x, y); }

void CMS_DPolygon::DrawFeedback() {
  if (points_.empty()) return;
  TDirCanvas& canvas = editor_.FeedbackCanvas();
  canvas.SetFrame({0, 0});
  canvas.SetMode(TPenMode::Outline);
  canvas.SetPen(RGB(0, 128, 0), 0);
  canvas.MoveTo(points_[0].x, points_[0].y);
  for (std::size_t k = 1; k < points_.size(); ++k) canvas.LineTo(points_[k].x, points_[k].y);
  canvas.SetMode(TPenMode::Normal);
}

TStep CMS_DPolygon::MouseDown(int, int x, int y, unsigned shift) {
  const TPointL p = Point(x, y);
  DrawFeedback();
  if (points_.empty()) {
    editor_.DeselectAll();
    points_.push_back(p);
    moving_ = 0;
    editor_.DragList().clear();
    closing_ = {p.x - 2, p.y - 2, p.x + 2, p.y + 2};
    started_ = true;
  } else if (!(shift & kCtrl) && p.x >= closing_.left && p.x < closing_.right && p.y >= closing_.top &&
             p.y < closing_.bottom) {
    // The closing click: the point that followed the mouse is not a vertex.
    points_.pop_back();
    return TStep::Done();
  }
  points_.push_back(p);
  moving_ = points_.size() - 1;
  DrawFeedback();
  return TStep::Go();
}

TStep CMS_DPolygon::MouseMove(int x, int y) {
  if (started_) {
    DrawFeedback();
    points_[moving_] = Point(x, y);
    DrawFeedback();
  }
  return TStep::Go(!started_);
}

TStep CMS_DPolygon::DoubleClick() {
  DrawFeedback();
  return TStep::Done();
}

void CMS_DPolygon::OnFinish() {
  started_ = false;
  if (!points_.empty()) {
    auto polygon = std::make_unique<TSegPolygon>();
    const TStyle style = editor_.Style();
    polygon->penWidth = style.penWidth;
    polygon->fillColour = style.fillColour;
    polygon->penColour = style.penColour;
    std::vector<TPointL> vertices{points_[0]};
    for (std::size_t k = 1; k < points_.size(); ++k) {
      if (points_[k] == vertices.back()) continue;
      if (k + 1 == points_.size() && points_[k] == points_[0]) continue;
      vertices.push_back(points_[k]);
    }
    if (vertices.size() >= 3) {
      for (TPointL v : vertices) polygon->AddPoint(v);
      polygon->selected = true;
      editor_.Items().push_back(std::move(polygon));
    }
  }
  editor_.Repaint();
  CModalState::OnFinish();
}

}  // namespace wendro
