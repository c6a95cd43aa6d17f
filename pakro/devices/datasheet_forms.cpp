#include "pakro/devices/datasheet_forms.h"

#include "pakro/devices/COR_form.h"
#include "pakro/devices/DIO_form.h"
#include "pakro/devices/JFN_form.h"
#include "pakro/devices/MNE_form.h"
#include "pakro/devices/TRN_form.h"
#include "pakro/shell/frame_state.h"

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
