#pragma once
// The record list of one open library, as the frame sees it. Each device
// kind implements it for its own list and records; the frame's commands reach
// a library only through this interface and the datasheet form's
// `ShowData`, `SendData` and `SendAllData`.
#include <stdexcept>
#include <string>
#include <vector>

namespace pakro {

class LibraryFile;

class DeviceLibrary {
 public:
  virtual ~DeviceLibrary() = default;

  // Number of records, the defaults record (index 0) included.
  virtual int Count() const = 0;
  // Index of the record the form shows: 0 the defaults, 1 to Count-1 the components.
  virtual int Current() const = 0;
  virtual void SetCurrent(int index) = 0;
  // The library has changes not yet written.
  virtual bool Modified() const = 0;
  virtual void SetModified(bool modified) = 0;
  // Component name of record `index`.
  virtual std::string Name(int index) const = 0;

  // Appends a new, empty record and makes it current.
  virtual void AddItem() = 0;
  // Removes record `index` from the list.
  virtual void Delete(int index) = 0;
  // Empties record `index`: names, curves, values, computed flag.
  virtual void Reset(int index) = 0;
  // Makes record `to` a copy of record `from`: names, curves, values,
  // parameters and computed flag.
  virtual void CopyItem(int from, int to) = 0;

  // Appends a copy of record `index` of `source`, a library of the same
  // kind, and makes it current: names, curves, values, fitted parameters
  // and computed flag travel unchanged. Raises std::logic_error for a
  // library of another kind.
  virtual void AppendCopyOf(const DeviceLibrary& source, int index) {
    (void)source;
    (void)index;
    throw std::logic_error("This library cannot take copies of components.");
  }

  // Reads the records that follow the three header lines from `file`, whose
  // header the caller has read (the version comes with it), and closes it;
  // makes record 1 current. The list is left as it was when the file is
  // refused (the error is raised to the caller).
  virtual void ReadLibrary(LibraryFile& file) = 0;
  // Writes the whole library (header and every record from item 0); clears Modified.
  virtual void WriteLibrary(const std::string& fileName) = 0;
  // Writes the model library of records 1 to Count-1. Modified stays as it
  // is: the library itself was not written. Raises an error whose message
  // names a component whose name or usage the file cannot hold.
  virtual void WriteSpiceLibrary(const std::string& fileName) = 0;
  // Whether the kind writes MPL file pairs (diode, bipolar, core).
  virtual bool HasMplFiles() const = 0;
  // Writes the MPL pair of records 1 to Count-1; Modified stays as it is.
  virtual void WriteMplFiles(const std::string& mplFileName, const std::string& enFileName) = 0;

  // Checks the datasheet of record `index`; when it is incomplete shows the
  // check dialog and sets CheckFailed to 1, else fits the model parameters,
  // marks the record computed and sets CheckFailed to 0.
  virtual void Compute(int index) = 0;

  // The lines of record `index`'s block in the host's catalog source, as
  // the record holds it now. Raises an error whose message names a
  // component whose name or usage the file cannot hold.
  virtual std::vector<std::string> CatalogBlock(int index) {
    (void)index;
    throw std::logic_error("This library writes no catalog blocks.");
  }
};

}  // namespace pakro
