#pragma once
// The MOSFET, N-channel (device kind 6) and P-channel (kind 7): the record,
// the list and the library record. Both twins are one implementation,
// parameterised by polarity.
#include "pakro/devices/catalog_list.h"
#include "pakro/shell/graph.h"
#include "platform/text_file.h"
#include "pakro/devices/polarity.h"
#include "pakro/shell/short_string.h"

namespace pakro {

class LibraryFile;

class TCatMOSFET {
 public:
  // Empties the texts, clears the curves, zeroes the datasheet values and
  // makes the record not computed; the model parameters and fit results
  // stay.
  void Reset();
  Polarity polarity() const { return polarity_; }

  ShortString<24> Name;
  ShortString<32> Usage;
  TGraph IdVgs;  // drain current against gate-source voltage
  TGraph Crss;   // feedback capacitance against drain-source voltage
  TGraph Coss;   // output capacitance against drain-source voltage
  ShortString<24> IdVgsTemplate, CrssTemplate, CossTemplate;
  // Datasheet values (charges nC, voltages V, leakage nA) and their texts.
  double Q0 = 0, Q1 = 0, Q2 = 0, VG = 0, VDS1 = 0, VDS2 = 0, VDS = 0, IDSS = 0;
  ShortString<12> TextQ0, TextQ1, TextQ2, TextVG, TextVDS1, TextVDS2, TextVDS, TextIDSS;
  // Model parameters, SI units.
  double VTO = 0, KP = 0, PHI = 0, GAMMA = 0, TOX = 0, UO = 0, VMAX = 0, DELTA = 0, THETA = 0,
         ETA = 0, L = 0, W = 0, RD = 0, RS = 0, RG = 0, RB = 0, RDS = 0, ISAT = 0, N = 0, VJ = 0,
         CJBD = 0, CBS = 0, MJ = 0, TT = 0, CGSO = 0, CGDO = 0, CGBO = 0, Extra1 = 0, Extra2 = 0;
  // Fit results of the two capacitance curves.
  double CrssC0 = 0, CossC0 = 0, CrssVJ = 0, CossVJ = 0, CrssMJ = 0, CossMJ = 0;
  bool Computed = false;

 protected:
  explicit TCatMOSFET(Polarity polarity);

 private:
  Polarity polarity_;
};

class TCatMNE : public TCatMOSFET {
 public:
  TCatMNE() : TCatMOSFET(Polarity::N) {}
};

class TCatMPE : public TCatMOSFET {
 public:
  TCatMPE() : TCatMOSFET(Polarity::P) {}
};

// One library record; a record read as computed arms its fitted curves as
// the computation does. RD is not stored.
void ReadCatMOSFET(TCatMOSFET& record, LibraryFile& file);
void WriteCatMOSFET(const TCatMOSFET& record, platform::TextFileWriter& out);

inline void ReadCatMNE(TCatMNE& r, LibraryFile& f) { ReadCatMOSFET(r, f); }
inline void WriteCatMNE(const TCatMNE& r, platform::TextFileWriter& out) { WriteCatMOSFET(r, out); }
inline void ReadCatMPE(TCatMPE& r, LibraryFile& f) { ReadCatMOSFET(r, f); }
inline void WriteCatMPE(const TCatMPE& r, platform::TextFileWriter& out) { WriteCatMOSFET(r, out); }

// MOSFET libraries are written as version 1 and loaded by the version-2 rule
// (the file's first record replaces the defaults record).
class TCatListMNE : public CatalogList<TCatMNE> {
 public:
  TCatListMNE();
};

class TCatListMPE : public CatalogList<TCatMPE> {
 public:
  TCatListMPE();
};

}  // namespace pakro
