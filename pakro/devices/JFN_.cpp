#include "pakro/devices/JFN_.h"

#include "pakro/devices/record_io.h"

namespace pakro {

namespace {

template <class Io, class R>
void JfetLines(Io& io, R& r) {
  io.Text(r.Name);
  io.Text(r.Usage);
  io.Text(r.RefVGSID);
  io.Curve(r.CurveVGSID);
  io.Text(r.RefVXSCRSS);
  io.Text(r.CrsVs);
  io.Curve(r.CurveVXSCRSS);
  io.CurveParam(r.CurveVXSCRSS);
  io.Text(r.RefVGSCISS);
  io.Curve(r.CurveVGSCISS);
  io.CurveParam(r.CurveVGSCISS);
  io.Value(r.GosText, r.Gos);
  io.Value(r.GosIDText, r.GosID);
  for (auto* value : {&r.VTO, &r.BETA, &r.LAMBDA, &r.RD, &r.RS, &r.CGD, &r.CGS, &r.MJ, &r.VJ,
                      &r.IS, &r.Value11, &r.Value12, &r.Value13, &r.Value14, &r.Value15})
    io.Number(*value);
  io.Computed(r.Computed);
}

// A record read as computed shows its fitted curves again, with the models
// and fixed inputs the computation gives them.
void Rearm(TCatJFET& r) {
  r.CurveVGSID.ShowFitted = r.Computed;
  r.CurveVXSCRSS.ShowFitted = r.Computed;
  r.CurveVGSCISS.ShowFitted = r.Computed;
  if (!r.Computed) return;
  TFitInputs in;
  in.Bias32 = r.CurveVXSCRSS.CurveParam;
  in.Bias33 = r.CurveVGSCISS.CurveParam;
  in.CGD33 = r.CGD;
  const long double threshold = r.polarity() == Polarity::N ? r.VTO : -r.VTO;
  r.CurveVGSID.SetModel(ParamVector{threshold, r.BETA * 1000.0L, r.RS / 1000.0L}, KindJfetDrain, in);
  r.CurveVXSCRSS.SetModel(ParamVector{r.CGD * 1e12L, r.VJ, r.MJ}, KindJfetBiasedCap, in);
  r.CurveVGSCISS.SetModel(ParamVector{r.CGS / 1e-12L, r.VJ, r.MJ}, KindJfetTwoJunctions, in);
}

const ListDescription<TCatJFN> kNJFET{
    kNChannelJfet, "N-channel JFET", "N-channel JFET Library file", 1, "JFET.DEF", {kNChannelJfet, kPChannelJfet},
    nullptr, ReadCatJFN, WriteCatJFN};
const ListDescription<TCatJFP> kPJFET{
    kPChannelJfet, "P-channel JFET", "P-channel JFET Library file", 1, "JFET.DEF", {kNChannelJfet, kPChannelJfet},
    nullptr, ReadCatJFP, WriteCatJFP};

const char* XTitle(Polarity pol) { return pol == Polarity::N ? "-VGS [V]" : " VGS [V]"; }

}  // namespace

TCatJFET::TCatJFET(Polarity pol)
    : CurveVGSID(XTitle(pol), "ID [mA]", "Lin", "Lin"),
      CurveVXSCRSS(XTitle(pol), "CRS [pF]", "Lin", "Lin"),
      CurveVGSCISS(XTitle(pol), "CIS [pF]", "Lin", "Lin"),
      polarity_(pol) {
  Reset();
}

void TCatJFET::Reset() {
  Name = "";
  Usage = "";
  for (auto* ref : {&RefVGSID, &RefVXSCRSS, &RefVGSCISS}) *ref = "";
  GosText = "";
  GosIDText = "";
  for (TGraph* curve : {&CurveVGSID, &CurveVXSCRSS, &CurveVGSCISS}) curve->Clear();
  Gos = 0;
  GosID = 0;
  Computed = false;
}

void ReadCatJFET(TCatJFET& record, LibraryFile& file) {
  RecordReader reader(file);
  JfetLines(reader, record);
  Rearm(record);
}

void WriteCatJFET(const TCatJFET& record, platform::TextFileWriter& out) {
  RecordWriter writer(out);
  JfetLines(writer, record);
  writer.Flush();
}

TCatListJFN::TCatListJFN() : CatalogList(kNJFET) {}
TCatListJFP::TCatListJFP() : CatalogList(kPJFET) {}

}  // namespace pakro
