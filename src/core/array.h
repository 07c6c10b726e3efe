// ARRAY: the older twin of LIST, same record and behaviour, its own name. It owns its
// record and its slot array, never the elements.
#pragma once

#include <cstdint>

inline constexpr const char *ARRAYIdentity[] = {"ARRAY", "20090803", "QXW", "C"};

struct ARRAY {
    int32_t capacity;  // slots in items: 2 after creation, only ever doubled
    int32_t count;     // elements, held in slots 0 .. count - 1
    void **items;      // the zero-filled slot array
};

// A new empty array with two null slots, or null.
ARRAY *ARRAYNew();
// Releases the slot array and the record; the elements are untouched.
void ARRAYFree(ARRAY **handle);
// Two nulls or the same list are equal; otherwise equal counts and identical pointers.
bool ARRAYEqual(const ARRAY *a, const ARRAY *b);
// A new list sharing the elements in the same order.
ARRAY *ARRAYCopy(const ARRAY *list);
// Placeholder: always null.
char *ARRAYToASCII(const ARRAY *list);
// Placeholder: always null.
ARRAY *ARRAYFromASCII(const char *text);
void ARRAYAppend(ARRAY *list, void *element);
// The last element, removed; null on an empty list.
void *ARRAYPop(ARRAY *list);
// Inserts at 0 <= index <= count; index = count appends.
void ARRAYInsert(ARRAY *list, void *element, int32_t index);
// Removes the element at 0 <= index < count without returning it.
void ARRAYRemove(ARRAY *list, int32_t index);
// The element at 0 <= index < count, or null.
void *ARRAYGet(const ARRAY *list, int32_t index);
// Replaces the element at 0 <= index < count; the old one is not released.
void ARRAYSet(ARRAY *list, void *element, int32_t index);
// The lowest index holding exactly this pointer; -1 when absent or null.
int32_t ARRAYFind(const ARRAY *list, const void *element);
// A new list of the elements in slots from .. to - 1 (from < to required).
ARRAY *ARRAYCopyRange(const ARRAY *list, int32_t from, int32_t to);
// Deletes slots from .. to - 1 (from < to required).
void ARRAYDeleteRange(ARRAY *list, int32_t from, int32_t to);
// Inserts source slots from .. to - 1 into destination at slot at.
void ARRAYInsertRange(const ARRAY *source, ARRAY *destination, int32_t from, int32_t to, int32_t at);
// Doubles the capacity; false when memory runs out (the list keeps its slots).
bool ARRAYGrow(ARRAY *list);
// Never prints: the array reports through a constant test.
void ARRAYError();
