#pragma once

namespace pakro {

// The twins of a device family (NPN and PNP, N- and P-channel) are one
// implementation; the polarity gives the titles and signs that differ.
enum class Polarity { N, P };

}  // namespace pakro
