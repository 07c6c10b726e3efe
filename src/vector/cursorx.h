// CURSORX: a wrapping phase counter made of a position and an offset, giving
// indices into a table of size entries: value = (pos + offset) mod size.
// The raster bars step the offset once per bar and the position once per frame.
//
// Every operation that moves returns the new value; a null cursor, or a size of
// 0 where the modulus is needed, is an error that returns 0 and changes nothing.
#pragma once

#include <cstdint>

inline constexpr const char *CURSORXIdentity[] = {"CURSORX", "20090805", "QXW", "C"};

struct CURSORX {
    int32_t size;        // modulus: 1024 after CURSORXNew
    int32_t value;       // (pos + offset) mod size, in 0 .. size - 1
    int32_t pos;         // position: 0 after creation
    int32_t step;        // added to pos by CURSORXStep: 1 after creation
    int32_t offset;      // not wrapped: 0 after creation
    int32_t offsetStep;  // added to offset by CURSORXStepOffset: 2 after creation
};

// A new cursor: size 1024, step 1, offsetStep 2, the rest 0; null when memory runs out.
CURSORX *CURSORXNew();
// Releases the cursor and nulls the handle; a null address or handle is an error.
void CURSORXFree(CURSORX **handle);
// Placeholder: always null.
char *CURSORXToASCII(const CURSORX *cursor);
// Placeholder: always null.
CURSORX *CURSORXFromASCII(const char *text);
// A new cursor with the same six fields, or null.
CURSORX *CURSORXCopy(const CURSORX *cursor);
// Copies all six fields.
void CURSORXCopyTo(const CURSORX *source, CURSORX *destination);
// CURSORXSetSize, CURSORXSetPos and CURSORXSetOffset with the given values, then
// stores step and offsetStep. A negative size: error, nothing changes.
int32_t CURSORXSet(CURSORX *cursor, int32_t size, int32_t pos, int32_t step, int32_t offset, int32_t offsetStep);
// Stores size and re-applies CURSORXSetPos with the current pos (which reports
// the error for size 0). A negative size: error, nothing changes.
int32_t CURSORXSetSize(CURSORX *cursor, int32_t size);
// pos = position mod size, except that a negative position p gives
// (p remainder size) + size, so a negative multiple of size gives size itself.
int32_t CURSORXSetPos(CURSORX *cursor, int32_t position);
// offset = 0, then CURSORXSetPos.
int32_t CURSORXReset(CURSORX *cursor, int32_t position);
// pos += step, wrapped into 0 .. size - 1.
int32_t CURSORXStep(CURSORX *cursor);
// offset += offsetStep (wrapping modulo 2^32, never reduced by size).
int32_t CURSORXStepOffset(CURSORX *cursor);
// Stores offset.
int32_t CURSORXSetOffset(CURSORX *cursor, int32_t offset);
// value = (pos + offset) mod size.
int32_t CURSORXUpdate(CURSORX *cursor);
// Never prints: the module tests a constant.
void CURSORXError();
