// A number for a dialog field without its trailing zeros: 2.5, 3, 10, with
// the host's decimal separator.
#pragma once

#include <cstddef>

// Writes at most size - 1 characters and the terminating zero; a null buffer
// or a size of 0 is not written.
void FormatTrimmedDouble(char* buffer, size_t size, double value, char decimalSeparator);
