#pragma once
// The files a library's fitted models leave the program in: the SPICE model
// library (.lib), the component block of the host's catalog source and the
// MPL pair (.mpl with its .en file of usage texts). None is read back.
//
// One writer serves every kind. What tells the kinds apart is a table per
// kind: the library's first line, the model keyword, which SPICE parameter
// stands on which line, and the order and precision of the catalog values.
// Each record gives its model values in model order; the tables index them.
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "pakro/devices/COR_.h"
#include "pakro/devices/DIO_.h"
#include "pakro/devices/JFN_.h"
#include "pakro/devices/MNE_.h"
#include "pakro/devices/TRN_.h"
#include "pakro/devices/catalog_list.h"
#include "platform/text_file.h"

namespace pakro {

// Significant digits of the SPICE libraries and the MPL files.
constexpr int OutputPrecision = 3;

// One SPICE parameter of a .MODEL block: its name, the index of its value in
// the record's model values, and whether it begins a continuation line.
struct SpiceParameter {
  const char* name;
  int value;
  bool newLine;
};

struct OutputTable {
  int kind;
  const char* spiceTitle;  // first line of the SPICE library
  const char* keyword;     // after the name on the .MODEL line: " D(" ...
  bool blankAfterParen;    // a blank before the first parameter
  std::span<const SpiceParameter> spice;
  std::span<const int> catalog;  // model values of the catalog block, in its order
  int catalogPrecision;
  bool mpl;  // the kind writes MPL pairs
};

// The table of a device kind (1 to 8).
const OutputTable& OutputTableOf(int kind);

// A component that would break an output file: its name is empty or holds a
// blank or a control character, or its usage text holds a control character
// (or, for the MPL pair, a double quote). Raised before anything is written;
// the message names the component and is meant for the user.
class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raises OutputError for a name or usage text that the outputs cannot hold;
// `index`, when given, names a component without a name by its number.
void CheckOutputNames(std::string_view name, std::string_view usage, bool forMpl, int index = 0);

// One record as the writers see it.
struct ModelView {
  std::string_view name;
  std::string_view usage;
  std::vector<long double> values;  // model order
};

// The records' model values in model order, and their kinds.
ModelView OutputView(const TCatDIO& r);
ModelView OutputView(const TCatBipolar& r);
ModelView OutputView(const TCatJFET& r);
ModelView OutputView(const TCatMOSFET& r);
ModelView OutputView(const TCatCOR& r);
int OutputKind(const TCatDIO&);
int OutputKind(const TCatBipolar& r);
int OutputKind(const TCatJFET& r);
int OutputKind(const TCatMOSFET& r);
int OutputKind(const TCatCOR&);
// What a catalog or MPL block stores into the record before it is written:
// the bipolar record's five constant slots; nothing for the other kinds.
void PrepareOutput(TCatDIO&);
void PrepareOutput(TCatBipolar& r);
void PrepareOutput(TCatJFET&);
void PrepareOutput(TCatMOSFET&);
void PrepareOutput(TCatCOR&);

// The blocks, written at the current end of the open files.
void WriteSpiceModel(const OutputTable& table, const ModelView& view, platform::TextFileWriter& out);
void WriteCatalogBlock(const OutputTable& table, const ModelView& view, platform::TextFileWriter& out);
// The lines WriteCatalogBlock writes.
std::vector<std::string> CatalogBlockLines(const OutputTable& table, const ModelView& view);
void WriteMplEntry(const OutputTable& table, const ModelView& view, platform::TextFileWriter& mpl,
                   platform::TextFileWriter& en);

// One record's SPICE model block (names are checked first).
template <class Rec>
void WriteSpiceModelOf(const Rec& record, platform::TextFileWriter& out) {
  CheckOutputNames(record.Name.str(), record.Usage.str(), false);
  WriteSpiceModel(OutputTableOf(OutputKind(record)), OutputView(record), out);
}

// One record's catalog block; the catalog manager writes it into the
// catalog source it rebuilds.
template <class Rec>
void WriteCatalogSourceOf(Rec& record, platform::TextFileWriter& out) {
  CheckOutputNames(record.Name.str(), record.Usage.str(), false);
  PrepareOutput(record);
  WriteCatalogBlock(OutputTableOf(OutputKind(record)), OutputView(record), out);
}

// The lines of one record's catalog block (names are checked first).
template <class Rec>
std::vector<std::string> CatalogSourceLinesOf(Rec& record) {
  CheckOutputNames(record.Name.str(), record.Usage.str(), false);
  PrepareOutput(record);
  return CatalogBlockLines(OutputTableOf(OutputKind(record)), OutputView(record));
}

// One record's entry of the MPL pair.
template <class Rec>
void WriteMplOf(Rec& record, platform::TextFileWriter& mpl, platform::TextFileWriter& en) {
  CheckOutputNames(record.Name.str(), record.Usage.str(), true);
  PrepareOutput(record);
  WriteMplEntry(OutputTableOf(OutputKind(record)), OutputView(record), mpl, en);
}

// The record routines by their kinds' names.
inline void WriteSpiceModelDIO(const TCatDIO& r, platform::TextFileWriter& out) { WriteSpiceModelOf(r, out); }
inline void WriteSpiceModelTRN(const TCatTRN& r, platform::TextFileWriter& out) { WriteSpiceModelOf(r, out); }
inline void WriteSpiceModelTRP(const TCatTRP& r, platform::TextFileWriter& out) { WriteSpiceModelOf(r, out); }
inline void WriteSpiceModelJFN(const TCatJFN& r, platform::TextFileWriter& out) { WriteSpiceModelOf(r, out); }
inline void WriteSpiceModelJFP(const TCatJFP& r, platform::TextFileWriter& out) { WriteSpiceModelOf(r, out); }
inline void WriteSpiceModelMNE(const TCatMNE& r, platform::TextFileWriter& out) { WriteSpiceModelOf(r, out); }
inline void WriteSpiceModelMPE(const TCatMPE& r, platform::TextFileWriter& out) { WriteSpiceModelOf(r, out); }
inline void WriteSpiceModelCOR(const TCatCOR& r, platform::TextFileWriter& out) { WriteSpiceModelOf(r, out); }
inline void WriteCatalogSourceDIO(TCatDIO& r, platform::TextFileWriter& out) { WriteCatalogSourceOf(r, out); }
inline void WriteCatalogSourceTRN(TCatTRN& r, platform::TextFileWriter& out) { WriteCatalogSourceOf(r, out); }
inline void WriteCatalogSourceTRP(TCatTRP& r, platform::TextFileWriter& out) { WriteCatalogSourceOf(r, out); }
inline void WriteCatalogSourceJFN(TCatJFN& r, platform::TextFileWriter& out) { WriteCatalogSourceOf(r, out); }
inline void WriteCatalogSourceJFP(TCatJFP& r, platform::TextFileWriter& out) { WriteCatalogSourceOf(r, out); }
inline void WriteCatalogSourceMNE(TCatMNE& r, platform::TextFileWriter& out) { WriteCatalogSourceOf(r, out); }
inline void WriteCatalogSourceMPE(TCatMPE& r, platform::TextFileWriter& out) { WriteCatalogSourceOf(r, out); }
inline void WriteCatalogSourceCOR(TCatCOR& r, platform::TextFileWriter& out) { WriteCatalogSourceOf(r, out); }
inline void WriteMplDIO(TCatDIO& r, platform::TextFileWriter& mpl, platform::TextFileWriter& en) { WriteMplOf(r, mpl, en); }
inline void WriteMplTRN(TCatTRN& r, platform::TextFileWriter& mpl, platform::TextFileWriter& en) { WriteMplOf(r, mpl, en); }
inline void WriteMplTRP(TCatTRP& r, platform::TextFileWriter& mpl, platform::TextFileWriter& en) { WriteMplOf(r, mpl, en); }
inline void WriteMplCOR(TCatCOR& r, platform::TextFileWriter& mpl, platform::TextFileWriter& en) { WriteMplOf(r, mpl, en); }

// The device kind of a list's records.
template <class Rec>
int ListOutputKind() {
  static const int kind = OutputKind(Rec{});
  return kind;
}

// Refuses the list's components 1 to Count-1 that an output cannot hold:
// raises OutputError for the first of them.
template <class Rec>
void CheckListForOutput(const CatalogList<Rec>& list, bool forMpl) {
  for (int i = 1; i < list.Count(); ++i)
    CheckOutputNames(list.Items(i).Name.str(), list.Items(i).Usage.str(), forMpl, i);
}

// Writes the SPICE library of the list's components 1 to Count-1: the kind's
// first line, the generated-by line, one model block per component. The
// file appears only when complete (a failed write raises platform::FileError
// and leaves a previous file as it was). Modified is left as it is: the
// library itself was not written.
template <class Rec>
void WriteSpiceLibrary(const CatalogList<Rec>& list, const std::string& path) {
  CheckListForOutput(list, false);
  platform::TextFileWriter out(path);
  out.writeLine(OutputTableOf(ListOutputKind<Rec>()).spiceTitle);
  out.writeLine("*   Generated by the ORVO Parameter Extractor  ");
  for (int i = 1; i < list.Count(); ++i) WriteSpiceModelOf(list.Items(i), out);
  out.commit();
}

// Puts two finished files in place of their targets, the first one first.
// When the second cannot be put in place, the first target is given back
// what it held before (or removed when it did not exist), so neither is
// replaced; raises platform::FileError. The first target's old file is kept
// by a second name in its folder, never read; where no such name can be
// made, nothing is replaced.
void CommitPair(platform::TextFileWriter& first, platform::TextFileWriter& second);

// Writes the MPL pair of the list's components 1 to Count-1 (diode, bipolar
// and core kinds); existing files are replaced. Both files are written out
// completely before either replaces its target, so a failed write leaves
// both previous files as they were. Modified is not changed.
template <class Rec>
void WriteMplFiles(CatalogList<Rec>& list, const std::string& mplPath, const std::string& enPath) {
  if (!OutputTableOf(ListOutputKind<Rec>()).mpl)
    throw std::logic_error("this device kind writes no MPL files");
  CheckListForOutput(list, true);
  platform::TextFileWriter mpl(mplPath);
  platform::TextFileWriter en(enPath);
  for (int i = 1; i < list.Count(); ++i) WriteMplOf(list.Items(i), mpl, en);
  CommitPair(mpl, en);
}

}  // namespace pakro
