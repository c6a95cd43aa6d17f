#pragma once
// The bipolar transistor, NPN (device kind 2) and PNP (kind 3): the record,
// the list and the library records. Both twins are one implementation,
// parameterised by polarity.
#include <array>

#include "pakro/devices/catalog_list.h"
#include "pakro/shell/graph.h"
#include "platform/text_file.h"
#include "pakro/devices/polarity.h"
#include "pakro/shell/short_string.h"

namespace pakro {

class LibraryFile;

// Slots of the datasheet values (DataValue, DataText).
namespace BipolarData {
enum : int {
  Hoe = 0,     // output admittance, micromhos
  HoeIC = 1,   // collector current of the Hoe measurement, mA
  HoeVCE = 2,  // collector-emitter voltage of the Hoe measurement, V
  Spare3 = 3,
  Spare4 = 4,
  FT = 5,  // unity-gain bandwidth, MHz
  Spare6 = 6,
  ICIB = 7,  // IC/IB of the turn-off time measurement
  TS = 8,    // storage time, ns
  Count = 9
};
}

// Slots of the model parameters (Param). The unnamed slots hold constants
// of the catalog and MPL output.
namespace BipolarParam {
enum : int {
  IS = 0, NF, RE, RB, RC, NR, NC,
  Const7,
  ISE, ISC,
  Const10,
  NE, BF, BR, IKF, IKR, CJC, VJC, MJC, CJE, VJE, MJE,
  Const22, Const23, Const24,
  VAF, VAR, TF, TR, EG, KF, AF,
  Count
};
}

class TCatBipolar {
 public:
  // Empties the texts, clears the curves, zeroes the datasheet values and
  // makes the record not computed; Param and the curve parameters stay.
  void Reset();
  Polarity polarity() const { return polarity_; }

  ShortString<24> Name;
  ShortString<32> Usage;
  TGraph ICVBE;    // VBE against IC
  TGraph ICBETA;   // current gain against IC; curve parameter VCE
  TGraph ICVCE;    // VCE(sat) against IC; curve parameter IC/IB
  TGraph VCBCOBO;  // Cob against VCB
  TGraph VEBCIBO;  // Cib against VEB
  ShortString<24> ICVBERef, ICBETARef, ICVCERef, VCBCOBORef, VEBCIBORef;
  std::array<double, BipolarData::Count> DataValue{};
  std::array<ShortString<12>, BipolarData::Count> DataText;
  std::array<double, BipolarParam::Count> Param{};
  bool Computed = false;

 protected:
  explicit TCatBipolar(Polarity polarity);

 private:
  Polarity polarity_;
};

class TCatTRN : public TCatBipolar {
 public:
  TCatTRN() : TCatBipolar(Polarity::N) {}
};

class TCatTRP : public TCatBipolar {
 public:
  TCatTRP() : TCatBipolar(Polarity::P) {}
};

// Library records: layout version 2 (read and written) and version 1 (read
// only). A record read as computed arms its fitted curves as the
// computation does.
void ReadCatBipolarV1(TCatBipolar& record, LibraryFile& file);
void ReadCatBipolarV2(TCatBipolar& record, LibraryFile& file);
void WriteCatBipolar(const TCatBipolar& record, platform::TextFileWriter& out);

// The fixed inputs of the current-gain fit and of the saturation fit, from
// the record's model values and curve parameters. The computation sets them
// before each fit; a record read as computed sets them to show its curves.
// The saturation inputs add to the gain inputs.
void SetGainFitInputs(TFitInputs& in, const TCatBipolar& record);
void SetSaturationFitInputs(TFitInputs& in, const TCatBipolar& record);

inline void ReadCatTRNv1(TCatTRN& r, LibraryFile& f) { ReadCatBipolarV1(r, f); }
inline void ReadCatTRNv2(TCatTRN& r, LibraryFile& f) { ReadCatBipolarV2(r, f); }
inline void WriteCatTRN(const TCatTRN& r, platform::TextFileWriter& out) { WriteCatBipolar(r, out); }
inline void ReadCatTRPv1(TCatTRP& r, LibraryFile& f) { ReadCatBipolarV1(r, f); }
inline void ReadCatTRPv2(TCatTRP& r, LibraryFile& f) { ReadCatBipolarV2(r, f); }
inline void WriteCatTRP(const TCatTRP& r, platform::TextFileWriter& out) { WriteCatBipolar(r, out); }

class TCatListTRN : public CatalogList<TCatTRN> {
 public:
  TCatListTRN();
};

class TCatListTRP : public CatalogList<TCatTRP> {
 public:
  TCatListTRP();
};

}  // namespace pakro
