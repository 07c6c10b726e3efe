// CURSOR: a wrapping position in a sequence of known length. The scrollers keep
// one per scroller to know which character comes next; a text is walked as an
// endless loop, the first item following the last.
#pragma once

#include <cstdint>

inline constexpr const char *CURSORIdentity[] = {"CURSOR  ", "20120327", "VORNHALD", "C       ", "CODE    ", "ZOLT"};

struct CURSOR {
    int32_t pos;       // current index, kept in 0 .. length - 1 by the moving operations
    int32_t step;      // how far CURSORStep moves; may be negative
    int32_t length;    // number of items in data; the cursor moves only while it is positive
    const void *data;  // the sequence; borrowed (for scrollers: the text, whose bytes are the items)
    int32_t saved;     // position stored by CURSORSave
};

// A new cursor over "ZOLT" (length 4, step 1, position 0), or null.
CURSOR *CURSORNew();
// Releases the cursor and nulls the handle; a null handle is accepted, a null address is an error.
void CURSORFree(CURSOR **handle);
// Stores data, length and step and sets pos to 0; saved is kept.
void CURSORSet(CURSOR *cursor, const void *data, int32_t length, int32_t step);
// pos = (pos + step) wrapped into 0 .. length - 1. A length of 0 or less: error, pos unchanged.
void CURSORStep(CURSOR *cursor);
// pos = position wrapped into 0 .. length - 1. A length of 0 or less: error, pos unchanged.
void CURSORSetPos(CURSOR *cursor, int32_t position);
// saved = pos.
void CURSORSave(CURSOR *cursor);
// pos = saved.
void CURSORRestore(CURSOR *cursor);
// The address of the pos-th group of length 32-bit words in data (data + 4 x pos
// x length bytes); the caller vouches that it lies in the data. Null for a null cursor or data.
const int32_t *CURSORRow(const CURSOR *cursor);
// Prints "CURSOR Error.\n" while the module's switch is on.
void CURSORError();
