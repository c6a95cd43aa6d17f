#include "pakro/devices/DIO_.h"

#include "pakro/devices/record_io.h"

namespace pakro {

namespace {

template <class Io, class R>
void DiodeLines(Io& io, R& r) {
  io.Text(r.Name);
  io.Text(r.Usage);
  io.Text(r.VDIDRef);
  io.Curve(r.VDID);
  io.Text(r.VRCJRef);
  io.Curve(r.VRCJ);
  io.Value(r.Spare1Text, r.Spare1);
  io.Value(r.Spare2Text, r.Spare2);
  io.Value(r.BreakdownVoltText, r.BreakdownVolt);
  io.Value(r.BreakdownCurrText, r.BreakdownCurr);
  io.Value(r.ZenerResistText, r.ZenerResist);
  io.Value(r.Spare6Text, r.Spare6);
  io.Value(r.ForwCurrText, r.ForwCurr);
  io.Value(r.RevForwRatioText, r.RevForwRatio);
  io.Value(r.RecoveryTimeText, r.RecoveryTime);
  // Value7 and Value15 are not stored: every fit sets them.
  io.Number(r.IS);
  io.Number(r.N);
  io.Number(r.RS);
  io.Number(r.CJ);
  io.Number(r.VJ);
  io.Number(r.MJ);
  io.Number(r.Value8);
  io.Number(r.Value9);
  io.Number(r.BV);
  io.Number(r.IBV);
  io.Number(r.RZ);
  io.Number(r.EG);
  io.Number(r.TT);
  io.Computed(r.Computed);
}

// A record read as computed shows its fitted curves again.
void Rearm(TCatDIO& r) {
  r.VDID.ShowFitted = r.Computed;
  r.VRCJ.ShowFitted = r.Computed;
  if (!r.Computed) return;
  r.VDID.SetModel(ParamVector{r.RS / 1000, r.N * Vt, r.IS * 1000}, KindDiodeForward);
  r.VRCJ.SetModel(ParamVector{r.CJ / 1e-12L, r.VJ, r.MJ}, KindJunctionCap);
}

void ReadDiode(TCatDIO& record, LibraryFile& file) {
  RecordReader reader(file);
  DiodeLines(reader, record);
  Rearm(record);
}

const ListDescription<TCatDIO> kDiodes{
    kDiode, "diode", "Diode Library file", 2, "DIODE.DEF", {kDiode, kDiode},
    ReadCatDIOv1, ReadCatDIOv2, WriteCatDIO};

}  // namespace

TCatDIO::TCatDIO() : VDID("IF [mA]", "VF [V]", "Lin", "Lin"), VRCJ("VR [V]", "CD [pF]", "Lin", "Lin") {
  Reset();
}

void TCatDIO::Reset() {
  Name = "";
  Usage = "";
  VDIDRef = "";
  VRCJRef = "";
  VDID.Clear();
  VRCJ.Clear();
  Spare1 = Spare2 = BreakdownVolt = BreakdownCurr = ZenerResist = Spare6 = ForwCurr =
      RevForwRatio = RecoveryTime = 0;
  for (auto* text : {&Spare1Text, &Spare2Text, &BreakdownVoltText, &BreakdownCurrText,
                     &ZenerResistText, &Spare6Text, &ForwCurrText, &RevForwRatioText,
                     &RecoveryTimeText})
    *text = "";
  Computed = false;
}

void ReadCatDIOv1(TCatDIO& record, LibraryFile& file) { ReadDiode(record, file); }
void ReadCatDIOv2(TCatDIO& record, LibraryFile& file) { ReadDiode(record, file); }

void WriteCatDIO(const TCatDIO& record, platform::TextFileWriter& out) {
  RecordWriter writer(out);
  DiodeLines(writer, record);
  writer.Flush();
}

TCatListDIO::TCatListDIO() : CatalogList(kDiodes) {}

}  // namespace pakro
