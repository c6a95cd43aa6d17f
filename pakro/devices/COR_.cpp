#include "pakro/devices/COR_.h"

#include "pakro/devices/record_io.h"

namespace pakro {

namespace {

template <class Io, class R>
void CoreLines(Io& io, R& r) {
  io.Text(r.Name);
  io.Text(r.Usage);
  io.Text(r.BHRef);
  io.Curve(r.BH);
  io.Value(r.DsAreaText, r.DsArea);
  io.Value(r.DsLengthText, r.DsLength);
  io.Value(r.DsGapText, r.DsGap);
  io.Value(r.DsPackText, r.DsPack);
  for (auto* value : {&r.Area, &r.Length, &r.Gap, &r.Pack, &r.A, &r.C, &r.K, &r.MS})
    io.Number(*value);
  io.Computed(r.Computed);
}

const ListDescription<TCatCOR> kCore{
    kMagneticCore, "magnetic core", "Core Library file", 2, "CORE.DEF", {kMagneticCore, kMagneticCore},
    ReadCatCOR, ReadCatCOR, WriteCatCOR};

}  // namespace

TCatCOR::TCatCOR() : BH("H [A/m]", "B [T]", "Lin", "Lin") { Reset(); }

void TCatCOR::Reset() {
  Name = "";
  Usage = "";
  BHRef = "";
  for (auto* text : {&DsAreaText, &DsLengthText, &DsGapText, &DsPackText}) *text = "";
  BH.Clear();
  DsArea = DsLength = DsGap = DsPack = 0;
  Computed = false;
}

void ReadCatCOR(TCatCOR& record, LibraryFile& file) {
  RecordReader reader(file);
  CoreLines(reader, record);
  record.BH.ShowFitted = record.Computed;
  if (record.Computed)
    record.BH.SetModel(ParamVector{record.A, record.C, record.K, record.MS}, KindFluxDensity);
}

void WriteCatCOR(const TCatCOR& record, platform::TextFileWriter& out) {
  RecordWriter writer(out);
  CoreLines(writer, record);
  writer.Flush();
}

TCatListCOR::TCatListCOR() : CatalogList(kCore) {}

}  // namespace pakro
