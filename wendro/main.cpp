#include "application.h"

int main(int argc, char** argv) { return wendro::runProgram(argc, argv); }
