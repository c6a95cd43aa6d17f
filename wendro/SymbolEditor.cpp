#include "SymbolEditor.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace wendro {

TSymbolEditor::TSymbolEditor(TEditorView& view, const TTextMetrics& metrics, TPropertyEditor& dialogs)
    : view_(view), metrics_(metrics), dialogs_(dialogs) {}

TSymbolEditor::~TSymbolEditor() { CancelState(); }

TDirCanvas& TSymbolEditor::FeedbackCanvas() {
  platform::Canvas* target = view_.PaintBoxCanvas();
  if (!canvas_ || canvas_->Zoom() != zoom_ || target != canvasTarget_) {
    canvasTarget_ = target;
    canvas_ = std::make_unique<TDirCanvas>(target, metrics_, zoom_);
  }
  canvas_->pinMarkers = pinMarkers;
  return *canvas_;
}

void TSymbolEditor::DeselectAll() {
  for (auto& item : items_) item->selected = false;
}

TCursorId TSymbolEditor::SetEditorCursor(TCursorId cursor) {
  const TCursorId before = cursor_;
  cursor_ = cursor;
  view_.SetCursor(cursor);
  return before;
}

bool TSymbolEditor::StartWindowTimer(unsigned milliseconds) {
  return view_.StartTimer(kStateTimerId, milliseconds);
}

void TSymbolEditor::KillWindowTimer() { view_.KillTimer(kStateTimerId); }

void TSymbolEditor::SetItems(TShapeList items) {
  CancelState();
  dragList_.clear();
  carried_.clear();
  items_ = std::move(items);
  Repaint();
}

// The state is taken out of its place before its last work runs, so nothing
// it calls can reach it through the editor; it is freed afterwards.
void TSymbolEditor::Apply(TStep step) {
  if (step.kind == TStep::Stay || !state_) return;
  std::unique_ptr<CModalState> ending = std::move(state_);
  if (step.kind == TStep::Finish)
    ending->OnFinish();
  else
    ending->OnCancel();
  ending.reset();
  tool_ = TTool::None;
  if (step.kind == TStep::Replace && step.next) Start(std::move(step.next));
}

void TSymbolEditor::Start(std::unique_ptr<CModalState> state) {
  CancelState();
  state_ = std::move(state);
  state_->Enter();
}

void TSymbolEditor::CancelState() { Apply({false, TStep::Cancel, nullptr}); }

std::vector<TXShape*> TSymbolEditor::Selected() const {
  std::vector<TXShape*> out;
  for (const auto& item : items_)
    if (item->selected) out.push_back(item.get());
  return out;
}

TXShape* TSymbolEditor::ItemAt(std::int32_t x, std::int32_t y) const {
  TXShape* kept = nullptr;
  for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
    TXShape* item = it->get();
    if (!item->CanSelect()) continue;
    if (item->HandleAt(x, y, zoom_) >= 0) return item;
    if (!item->HitTest(x, y)) continue;
    if (!kept)
      kept = item;
    else if (dynamic_cast<TPin*>(item) ||
             (item->IsMarker() && supplementary && !kept->IsMarker()))
      kept = item;
  }
  return kept;
}

void TSymbolEditor::MouseDown(int button, int x, int y, unsigned shift) {
  if (state_) {
    TStep step = state_->MouseDown(button, x, y, shift);
    const bool passOn = step.passOn;
    Apply(std::move(step));
    if (!passOn) return;
  }
  const TPointL p = ScreenToWorld(x, y);
  TXShape* item = ItemAt(p.x, p.y);
  if (!item || (shift & kCtrl)) {
    if (!(shift & kShift)) DeselectAll();
    Start(std::make_unique<CMS_Block>(*this, p));
    return;
  }
  int handle = -1;
  if (shift & kShift) {
    item->selected = !item->selected;
    Repaint();
    if (!item->selected) return;
  } else if (item->selected) {
    handle = item->HandleAt(p.x, p.y, zoom_);
  } else {
    DeselectAll();
    item->selected = true;
  }
  dragList_ = Selected();
  Repaint();
  Start(std::make_unique<CMS_Drag>(*this, TPointL{x, y}, true, handle));
}

void TSymbolEditor::MouseUp(int button, int x, int y, unsigned shift) {
  if (state_) Apply(state_->MouseUp(button, x, y, shift));
}

void TSymbolEditor::MouseMove(int x, int y) {
  if (state_) {
    TStep step = state_->MouseMove(x, y);
    const bool passOn = step.passOn;
    Apply(std::move(step));
    if (!passOn) return;
  }
  const TPointL p = ScreenToWorld(x, y);
  TPointL origin;
  for (const auto& item : items_)
    if (dynamic_cast<TOrigo*>(item.get())) {
      origin = item->position;
      break;
    }
  char text[48];
  std::snprintf(text, sizeof text, " X: %d  Y: %d", int(p.x - origin.x), int(p.y - origin.y));
  status_ = text;
  if (!state_) {
    const TXShape* item = ItemAt(p.x, p.y);
    SetEditorCursor(item ? item->CursorAt(p.x, p.y, zoom_) : kCursorDefault);
  }
}

// The window delivers press, release, double-click, release: the
// double-click stands for the second press, so no press follows it to be
// swallowed.
void TSymbolEditor::DoubleClick(int x, int y) {
  if (state_) {
    TStep step = state_->DoubleClick();
    const bool passOn = step.passOn;
    Apply(std::move(step));
    if (!passOn) return;
  }
  const TPointL p = ScreenToWorld(x, y);
  TXShape* item = ItemAt(p.x, p.y);
  if (item && item->HasProperties()) {
    DeselectAll();
    item->selected = true;
    EditProperties();
  }
}

void TSymbolEditor::Key(TEditKey key) {
  switch (key) {
    case TEditKey::Escape: CancelState(); break;
    case TEditKey::Delete: DeleteSelected(); break;
    case TEditKey::RotateRight: Rotate(true); break;
    case TEditKey::RotateLeft: Rotate(false); break;
  }
}

void TSymbolEditor::TimerMessage(int id) {
  if (id == kStateTimerId && state_) Apply(state_->OnTimer());
}

void TSymbolEditor::Idle() {
  if (state_) state_->IdleTick();
}

void TSymbolEditor::DrawFeedback() {
  if (state_) state_->DrawFeedback();
  // The view's canvas of a paint lives no longer than the paint.
  canvas_.reset();
}

void TSymbolEditor::ChooseTool(TTool tool) {
  CancelState();
  switch (tool) {
    case TTool::None: return;
    case TTool::Line: Start(std::make_unique<CMS_DLine>(*this)); break;
    case TTool::Rectangle: Start(std::make_unique<CMS_DShape>(*this, 0)); break;
    case TTool::Ellipse: Start(std::make_unique<CMS_DShape>(*this, 1)); break;
    case TTool::Arc: Start(std::make_unique<CMS_DShape>(*this, 2)); break;
    case TTool::Polygon: Start(std::make_unique<CMS_DPolygon>(*this)); break;
    case TTool::Text: Start(std::make_unique<CMS_DText>(*this)); break;
  }
  tool_ = tool;
}

std::string TSymbolEditor::NextPinName() const {
  long long largest = 0;
  for (const auto& item : items_) {
    const auto* pin = dynamic_cast<const TPin*>(item.get());
    if (!pin || pin->name.empty()) continue;
    long long value = 0;
    const char* end = pin->name.data() + pin->name.size();
    auto [ptr, ec] = std::from_chars(pin->name.data(), end, value);
    if (ec == std::errc() && ptr == end) largest = std::max(largest, value);
  }
  return std::to_string(largest + 1);
}

void TSymbolEditor::NewPin(std::uint8_t shapeAndLength) {
  CancelState();
  DeselectAll();
  dragList_.clear();
  auto pin = std::make_unique<TPin>(metrics_);
  pin->name = NextPinName();
  pin->shapeAndLength = shapeAndLength;
  pin->electricType = 4;
  pin->direction = 0;
  pin->showName = true;
  pin->visibility = 0;
  pin->fontSize = 8.0;
  pin->SetPosition({-100, -100});
  pin->selected = true;
  dragList_.push_back(pin.get());
  carried_.push_back(std::move(pin));
  Start(std::make_unique<CMS_Drag>(*this, std::nullopt, false, -1));
}

void TSymbolEditor::DeleteSelected() {
  const auto before = items_.size();
  std::erase_if(items_, [](const auto& item) { return item->selected && !item->IsMarker(); });
  if (items_.size() != before) modified_ = true;
  Repaint();
}

void TSymbolEditor::SelectAll() {
  for (auto& item : items_)
    if (item->CanSelect()) item->selected = true;
  Repaint();
}

void TSymbolEditor::Rotate(bool right) {
  std::vector<TXShape*> objects = dynamic_cast<const CMS_Drag*>(state_.get()) ? dragList_ : Selected();
  if (objects.empty()) return;
  TPointL pivot{kNoPivot, 0};
  if (objects.size() > 1) {
    const auto cor = std::find_if(items_.begin(), items_.end(),
                                  [](const auto& item) { return dynamic_cast<TCOR*>(item.get()); });
    if (cor != items_.end()) {
      pivot = (*cor)->position;
    } else {
      TRectL u = objects[0]->GetBounds();
      for (TXShape* o : objects) {
        const TRectL b = o->GetBounds();
        u = {std::min(u.left, b.left), std::min(u.top, b.top), std::max(u.right, b.right),
             std::max(u.bottom, b.bottom)};
      }
      pivot = {(u.left + u.right) / 2, (u.top + u.bottom) / 2};
    }
  }
  modified_ = true;
  for (TXShape* o : objects) right ? o->RotateRight(pivot) : o->RotateLeft(pivot);
  Repaint();
}

bool TSymbolEditor::EditProperties() {
  const std::vector<TXShape*> selected = Selected();
  if (selected.size() != 1 || !selected[0]->HasProperties()) return false;
  if (!selected[0]->EditProperties(dialogs_)) return false;
  modified_ = true;
  Repaint();
  return true;
}

void TSymbolEditor::SetZoomIndex(int index) {
  static constexpr int kZooms[] = {1, 2, 3, 4, 8};
  if (index < 0 || index > 4) return;
  zoom_ = kZooms[index];
  Repaint();
}

}  // namespace wendro
