#pragma once
// The junction FET, N-channel (device kind 4) and P-channel (kind 5): the
// record, the list and the library record. Both twins are one
// implementation, parameterised by polarity.
#include <string>

#include "pakro/devices/catalog_list.h"
#include "pakro/shell/graph.h"
#include "platform/text_file.h"
#include "pakro/devices/polarity.h"
#include "pakro/shell/short_string.h"

namespace pakro {

class LibraryFile;

class TCatJFET {
 public:
  // Empties the texts, clears the curves, zeroes Gos and GosID and makes the
  // record not computed; CrsVs, the curve parameters and the model values
  // stay.
  void Reset();
  Polarity polarity() const { return polarity_; }
  // The abscissa of CurveVXSCRSS is the drain-source voltage only for
  // "vsVDS"; every other text means the gate-source voltage.
  bool CrsVsDrainSource() const { return CrsVs == "vsVDS"; }

  ShortString<24> Name;
  ShortString<32> Usage;
  TGraph CurveVGSID;    // drain current against gate-source voltage
  TGraph CurveVXSCRSS;  // feedback capacitance; curve parameter: the other voltage
  TGraph CurveVGSCISS;  // input capacitance; curve parameter: VDS
  std::string CrsVs;    // "vsVGS" or "vsVDS"
  ShortString<24> RefVGSID, RefVXSCRSS, RefVGSCISS;
  double Gos = 0;    // output conductance, µA/V
  double GosID = 0;  // drain current of the Gos measurement, mA
  ShortString<12> GosText, GosIDText;
  // Model values in model order.
  double VTO = 0, BETA = 0, LAMBDA = 0, RD = 0, RS = 0, CGD = 0, CGS = 0, MJ = 0, VJ = 0, IS = 0,
         Value11 = 0, Value12 = 0, Value13 = 0, Value14 = 0, Value15 = 0;
  bool Computed = false;

 protected:
  explicit TCatJFET(Polarity polarity);

 private:
  Polarity polarity_;
};

class TCatJFN : public TCatJFET {
 public:
  TCatJFN() : TCatJFET(Polarity::N) {}
};

class TCatJFP : public TCatJFET {
 public:
  TCatJFP() : TCatJFET(Polarity::P) {}
};

// One library record; a record read as computed arms its fitted curves.
void ReadCatJFET(TCatJFET& record, LibraryFile& file);
void WriteCatJFET(const TCatJFET& record, platform::TextFileWriter& out);

inline void ReadCatJFN(TCatJFN& r, LibraryFile& f) { ReadCatJFET(r, f); }
inline void WriteCatJFN(const TCatJFN& r, platform::TextFileWriter& out) { WriteCatJFET(r, out); }
inline void ReadCatJFP(TCatJFP& r, LibraryFile& f) { ReadCatJFET(r, f); }
inline void WriteCatJFP(const TCatJFP& r, platform::TextFileWriter& out) { WriteCatJFET(r, out); }

// JFET libraries are written as version 1 and loaded by the version-2 rule
// (the file's first record replaces the defaults record).
class TCatListJFN : public CatalogList<TCatJFN> {
 public:
  TCatListJFN();
};

class TCatListJFP : public CatalogList<TCatJFP> {
 public:
  TCatListJFP();
};

}  // namespace pakro
