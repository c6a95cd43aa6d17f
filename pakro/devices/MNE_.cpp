#include "pakro/devices/MNE_.h"

#include "pakro/devices/record_io.h"

namespace pakro {

namespace {

template <class Io, class R>
void MosfetLines(Io& io, R& r) {
  io.Text(r.Name);
  io.Text(r.Usage);
  io.Text(r.IdVgsTemplate);
  io.Curve(r.IdVgs);
  io.Text(r.CrssTemplate);
  io.Curve(r.Crss);
  io.Text(r.CossTemplate);
  io.Curve(r.Coss);
  io.Value(r.TextQ0, r.Q0);
  io.Value(r.TextQ1, r.Q1);
  io.Value(r.TextQ2, r.Q2);
  io.Value(r.TextVG, r.VG);
  io.Value(r.TextVDS1, r.VDS1);
  io.Value(r.TextVDS2, r.VDS2);
  io.Value(r.TextVDS, r.VDS);
  io.Value(r.TextIDSS, r.IDSS);
  // RD is not stored: every fit derives it again.
  for (auto* value : {&r.VTO,  &r.KP,     &r.PHI,    &r.GAMMA,  &r.TOX,    &r.UO,     &r.VMAX,
                      &r.DELTA, &r.THETA, &r.ETA,    &r.L,      &r.W,      &r.RS,     &r.RG,
                      &r.RB,   &r.RDS,    &r.ISAT,   &r.N,      &r.VJ,     &r.CJBD,   &r.CBS,
                      &r.MJ,   &r.TT,     &r.CGSO,   &r.CGDO,   &r.CGBO,   &r.Extra1, &r.Extra2,
                      &r.CrssC0, &r.CossC0, &r.CrssVJ, &r.CossVJ, &r.CrssMJ, &r.CossMJ})
    io.Number(*value);
  io.Computed(r.Computed);
}

// A record read as computed shows its fitted curves again, as the
// computation arms them: the drain-current curve with the fitted threshold,
// which is VTO for the N-channel and -VTO for the P-channel (whose VTO
// carries the sign of the P-channel).
void Rearm(TCatMOSFET& r) {
  r.IdVgs.ShowFitted = r.Computed;
  r.Crss.ShowFitted = r.Computed;
  r.Coss.ShowFitted = r.Computed;
  if (!r.Computed) return;
  const long double threshold = r.polarity() == Polarity::N ? r.VTO : -r.VTO;
  r.IdVgs.SetModel(ParamVector{threshold, r.W / (2 * r.L / r.KP), r.RS}, KindMosfetDrain);
  r.Crss.SetModel(ParamVector{r.CrssC0 / 1e-12L, r.CrssVJ, r.CrssMJ}, KindJunctionCap);
  r.Coss.SetModel(ParamVector{r.CossC0 / 1e-12L, r.CossVJ, r.CossMJ}, KindJunctionCap);
}

const ListDescription<TCatMNE> kNMOS{
    kNChannelMosfet, "N-channel MOSFET", "N-channel MOSFET Library file", 1, "MOSFET.DEF", {kNChannelMosfet, kPChannelMosfet},
    nullptr, ReadCatMNE, WriteCatMNE};
const ListDescription<TCatMPE> kPMOS{
    kPChannelMosfet, "P-channel MOSFET", "P-channel MOSFET Library file", 1, "MOSFET.DEF", {kNChannelMosfet, kPChannelMosfet},
    nullptr, ReadCatMPE, WriteCatMPE};

}  // namespace

TCatMOSFET::TCatMOSFET(Polarity pol)
    : IdVgs(pol == Polarity::N ? " VGS [V]" : "-VGS [V]", pol == Polarity::N ? "ID [A]" : "-ID [A]",
            "Lin", "Lin"),
      Crss(pol == Polarity::N ? " VDS [V]" : "-VDS [V]", "CRS [pF]", "Lin", "Lin"),
      Coss(pol == Polarity::N ? " VDS [V]" : "-VDS [V]", "COS [pF]", "Lin", "Lin"),
      polarity_(pol) {
  Reset();
}

void TCatMOSFET::Reset() {
  Name = "";
  Usage = "";
  for (auto* text : {&IdVgsTemplate, &CrssTemplate, &CossTemplate}) *text = "";
  for (auto* text : {&TextQ0, &TextQ1, &TextQ2, &TextVG, &TextVDS1, &TextVDS2, &TextVDS, &TextIDSS})
    *text = "";
  for (TGraph* curve : {&IdVgs, &Crss, &Coss}) curve->Clear();
  Q0 = Q1 = Q2 = VG = VDS1 = VDS2 = VDS = IDSS = 0;
  Computed = false;
}

void ReadCatMOSFET(TCatMOSFET& record, LibraryFile& file) {
  RecordReader reader(file);
  MosfetLines(reader, record);
  Rearm(record);
}

void WriteCatMOSFET(const TCatMOSFET& record, platform::TextFileWriter& out) {
  RecordWriter writer(out);
  MosfetLines(writer, record);
  writer.Flush();
}

TCatListMNE::TCatListMNE() : CatalogList(kNMOS) {}
TCatListMPE::TCatListMPE() : CatalogList(kPMOS) {}

}  // namespace pakro
