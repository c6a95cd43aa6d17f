#include "application.h"
#include "datasheet_forms.h"

int main(int argc, char** argv) { return pakro::runProgram(argc, argv, pakro::datasheetForms()); }
