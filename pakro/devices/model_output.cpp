#include "pakro/devices/model_output.h"

#include <iterator>

#include "pakro/shell/number_text.h"

namespace pakro {

namespace {

// --- diode: IS N RS CJ VJ MJ Value7 Value8 Value9 BV IBV RZ EG TT Value15 ----
namespace dio {
enum : int { IS, N, RS, CJ, VJ, MJ, Value7, Value8, Value9, BV, IBV, RZ, EG, TT, Value15 };
constexpr SpiceParameter kSpice[] = {
    {"IS", IS, false}, {"N", N, false},   {"BV", BV, false}, {"IBV", IBV, true},
    {"RS", RS, false}, {"CJ", CJ, false}, {"VJ", VJ, false}, {"MJ", MJ, false},
    {"TT", TT, true}};
constexpr int kCatalog[] = {IS, N, BV, RZ, IBV, RS, CJ, VJ, MJ, Value7, TT, EG, Value15, Value8, Value9};
}  // namespace dio

// --- bipolar: the record's Param slots --------------------------------------
namespace bip {
namespace P = BipolarParam;
constexpr SpiceParameter kSpice[] = {
    {"IS", P::IS, false},   {"NF", P::NF, false},   {"NR", P::NR, false},   {"RE", P::RE, false},
    {"RC", P::RC, false},   {"RB", P::RB, true},    {"VAF", P::VAF, false}, {"VAR", P::VAR, false},
    {"ISE", P::ISE, false}, {"ISC", P::ISC, false}, {"NE", P::NE, true},    {"NC", P::NC, false},
    {"BF", P::BF, false},   {"BR", P::BR, false},   {"IKF", P::IKF, false}, {"IKR", P::IKR, true},
    {"CJC", P::CJC, false}, {"CJE", P::CJE, false}, {"VJC", P::VJC, false}, {"VJE", P::VJE, false},
    {"MJC", P::MJC, true},  {"MJE", P::MJE, false}, {"TF", P::TF, false},   {"TR", P::TR, false},
    {"EG", P::EG, false},   {"KF", P::KF, true},    {"AF", P::AF, false}};
constexpr int kCatalog[] = {P::IS,  P::NF,      P::NR,  P::RE,  P::RC,      P::RB,  P::VAF,     P::VAR,
                            P::ISE, P::ISC,     P::Const10, P::NE, P::NC,  P::Const7, P::BF,  P::BR,
                            P::IKF, P::IKR,     P::CJC, P::CJE, P::Const22, P::VJC, P::VJE,  P::Const23,
                            P::MJC, P::MJE,     P::Const24, P::TF, P::TR,  P::EG,     P::KF,  P::AF};
}  // namespace bip

// --- JFET: VTO BETA LAMBDA RD RS CGD CGS MJ VJ IS, values 11 to 15 -----------
namespace jfet {
enum : int { VTO, BETA, LAMBDA, RD, RS, CGD, CGS, MJ, VJ, IS, V11, V12, V13, V14, V15 };
constexpr SpiceParameter kSpice[] = {
    {"IS", IS, false}, {"VTO", VTO, false}, {"BETA", BETA, false}, {"LAMBDA", LAMBDA, true},
    {"RD", RD, false}, {"RS", RS, false},   {"CGD", CGD, false},   {"CGS", CGS, false},
    {"MJ", MJ, true},  {"VJ", VJ, false}};
constexpr int kCatalog[] = {VTO, BETA, LAMBDA, RD, RS, CGD, CGS, MJ, VJ, IS, V11, V12, V13, V14, V15};
}  // namespace jfet

// --- MOSFET: 29 parameters ---------------------------------------------------
namespace mos {
enum : int {
  VTO, KP, PHI, GAMMA, TOX, UO, VMAX, DELTA, THETA, ETA, L, W, RD, RS, RG, RB, RDS, ISAT, N, VJ,
  CJBD, CBS, MJ, TT, CGSO, CGDO, CGBO, Extra1, Extra2
};
constexpr SpiceParameter kSpice[] = {
    {"VTO", VTO, false},   {"KP", KP, false},     {"PHI", PHI, false},     {"GAMMA", GAMMA, false},
    {"TOX", TOX, false},   {"UO", UO, true},      {"VMAX", VMAX, false},   {"DELTA", DELTA, false},
    {"THETA", THETA, false}, {"ETA", ETA, true},  {"L", L, false},         {"W", W, false},
    {"RD", RD, false},     {"RS", RS, false},     {"RG", RG, true},        {"RB", RB, false},
    {"RDS", RDS, false},   {"ISAT", ISAT, false}, {"N", N, false},         {"VJ", VJ, true},
    {"CJBD", CJBD, false}, {"CBS", CBS, false},   {"MJ", MJ, false},       {"TT", TT, false},
    {"CGSO", CGSO, true},  {"CGDO", CGDO, false}, {"CGBO", CGBO, false}};
constexpr int kCatalog[] = {VTO, KP, PHI,  GAMMA, TOX, UO,   VMAX, DELTA, THETA, ETA,
                            L,   W,  RD,   RS,    RG,  RB,   RDS,  ISAT,  N,     VJ,
                            CJBD, CBS, MJ, TT,    CGSO, CGDO, CGBO, Extra1, Extra2};
}  // namespace mos

// --- magnetic core: Area Length Gap Pack A C K MS ----------------------------
namespace cor {
enum : int { Area, Length, Gap, Pack, A, C, K, MS };
constexpr SpiceParameter kSpice[] = {
    {"Area", Area, false}, {"Length", Length, false}, {"Gap", Gap, false}, {"Pack", Pack, false},
    {"A", A, true},        {"C", C, false},           {"K", K, false},     {"MS", MS, false}};
constexpr int kCatalog[] = {Area, Length, Gap, Pack, A, C, K, MS};
}  // namespace cor

const OutputTable kTables[] = {
    {kDiode, "*   Diode SPICE Library file", " D(", false, dio::kSpice, dio::kCatalog, 6, true},
    {kNpnTransistor, "*   NPN Transistor SPICE Library file", " NPN(", false, bip::kSpice, bip::kCatalog, 3, true},
    {kPnpTransistor, "*   PNP Transistor SPICE Library file", " PNP(", false, bip::kSpice, bip::kCatalog, 3, true},
    {kNChannelJfet, "*   N-channel JFET SPICE Library file", " NJF(", false, jfet::kSpice, jfet::kCatalog, 3, false},
    {kPChannelJfet, "*   P-channel JFET SPICE Library file", " PJF(", false, jfet::kSpice, jfet::kCatalog, 3, false},
    {kNChannelMosfet, "*   N-channel MOSFET SPICE Library file", " NMOS(", true, mos::kSpice, mos::kCatalog, 3, false},
    {kPChannelMosfet, "*   P-channel MOSFET SPICE Library file", " PMOS(", true, mos::kSpice, mos::kCatalog, 3, false},
    {kMagneticCore, "*   Core SPICE Library file", " D(", true, cor::kSpice, cor::kCatalog, 6, true},
};

// Continuation lines of a .MODEL block begin with 17 blanks and "+ ".
constexpr const char* kContinuation = "                 + ";

std::string Number(int precision, long double value) {
  return FloatToText(FloatFormat::General, precision, 2, value);
}

bool IsControl(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u < 0x20 || u == 0x7F;
}

// The name or text quoted for a message.
std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) out += IsControl(c) ? '?' : c;
  return out + "\"";
}

std::vector<std::string> ValueLines(const OutputTable& table, const ModelView& view, int precision) {
  std::vector<std::string> lines;
  for (int index : table.catalog) lines.push_back("E " + Number(precision, view.values.at(index)));
  lines.emplace_back(".E");
  return lines;
}

void WriteValueLines(const OutputTable& table, const ModelView& view, int precision,
                     platform::TextFileWriter& out) {
  for (const std::string& line : ValueLines(table, view, precision)) out.writeLine(line);
}

}  // namespace

const OutputTable& OutputTableOf(int kind) {
  for (const OutputTable& table : kTables)
    if (table.kind == kind) return table;
  throw std::out_of_range("no device kind " + std::to_string(kind));
}

void CheckOutputNames(std::string_view name, std::string_view usage, bool forMpl, int index) {
  if (name.empty())
    throw OutputError((index > 0 ? "Component " + std::to_string(index) : std::string("A component")) +
                      " has no name; give it one before writing the output files.");
  for (char c : name)
    if (c == ' ' || IsControl(c))
      throw OutputError("The component name " + Quoted(name) +
                        " holds a blank or a control character, which the output files cannot hold.");
  for (char c : usage) {
    if (IsControl(c) || (forMpl && c == '"'))
      throw OutputError("The usage text of the component " + Quoted(name) + " holds " +
                        (c == '"' ? "a double quote" : "a control character") +
                        ", which the output files cannot hold.");
  }
}

ModelView OutputView(const TCatDIO& r) {
  return {r.Name.str(), r.Usage.str(),
          {r.IS, r.N, r.RS, r.CJ, r.VJ, r.MJ, r.Value7, r.Value8, r.Value9, r.BV, r.IBV, r.RZ, r.EG,
           r.TT, r.Value15}};
}

ModelView OutputView(const TCatBipolar& r) {
  return {r.Name.str(), r.Usage.str(), std::vector<long double>(r.Param.begin(), r.Param.end())};
}

ModelView OutputView(const TCatJFET& r) {
  return {r.Name.str(), r.Usage.str(),
          {r.VTO, r.BETA, r.LAMBDA, r.RD, r.RS, r.CGD, r.CGS, r.MJ, r.VJ, r.IS, r.Value11, r.Value12,
           r.Value13, r.Value14, r.Value15}};
}

ModelView OutputView(const TCatMOSFET& r) {
  return {r.Name.str(), r.Usage.str(),
          {r.VTO, r.KP,  r.PHI,  r.GAMMA, r.TOX,  r.UO,  r.VMAX, r.DELTA, r.THETA, r.ETA,
           r.L,   r.W,   r.RD,   r.RS,    r.RG,   r.RB,  r.RDS,  r.ISAT,  r.N,     r.VJ,
           r.CJBD, r.CBS, r.MJ,  r.TT,    r.CGSO, r.CGDO, r.CGBO, r.Extra1, r.Extra2}};
}

ModelView OutputView(const TCatCOR& r) {
  return {r.Name.str(), r.Usage.str(), {r.Area, r.Length, r.Gap, r.Pack, r.A, r.C, r.K, r.MS}};
}

int OutputKind(const TCatDIO&) { return kDiode; }
int OutputKind(const TCatBipolar& r) { return r.polarity() == Polarity::N ? kNpnTransistor : kPnpTransistor; }
int OutputKind(const TCatJFET& r) { return r.polarity() == Polarity::N ? kNChannelJfet : kPChannelJfet; }
int OutputKind(const TCatMOSFET& r) { return r.polarity() == Polarity::N ? kNChannelMosfet : kPChannelMosfet; }
int OutputKind(const TCatCOR&) { return kMagneticCore; }

void PrepareOutput(TCatDIO&) {}
void PrepareOutput(TCatBipolar& r) {
  namespace P = BipolarParam;
  r.Param[P::Const7] = 1.0;
  r.Param[P::Const10] = 0;
  r.Param[P::Const22] = 0;
  r.Param[P::Const23] = 0.75;
  r.Param[P::Const24] = 0.33;
}
void PrepareOutput(TCatJFET&) {}
void PrepareOutput(TCatMOSFET&) {}
void PrepareOutput(TCatCOR&) {}

void WriteSpiceModel(const OutputTable& table, const ModelView& view, platform::TextFileWriter& out) {
  out.writeLine("*");
  out.writeLine("* " + std::string(view.name) + " : " + std::string(view.usage));
  std::string line = ".MODEL " + std::string(view.name) + table.keyword;
  bool first = true;
  for (const SpiceParameter& p : table.spice) {
    if (p.newLine) {
      out.writeLine(line);
      line = kContinuation;
    } else if (!first || table.blankAfterParen) {
      line += ' ';
    }
    first = false;
    line += p.name;
    line += '=';
    line += Number(OutputPrecision, view.values.at(p.value));
  }
  out.writeLine(line + ")");
}

std::vector<std::string> CatalogBlockLines(const OutputTable& table, const ModelView& view) {
  std::vector<std::string> lines{"$ " + std::string(view.name), "U " + std::string(view.usage)};
  for (std::string& line : ValueLines(table, view, table.catalogPrecision)) lines.push_back(std::move(line));
  return lines;
}

void WriteCatalogBlock(const OutputTable& table, const ModelView& view, platform::TextFileWriter& out) {
  for (const std::string& line : CatalogBlockLines(table, view)) out.writeLine(line);
}

void WriteMplEntry(const OutputTable& table, const ModelView& view, platform::TextFileWriter& mpl,
                   platform::TextFileWriter& en) {
  const std::string name(view.name);
  mpl.writeLine("$ " + name);
  mpl.writeLine("U <U_" + name + ">");
  en.writeLine("U_" + name + " = \"" + std::string(view.usage) + "\"");
  WriteValueLines(table, view, OutputPrecision, mpl);
}

void CommitPair(platform::TextFileWriter& first, platform::TextFileWriter& second) {
  first.finish();
  second.finish();
  // The first target is kept under a second name (nothing of it is read),
  // or, when that cannot be done, nothing is replaced.
  platform::FileBackup backup(first.target());
  first.commit();
  try {
    second.commit();
  } catch (...) {
    backup.restore();
    throw;
  }
}

}  // namespace pakro
