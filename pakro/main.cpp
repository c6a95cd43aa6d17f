#include "pakro/shell/program.h"
#include "pakro/devices/datasheet_forms.h"

int main(int argc, char** argv) { return pakro::runProgram(argc, argv, pakro::datasheetForms()); }
