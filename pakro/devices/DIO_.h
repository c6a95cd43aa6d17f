#pragma once
// The diode (device kind 1): its record, its list and its library record.
#include "pakro/devices/catalog_list.h"
#include "pakro/shell/graph.h"
#include "platform/text_file.h"
#include "pakro/shell/short_string.h"

namespace pakro {

class LibraryFile;

class TCatDIO {
 public:
  TCatDIO();
  // Empties the texts, clears both curves, zeroes the value slots and makes
  // the record not computed; the model values stay.
  void Reset();

  ShortString<24> Name;
  ShortString<32> Usage;
  TGraph VDID;  // forward characteristic: IF [mA] against VF [V]
  TGraph VRCJ;  // junction capacitance: VR [V] against CD [pF]
  ShortString<24> VDIDRef;
  ShortString<24> VRCJRef;

  // Datasheet values, each with its text as typed.
  double Spare1 = 0, Spare2 = 0, BreakdownVolt = 0, BreakdownCurr = 0, ZenerResist = 0,
         Spare6 = 0, ForwCurr = 0, RevForwRatio = 0, RecoveryTime = 0;
  ShortString<12> Spare1Text, Spare2Text, BreakdownVoltText, BreakdownCurrText, ZenerResistText,
      Spare6Text, ForwCurrText, RevForwRatioText, RecoveryTimeText;

  // Model values in model order.
  long double IS = 0, N = 0, RS = 0, CJ = 0, VJ = 0, MJ = 0, Value7 = 0, Value8 = 0, Value9 = 0,
              BV = 0, IBV = 0, RZ = 0, EG = 0, TT = 0, Value15 = 0;

  bool Computed = false;
};

// One library record. Version-1 and version-2 files hold the same layout.
void ReadCatDIOv1(TCatDIO& record, LibraryFile& file);
void ReadCatDIOv2(TCatDIO& record, LibraryFile& file);
void WriteCatDIO(const TCatDIO& record, platform::TextFileWriter& out);

class TCatListDIO : public CatalogList<TCatDIO> {
 public:
  TCatListDIO();
};

}  // namespace pakro
