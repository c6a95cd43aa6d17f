#include "ShapeEditCore.h"

#include <algorithm>
#include <cctype>

#include "platform/binary_file.h"
#include "platform/dialogs.h"
#include "platform/paths.h"

namespace wendro {

namespace {

const char* kFilter = "Device Database (*.ddb)|*.ddb";

std::string Upper(std::string s) {
  for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string Replace(std::string text, const std::string& value) {
  const auto at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, value);
  return text;
}

void Tell(const std::string& text, platform::MessageKind kind = platform::MessageKind::Error) {
  platform::messages().show(kind, text, platform::Buttons::Ok);
}

TRectL Union(const TRectL& a, const TRectL& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

TSensingRect* SensingMarker(const TShapeList& items) {
  for (const auto& item : items)
    if (auto* s = dynamic_cast<TSensingRect*>(item.get())) return s;
  return nullptr;
}

std::string DeviceBytes(const TDevice& device) {
  TDeviceList one;
  one.push_back(device.Clone());
  TMemoryStream out;
  WriteDatabase(out, one);
  return out.Bytes();
}

}  // namespace

std::optional<TRectL> DrawnBounds(const TShapeList& items, bool sensing) {
  std::optional<TRectL> u;
  for (const auto& item : items) {
    if (item->IsMarker() || (sensing && dynamic_cast<TPin*>(item.get()))) continue;
    TRectL b = item->GetBounds();
    if (sensing) b = {b.left + 2, b.top + 2, b.right - 2, b.bottom - 2};
    u = u ? Union(*u, b) : b;
  }
  return u;
}

std::optional<std::string> TRefuseNameClash::ResolveNameClash(const std::string& name,
                                                              const std::vector<std::string>& others) {
  if (std::find(others.begin(), others.end(), name) == others.end()) return name;
  Tell("A device named " + name + " is already in the list.", platform::MessageKind::Warning);
  return std::nullopt;
}

TShapeEditCore::TShapeEditCore(TEditorView& view, const TTextMetrics& metrics, TPropertyEditor& properties,
                               TDeviceDialogs& dialogs)
    : editor_(view, metrics, properties),
      metrics_(metrics),
      dialogs_(dialogs),
      device_(std::make_unique<TDevice>()) {
  NewDatabase();
}

// --- database ------------------------------------------------------------------

bool TShapeEditCore::NewDatabase() {
  if (!ConfirmDiscard()) return false;
  fileName_ = kNoName;
  devices_.clear();
  SelectDevice(-1);
  editor_.SetModified(false);
  return true;
}

bool TShapeEditCore::Open() {
  if (!ConfirmDiscard()) return false;
  platform::FileDialogRequest request;
  request.title = "Open";
  request.filter = kFilter;
  request.defaultExtension = "ddb";
  request.mustExist = true;
  const auto path = platform::fileDialogs().open(request);
  return path && OpenPath(*path);
}

bool TShapeEditCore::OpenPath(const std::string& path) {
  TDeviceList list;
  const std::string name = platform::fileNameOf(path);
  switch (LoadDatabase(path, list)) {
    case TLoadResult::Loaded: break;
    case TLoadResult::NotDatabase: Tell(Replace("The file %s is not a device database.", name)); return false;
    case TLoadResult::Damaged: Tell(Replace("The device database %s is damaged.", name)); return false;
    case TLoadResult::Unreadable: Tell(Replace("The file %s cannot be read.", name)); return false;
  }
  devices_ = std::move(list);
  SelectDevice(0);
  editor_.SetModified(false);
  fileName_ = path;
  return true;
}

bool TShapeEditCore::SaveFile(bool ask) {
  if (!CheckDevice()) return false;
  std::string path = fileName_;
  if (ask || platform::fileNameOf(path) == kNoName) {
    platform::FileDialogRequest request;
    request.title = "Save As";
    request.filter = kFilter;
    request.defaultExtension = "ddb";
    request.fileName = path;
    request.overwritePrompt = true;
    const auto chosen = platform::fileDialogs().save(request);
    if (!chosen) return false;
    path = *chosen;
  }
  ApplyDevice(current_);
  try {
    SaveDatabase(path, devices_);
    baseline_ = ProbeBytes();
  } catch (const platform::FileError& e) {
    Tell(e.what());
    return false;
  }
  editor_.SetModified(false);
  fileName_ = path;
  return true;
}

bool TShapeEditCore::ConfirmDiscard() {
  if (!editor_.Modified()) return true;
  switch (platform::messages().show(platform::MessageKind::Confirmation,
                                    Replace("The file %s is modified. Save it first?",
                                            platform::fileNameOf(fileName_)),
                                    platform::Buttons::YesNoCancel)) {
    case platform::Answer::Yes: return SaveFile(false) && !editor_.Modified();
    case platform::Answer::No: return true;
    default: return false;
  }
}

// --- devices --------------------------------------------------------------------

void TShapeEditCore::SelectDevice(int index) {
  const bool valid = index >= 0 && index < int(devices_.size());
  current_ = valid ? index : -1;
  device_ = valid ? devices_[index]->Clone() : std::make_unique<TDevice>();
  if (!valid) autoSensingWanted = true;
  SelectShape(0);
  baseline_ = ProbeBytes();
}

bool TShapeEditCore::KeepOrDropChanges() {
  if (!DeviceChanged()) return true;
  switch (platform::messages().show(platform::MessageKind::Confirmation,
                                    Replace("The device %s has changed. Update it in the list?", device_->name),
                                    platform::Buttons::YesNoCancel)) {
    case platform::Answer::Yes: return current_ >= 0 ? UpdateDevice() : AddDevice();
    case platform::Answer::No: return true;
    default: return false;
  }
}

bool TShapeEditCore::NewDevice() {
  if (!KeepOrDropChanges()) return false;
  SelectDevice(-1);
  editor_.SetModified(true);
  return true;
}

bool TShapeEditCore::EditDevice(int index) {
  if (index < 0 || index >= int(devices_.size()) || !KeepOrDropChanges()) return false;
  SelectDevice(index);
  return true;
}

bool TShapeEditCore::UpdateDevice() {
  if (current_ < 0 || !CheckDevice()) return false;
  std::vector<std::string> others;
  for (int i = 0; i < int(devices_.size()); ++i)
    if (i != current_) others.push_back(devices_[i]->name);
  const auto name = dialogs_.ResolveNameClash(device_->name, others);
  if (!name) return false;
  device_->name = *name;
  ApplyDevice(current_);
  baseline_ = ProbeBytes();
  editor_.SetModified(true);
  return true;
}

bool TShapeEditCore::AddDevice() {
  if (!CheckDevice()) return false;
  std::vector<std::string> others;
  for (const auto& d : devices_) others.push_back(d->name);
  const auto name = dialogs_.ResolveNameClash(device_->name, others);
  if (!name) return false;
  device_->name = *name;
  devices_.push_back(device_->Clone());
  current_ = int(devices_.size()) - 1;
  ApplyDevice(current_);
  baseline_ = ProbeBytes();
  editor_.SetModified(true);
  return true;
}

void TShapeEditCore::DeleteDevice(int index) {
  if (index < 0 || index >= int(devices_.size())) return;
  devices_.erase(devices_.begin() + index);
  if (current_ == index)
    SelectDevice(0);
  else if (current_ > index)
    --current_;
  editor_.SetModified(true);
}

bool TShapeEditCore::CheckDevice() {
  StoreOpenShape();
  device_->DropEmptyShapes();
  if (device_->CheckPins()) return true;
  platform::messages().show(platform::MessageKind::Error,
                            "The device is invalid: most probably pin\rdata or pin order do not match in the\r"
                            "different versions of the device.\r\rPlease review the pins.",
                            platform::Buttons::Ok, "Device Check");
  return false;
}

void TShapeEditCore::ApplyDevice(int index) {
  if (index < 0 || index >= int(devices_.size())) {
    devices_.push_back(device_->Clone());
    index = current_ = int(devices_.size()) - 1;
  }
  StoreOpenShape();
  device_->AssignTo(*devices_[index]);
  devices_[index]->DropEmptyShapes();
}

std::string TShapeEditCore::ProbeBytes() {
  auto probe = device_->Clone();
  auto drawing = std::make_unique<TDShape>();
  drawing->key = key_;
  ApplyAutoSensing();
  StoreDShape(editor_.Items(), *drawing);
  probe->ReplaceShape(std::move(drawing));
  probe->DropEmptyShapes();
  return DeviceBytes(*probe);
}

// Compared with the device as it was opened, stored back the same way.
bool TShapeEditCore::DeviceChanged() { return ProbeBytes() != baseline_; }

// --- drawings ---------------------------------------------------------------------

void TShapeEditCore::SelectShape(std::int32_t key) {
  key_ = key;
  int at = device_->FindShape(key);
  if (at < 0) {
    auto empty = std::make_unique<TDShape>();
    empty->key = key;
    device_->shapes.push_back(std::move(empty));
    at = int(device_->shapes.size()) - 1;
  }
  editor_.SetItems(ExplodeDShape(*device_->shapes[at], metrics_));
  // A sensing rectangle set by hand stays as it is.
  editor_.autoSensing = autoSensingWanted && SensingMatches();
}

bool TShapeEditCore::SensingMatches() const {
  const TSensingRect* marker = SensingMarker(editor_.Items());
  const auto drawn = DrawnBounds(editor_.Items(), false);
  if (!marker || !drawn) return true;
  const TRectL r = marker->Box();
  const auto sensing = DrawnBounds(editor_.Items(), true);
  return (sensing && r == *sensing) || r == *drawn;
}

void TShapeEditCore::SetAutoSensing(bool on) {
  autoSensingWanted = editor_.autoSensing = on;
  ApplyAutoSensing();
}

void TShapeEditCore::ApplyAutoSensing() {
  if (!editor_.autoSensing) return;
  TSensingRect* marker = SensingMarker(editor_.Items());
  const auto sensing = DrawnBounds(editor_.Items(), true);
  if (!marker || !sensing) return;
  marker->position = {sensing->left, sensing->top};
  marker->x2 = sensing->right, marker->y2 = sensing->bottom;
}

void TShapeEditCore::StoreOpenShape() {
  ApplyAutoSensing();
  auto drawing = std::make_unique<TDShape>();
  drawing->key = key_;
  StoreDShape(editor_.Items(), *drawing);
  device_->ReplaceShape(std::move(drawing));
}

void TShapeEditCore::ChooseShapeEntry(int entry) {
  if (entry < 0 || entry > 7) return;
  StoreOpenShape();
  SelectShape((entry & 3) * 2 + entry / 4);
}

std::vector<std::string> TShapeEditCore::ShapeEntries() const {
  static const char* kAngles[] = {"  0", " 90", "180", "270"};
  std::vector<std::string> out;
  for (int i = 0; i < 8; ++i) {
    const std::int32_t key = (i & 3) * 2 + i / 4;
    std::string text = std::string(" ") + (i < 4 ? "EU" : "US") + " " + kAngles[i & 3] + "\xB0 ";
    const int at = device_->FindShape(key);
    if (key == key_)
      text += '\xAB';
    else if (at >= 0 && !device_->shapes[at]->IsEmpty())
      text += '\x8B';
    else
      text += ' ';
    out.push_back(text);
  }
  return out;
}

// --- the rest -------------------------------------------------------------------------

void TShapeEditCore::CommandLine(const std::vector<std::string>& args) {
  std::optional<std::string> open, create;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string sw = Upper(args[i]);
    if ((sw == "/OPEN" || sw == "/CREATE") && i + 1 < args.size()) {
      (sw == "/OPEN" ? open : create) = args[++i];
    }
  }
  if (open) OpenPath(*open);
  if (create) {
    const std::string& spec = *create;
    const auto bar = spec.find('|');
    const std::string name = spec.substr(0, bar);
    std::vector<std::string> sides[4];  // right, top, left, bottom
    std::string rest = bar == std::string::npos ? spec : spec.substr(bar + 1);
    std::size_t from = 0;
    while (from <= rest.size()) {
      const auto end = std::min(rest.find('|', from), rest.size());
      const std::string item = rest.substr(from, end - from);
      from = end + 1;
      const auto caret = item.find('^');
      if (caret == std::string::npos) continue;
      const std::string pin = item.substr(0, caret), side = item.substr(caret + 1);
      if (side.size() != 1 || pin.size() < 2) continue;
      const char s = char(std::toupper(static_cast<unsigned char>(side[0])));
      const auto where = std::string("RTLB").find(s);
      if (where != std::string::npos) sides[where].push_back(pin);
    }
    devices_.push_back(TDevice::CreateBlock(name, sides[0], sides[1], sides[2], sides[3], metrics_));
    SelectDevice(int(devices_.size()) - 1);
    editor_.SetModified(true);
  }
}

int TShapeEditCore::QuickSearch(const std::string& text) const {
  if (devices_.empty()) return -1;
  std::size_t b = 0, e = text.size();
  while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
  const std::string key = Upper(text.substr(b, e - b));
  if (key.empty()) return 0;
  int best = 0;
  std::size_t bestLength = 0;
  for (int i = 0; i < int(devices_.size()); ++i) {
    const std::string name = Upper(devices_[i]->name);
    if (name == key) return i;
    for (const std::string& probe : {key, "<" + key}) {
      std::size_t n = 0;
      while (n < probe.size() && n < name.size() && probe[n] == name[n]) ++n;
      if (n > bestLength) bestLength = n, best = i;
    }
  }
  return best;
}

std::string TShapeEditCore::Caption() const {
  return "<" + device_->name + "> " + platform::fileNameOf(fileName_) + " - " + kEditorTitle;
}

}  // namespace wendro
