// How a client's limit records combine into one open-position limit or one
// planned net position.
#pragma once

// The host's limit types that count.
enum LimitType : int { kLimitType0 = 0, kLimitType1 = 1 };

// The field's value after a limit of the given type with the value v and the
// coefficient k (the record's percentage divided by 100) is merged into it.
// A field at 0 takes v; a negative field keeps its value; a positive field
// combines with v by the limit's type and coefficient.
double MergeLimitValue(double field, double v, double k, int limitType);
