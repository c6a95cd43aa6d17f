#pragma once
// The model computations of the eight device kinds: from a record's
// datasheet curves and values, fit the model curves stage by stage, derive
// the other model values by closed formulas, store them and mark the record
// computed.
//
// Every computation first checks that the datasheet is complete; when it is
// not, the check dialog is shown, CheckFailed becomes 1 and nothing of the
// record changes. Otherwise it fits on an engine of its own (so nothing that
// runs during a progress mark, such as opening another library, can change
// its inputs), puts a progress mark after each stage, and stores its results
// only when every formula gave a finite value; a formula that cannot (a zero
// divisor, the logarithm of a value not greater than 0) shows a message,
// sets CheckFailed to 1 and leaves the record unchanged. On success the
// record is computed and CheckFailed is 0.
//
// Each Compute returns whether the record was computed.
#include "pakro/devices/COR_.h"
#include "pakro/devices/DIO_.h"
#include "pakro/devices/JFN_.h"
#include "pakro/devices/JFP_.h"
#include "pakro/devices/MNE_.h"
#include "pakro/devices/MPE_.h"
#include "pakro/devices/TRN_.h"
#include "pakro/devices/TRP_.h"

namespace pakro {

// --- completeness checks: true when the record may be fitted; otherwise the
// check dialog is shown. Only the presence of points and value texts counts.
bool CheckDataDIO(const TCatDIO& record);
bool CheckDataTRN(const TCatBipolar& record);
bool CheckDataJFN(const TCatJFET& record);
bool CheckDataMNE(const TCatMOSFET& record);
// A loop whose B values are all below the vacuum permeability in magnitude
// gives no start value for the saturation magnetisation and counts as
// incomplete too.
bool CheckDataCOR(const TCatCOR& record);
inline bool CheckDataTRP(const TCatTRP& record) { return CheckDataTRN(record); }
inline bool CheckDataJFP(const TCatJFP& record) { return CheckDataJFN(record); }
inline bool CheckDataMPE(const TCatMPE& record) { return CheckDataMNE(record); }

// --- computations (progress marks: diode 3, bipolar 7, JFET 5, MOSFET 4,
// core 3)
bool ComputeDIO(TCatDIO& record);
bool ComputeBipolar(TCatBipolar& record);
bool ComputeJFET(TCatJFET& record);
bool ComputeMOSFET(TCatMOSFET& record);
bool ComputeCOR(TCatCOR& record);
inline bool ComputeTRN(TCatTRN& record) { return ComputeBipolar(record); }
inline bool ComputeTRP(TCatTRP& record) { return ComputeBipolar(record); }
inline bool ComputeJFN(TCatJFN& record) { return ComputeJFET(record); }
inline bool ComputeJFP(TCatJFP& record) { return ComputeJFET(record); }
inline bool ComputeMNE(TCatMNE& record) { return ComputeMOSFET(record); }
inline bool ComputeMPE(TCatMPE& record) { return ComputeMOSFET(record); }

// --- closed formulas (raise ComputeFault where they have no finite value)

// Bipolar Early voltages from the output admittance Hoe (micromhos) measured
// at HoeIC (mA) and HoeVCE (V): VAF = IC/hoe - VCE, VAR = VAF / 2.
struct EarlyVoltages {
  long double VAF, VAR;
};
EarlyVoltages BipolarEarlyVoltages(double hoe, double hoeIC, double hoeVCE);

// Bipolar emitter, base and collector resistances (ohm) from the series
// resistance of the base-emitter diode RSP, the collector resistance of the
// saturation curve RSAT and the mean current gain of the gain curve.
struct BipolarResistances {
  long double RE, RB, RC;
};
BipolarResistances BipolarResistancesFrom(long double RSP, long double RSAT, long double betaMean);

// Forward transit time (s) from the unity-gain bandwidth fT (MHz), less the
// delay of the collector capacitance through the collector resistance:
// TF = 1 / (2π fT) - CJC RC.
long double ForwardTransitTime(double fT, long double CJC, long double RC);

// Reverse transit time (s) from the storage time ts (ns) measured at the
// forced gain icib, with the gains BF and BR and the forward transit time.
long double ReverseTransitTime(double ts, double icib, long double BF, long double BR, long double TF);

// Diode transit time (s) from the reverse recovery time (ns) and the ratio of
// reverse to forward current.
long double DiodeTransitTime(double recoveryTime, double revForwRatio);

// JFET channel-length modulation (1/V) from the output conductance Gos
// (µA/V) at the drain current GosID (mA).
long double JfetLambda(double gos, double gosID);

// MOSFET gate overlap capacitances per metre of channel width (F/m) from the
// gate charges Q0, Q1, Q2 (nC), the gate voltage VG and the drain-source
// voltages VDS1, VDS2 of the charge curve, and the channel width W (m).
struct OverlapCapacitances {
  long double CGSO, CGDO;
};
OverlapCapacitances MosfetOverlapCapacitances(double q0, double q1, double q2, double vg, double vds1,
                                              double vds2, long double W);

// MOSFET drain-source leakage resistance (ohm) from VDS (V) and IDSS (nA).
long double MosfetLeakageResistance(double vds, double idss);

}  // namespace pakro
