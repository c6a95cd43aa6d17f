#pragma once
// The P-channel MOSFET (device kind 7) is the N-channel implementation with
// the other polarity: TCatMPE, TCatListMPE, ReadCatMPE and WriteCatMPE are
// declared with their twins.
#include "pakro/devices/MNE_.h"
