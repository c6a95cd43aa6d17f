#include "C_DSData.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/binary_file.h"

namespace wendro {

namespace {

// Payload offsets of the pin record.
enum : int {
  kPinName = 0,
  kPinShowName = 17,
  kPinElectricType = 18,
  kPinShape = 19,
  kPinDirection = 20,
  kPinX = 21,
  kPinY = 23,
  kPinVisibility = 25,
  kPinNameOffsetX = 26,
  kPinNameOffsetY = 30,
  kPinFontSize = 34,
};

constexpr int kOldPinVersion = 258;   // pins below this lack the name placement
constexpr int kOldLineVersion = 259;  // lines below this lack the caps
constexpr int kLineStartCap = 14;
constexpr int kLineEndCap = 21;
constexpr int kTextFixedFields = 18;  // x, y, size factor, bold, italic, colour
constexpr int kPolygonHeader = 20;
constexpr std::size_t kMaxTextChars = 255;
constexpr int kShapeFixedBody = 40;   // key, three rectangles, three points
constexpr int kDeviceFixedBody = 15;  // flags, animated only, int16, two counts

TCap LoadCap(const std::uint8_t* p) { return {p[0], LoadI16(p + 1), LoadI32(p + 3)}; }
void StoreCap(std::uint8_t* p, const TCap& cap) {
  p[0] = cap.kind;
  StoreI16(p + 1, cap.size);
  StoreI32(p + 3, cap.colour);
}
TRectS LoadRect(const std::uint8_t* p) {
  return {LoadI16(p), LoadI16(p + 2), LoadI16(p + 4), LoadI16(p + 6)};
}
void StoreRect(std::uint8_t* p, const TRectS& r) {
  StoreI16(p, r.left);
  StoreI16(p + 2, r.top);
  StoreI16(p + 4, r.right);
  StoreI16(p + 6, r.bottom);
}

// Where the fields after the two strings of a text item start, or -1 when
// the strings run past the payload.
int TextFieldsOffset(const std::uint8_t* p, std::int32_t size) {
  if (size < 1) return -1;
  const int textLength = p[0];
  const int fontAt = textLength + 2;
  if (fontAt >= size) return -1;
  const int fontLength = p[fontAt];
  const int fieldsAt = fontAt + fontLength + 2;
  return fieldsAt + kTextFixedFields <= size ? fieldsAt : -1;
}

bool IsPin(const TItemRecord& item) { return item.Type() == kItemPin && ItemFits(item); }

// The pin's name as stored ('~' included); empty for anything but a pin.
std::string PinName(const TItemRecord& item) {
  if (!IsPin(item)) return {};
  const std::uint8_t* p = item.Payload();
  const std::size_t n = std::min<std::size_t>(p[kPinName], kPinNameChars);
  return std::string(reinterpret_cast<const char*>(p + kPinName + 1), n);
}

std::string WithoutTildes(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s)
    if (c != '~') out += c;
  return out;
}

void StoreShortString(std::uint8_t* p, std::string_view s) {
  p[0] = std::uint8_t(s.size());
  std::memcpy(p + 1, s.data(), s.size());
  p[1 + s.size()] = 0;
}

// Copies the pin fields of source onto target, keeping target's other bytes.
void CopyPin(TItemRecord& target, const TItemRecord& source, bool positions) {
  if (!IsPin(target) || !IsPin(source)) return;
  std::uint8_t* t = target.Payload();
  const std::uint8_t* s = source.Payload();
  std::memcpy(t + kPinName, s + kPinName, kPinNameChars + 1);
  t[kPinShowName] = s[kPinShowName];
  t[kPinElectricType] = s[kPinElectricType];
  t[kPinShape] = s[kPinShape];
  t[kPinVisibility] = s[kPinVisibility];
  if (positions) {
    t[kPinDirection] = s[kPinDirection];
    std::memcpy(t + kPinX, s + kPinX, 4);
    std::memcpy(t + kPinNameOffsetX, s + kPinNameOffsetX, kPinSize - kPinNameOffsetX);
  }
}

// A 32-bit body size, or -1 (refused by the stream) when it does not fit.
std::int32_t ClampSize(std::int64_t length) {
  return length > std::numeric_limits<std::int32_t>::max() ? -1 : std::int32_t(length);
}

}  // namespace

// --- item records -------------------------------------------------------------

TItemRecord::TItemRecord(std::int32_t type, std::int32_t size)
    : bytes_(std::size_t(kItemHeaderSize + size), 0) {
  StoreI32(bytes_.data(), type);
  StoreI32(bytes_.data() + 4, kItemVersion);
  StoreI32(bytes_.data() + 8, size);
}

bool ItemFits(const TItemRecord& item) {
  const std::int32_t size = item.Size();
  if (size < 0 || std::size_t(size) + kItemHeaderSize != item.Bytes().size()) return false;
  const std::uint8_t* p = item.Payload();
  switch (item.Type()) {
    case kItemPin: return size >= kPinSize;
    case kItemLine: return size >= kLineSize;
    case kItemShape: return size >= kShapeItemSize;
    case kItemText: return TextFieldsOffset(p, size) >= 0;
    case kItemPolygon: {
      if (size < kPolygonHeader) return false;
      const int n = LoadI16(p + 18);
      return n >= 0 && kPolygonHeader + 4 * n <= size;
    }
    case kItemConnector: return size >= kConnectorSize;
    default: return true;
  }
}

bool ReadItem(toOBSS& stream, TItemRecord& item) {
  if (stream.Error() != 0) return false;
  std::uint8_t header[kItemHeaderSize];
  stream.ReadBytes(header, kItemHeaderSize);
  if (stream.Error() != 0) return false;
  const std::int32_t type = LoadI32(header);
  const std::int32_t version = LoadI32(header + 4);
  const std::int32_t size = LoadI32(header + 8);
  if (size < 0 || size > stream.BodyRemaining()) {
    stream.Fail(kObssOverrun);
    return false;
  }
  const bool oldPin = type == kItemPin && version < kOldPinVersion;
  const bool oldLine = type == kItemLine && version < kOldLineVersion;
  TItemRecord result;
  if (!oldPin && !oldLine) {
    result = TItemRecord(type, size);
    stream.ReadBytes(result.Payload(), size);
  } else {
    // Older pins and lines are read over the start of a zeroed record of
    // today's size; what they lack gets its default.
    const std::int32_t length = oldPin ? kPinSize : kLineSize;
    std::vector<std::uint8_t> stored(std::size_t(size), 0);
    stream.ReadBytes(stored.data(), size);
    result = TItemRecord(type, length);
    if (size > 0) std::memcpy(result.Payload(), stored.data(), std::size_t(std::min(size, length)));
    if (oldPin) {
      StoreF64(result.Payload() + kPinFontSize, 8.0);
    } else {
      StoreCap(result.Payload() + kLineStartCap, TCap{});
      StoreCap(result.Payload() + kLineEndCap, TCap{});
    }
  }
  if (stream.Error() != 0) return false;
  if (!ItemFits(result)) {
    stream.Fail(kObssOverrun);
    return false;
  }
  item = std::move(result);
  return true;
}

void WriteItem(toOBSS& stream, const TItemRecord& item) {
  stream.WriteBytes(item.Bytes().data(), std::int64_t(item.Bytes().size()));
}

void ReadItemList(toOBSS& stream, TItemList& list, bool pinsOnly) {
  std::int32_t count = 0;
  stream.ReadInt32(count);
  if (stream.Error() != 0) return;
  // Every item takes at least its header: a count the body cannot hold is
  // refused before anything is allocated for it.
  if (count < 0 || std::int64_t(count) * kItemHeaderSize > stream.BodyRemaining()) {
    stream.Fail(kObssOverrun);
    return;
  }
  list.clear();
  list.reserve(std::size_t(count));
  for (std::int32_t i = 0; i < count; ++i) {
    TItemRecord item;
    if (!ReadItem(stream, item)) return;
    if (pinsOnly && item.Type() != kItemPin) {
      stream.Fail(kObssOverrun);
      return;
    }
    list.push_back(std::move(item));
  }
}

void WriteItemList(toOBSS& stream, const TItemList& list) {
  stream.WriteInt32(std::int32_t(list.size()));
  for (const auto& item : list) WriteItem(stream, item);
}

std::int64_t ItemListLength(const TItemList& list) {
  std::int64_t length = 4;
  for (const auto& item : list) length += std::int64_t(item.Bytes().size());
  return length;
}

// --- item fields --------------------------------------------------------------

TItemRecord MakePinItem(const TPinData& pin) {
  TItemRecord item(kItemPin, kPinSize);
  std::uint8_t* p = item.Payload();
  StoreShortString(p + kPinName, std::string_view(pin.name).substr(0, kPinNameChars));
  p[kPinShowName] = pin.showName;
  p[kPinElectricType] = pin.electricType;
  p[kPinShape] = pin.shapeAndLength;
  p[kPinDirection] = pin.direction;
  StoreI16(p + kPinX, pin.x);
  StoreI16(p + kPinY, pin.y);
  p[kPinVisibility] = pin.visibility;
  StoreI32(p + kPinNameOffsetX, pin.nameOffsetX);
  StoreI32(p + kPinNameOffsetY, pin.nameOffsetY);
  StoreF64(p + kPinFontSize, pin.fontSize);
  return item;
}

TPinData PinOf(const TItemRecord& item) {
  TPinData pin;
  if (item.Type() != kItemPin || !ItemFits(item)) return pin;
  const std::uint8_t* p = item.Payload();
  pin.name = PinName(item);
  pin.showName = p[kPinShowName];
  pin.electricType = p[kPinElectricType];
  pin.shapeAndLength = p[kPinShape];
  pin.direction = p[kPinDirection];
  pin.x = LoadI16(p + kPinX);
  pin.y = LoadI16(p + kPinY);
  pin.visibility = p[kPinVisibility];
  pin.nameOffsetX = LoadI32(p + kPinNameOffsetX);
  pin.nameOffsetY = LoadI32(p + kPinNameOffsetY);
  pin.fontSize = LoadF64(p + kPinFontSize);
  return pin;
}

TItemRecord MakeLineItem(const TLineData& line) {
  TItemRecord item(kItemLine, kLineSize);
  std::uint8_t* p = item.Payload();
  StoreI16(p, line.x1);
  StoreI16(p + 2, line.y1);
  StoreI16(p + 4, line.x2);
  StoreI16(p + 6, line.y2);
  StoreI32(p + 8, line.colour);
  StoreI16(p + 12, line.width);
  StoreCap(p + kLineStartCap, line.startCap);
  StoreCap(p + kLineEndCap, line.endCap);
  return item;
}

TLineData LineOf(const TItemRecord& item) {
  TLineData line;
  if (item.Type() != kItemLine || !ItemFits(item)) return line;
  const std::uint8_t* p = item.Payload();
  line.x1 = LoadI16(p);
  line.y1 = LoadI16(p + 2);
  line.x2 = LoadI16(p + 4);
  line.y2 = LoadI16(p + 6);
  line.colour = LoadI32(p + 8);
  line.width = LoadI16(p + 12);
  line.startCap = LoadCap(p + kLineStartCap);
  line.endCap = LoadCap(p + kLineEndCap);
  return line;
}

TItemRecord MakeShapeItem(const TShapeItemData& shape) {
  TItemRecord item(kItemShape, kShapeItemSize);
  std::uint8_t* p = item.Payload();
  p[0] = shape.kind;
  StoreRect(p + 1, shape.box);
  StoreI32(p + 9, shape.penColour);
  StoreI32(p + 13, shape.fillColour);
  StoreI16(p + 17, shape.width);
  return item;
}

TShapeItemData ShapeItemOf(const TItemRecord& item) {
  TShapeItemData shape;
  if (item.Type() != kItemShape || !ItemFits(item)) return shape;
  const std::uint8_t* p = item.Payload();
  shape.kind = p[0];
  shape.box = LoadRect(p + 1);
  shape.penColour = LoadI32(p + 9);
  shape.fillColour = LoadI32(p + 13);
  shape.width = LoadI16(p + 17);
  return shape;
}

TItemRecord MakeTextItem(const TTextData& text) {
  const std::string_view body = std::string_view(text.text).substr(0, kMaxTextChars);
  const std::string_view font = std::string_view(text.fontName).substr(0, kMaxTextChars);
  TItemRecord item(kItemText, std::int32_t(body.size() + font.size()) + 4 + kTextFixedFields);
  std::uint8_t* p = item.Payload();
  StoreShortString(p, body);
  p += body.size() + 2;
  StoreShortString(p, font);
  p += font.size() + 2;
  StoreI16(p, text.x);
  StoreI16(p + 2, text.y);
  StoreF64(p + 4, text.sizeFactor);
  p[12] = text.bold;
  p[13] = text.italic;
  StoreI32(p + 14, text.colour);
  return item;
}

TTextData TextOf(const TItemRecord& item) {
  TTextData text;
  if (item.Type() != kItemText || !ItemFits(item)) return text;
  const std::uint8_t* p = item.Payload();
  text.text.assign(reinterpret_cast<const char*>(p + 1), p[0]);
  const std::uint8_t* font = p + p[0] + 2;
  text.fontName.assign(reinterpret_cast<const char*>(font + 1), font[0]);
  const std::uint8_t* f = p + TextFieldsOffset(p, item.Size());
  text.x = LoadI16(f);
  text.y = LoadI16(f + 2);
  text.sizeFactor = LoadF64(f + 4);
  text.bold = f[12];
  text.italic = f[13];
  text.colour = LoadI32(f + 14);
  return text;
}

TItemRecord MakePolygonItem(const TPolygonData& polygon) {
  const std::size_t n = std::min<std::size_t>(polygon.points.size(), 32767);
  TItemRecord item(kItemPolygon, kPolygonHeader + 4 * std::int32_t(n));
  std::uint8_t* p = item.Payload();
  StoreRect(p, polygon.box);
  StoreI32(p + 8, polygon.penColour);
  StoreI32(p + 12, polygon.fillColour);
  StoreI16(p + 16, polygon.width);
  StoreI16(p + 18, std::int16_t(n));
  for (std::size_t i = 0; i < n; ++i) {
    StoreI16(p + kPolygonHeader + 4 * i, polygon.points[i].x);
    StoreI16(p + kPolygonHeader + 4 * i + 2, polygon.points[i].y);
  }
  return item;
}

TPolygonData PolygonOf(const TItemRecord& item) {
  TPolygonData polygon;
  if (item.Type() != kItemPolygon || !ItemFits(item)) return polygon;
  const std::uint8_t* p = item.Payload();
  polygon.box = LoadRect(p);
  polygon.penColour = LoadI32(p + 8);
  polygon.fillColour = LoadI32(p + 12);
  polygon.width = LoadI16(p + 16);
  const int n = LoadI16(p + 18);
  for (int i = 0; i < n; ++i)
    polygon.points.push_back({LoadI16(p + kPolygonHeader + 4 * i),
                              LoadI16(p + kPolygonHeader + 4 * i + 2)});
  return polygon;
}

TConnectorData ConnectorOf(const TItemRecord& item) {
  TConnectorData connector;
  if (item.Type() != kItemConnector || !ItemFits(item)) return connector;
  const std::uint8_t* p = item.Payload();
  connector.kind = p[0];
  connector.x1 = LoadI16(p + 1);
  connector.y1 = LoadI16(p + 3);
  connector.x2 = LoadI16(p + 5);
  connector.y2 = LoadI16(p + 7);
  connector.colour = LoadI32(p + 9);
  connector.startCap = LoadCap(p + 13);
  connector.endCap = LoadCap(p + 20);
  return connector;
}

// --- TDShape ------------------------------------------------------------------

std::int64_t TDShape::BodyLength() const {
  return kShapeFixedBody + ItemListLength(pins) + ItemListLength(graphics);
}

std::int32_t TDShape::Size() const { return ClampSize(BodyLength()); }

void TDShape::ReadBody(toOBSS& stream, std::int16_t /*version*/) {
  std::uint8_t fixed[kShapeFixedBody];
  stream.ReadBytes(fixed, kShapeFixedBody);
  if (stream.Error() != 0) return;
  key = LoadI32(fixed);
  bounds = LoadRect(fixed + 4);
  sensing = LoadRect(fixed + 12);
  spare = LoadRect(fixed + 20);
  origin = {LoadI16(fixed + 28), LoadI16(fixed + 30)};
  corOffset = {LoadI16(fixed + 32), LoadI16(fixed + 34)};
  labelOffset = {LoadI16(fixed + 36), LoadI16(fixed + 38)};
  ReadItemList(stream, pins, true);
  ReadItemList(stream, graphics, false);
}

void TDShape::WriteBody(toOBSS& stream) const {
  std::uint8_t fixed[kShapeFixedBody];
  StoreI32(fixed, key);
  StoreRect(fixed + 4, bounds);
  StoreRect(fixed + 12, sensing);
  StoreRect(fixed + 20, spare);
  const TPointS points[3] = {origin, corOffset, labelOffset};
  for (int i = 0; i < 3; ++i) {
    StoreI16(fixed + 28 + 4 * i, points[i].x);
    StoreI16(fixed + 30 + 4 * i, points[i].y);
  }
  stream.WriteBytes(fixed, kShapeFixedBody);
  WriteItemList(stream, pins);
  WriteItemList(stream, graphics);
}

TPinData TDShape::GetPin(int index) const {
  if (index < 0 || std::size_t(index) >= pins.size()) {
    TPinData none;  // a zeroed pin far off the drawing
    none.showName = none.electricType = none.shapeAndLength = 0;
    none.fontSize = 0.0;
    none.x = -32767;
    return none;
  }
  return PinOf(pins[std::size_t(index)]);
}

int TDShape::PinIndexByName(std::string_view name) const {
  const std::string wanted = WithoutTildes(name);
  for (std::size_t i = 0; i < pins.size(); ++i)
    if (WithoutTildes(PinName(pins[i])) == wanted) return int(i);
  return -1;
}

int TDShape::AppendPin(std::string_view name, std::int16_t x, std::int16_t y,
                       std::uint8_t direction) {
  TPinData pin;
  pin.name = std::string(name.substr(0, kPinNameChars));
  pin.direction = direction;
  pin.x = x;
  pin.y = y;
  pins.push_back(MakePinItem(pin));
  return int(pins.size()) - 1;
}

void TDShape::SyncFrom(const TDShape* source, const TSyncOptions& options) {
  if (source == nullptr || source == this || source->IsEmpty()) return;
  if (options.originAndCor) {
    corOffset = source->corOffset;
    labelOffset = source->labelOffset;
  }
  if (!options.pins) return;
  if (options.byIndex) {
    if (pins.size() != source->pins.size()) return;
    for (std::size_t i = 0; i < pins.size(); ++i) CopyPin(pins[i], source->pins[i], options.positions);
    return;
  }
  // By name: drop the pins the source lacks, update the others ...
  TItemList kept;
  for (auto& pin : pins) {
    const int from = source->PinIndexByName(PinName(pin));
    if (from < 0) continue;
    CopyPin(pin, source->pins[std::size_t(from)], options.positions);
    kept.push_back(std::move(pin));
  }
  pins = std::move(kept);
  // ... then put them in the source's order, adding those missing. Pins
  // already placed are not searched again, so a name the source has twice
  // gets a second pin instead of moving the first one.
  for (std::size_t i = 0; i < source->pins.size(); ++i) {
    const std::string wanted = WithoutTildes(PinName(source->pins[i]));
    std::size_t at = i;
    while (at < pins.size() && WithoutTildes(PinName(pins[at])) != wanted) ++at;
    if (at == pins.size()) pins.push_back(source->pins[i]);
    if (at != i) std::swap(pins[at], pins[i]);
  }
}

// --- TDevice ------------------------------------------------------------------

std::int64_t TDevice::BodyLength() const {
  std::int64_t length = kDeviceFixedBody + StreamStringSize(name) + StreamStringSize(refDes) +
                        4 * std::int64_t(values.size());
  for (const auto& shape : shapes)
    if (!shape->IsEmpty()) length += shape->Size();
  return length;
}

std::int32_t TDevice::Size() const { return ClampSize(BodyLength()); }

void TDevice::ReadBody(toOBSS& stream, std::int16_t version) {
  std::int32_t word = 0;
  stream.ReadInt32(word);
  flags = std::uint32_t(word);
  stream.ReadByte(animatedOnly);
  stream.GetString(name);
  stream.GetString(refDes);
  stream.ReadInt16(reserved);
  std::int32_t count = 0;
  stream.ReadInt32(count);
  if (stream.Error() != 0) return;
  if (count < 0 || 4 * std::int64_t(count) > stream.BodyRemaining()) {
    stream.Fail(kObssOverrun);
    return;
  }
  values.assign(std::size_t(count), 0);
  for (auto& value : values) stream.ReadInt32(value);
  std::int32_t drawings = 0;
  stream.ReadInt32(drawings);
  if (stream.Error() != 0) return;
  if (drawings < 0 || std::int64_t(drawings) * (kShapeFixedBody + 8) > stream.BodyRemaining()) {
    stream.Fail(kObssOverrun);
    return;
  }
  shapes.clear();
  for (std::int32_t i = 0; i < drawings && stream.Error() == 0; ++i) {
    auto shape = std::make_unique<TDShape>();
    shape->ReadBody(stream, version);
    shapes.push_back(std::move(shape));
  }
}

void TDevice::WriteBody(toOBSS& stream) const {
  stream.WriteInt32(std::int32_t(flags));
  stream.WriteByte(animatedOnly);
  stream.WriteString(name);
  stream.WriteString(refDes);
  stream.WriteInt16(reserved);
  stream.WriteInt32(std::int32_t(values.size()));
  for (auto value : values) stream.WriteInt32(value);
  const auto drawn = std::count_if(shapes.begin(), shapes.end(),
                                   [](const auto& shape) { return !shape->IsEmpty(); });
  stream.WriteInt32(std::int32_t(drawn));
  for (const auto& shape : shapes)
    if (!shape->IsEmpty()) shape->WriteBody(stream);
}

void TDevice::ReplaceShape(std::unique_ptr<TDShape> shape) {
  const std::int32_t k = shape->key;
  std::erase_if(shapes, [k](const auto& s) { return s->key == k; });
  shapes.push_back(std::move(shape));
}

int TDevice::FindShape(std::int32_t key) const {
  for (std::size_t i = 0; i < shapes.size(); ++i)
    if (shapes[i]->key == key) return int(i);
  return -1;
}

void TDevice::DropEmptyShapes() {
  std::erase_if(shapes, [](const auto& s) { return s->IsEmpty(); });
}

void TDevice::SyncAll(std::int32_t key, const TSyncOptions& options) {
  const int from = FindShape(key);
  if (from < 0) return;
  const TDShape* source = shapes[std::size_t(from)].get();
  for (auto& shape : shapes) shape->SyncFrom(source, options);
}

void TDevice::AssignTo(TDevice& target) const {
  if (&target == this) return;
  target.FreeShapes();
  target.flags = flags;
  target.animatedOnly = animatedOnly;
  target.name = name;
  target.refDes = refDes;
  target.reserved = reserved;
  for (const auto& shape : shapes) target.shapes.push_back(shape->Clone());
}

std::unique_ptr<TDevice> TDevice::Clone() const {
  auto copy = std::make_unique<TDevice>();
  AssignTo(*copy);
  return copy;
}

int TDevice::PickShape(int standard, int& direction) const {
  int found = FindShape(ShapeKey(standard, direction));
  if (found >= 0) {
    direction = 0;
    return found;
  }
  found = FindShape(ShapeKey(standard, 0));
  if (found >= 0) return found;
  found = FindShape(ShapeKey(1 - standard, direction));
  if (found >= 0) {
    direction = 0;
    return found;
  }
  return FindShape(ShapeKey(1 - standard, 0));
}

bool TDevice::CheckPins() const {
  if (shapes.empty()) return true;
  const TItemList& reference = shapes.front()->pins;
  for (std::size_t s = 1; s < shapes.size(); ++s) {
    const TItemList& pins = shapes[s]->pins;
    if (pins.size() != reference.size()) return false;
    for (std::size_t i = 0; i < pins.size(); ++i)
      if (PinName(pins[i]) != PinName(reference[i])) return false;
  }
  return true;
}

TTextExtent TTextMetrics::Measure(std::string_view text, double factor) const {
  platform::Font font;
  font.height = int(std::lround(14 * factor));
  font.weight = 300;
  const platform::TextSize size = Extent(font, text);
  return {size.width, size.height};
}

namespace {

// Pin positions along one side of a block: `span` long, n pins, each on the
// 8-unit grid when the side starts on it.
std::vector<int> SidePositions(int span, std::size_t n) {
  std::vector<int> at;
  if (n == 0) return at;
  const int count = int(n);
  const int step = span / (count + 1) / 8 * 8;
  // Centre the row, rounded down to the grid: an odd multiple of 8 between
  // the outer pins would otherwise put every pin half a grid step off.
  const int first = (span - (count - 1) * step) / 2 / 8 * 8;
  for (int i = 0; i < count; ++i) at.push_back(first + i * step);
  return at;
}

}  // namespace

std::unique_ptr<TDevice> TDevice::CreateBlock(std::string_view name,
                                              const std::vector<std::string>& right,
                                              const std::vector<std::string>& top,
                                              const std::vector<std::string>& left,
                                              const std::vector<std::string>& bottom,
                                              const TTextMetrics& metrics) {
  auto device = std::make_unique<TDevice>();
  if (right.empty() && top.empty() && left.empty() && bottom.empty()) return device;

  int w = 0;
  for (const auto* side : {&right, &left})
    for (const auto& pin : *side)
      w = std::max(w, metrics.Measure(std::string_view(pin).substr(0, kPinNameChars), 0.9).width);
  const TTextExtent nameExtent = metrics.Measure(name, 1.2);
  const int nw = nameExtent.width, nh = nameExtent.height;

  // Widths in int64: a host may ask for any number of pins.
  const auto sideLength = [](std::size_t n) { return 16 * (std::int64_t(n) + 1); };
  const std::int64_t W = std::max({std::int64_t(16), sideLength(top.size()),
                                   sideLength(bottom.size()),
                                   std::int64_t(nw) / 16 * 16 + 2 * std::int64_t(w) / 16 * 16 + 48});
  const std::int64_t H = std::max({std::int64_t(16), sideLength(right.size()),
                                   sideLength(left.size()), std::int64_t(nh) / 16 * 16 + 48});
  // Everything must fit the drawing's 16-bit coordinates: the origin lies
  // up to 16 beyond the half width, the label 15 above the top.
  constexpr std::int64_t kMaxHalf = 32767 - 16;
  if (W / 2 > kMaxHalf || H / 2 > kMaxHalf || nw / 2 > kMaxHalf || nh / 2 > kMaxHalf)
    return device;

  const int hw = int(W / 2), hh = int(H / 2);
  auto shape = std::make_unique<TDShape>();
  shape->key = 0;
  shape->origin = {std::int16_t(hw + 8 + (left.empty() ? 0 : 8)),
                   std::int16_t(hh + 8 + (top.empty() ? 0 : 8))};
  shape->corOffset = {0, 0};
  const TRectL sensing{-hw, -hh, hw, hh};
  const TRectL bounds{sensing.left - (left.empty() ? 0 : 8), sensing.top - (top.empty() ? 0 : 8),
                      sensing.right + (right.empty() ? 0 : 8),
                      sensing.bottom + (bottom.empty() ? 0 : 8)};
  shape->sensing = ToPacked(sensing);
  shape->bounds = ToPacked(bounds);
  shape->labelOffset = {std::int16_t(sensing.left + 4), std::int16_t(sensing.top - 15)};

  shape->graphics.push_back(MakeShapeItem({0, shape->sensing, 0x800000, 0xFFFF, 2}));
  TTextData label;
  label.text = std::string(name);
  label.fontName = "Arial";
  label.x = std::int16_t(-(nw / 2));
  label.y = std::int16_t(-(nh / 2));
  label.sizeFactor = 1.2;
  label.colour = 0x800000;
  shape->graphics.push_back(MakeTextItem(label));

  const int spanH = int(H), spanW = int(W);
  const auto rightAt = SidePositions(spanH, right.size());
  for (std::size_t i = 0; i < right.size(); ++i)
    shape->AppendPin(right[i], std::int16_t(bounds.right), std::int16_t(sensing.top + rightAt[i]), 2);
  const auto topAt = SidePositions(spanW, top.size());
  for (std::size_t i = 0; i < top.size(); ++i)
    shape->AppendPin(top[i], std::int16_t(sensing.left + topAt[i]), std::int16_t(bounds.top), 1);
  const auto leftAt = SidePositions(spanH, left.size());
  for (std::size_t i = 0; i < left.size(); ++i)
    shape->AppendPin(left[i], std::int16_t(bounds.left), std::int16_t(sensing.top + leftAt[i]), 0);
  const auto bottomAt = SidePositions(spanW, bottom.size());
  for (std::size_t i = 0; i < bottom.size(); ++i)
    shape->AppendPin(bottom[i], std::int16_t(sensing.left + bottomAt[i]), std::int16_t(bounds.bottom), 3);

  device->ReplaceShape(std::move(shape));
  device->name = std::string(name);
  return device;
}

// --- the device database file -------------------------------------------------

TObssFileVer DatabaseVersion() {
  TObssFileVer version;
  version.text[0] = "ORVO Device Database";
  version.text[1] = "V1.0";
  version.text[2] = "30/04/97";
  version.text[3] = "";
  version.text[4] = "ORVO Device Editor V1.0";
  version.text[5] = "Written by the ORVO Device Editor";
  version.number = 0;
  return version;
}

TLoadResult ReadDatabase(TStream& stream, TDeviceList& list) {
  try {
    toOBSS obss(stream, obssRead);
    if (obss.Error() != 0) return TLoadResult::NotDatabase;
    TObssFileVer version;
    obss.ReadVersion(version);
    const TObssFileVer expected = DatabaseVersion();
    if (version.text[0] != expected.text[0] || version.text[1] != expected.text[1])
      return TLoadResult::NotDatabase;
    TDeviceList devices;
    obss.RewindFirst();
    while (obss.FindRecord(kDeviceType)) {
      auto device = std::make_unique<TDevice>(obss);
      if (obss.Error() != 0) break;
      devices.push_back(std::move(device));
    }
    // A database ends with the end record; without it the file was cut
    // short between two records.
    obss.RewindFirst();
    if (!obss.FindRecord(trOBSS_End) || obss.Error() != 0) return TLoadResult::Damaged;
    list = std::move(devices);
    return TLoadResult::Loaded;
  } catch (const StreamReadError&) {
    return TLoadResult::Damaged;
  }
}

TLoadResult LoadDatabase(const std::string& path, TDeviceList& list) {
  try {
    platform::RegularFileReader file(path);
    // The magic decides whether the file is a database at all: it is looked
    // at before the rest is read.
    std::string bytes(std::size_t(kObssFirstRecord), '\0');
    if (file.read(bytes.data(), bytes.size()) < bytes.size() ||
        std::memcmp(bytes.data(), kObssMagic, sizeof kObssMagic) != 0)
      return TLoadResult::NotDatabase;
    bytes += file.readRest(kMaxDatabaseBytes - bytes.size());
    TMemoryStream stream(std::move(bytes));
    return ReadDatabase(stream, list);
  } catch (const platform::FileError&) {
    return TLoadResult::Unreadable;
  }
}

std::int32_t WriteDatabase(TStream& stream, const TDeviceList& list) {
  toOBSS obss(stream, obssWrite);
  obss.WriteVersion(DatabaseVersion());
  for (const auto& device : list) device->Store(obss);
  obss.Destroy();
  return obss.Error();
}

void SaveDatabase(const std::string& path, const TDeviceList& list) {
  TMemoryStream stream;
  if (const std::int32_t error = WriteDatabase(stream, list); error != 0)
    throw platform::FileError(path, "Device database not written (stream error " +
                                        std::to_string(error) + ")");
  platform::BinaryFileWriter file(path);
  file.write(stream.Bytes());
  file.commit();
}

}  // namespace wendro
