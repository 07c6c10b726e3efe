// LIST: an ordered, growable array of borrowed pointers. The list owns its
// record and its slot array, never the elements.
#pragma once

#include <cstdint>

inline constexpr const char *LISTIdentity[] = {"LIST    ", "20110824", "VORNHALD", "C       ", "CODE    "};

struct LIST {
    int32_t capacity;  // slots in items: 2 after creation, only ever doubled
    int32_t count;     // elements, held in slots 0 .. count - 1
    void **items;      // the zero-filled slot array
};

// A new empty list with two null slots, or null.
LIST *LISTNew();
// Releases the slot array and the record; the elements are untouched.
void LISTFree(LIST **handle);
// Two nulls or the same list are equal; otherwise equal counts and identical pointers.
bool LISTEqual(const LIST *a, const LIST *b);
// A new list sharing the elements in the same order.
LIST *LISTCopy(const LIST *list);
// Placeholder: always null.
char *LISTToASCII(const LIST *list);
// Placeholder: always null.
LIST *LISTFromASCII(const char *text);
void LISTAppend(LIST *list, void *element);
// The last element, removed; null on an empty list.
void *LISTPop(LIST *list);
// Inserts at 0 <= index <= count; index = count appends.
void LISTInsert(LIST *list, void *element, int32_t index);
// Removes the element at 0 <= index < count without returning it.
void LISTRemove(LIST *list, int32_t index);
// The element at 0 <= index < count, or null.
void *LISTGet(const LIST *list, int32_t index);
// Replaces the element at 0 <= index < count; the old one is not released.
void LISTSet(LIST *list, void *element, int32_t index);
// The lowest index holding exactly this pointer; -1 when absent or null.
int32_t LISTFind(const LIST *list, const void *element);
// A new list of the elements in slots from .. to - 1 (from < to required).
LIST *LISTCopyRange(const LIST *list, int32_t from, int32_t to);
// Deletes slots from .. to - 1 (from < to required).
void LISTDeleteRange(LIST *list, int32_t from, int32_t to);
// Inserts source slots from .. to - 1 into destination at slot at.
void LISTInsertRange(const LIST *source, LIST *destination, int32_t from, int32_t to, int32_t at);
// Doubles the capacity; false when memory runs out (the list keeps its slots).
bool LISTGrow(LIST *list);
void LISTError();
