#pragma once
// What the main form does with the device database, the device under edit
// and its drawings, without the window: the database, device and drawing
// commands, the command line and the quick search. The form feeds it the
// user's choices and shows what it holds.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SymbolEditor.h"

namespace wendro {

// The dialogs that come with the later import and dialog work, asked
// through this seam.
class TDeviceDialogs {
 public:
  virtual ~TDeviceDialogs() = default;
  // The name a device is to take so that it clashes with none of others;
  // nothing when the user refuses.
  virtual std::optional<std::string> ResolveNameClash(const std::string& name,
                                                      const std::vector<std::string>& others) = 0;
};

// Until the real dialog comes: a name that clashes with none is taken, a
// clashing one is refused with a message.
class TRefuseNameClash : public TDeviceDialogs {
 public:
  std::optional<std::string> ResolveNameClash(const std::string& name,
                                              const std::vector<std::string>& others) override;
};

// The union of the bounds of the objects that are no markers; with sensing,
// of those that are no pins either, each shrunk by 2. Nothing when none.
std::optional<TRectL> DrawnBounds(const TShapeList& items, bool sensing = false);

inline constexpr const char* kNoName = "NONAME.DDB";
inline constexpr const char* kEditorTitle = "ORVO Schematic Symbol Editor";

class TShapeEditCore {
 public:
  TShapeEditCore(TEditorView& view, const TTextMetrics& metrics, TPropertyEditor& properties,
                 TDeviceDialogs& dialogs);

  TSymbolEditor& Editor() { return editor_; }
  const TSymbolEditor& Editor() const { return editor_; }
  const TDeviceList& Devices() const { return devices_; }
  const TDevice& Device() const { return *device_; }
  int CurrentIndex() const { return current_; }
  int Key() const { return key_; }
  const std::string& FileName() const { return fileName_; }
  bool Modified() const { return editor_.Modified(); }

  // --- database ------------------------------------------------------------
  bool NewDatabase();
  bool Open();
  // Loads a database whole; anything else keeps the old one and says why.
  bool OpenPath(const std::string& path);
  bool SaveFile(bool ask);
  bool ConfirmDiscard();

  // --- devices --------------------------------------------------------------
  // An index outside the list means a new, empty device.
  void SelectDevice(int index);
  bool NewDevice();
  bool EditDevice(int index);
  bool UpdateDevice();
  bool AddDevice();
  void DeleteDevice(int index);
  bool CheckDevice();
  void ApplyDevice(int index);
  // Whether the device under edit differs from its list entry (or, for a
  // new one, has anything drawn).
  bool DeviceChanged();

  // --- drawings --------------------------------------------------------------
  void SelectShape(std::int32_t key);
  // Shape combo entry 0..7: the open drawing is kept under its key first.
  void ChooseShapeEntry(int entry);
  std::vector<std::string> ShapeEntries() const;
  // The open drawing back into the device under edit.
  void StoreOpenShape();
  bool autoSensingWanted = true;
  bool AutoSensing() const { return editor_.autoSensing; }
  void SetAutoSensing(bool on);
  // Puts the sensing marker on the drawn objects when Auto-calculate is on.
  void ApplyAutoSensing();

  // --- the rest ----------------------------------------------------------------
  void CommandLine(const std::vector<std::string>& args);
  // The list entry the quick search text selects; -1 for an empty list.
  int QuickSearch(const std::string& text) const;
  std::string Caption() const;

 private:
  bool KeepOrDropChanges();
  std::string ProbeBytes();
  bool SensingMatches() const;

  TSymbolEditor editor_;
  const TTextMetrics& metrics_;
  TDeviceDialogs& dialogs_;
  TDeviceList devices_;
  std::unique_ptr<TDevice> device_;
  int current_ = -1;
  std::int32_t key_ = -1;
  std::string fileName_ = kNoName;
  std::string baseline_;
};

}  // namespace wendro
