#pragma once

#include <string_view>

namespace DL {

// Numbers in the broker settings text are read the way atoi and atof read
// them, but always with "." as the decimal point: the C runtime's functions
// follow the process locale, which the host may have changed.

// Leading white space, an optional sign, then decimal digits up to the first
// other character; 0 when no digit leads. A value beyond the int range is
// clamped to it.
int TextToInt(std::string_view text);

// Leading white space, an optional sign, then a decimal number (digits, an
// optional "." and fraction, an optional exponent), a hexadecimal number
// ("0x"), "inf"/"infinity" or "nan"; 0.0 when no number leads. Overflow gives
// an infinity and underflow a zero of the same sign.
double TextToDouble(std::string_view text);

}  // namespace DL
