#include "vector/cursorx.h"

#include <new>

#include "core/module.h"

namespace {

constexpr Reporting cursorxReporting = Reporting::Never;

// The wrapped remainder by a positive modulus, in 0 .. modulus - 1; 64-bit so
// that sums of two 32-bit fields cannot overflow.
int32_t Wrap(int64_t value, int32_t modulus)
{
    int64_t r = value % modulus;
    if (r < 0) {
        r += modulus;
    }
    return static_cast<int32_t>(r);
}

// A usable cursor: present, with a modulus to reduce by.
bool Usable(const CURSORX *cursor) { return cursor != nullptr && cursor->size > 0; }

// Reports the error and yields the neutral result.
int32_t Fail()
{
    CURSORXError();
    return 0;
}

}  // namespace

CURSORX *CURSORXNew()
{
    CURSORX *cursor = new (std::nothrow) CURSORX{};
    if (cursor == nullptr) {
        CURSORXError();
        return nullptr;
    }
    cursor->size = 1024;
    cursor->step = 1;
    cursor->offsetStep = 2;
    return cursor;
}

void CURSORXFree(CURSORX **handle)
{
    if (handle == nullptr || *handle == nullptr) {
        CURSORXError();
        return;
    }
    delete *handle;
    *handle = nullptr;
}

char *CURSORXToASCII(const CURSORX *) { return nullptr; }

CURSORX *CURSORXFromASCII(const char *) { return nullptr; }

CURSORX *CURSORXCopy(const CURSORX *cursor)
{
    if (cursor == nullptr) {
        CURSORXError();
        return nullptr;
    }
    CURSORX *copy = CURSORXNew();
    if (copy != nullptr) {
        CURSORXCopyTo(cursor, copy);
    }
    return copy;
}

void CURSORXCopyTo(const CURSORX *source, CURSORX *destination)
{
    if (source == nullptr || destination == nullptr) {
        CURSORXError();
        return;
    }
    *destination = *source;
}

int32_t CURSORXSet(CURSORX *cursor, int32_t size, int32_t pos, int32_t step, int32_t offset, int32_t offsetStep)
{
    if (cursor == nullptr || size < 0) {
        return Fail();
    }
    CURSORXSetSize(cursor, size);
    CURSORXSetPos(cursor, pos);
    CURSORXSetOffset(cursor, offset);
    cursor->step = step;
    cursor->offsetStep = offsetStep;
    return size > 0 ? cursor->value : 0;
}

int32_t CURSORXSetSize(CURSORX *cursor, int32_t size)
{
    if (cursor == nullptr || size < 0) {
        return Fail();
    }
    cursor->size = size;
    return CURSORXSetPos(cursor, cursor->pos);
}

int32_t CURSORXSetPos(CURSORX *cursor, int32_t position)
{
    if (!Usable(cursor)) {
        return Fail();
    }
    // A negative position lands in 1 .. size, not 0 .. size - 1: a negative
    // multiple of size is kept as size itself. CURSORXStep and the value wrap it.
    if (position < 0) {
        cursor->pos = position % cursor->size + cursor->size;
    } else {
        cursor->pos = position % cursor->size;
    }
    return CURSORXUpdate(cursor);
}

int32_t CURSORXReset(CURSORX *cursor, int32_t position)
{
    if (!Usable(cursor)) {
        return Fail();
    }
    cursor->offset = 0;
    return CURSORXSetPos(cursor, position);
}

int32_t CURSORXStep(CURSORX *cursor)
{
    if (!Usable(cursor)) {
        return Fail();
    }
    // Same result as subtracting or adding size until pos lies in 0 .. size - 1,
    // without a loop whose length grows with step.
    cursor->pos = Wrap(static_cast<int64_t>(cursor->pos) + cursor->step, cursor->size);
    return CURSORXUpdate(cursor);
}

int32_t CURSORXStepOffset(CURSORX *cursor)
{
    if (!Usable(cursor)) {
        return Fail();
    }
    // The offset is never reduced by size; a sum past the 32-bit range wraps.
    cursor->offset =
        static_cast<int32_t>(static_cast<uint32_t>(cursor->offset) + static_cast<uint32_t>(cursor->offsetStep));
    return CURSORXUpdate(cursor);
}

int32_t CURSORXSetOffset(CURSORX *cursor, int32_t offset)
{
    if (!Usable(cursor)) {
        return Fail();
    }
    cursor->offset = offset;
    return CURSORXUpdate(cursor);
}

int32_t CURSORXUpdate(CURSORX *cursor)
{
    if (!Usable(cursor)) {
        return Fail();
    }
    cursor->value = Wrap(static_cast<int64_t>(cursor->pos) + cursor->offset, cursor->size);
    return cursor->value;
}

void CURSORXError() { ModuleReport(cursorxReporting, "CURSORX Error.\n"); }
