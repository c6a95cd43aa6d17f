#pragma once
// The P-channel JFET (device kind 5) is the N-channel implementation with
// the other polarity: TCatJFP, TCatListJFP, ReadCatJFP and WriteCatJFP are
// declared with their twins.
#include "pakro/devices/JFN_.h"
