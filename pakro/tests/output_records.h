#pragma once
// Components with hand-picked model values, one library per device kind,
// whose output files stand as hand-written fixtures in fixtures/output.
#include "pakro/devices/COR_.h"
#include "pakro/devices/DIO_.h"
#include "pakro/devices/JFN_.h"
#include "pakro/devices/JFP_.h"
#include "pakro/devices/MNE_.h"
#include "pakro/devices/MPE_.h"
#include "pakro/devices/TRN_.h"
#include "pakro/devices/TRP_.h"

namespace pakro::testing {

// Item 0 stays the (empty) defaults record; the components follow.
inline void FillDiodes(TCatListDIO& list) {
  list.AddItem();
  list.AddItem();
  TCatDIO& d = list.Items(1);
  d.Name = "1N4148";
  d.Usage = "Fast switching diode";
  d.IS = 2.52E-9;
  d.N = 1.752;
  d.RS = 0.568;
  d.CJ = 4E-12;
  d.VJ = 0.5;
  d.MJ = 0.333333;
  d.Value7 = 0.5;
  d.Value8 = 0;
  d.Value9 = 1;
  d.BV = 100;
  d.IBV = 0.0001;
  d.RZ = 10;
  d.EG = 1.11;
  d.TT = 5.76923E-9;
  d.Value15 = 3;
  d.Computed = true;
  // A component never computed: every value 0, no usage text.
  list.AddItem();
  list.Items(2).Name = "BAS16";
}

inline void FillBipolar(TCatBipolar& t, const char* name, const char* usage) {
  namespace P = BipolarParam;
  t.Name = name;
  t.Usage = usage;
  auto& p = t.Param;
  p[P::IS] = 1.4E-14;
  p[P::NF] = 1.0123;
  p[P::NR] = 1;
  p[P::RE] = 0.2;
  p[P::RC] = 0.3;
  p[P::RB] = 10;
  p[P::VAF] = 74.03;
  p[P::VAR] = 28.5;
  p[P::ISE] = 2.5E-13;
  p[P::ISC] = 0;
  p[P::NE] = 1.307;
  p[P::NC] = 2;
  p[P::BF] = 255.9;
  p[P::BR] = 6.092;
  p[P::IKF] = 0.2847;
  p[P::IKR] = 0;
  p[P::CJC] = 7.306E-12;
  p[P::CJE] = 2.2E-11;
  p[P::VJC] = 0.75;
  p[P::VJE] = 0.6;
  p[P::MJC] = 0.3416;
  p[P::MJE] = 0.377;
  p[P::TF] = 4.11E-10;
  p[P::TR] = 4.6E-8;
  p[P::EG] = 1.11;
  p[P::KF] = 0;
  p[P::AF] = 1;
  // The constant slots hold something else until a catalog block is written.
  for (int slot : {P::Const7, P::Const10, P::Const22, P::Const23, P::Const24}) p[slot] = 9;
  t.Computed = true;
}

inline void FillNpn(TCatListTRN& list) {
  list.AddItem();
  list.AddItem();
  FillBipolar(list.Items(1), "2N2222A", "NPN switch 40V 600mA");
}

inline void FillPnp(TCatListTRP& list) {
  list.AddItem();
  list.AddItem();
  FillBipolar(list.Items(1), "2N2907A", "PNP switch");
}

inline void FillJfet(TCatJFET& j, const char* name, const char* usage, double vto, double value13) {
  j.Name = name;
  j.Usage = usage;
  j.VTO = vto;
  j.BETA = 1.304E-3;
  j.LAMBDA = 2.3E-3;
  j.RD = 1;
  j.RS = 1;
  j.CGD = 1.6E-12;
  j.CGS = 2.414E-12;
  j.MJ = 0.5;
  j.VJ = 0.6;
  j.IS = 3.3E-14;
  j.Value11 = 1.11;
  j.Value12 = -0.0025;
  j.Value13 = value13;
  j.Value14 = 0;
  j.Value15 = 1;
  j.Computed = true;
}

inline void FillNjfet(TCatListJFN& list) {
  list.AddItem();
  list.AddItem();
  FillJfet(list.Items(1), "2N5457", "N-JFET general purpose", -1.372, -0.5);
}

inline void FillPjfet(TCatListJFP& list) {
  list.AddItem();
  list.AddItem();
  FillJfet(list.Items(1), "2N5460", "P-JFET general purpose", 1.8, 0.5);
}

inline void FillMosfet(TCatMOSFET& m, const char* name, const char* usage, double vto) {
  m.Name = name;
  m.Usage = usage;
  m.VTO = vto;
  m.KP = 20.53;
  m.PHI = 0.6;
  m.GAMMA = 0;
  m.TOX = 1E-7;
  m.UO = 600;
  m.VMAX = 0;
  m.DELTA = 0;
  m.THETA = 0;
  m.ETA = 0;
  m.L = 2E-6;
  m.W = 0.58;
  m.RD = 0.0226;
  m.RS = 0.0124;
  m.RG = 6.1;
  m.RB = 0;
  m.RDS = 4.4E6;
  m.ISAT = 2.5E-11;
  m.N = 1.05;
  m.VJ = 0.8;
  m.CJBD = 1.2345E-9;
  m.CBS = 0;
  m.MJ = 0.5;
  m.TT = 1.8E-7;
  m.CGSO = 1.726E-6;
  m.CGDO = 2.5E-7;
  m.CGBO = 0;
  m.Extra1 = 12345.6;
  m.Extra2 = -7;
  m.Computed = true;
}

inline void FillNmos(TCatListMNE& list) {
  list.AddItem();
  list.AddItem();
  FillMosfet(list.Items(1), "IRF540", "N-MOSFET 100V 28A", 3.56);
}

inline void FillPmos(TCatListMPE& list) {
  list.AddItem();
  list.AddItem();
  FillMosfet(list.Items(1), "IRF9540", "P-MOSFET 100V 19A", -3.6);
}

inline void FillCores(TCatListCOR& list) {
  list.AddItem();
  list.AddItem();
  TCatCOR& c = list.Items(1);
  c.Name = "N87-E25";
  c.Usage = "Ferrite core E25";
  c.Area = 5.25E-5;
  c.Length = 0.0573;
  c.Gap = 0.0005;
  c.Pack = 1;
  c.A = 25.1234;
  c.C = 0.123456789;
  c.K = 31.5;
  c.MS = 382345.6;
  c.Computed = true;
}

}  // namespace pakro::testing
