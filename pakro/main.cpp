#include "application.h"

int main(int argc, char** argv) { return pakro::runProgram(argc, argv); }
