#include "datasheet_forms.h"

#include "COR_form.h"
#include "DIO_form.h"
#include "JFN_form.h"
#include "MNE_form.h"
#include "TRN_form.h"
#include "frame_state.h"

namespace pakro {

DeviceForms datasheetForms() {
  DeviceForms forms;
  forms[kDiode] = [] { return new TBlankDIO; };
  forms[kNpnTransistor] = [] { return new TBlankTRN; };
  forms[kPnpTransistor] = [] { return new TBlankTRP; };
  forms[kNChannelJfet] = [] { return new TBlankJFN; };
  forms[kPChannelJfet] = [] { return new TBlankJFP; };
  forms[kNChannelMosfet] = [] { return new TBlankMNE; };
  forms[kPChannelMosfet] = [] { return new TBlankMPE; };
  forms[kMagneticCore] = [] { return new TBlankCOR; };
  return forms;
}

}  // namespace pakro
