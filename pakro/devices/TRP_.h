#pragma once
// The PNP transistor (device kind 3) is the NPN implementation with the
// other polarity: TCatTRP, TCatListTRP, ReadCatTRPv1, ReadCatTRPv2 and
// WriteCatTRP are declared with their twins.
#include "pakro/devices/TRN_.h"
