#include "datasheet_forms.h"

#include "DIO_form.h"
#include "TRN_form.h"
#include "frame_state.h"

namespace pakro {

DeviceForms datasheetForms() {
  DeviceForms forms;
  forms[kDiode] = [] { return new TBlankDIO; };
  forms[kNpnTransistor] = [] { return new TBlankTRN; };
  forms[kPnpTransistor] = [] { return new TBlankTRP; };
  return forms;
}

}  // namespace pakro
