#pragma once
// Device database model: stored item records, drawings (TDShape), devices
// (TDevice) and the device database file.
//
// Stored item record: a header of three int32 {type, version, size} and
// `size` payload bytes, kept in memory exactly as in the file. Offsets below
// are payload offsets. Every integer is little-endian; colours are int32 RGB
// values with red in the lowest byte (0x00BBGGRR); -2 means "no fill" (fill
// colours) or "the line's own colour" (cap colours).
//
//  100 pin (42):     0 name: length byte n (at most 16) + 16 character bytes
//                    17 show name, 18 electric type, 19 shape (low 4 bits)
//                    and length (high 4 bits), 20 direction, 21 int16 x,
//                    23 int16 y, 25 visibility, 26 int32 name offset x,
//                    30 int32 name offset y, 34 double name font size
//  101 line (28):    0 int16 x1, y1, x2, y2; 8 int32 colour; 12 int16 pen
//                    width; 14 start cap, 21 end cap, each {byte kind,
//                    int16 size, int32 colour}
//  102 shape (19):   0 kind (0 rectangle, 1 ellipse, 2 arc); 1 packed
//                    rectangle; 9 int32 pen colour; 13 int32 fill colour;
//                    17 int16 pen width
//  103 text (22 + n + f): length byte n, n characters, NUL; the font name
//                    the same way (length byte f); then int16 x, int16 y,
//                    double size factor, byte bold, byte italic, int32
//                    colour. The length byte counts the characters only.
//  104 polygon (20 + 4k): 0 packed rectangle; 8 int32 pen colour; 12 int32
//                    fill colour; 16 int16 pen width; 18 int16 k; 20 k packed
//                    points relative to the rectangle's left and top
//  105 connector (27): 0 kind; 1 int16 x1, y1, x2, y2; 9 int32 colour;
//                    13 start cap, 20 end cap
//
// Sizes in brackets are the least a record of the current version (259)
// needs; longer records keep their extra bytes. Older pins (version below
// 258) and lines (below 259) are shorter: on reading, their payload is laid
// over the start of a zeroed record of today's size (anything beyond that
// size is dropped) and the fields they lack get their defaults (font size
// 8.0; both caps {0, 100, -2}). Other item types are kept as they are. A
// drawing's pin list holds pins only.
//
// Packed point: int16 x, int16 y (an int32 with x in its low half). Packed
// rectangle: int16 left, top, right, bottom.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Obss_dr2.h"
#include "platform/canvas.h"

namespace wendro {

// --- coordinates --------------------------------------------------------------

struct TPointS {
  std::int16_t x = 0, y = 0;
  bool operator==(const TPointS&) const = default;
};
struct TRectS {
  std::int16_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const TRectS&) const = default;
};
struct TPointL {
  std::int32_t x = 0, y = 0;
  bool operator==(const TPointL&) const = default;
};
struct TRectL {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const TRectL&) const = default;
};

inline TPointL ToFull(TPointS p) { return {p.x, p.y}; }
inline TRectL ToFull(TRectS r) { return {r.left, r.top, r.right, r.bottom}; }
inline TPointS ToPacked(TPointL p) { return {std::int16_t(p.x), std::int16_t(p.y)}; }
inline TRectS ToPacked(TRectL r) {
  return {std::int16_t(r.left), std::int16_t(r.top), std::int16_t(r.right), std::int16_t(r.bottom)};
}
inline bool IsEmpty(TRectS r) { return r.left == r.right && r.top == r.bottom; }

// Shape key: standard (0 EU, 1 US) + 2 × direction (0..3).
inline std::int32_t ShapeKey(int standard, int direction) { return standard + 2 * direction; }

inline constexpr std::int32_t RGB(int r, int g, int b) { return r | (g << 8) | (b << 16); }
inline constexpr std::int32_t kNoColour = -2;

// --- stored item records ------------------------------------------------------

enum : std::int32_t {
  kItemPin = 100,
  kItemLine = 101,
  kItemShape = 102,
  kItemText = 103,
  kItemPolygon = 104,
  kItemConnector = 105,
};
inline constexpr std::int32_t kItemVersion = 259;
inline constexpr int kItemHeaderSize = 12;
inline constexpr int kPinSize = 42;
inline constexpr int kLineSize = 28;
inline constexpr int kShapeItemSize = 19;
inline constexpr int kConnectorSize = 27;
inline constexpr std::size_t kPinNameChars = 16;

class TItemRecord {
 public:
  TItemRecord() : bytes_(kItemHeaderSize, 0) {}
  // A record of the given type and current version with a zeroed payload.
  TItemRecord(std::int32_t type, std::int32_t size);

  std::int32_t Type() const { return LoadI32(bytes_.data()); }
  std::int32_t Version() const { return LoadI32(bytes_.data() + 4); }
  std::int32_t Size() const { return LoadI32(bytes_.data() + 8); }
  void SetVersion(std::int32_t version) { StoreI32(bytes_.data() + 4, version); }

  const std::uint8_t* Payload() const { return bytes_.data() + kItemHeaderSize; }
  std::uint8_t* Payload() { return bytes_.data() + kItemHeaderSize; }
  // The whole record: header and payload.
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  bool operator==(const TItemRecord&) const = default;

 private:
  friend bool ReadItem(toOBSS& stream, TItemRecord& item);
  std::vector<std::uint8_t> bytes_;
};

using TItemList = std::vector<TItemRecord>;

// True when the record is long enough for the fields its type has.
bool ItemFits(const TItemRecord& item);

// Reads one item (header through the stream's counted read, then the
// payload), upgrades old pins and lines and sets version 259. A size that
// does not fit the body, or a record too short for its type, sets 4098.
bool ReadItem(toOBSS& stream, TItemRecord& item);
void WriteItem(toOBSS& stream, const TItemRecord& item);
// An item list: int32 count and the items. A count the body cannot hold
// sets 4098. With pinsOnly, an item other than a pin also sets 4098.
void ReadItemList(toOBSS& stream, TItemList& list, bool pinsOnly);
void WriteItemList(toOBSS& stream, const TItemList& list);
std::int64_t ItemListLength(const TItemList& list);

// Field views of the item types. Decoding a record that does not fit its
// type gives the defaults.
struct TCap {
  std::uint8_t kind = 0;
  std::int16_t size = 100;
  std::int32_t colour = kNoColour;
  bool operator==(const TCap&) const = default;
};

struct TPinData {
  std::string name;
  std::uint8_t showName = 1;
  std::uint8_t electricType = 4;
  std::uint8_t shapeAndLength = 0x20;
  std::uint8_t direction = 0;
  std::int16_t x = 0, y = 0;
  std::uint8_t visibility = 0;
  std::int32_t nameOffsetX = 0, nameOffsetY = 0;
  double fontSize = 8.0;
  bool operator==(const TPinData&) const = default;
};

struct TLineData {
  std::int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  std::int32_t colour = 0;
  std::int16_t width = 1;
  TCap startCap, endCap;
  bool operator==(const TLineData&) const = default;
};

struct TShapeItemData {
  std::uint8_t kind = 0;
  TRectS box;
  std::int32_t penColour = 0;
  std::int32_t fillColour = kNoColour;
  std::int16_t width = 1;
  bool operator==(const TShapeItemData&) const = default;
};

struct TTextData {
  std::string text;
  std::string fontName = "Arial";
  std::int16_t x = 0, y = 0;
  double sizeFactor = 1.0;
  std::uint8_t bold = 0, italic = 0;
  std::int32_t colour = 0;
  bool operator==(const TTextData&) const = default;
};

struct TPolygonData {
  TRectS box;
  std::int32_t penColour = 0;
  std::int32_t fillColour = kNoColour;
  std::int16_t width = 1;
  std::vector<TPointS> points;
  bool operator==(const TPolygonData&) const = default;
};

struct TConnectorData {
  std::uint8_t kind = 0;
  std::int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  std::int32_t colour = 0;
  TCap startCap, endCap;
  bool operator==(const TConnectorData&) const = default;
};

// Builders cut the name to 16 characters (pins) or the texts to 255 (text
// items); a polygon takes at most 32767 points.
TItemRecord MakePinItem(const TPinData& pin);
TItemRecord MakeLineItem(const TLineData& line);
TItemRecord MakeShapeItem(const TShapeItemData& shape);
TItemRecord MakeTextItem(const TTextData& text);
TItemRecord MakePolygonItem(const TPolygonData& polygon);

TPinData PinOf(const TItemRecord& item);
TLineData LineOf(const TItemRecord& item);
TShapeItemData ShapeItemOf(const TItemRecord& item);
TTextData TextOf(const TItemRecord& item);
TPolygonData PolygonOf(const TItemRecord& item);
TConnectorData ConnectorOf(const TItemRecord& item);

// --- drawings -----------------------------------------------------------------

enum : std::int16_t {
  kDShapeType = 768,
  kDShapeVersion = 259,
  kDeviceType = 769,
  kDeviceVersion = 256,
};

// What SyncFrom and SyncAll carry over.
struct TSyncOptions {
  bool originAndCor = false;  // COR offset and default label offset
  bool pins = false;          // pin properties
  bool positions = false;     // with pins: direction, position, name offset and size
  bool byIndex = false;       // pair pins by index instead of by name
};

class TDShape : public TStreamable {
 public:
  TDShape() = default;
  explicit TDShape(toOBSS& stream) { Load(stream); }

  std::int16_t TypeId() const override { return kDShapeType; }
  std::int16_t Version() const override { return kDShapeVersion; }
  std::int32_t Size() const override;
  void ReadBody(toOBSS& stream, std::int16_t version) override;
  void WriteBody(toOBSS& stream) const override;

  std::unique_ptr<TDShape> Clone() const { return std::make_unique<TDShape>(*this); }
  bool IsEmpty() const { return pins.empty() && graphics.empty(); }
  // The pin at index; out of range: a zeroed pin (empty name) with x = -32767.
  TPinData GetPin(int index) const;
  // First pin whose name equals the given one, both without their '~'.
  int PinIndexByName(std::string_view name) const;
  int AppendPin(std::string_view name, std::int16_t x, std::int16_t y, std::uint8_t direction);
  void SyncFrom(const TDShape* source, const TSyncOptions& options);

  std::int32_t key = 0;
  TRectS bounds;
  TRectS sensing;
  TRectS spare;
  TPointS origin{80, 80};
  TPointS corOffset{0, 0};
  TPointS labelOffset{40, 20};
  TItemList pins;
  TItemList graphics;

 private:
  std::int64_t BodyLength() const;
};

// --- devices ------------------------------------------------------------------

// Text extents, measured the same way whatever the screen: Extent gives the
// width of a text and the cell height of a font description, in the font's
// pixels; Measure, used for block symbols, the same for "Arial" with cell
// height round(14 × factor) and weight 300.
struct TTextExtent {
  int width = 0;
  int height = 0;
};
class TTextMetrics {
 public:
  virtual ~TTextMetrics() = default;
  virtual platform::TextSize Extent(const platform::Font& font, std::string_view text) const = 0;
  virtual TTextExtent Measure(std::string_view text, double factor) const;
};

class TDevice : public TStreamable {
 public:
  TDevice() = default;
  explicit TDevice(toOBSS& stream) { Load(stream); }
  TDevice(const TDevice&) = delete;
  TDevice& operator=(const TDevice&) = delete;

  std::int16_t TypeId() const override { return kDeviceType; }
  std::int16_t Version() const override { return kDeviceVersion; }
  std::int32_t Size() const override;
  void ReadBody(toOBSS& stream, std::int16_t version) override;
  void WriteBody(toOBSS& stream) const override;

  // Frees every drawing with the same key and takes the given one.
  void ReplaceShape(std::unique_ptr<TDShape> shape);
  int FindShape(std::int32_t key) const;
  void FreeShapes() { shapes.clear(); }
  void DropEmptyShapes();
  // Brings every drawing in line with the drawing of that key.
  void SyncAll(std::int32_t key, const TSyncOptions& options);
  // Copies everything but the int32 list into target (unless it is this).
  void AssignTo(TDevice& target) const;
  std::unique_ptr<TDevice> Clone() const;
  // The drawing to show for a standard and a direction; direction is set
  // to 0 when the drawing found already has it, else left for the caller to
  // turn by. -1 when there is no drawing of either standard.
  int PickShape(int standard, int& direction) const;
  // Every drawing has the first drawing's pin names in the same order.
  bool CheckPins() const;
  // A block symbol: a rectangle with the name and the pins on its four
  // sides (right, top, left, bottom). Without pins, or when the block would
  // not fit the 16-bit coordinates, the device keeps its defaults and gets
  // no drawing.
  static std::unique_ptr<TDevice> CreateBlock(std::string_view name,
                                              const std::vector<std::string>& right,
                                              const std::vector<std::string>& top,
                                              const std::vector<std::string>& left,
                                              const std::vector<std::string>& bottom,
                                              const TTextMetrics& metrics);

  std::uint32_t flags = 3;           // bit 0 can rotate, bit 1 can mirror
  std::uint8_t animatedOnly = 1;
  std::string name = "New Device";
  std::string refDes = "Label";      // default reference designator
  std::int16_t reserved = 0;         // kept as read
  std::vector<std::int32_t> values;  // kept as read
  std::vector<std::unique_ptr<TDShape>> shapes;

 private:
  std::int64_t BodyLength() const;
};

// --- the device database file -------------------------------------------------

using TDeviceList = std::vector<std::unique_ptr<TDevice>>;

enum class TLoadResult {
  Loaded,       // the list now holds the file's devices
  NotDatabase,  // not an object stream, or not a device database
  Damaged,      // a device database that cannot be read whole
  Unreadable,   // the file cannot be opened or read
};

// The version record a device database carries.
TObssFileVer DatabaseVersion();

// Reads a whole device database. Only a database read whole, up to its end
// record, replaces the list; anything else leaves it as it was.
TLoadResult ReadDatabase(TStream& stream, TDeviceList& list);
// A database file is at most this large; a larger one is Unreadable.
inline constexpr std::size_t kMaxDatabaseBytes = std::size_t(256) << 20;
// Reads a database file: only a regular file is read, and only once its
// first bytes are an object stream's magic (NotDatabase otherwise).
TLoadResult LoadDatabase(const std::string& path, TDeviceList& list);
// Writes the version record, every device and the end record. Returns the
// stream's error code (0 = written whole).
std::int32_t WriteDatabase(TStream& stream, const TDeviceList& list);
// Writes the file all or nothing: the old file stays unless every record was
// written. Throws platform::FileError on failure.
void SaveDatabase(const std::string& path, const TDeviceList& list);

}  // namespace wendro
