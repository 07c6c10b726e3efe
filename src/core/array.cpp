#include "core/array.h"

#include "core/module.h"
#include "core/slots.h"

namespace {

constexpr Reporting arrayReporting = Reporting::Never;

}  // namespace

ARRAY *ARRAYNew() { return slots::New<ARRAY, ARRAYError>(); }
void ARRAYFree(ARRAY **handle) { slots::Free<ARRAY, ARRAYError>(handle); }
bool ARRAYEqual(const ARRAY *a, const ARRAY *b) { return slots::Equal(a, b); }
ARRAY *ARRAYCopy(const ARRAY *seq) { return slots::Copy<ARRAY, ARRAYError>(seq); }
char *ARRAYToASCII(const ARRAY *seq) { return slots::ToASCII<ARRAY, ARRAYError>(seq); }
ARRAY *ARRAYFromASCII(const char *text) { return slots::FromASCII<ARRAY, ARRAYError>(text); }
void ARRAYAppend(ARRAY *seq, void *element) { slots::Append<ARRAY, ARRAYError>(seq, element); }
void *ARRAYPop(ARRAY *seq) { return slots::Pop<ARRAY, ARRAYError>(seq); }
void ARRAYInsert(ARRAY *seq, void *element, int32_t index) { slots::Insert<ARRAY, ARRAYError>(seq, element, index); }
void ARRAYRemove(ARRAY *seq, int32_t index) { slots::Remove<ARRAY, ARRAYError>(seq, index); }
void *ARRAYGet(const ARRAY *seq, int32_t index) { return slots::Get<ARRAY, ARRAYError>(seq, index); }
void ARRAYSet(ARRAY *seq, void *element, int32_t index) { slots::Set<ARRAY, ARRAYError>(seq, element, index); }
int32_t ARRAYFind(const ARRAY *seq, const void *element) { return slots::Find<ARRAY, ARRAYError>(seq, element); }
ARRAY *ARRAYCopyRange(const ARRAY *seq, int32_t from, int32_t to)
{
    return slots::CopyRange<ARRAY, ARRAYError>(seq, from, to);
}
void ARRAYDeleteRange(ARRAY *seq, int32_t from, int32_t to) { slots::DeleteRange<ARRAY, ARRAYError>(seq, from, to); }
void ARRAYInsertRange(const ARRAY *source, ARRAY *destination, int32_t from, int32_t to, int32_t at)
{
    slots::InsertRange<ARRAY, ARRAYError>(source, destination, from, to, at);
}
bool ARRAYGrow(ARRAY *seq) { return slots::Grow<ARRAY, ARRAYError>(seq); }
void ARRAYError() { ModuleReport(arrayReporting, "ARRAY error\n"); }
