// The one implementation behind LIST and ARRAY: both records are a capacity, a
// count and a zero-filled slot array of borrowed pointers. Each operation is a
// template over the record type and the module's error reporter, so the two
// modules keep their own names, records and reporters but run the same code.
// Private to src/core: include it from list.cpp and array.cpp only.
#pragma once

#include <cstdint>
#include <new>

namespace slots {

using Reporter = void (*)();

template <typename T, Reporter error>
T *New()
{
    T *seq = new (std::nothrow) T{};
    if (seq == nullptr) {
        error();
        return nullptr;
    }
    seq->items = new (std::nothrow) void *[2]();
    if (seq->items == nullptr) {
        delete seq;
        error();
        return nullptr;
    }
    seq->capacity = 2;
    return seq;
}

template <typename T, Reporter error>
void Free(T **handle)
{
    if (handle == nullptr || *handle == nullptr) {
        error();
        return;
    }
    T *seq = *handle;
    delete[] seq->items;
    seq->items = nullptr;
    seq->count = 0;
    seq->capacity = 0;
    delete seq;
    *handle = nullptr;
}

template <typename T>
bool Equal(const T *a, const T *b)
{
    if (a == b) {
        return true;
    }
    if (a == nullptr || b == nullptr || a->count != b->count) {
        return false;
    }
    for (int32_t i = 0; i < a->count; ++i) {
        if (a->items[i] != b->items[i]) {
            return false;
        }
    }
    return true;
}

template <typename T, Reporter error>
bool Grow(T *seq)
{
    if (seq == nullptr || seq->capacity <= 0 || seq->capacity > INT32_MAX / 2) {
        error();
        return false;
    }
    const int32_t capacity = seq->capacity * 2;
    void **items = new (std::nothrow) void *[static_cast<std::size_t>(capacity)]();
    if (items == nullptr) {
        error();
        return false;
    }
    for (int32_t i = 0; i < seq->count; ++i) {
        items[i] = seq->items[i];
    }
    delete[] seq->items;
    seq->items = items;
    seq->capacity = capacity;
    return true;
}

// Grows until at least `needed` slots are free; false (list unchanged) when it cannot.
template <typename T, Reporter error>
bool Reserve(T *seq, int32_t needed)
{
    while (seq->capacity - seq->count < needed) {
        if (!Grow<T, error>(seq)) {
            return false;
        }
    }
    return true;
}

template <typename T, Reporter error>
void Append(T *seq, void *element)
{
    if (seq == nullptr || !Reserve<T, error>(seq, 1)) {
        error();
        return;
    }
    seq->items[seq->count++] = element;
}

template <typename T, Reporter error>
T *Copy(const T *seq)
{
    if (seq == nullptr) {
        error();
        return nullptr;
    }
    T *copy = New<T, error>();
    if (copy == nullptr) {
        return nullptr;
    }
    if (!Reserve<T, error>(copy, seq->count)) {
        Free<T, error>(&copy);
        return nullptr;
    }
    for (int32_t i = 0; i < seq->count; ++i) {
        Append<T, error>(copy, seq->items[i]);
    }
    return copy;
}

// The text forms are placeholders: they check their argument and yield null.
template <typename T, Reporter error>
char *ToASCII(const T *seq)
{
    if (seq == nullptr) {
        error();
    }
    return nullptr;
}

template <typename T, Reporter error>
T *FromASCII(const char *text)
{
    if (text == nullptr) {
        error();
    }
    return nullptr;
}

template <typename T, Reporter error>
void *Pop(T *seq)
{
    if (seq == nullptr || seq->count <= 0) {
        error();
        return nullptr;
    }
    return seq->items[--seq->count];
}

template <typename T, Reporter error>
void Insert(T *seq, void *element, int32_t index)
{
    if (seq == nullptr || index < 0 || index > seq->count) {
        error();
        return;
    }
    if (!Reserve<T, error>(seq, 1)) {
        error();
        return;
    }
    for (int32_t i = seq->count; i > index; --i) {
        seq->items[i] = seq->items[i - 1];
    }
    seq->items[index] = element;
    ++seq->count;
}

template <typename T, Reporter error>
void Remove(T *seq, int32_t index)
{
    if (seq == nullptr || index < 0 || index >= seq->count) {
        error();
        return;
    }
    for (int32_t i = index; i < seq->count - 1; ++i) {
        seq->items[i] = seq->items[i + 1];
    }
    seq->items[--seq->count] = nullptr;
}

template <typename T, Reporter error>
void *Get(const T *seq, int32_t index)
{
    if (seq == nullptr || index < 0 || index >= seq->count) {
        error();
        return nullptr;
    }
    return seq->items[index];
}

template <typename T, Reporter error>
void Set(T *seq, void *element, int32_t index)
{
    if (seq == nullptr || index < 0 || index >= seq->count) {
        error();
        return;
    }
    seq->items[index] = element;
}

template <typename T, Reporter error>
int32_t Find(const T *seq, const void *element)
{
    if (seq == nullptr || element == nullptr) {
        error();
        return -1;
    }
    for (int32_t i = 0; i < seq->count; ++i) {
        if (seq->items[i] == element) {
            return i;
        }
    }
    return -1;
}

template <typename T>
bool ValidRange(const T *seq, int32_t from, int32_t to)
{
    return seq != nullptr && from >= 0 && from < to && to <= seq->count;
}

template <typename T, Reporter error>
T *CopyRange(const T *seq, int32_t from, int32_t to)
{
    if (!ValidRange(seq, from, to)) {
        error();
        return nullptr;
    }
    T *copy = New<T, error>();
    if (copy == nullptr) {
        return nullptr;
    }
    if (!Reserve<T, error>(copy, to - from)) {
        Free<T, error>(&copy);
        return nullptr;
    }
    for (int32_t i = from; i < to; ++i) {
        Append<T, error>(copy, seq->items[i]);
    }
    return copy;
}

template <typename T, Reporter error>
void DeleteRange(T *seq, int32_t from, int32_t to)
{
    if (!ValidRange(seq, from, to)) {
        error();
        return;
    }
    const int32_t n = to - from;
    for (int32_t i = to; i < seq->count; ++i) {
        seq->items[i - n] = seq->items[i];
    }
    // Vacated slots are cleared so that no stale pointer lingers beyond count.
    for (int32_t i = seq->count - n; i < seq->count; ++i) {
        seq->items[i] = nullptr;
    }
    seq->count -= n;
}

template <typename T, Reporter error>
void InsertRange(const T *source, T *destination, int32_t from, int32_t to, int32_t at)
{
    if (!ValidRange(source, from, to) || destination == nullptr || at < 0 || at > destination->count) {
        error();
        return;
    }
    const int32_t n = to - from;
    if (source == destination) {
        // Inserting a list into itself: take the range from a snapshot first.
        T *snapshot = CopyRange<T, error>(source, from, to);
        if (snapshot == nullptr) {
            return;
        }
        InsertRange<T, error>(snapshot, destination, 0, n, at);
        Free<T, error>(&snapshot);
        return;
    }
    if (!Reserve<T, error>(destination, n)) {
        error();
        return;
    }
    for (int32_t i = destination->count - 1; i >= at; --i) {
        destination->items[i + n] = destination->items[i];
    }
    for (int32_t i = 0; i < n; ++i) {
        destination->items[at + i] = source->items[from + i];
    }
    destination->count += n;
}

}  // namespace slots
