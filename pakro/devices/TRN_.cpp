#include "pakro/devices/TRN_.h"

#include <algorithm>
#include <cmath>

#include "pakro/devices/record_io.h"

namespace pakro {

namespace {

namespace P = BipolarParam;
namespace D = BipolarData;

// Datasheet values in file order.
constexpr int kValueOrderV2[] = {D::HoeIC, D::HoeVCE, D::Hoe, D::FT, D::ICIB, D::TS,
                                 D::Spare3, D::Spare4, D::Spare6};
constexpr int kValueOrderV1[] = {D::HoeIC, D::HoeVCE, D::Hoe, D::Spare3, D::Spare4, D::FT};
// Model parameters in file order; version 1 stops after TF.
constexpr int kParamOrderV2[] = {P::IS,  P::NF,  P::RE,  P::NR,  P::RB,  P::RC,  P::ISE,
                                 P::ISC, P::NE,  P::NC,  P::BF,  P::BR,  P::IKF, P::IKR,
                                 P::CJC, P::VJC, P::MJC, P::CJE, P::VJE, P::MJE, P::VAF,
                                 P::VAR, P::TF,  P::TR,  P::KF,  P::AF,  P::EG};
constexpr int kParamsBeforeTR = 23;

// The lines both layouts begin with: names, base-emitter and gain curves.
template <class Io, class R>
void BipolarHead(Io& io, R& r) {
  io.Text(r.Name);
  io.Text(r.Usage);
  io.Text(r.ICVBERef);
  io.Curve(r.ICVBE);
  io.Text(r.ICBETARef);
  io.Curve(r.ICBETA);
  io.CurveParam(r.ICBETA);
}

template <class Io, class R>
void BipolarCapacitances(Io& io, R& r) {
  io.Text(r.VCBCOBORef);
  io.Curve(r.VCBCOBO);
  io.Text(r.VEBCIBORef);
  io.Curve(r.VEBCIBO);
}

template <class Io, class R>
void BipolarLinesV2(Io& io, R& r) {
  BipolarHead(io, r);
  io.Text(r.ICVCERef);
  io.Curve(r.ICVCE);
  io.CurveParam(r.ICVCE);
  BipolarCapacitances(io, r);
  for (int slot : kValueOrderV2) io.Value(r.DataText[slot], r.DataValue[slot]);
  for (int slot : kParamOrderV2) io.Number(r.Param[slot]);
  io.Computed(r.Computed);
}

// Version 1 has no saturation curve, three datasheet values fewer and no TR.
void BipolarLinesV1(RecordReader& io, TCatBipolar& r) {
  BipolarHead(io, r);
  BipolarCapacitances(io, r);
  for (int slot : kValueOrderV1) io.Value(r.DataText[slot], r.DataValue[slot]);
  for (int slot : {D::ICIB, D::TS}) {
    io.Zero(r.DataValue[slot]);
    io.Zero(r.DataText[slot]);
  }
  for (int i = 0; i < kParamsBeforeTR; ++i) io.Number(r.Param[kParamOrderV2[i]]);
  io.Zero(r.Param[P::TR]);
  for (int slot : {P::KF, P::AF, P::EG}) io.Number(r.Param[slot]);
  io.Computed(r.Computed);
}

// A record read as computed shows its fitted curves again, with the models
// and inputs the computation gives them. The computation fits the
// base-emitter curve with the diode's series resistance RSP and the
// saturation curve with the collector resistance RSAT; the record keeps RE
// and RC, which it derived from them with the mean gain of the gain curve,
// so both are derived back here.
void Rearm(TCatBipolar& r, bool withSaturation) {
  const bool on = r.Computed;
  r.ICVBE.ShowFitted = on;
  r.ICBETA.ShowFitted = on;
  r.VCBCOBO.ShowFitted = on;
  r.VEBCIBO.ShowFitted = on;
  if (withSaturation) r.ICVCE.ShowFitted = on;
  if (!on) return;

  const auto& p = r.Param;
  const double RE = p[P::RE], RC = p[P::RC];
  double RSP = RE, RSAT = RC;
  if (const int gainPoints = std::clamp(r.ICBETA.Count, 0, TGraph::MaxPoints); gainPoints > 0) {
    double sum = 0;
    for (int i = 0; i < gainPoints; ++i) sum += r.ICBETA.Y[i];
    const double betaMean = sum / gainPoints;
    const double rsp = RE * (40 / (betaMean + 1) + 1);
    const double rsat = RC + (1 / betaMean + 1) * RE;
    if (std::isfinite(rsp)) RSP = rsp;
    if (std::isfinite(rsat)) RSAT = rsat;
  }

  TFitInputs in;
  SetGainFitInputs(in, r);

  r.ICVBE.SetModel(ParamVector{RSP / 1000, p[P::NF] * Vt, p[P::IS] * 1000}, KindBaseEmitter);
  r.ICBETA.SetModel(ParamVector{p[P::BF], p[P::IKF], p[P::NE], p[P::ISE]}, KindCurrentGain, in);
  if (withSaturation) {
    SetSaturationFitInputs(in, r);
    r.ICVCE.SetModel(ParamVector{p[P::ISC], RSAT, p[P::NC]}, KindSaturation, in);
  }
  r.VCBCOBO.SetModel(ParamVector{p[P::CJC] / 1e-12L, p[P::VJC], p[P::MJC]}, KindJunctionCap);
  r.VEBCIBO.SetModel(ParamVector{p[P::CJE] / 1e-12L, p[P::VJE], p[P::MJE]}, KindJunctionCap);
}

const char* XTitle(Polarity pol, const char* n, const char* p) { return pol == Polarity::N ? n : p; }

const ListDescription<TCatTRN> kNPN{
    kNpnTransistor, "NPN transistor", "NPN Transistor Library file", 2, "BIPOL.DEF", {kNpnTransistor, kPnpTransistor},
    ReadCatTRNv1, ReadCatTRNv2, WriteCatTRN};
const ListDescription<TCatTRP> kPNP{
    kPnpTransistor, "PNP transistor", "PNP Transistor Library file", 2, "BIPOL.DEF", {kNpnTransistor, kPnpTransistor},
    ReadCatTRPv1, ReadCatTRPv2, WriteCatTRP};

}  // namespace

TCatBipolar::TCatBipolar(Polarity pol)
    : ICVBE(XTitle(pol, "IC [mA]", "-IC [mA]"), XTitle(pol, "VBE [V]", "-VBE [V]"), "Lin", "Log"),
      ICBETA(XTitle(pol, "IC [mA]", "-IC [mA]"), "BETA", "Lin", "Lin"),
      ICVCE(XTitle(pol, "IC [mA]", "-IC [mA]"), XTitle(pol, "VCE [V]", "-VCE [V]"), "Lin", "Log"),
      VCBCOBO(XTitle(pol, "VCB [V]", "-VCB [V]"), "Cob [pF]", "Lin", "Lin"),
      VEBCIBO(XTitle(pol, "VEB [V]", "-VEB [V]"), "Cib [pF]", "Lin", "Lin"),
      polarity_(pol) {
  Reset();
}

void TCatBipolar::Reset() {
  Name = "";
  Usage = "";
  for (TGraph* curve : {&ICVBE, &ICBETA, &ICVCE, &VCBCOBO, &VEBCIBO}) curve->Clear();
  for (auto* ref : {&ICVBERef, &ICBETARef, &ICVCERef, &VCBCOBORef, &VEBCIBORef}) *ref = "";
  DataValue.fill(0);
  for (auto& text : DataText) text = "";
  Computed = false;
}

void SetGainFitInputs(TFitInputs& in, const TCatBipolar& r) {
  const auto& p = r.Param;
  in.IS = p[P::IS];
  in.VAF = p[P::VAF];
  in.VAR = p[P::VAR];
  in.NF = p[P::NF];
  in.NR = p[P::NR];
  in.BR = p[P::BR];
  in.VCE = r.ICBETA.CurveParam;
}

void SetSaturationFitInputs(TFitInputs& in, const TCatBipolar& r) {
  const auto& p = r.Param;
  in.NE = p[P::NE];
  in.NF = p[P::NF];
  in.IKF = p[P::IKF];
  in.IKR = p[P::IKR];
  in.BF = p[P::BF];
  in.BR = p[P::BR];
  in.ISE = p[P::ISE];
  in.ICIB = r.ICVCE.CurveParam;
}

void ReadCatBipolarV2(TCatBipolar& record, LibraryFile& file) {
  RecordReader reader(file);
  BipolarLinesV2(reader, record);
  Rearm(record, true);
}

void ReadCatBipolarV1(TCatBipolar& record, LibraryFile& file) {
  RecordReader reader(file);
  BipolarLinesV1(reader, record);
  Rearm(record, false);
}

void WriteCatBipolar(const TCatBipolar& record, platform::TextFileWriter& out) {
  RecordWriter writer(out);
  BipolarLinesV2(writer, record);
  writer.Flush();
}

TCatListTRN::TCatListTRN() : CatalogList(kNPN) {}
TCatListTRP::TCatListTRP() : CatalogList(kPNP) {}

}  // namespace pakro
