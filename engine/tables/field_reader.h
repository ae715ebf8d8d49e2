#pragma once

#include <cstddef>

// Comma-separated field readers shared by every text parser. A field ends at the first ',' of the
// rest of the line or, failing that, at the first '\r' or '\n'. Without any separator the field is
// absent: the destination keeps its contents and the cursor stays. Fields are neither trimmed nor
// unquoted; a field longer than capacity - 1 bytes is cut and its remainder skipped.
void NextField(char* destination, std::size_t capacity, const char*& cursor);

// NextField into a 512-byte buffer, then a decimal conversion: leading blanks, optional sign,
// digits to the first non-digit; no digits (or an absent field) give 0. Values beyond the int
// range are clamped.
int NextInt(const char*& cursor);
