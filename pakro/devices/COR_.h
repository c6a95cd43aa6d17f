#pragma once
// The magnetic core (device kind 8): its record, its list and its library
// record.
#include "pakro/devices/catalog_list.h"
#include "pakro/shell/graph.h"
#include "platform/text_file.h"
#include "pakro/shell/short_string.h"

namespace pakro {

class LibraryFile;

class TCatCOR {
 public:
  TCatCOR();
  // Empties the texts, clears the curve, zeroes the datasheet values and
  // makes the record not computed; the model values stay.
  void Reset();

  ShortString<24> Name;
  ShortString<32> Usage;
  TGraph BH;  // one branch of the hysteresis loop: B [T] against H [A/m]
  ShortString<24> BHRef;
  // Datasheet values: area cm², path length cm, air gap mm, packing factor.
  double DsArea = 0, DsLength = 0, DsGap = 0, DsPack = 0;
  ShortString<12> DsAreaText, DsLengthText, DsGapText, DsPackText;
  // Model values in model order: geometry in SI units, then the
  // Jiles-Atherton parameters a, c, k and Ms.
  long double Area = 0, Length = 0, Gap = 0, Pack = 0, A = 0, C = 0, K = 0, MS = 0;
  bool Computed = false;
};

// One library record, of both file versions and of the defaults file.
void ReadCatCOR(TCatCOR& record, LibraryFile& file);
void WriteCatCOR(const TCatCOR& record, platform::TextFileWriter& out);

// Core libraries are written as version 2, so that the library's own
// defaults record is read back; version-1 files are loaded by the version-1
// rule (the file's first record is passed over).
class TCatListCOR : public CatalogList<TCatCOR> {
 public:
  TCatListCOR();
};

}  // namespace pakro
