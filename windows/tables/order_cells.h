// What one cell of an order row of the closing-orders table shows: its text
// and its numeric value, by the cell's column identifier.
#pragma once

#include <cstddef>
#include <cstdint>

// `order` is a host order record, `security` and `classRecord` the host's
// descriptions of its security and class (neither null). Writes the cell's
// text (terminated, at most `size` bytes) and returns its value. Times and
// dates give the packed HHMMSS and YYYYMMDD the list expects of such columns.
double OrderCellText(int columnId, const uint8_t* order, const uint8_t* security, const uint8_t* classRecord,
                     char* text, size_t size);
