#pragma once

// One number of a list file, read from buffered bytes exactly as the C library's "%f" conversion
// reads it in the "C" locale. The list reader does not call fscanf() itself because fscanf()
// follows the process locale's decimal separator, costs a locked call and a strtof() per number,
// and cannot tell where the item that ended a list began.

#include "evaluation/byte_stream.h"

namespace ambersel {

// Reads one number that starts at the next byte of `stream`; white space before it is the
// caller's to skip.
//
// Accepts an optional sign followed by one of:
//   - decimal digits with at most one decimal point, with digits on at least one side of it, then
//     optionally an exponent: "e" or "E", an optional sign and decimal digits;
//   - "0x" or "0X", hexadecimal digits with at most one point, then optionally a binary exponent:
//     "p" or "P", an optional sign and decimal digits; "0x" followed by nothing but a point is
//     zero;
//   - "inf", "infinity" or "nan", in any mix of cases.
// Takes exactly the bytes the C library's scanner takes: the longest run that could still begin
// a number, decided one byte ahead. An exponent mark, or a mark and its sign, with no digit after
// it is taken but not used: "1e+" is 1, and the next byte is the one after the "+".
//
// Stores in `value` the number rounded to the nearest float, ties to even, as strtof() rounds it:
// from all of its digits, however many, in constant memory. A number beyond the float range gives
// infinity or zero with the number's sign; a negative zero and the sign of "nan" are kept. Returns
// false, leaving `value` as it was, when the bytes taken do not form a number ("", "-", ".", "0x",
// "infin", "na"); as in the C library those bytes are gone, and the caller's reading ends there.
//
// A number may run across any number of buffer fills; the end of the input ends it.
bool scanNumber(ByteStream& stream, float& value);

}  // namespace ambersel
