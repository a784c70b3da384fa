// Numbers as text: at most 15 significant digits, a leading sign position, exponent forms.
#pragma once
#include "runtime/text_stack.h"

// Pushes `value` as a new owned text: " 640", "-7", " .5", " 1E+15", " 1.23456789012346E+15".
// Zero and NaN give " 0"; an infinity gives " 9.99999999999999E+998". A failed allocation
// raises runtime error 7 and pushes the empty text.
void FormatNumber(TextStack& stack, double value);
