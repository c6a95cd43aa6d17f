// Fuzz target for the object stream and the device database reader: any
// bytes, read as a device database and as clipboard data, must neither
// crash nor hang; what is refused leaves the list untouched, and what is
// read is written whole and reads back to the same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "C_DSData.h"
#include "C_Shapes.h"
#include "Canvas.h"
#include "platform/recording_canvas.h"

using namespace wendro;

namespace {

// Text extents from the text's length alone.
class LengthMetrics : public TTextMetrics {
 public:
  platform::TextSize Extent(const platform::Font& font, std::string_view text) const override {
    return {int(text.size()) * font.height / 2, font.height};
  }
};

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

// Runs what the editor does with a loaded device, on whatever was read.
void Exercise(const TDevice& device) {
  device.CheckPins();
  for (int standard = 0; standard < 2; ++standard) {
    int direction = 3;
    device.PickShape(standard, direction);
  }
  const auto copy = device.Clone();
  for (const auto& shape : copy->shapes) {
    for (std::size_t i = 0; i < shape->pins.size(); ++i)
      shape->PinIndexByName(shape->GetPin(int(i)).name);
    for (const auto& item : shape->graphics) {
      LineOf(item);
      ShapeItemOf(item);
      TextOf(item);
      PolygonOf(item);
      ConnectorOf(item);
    }
  }
  if (!copy->shapes.empty()) copy->SyncAll(copy->shapes.back()->key, {true, true, true, false});

  // Drawn, turned and mirrored, and opened for editing: an untouched
  // drawing stores back the same records (polygons without points aside,
  // which the editor drops).
  const LengthMetrics metrics;
  for (const auto& shape : device.shapes) {
    platform::RecordingCanvas canvas;
    TDrawContext context(&canvas, metrics);
    context.Init({0, 0, 400, 400}, {-200, -200, 200, 200});
    DrawDShape(*shape, context, {0, 0}, 3, 1, true, -1);
    TDShape stored;
    StoreDShape(ExplodeDShape(*shape, metrics), stored);
    TItemList graphics;
    for (const auto& item : shape->graphics)
      if (item.Type() != kItemPolygon || !PolygonOf(item).points.empty()) graphics.push_back(item);
    Require(stored.pins == shape->pins && stored.graphics == graphics,
            "an untouched drawing does not store back the same");
  }
}

void AsDatabase(const std::string& bytes) {
  TDeviceList list;
  list.push_back(std::make_unique<TDevice>());
  list[0]->name = "kept";
  TMemoryStream in(bytes);
  if (ReadDatabase(in, list) != TLoadResult::Loaded) {
    Require(list.size() == 1 && list[0]->name == "kept", "a refused file changed the list");
    return;
  }
  for (const auto& device : list) Exercise(*device);
  TMemoryStream out;
  Require(WriteDatabase(out, list) == 0, "a loaded database cannot be written");
  TDeviceList again;
  TMemoryStream reread(out.Bytes());
  Require(ReadDatabase(reread, again) == TLoadResult::Loaded, "a written database does not load");
  TMemoryStream out2;
  WriteDatabase(out2, again);
  Require(out2.Bytes() == out.Bytes(), "a written database does not read back the same");
}

void AsClipboard(const std::string& bytes) {
  TMemoryStream in(bytes);
  try {
    toOBSS obss(in, obssRead);
    if (obss.Error() != 0) return;
    TDShape shape(obss);
    if (obss.Error() != 0) return;
    TMemoryStream out;
    toOBSS writer(out, obssWrite);
    shape.Store(writer);
    writer.Destroy();
    Require(writer.Error() == 0, "a drawing read cannot be written");
  } catch (const StreamReadError&) {
    // a header cut short: the caller's read error
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  AsDatabase(bytes);
  AsClipboard(bytes);
  return 0;
}
