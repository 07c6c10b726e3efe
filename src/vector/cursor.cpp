#include "vector/cursor.h"

#include <cstring>
#include <new>

#include "core/module.h"

namespace {

constexpr Reporting cursorReporting = Reporting::Off;

// The wrapped remainder of value by a positive modulus: always in 0 .. modulus - 1.
// Computed in 64 bits so that pos + step cannot overflow.
int32_t Wrap(int64_t value, int32_t modulus)
{
    int64_t r = value % modulus;
    if (r < 0) {
        r += modulus;
    }
    return static_cast<int32_t>(r);
}

}  // namespace

CURSOR *CURSORNew()
{
    CURSOR *cursor = new (std::nothrow) CURSOR{};
    if (cursor == nullptr) {
        CURSORError();
        return nullptr;
    }
    const char *text = CURSORIdentity[5];
    CURSORSet(cursor, text, static_cast<int32_t>(std::strlen(text)), 1);
    return cursor;
}

void CURSORFree(CURSOR **handle)
{
    if (handle == nullptr) {
        CURSORError();
        return;
    }
    delete *handle;
    *handle = nullptr;
}

void CURSORSet(CURSOR *cursor, const void *data, int32_t length, int32_t step)
{
    if (cursor == nullptr) {
        CURSORError();
        return;
    }
    cursor->data = data;
    cursor->length = length;
    cursor->step = step;
    cursor->pos = 0;
}

void CURSORStep(CURSOR *cursor)
{
    if (cursor == nullptr || cursor->length <= 0) {
        CURSORError();
        return;
    }
    cursor->pos = Wrap(static_cast<int64_t>(cursor->pos) + cursor->step, cursor->length);
}

void CURSORSetPos(CURSOR *cursor, int32_t position)
{
    if (cursor == nullptr || cursor->length <= 0) {
        CURSORError();
        return;
    }
    cursor->pos = Wrap(position, cursor->length);
}

void CURSORSave(CURSOR *cursor)
{
    if (cursor == nullptr) {
        CURSORError();
        return;
    }
    cursor->saved = cursor->pos;
}

void CURSORRestore(CURSOR *cursor)
{
    if (cursor == nullptr) {
        CURSORError();
        return;
    }
    cursor->pos = cursor->saved;
}

const int32_t *CURSORRow(const CURSOR *cursor)
{
    // Only the null pointers are caught: the cursor does not know the size of
    // its data, so the row's bounds are the caller's to keep.
    if (cursor == nullptr || cursor->data == nullptr) {
        CURSORError();
        return nullptr;
    }
    const int64_t words = static_cast<int64_t>(cursor->pos) * cursor->length;
    return static_cast<const int32_t *>(cursor->data) + words;
}

void CURSORError() { ModuleReport(cursorReporting, "CURSOR Error.\n"); }
