#include "core/list.h"

#include "core/module.h"
#include "core/slots.h"

namespace {

constexpr Reporting listReporting = Reporting::Off;

}  // namespace

LIST *LISTNew() { return slots::New<LIST, LISTError>(); }
void LISTFree(LIST **handle) { slots::Free<LIST, LISTError>(handle); }
bool LISTEqual(const LIST *a, const LIST *b) { return slots::Equal(a, b); }
LIST *LISTCopy(const LIST *seq) { return slots::Copy<LIST, LISTError>(seq); }
char *LISTToASCII(const LIST *seq) { return slots::ToASCII<LIST, LISTError>(seq); }
LIST *LISTFromASCII(const char *text) { return slots::FromASCII<LIST, LISTError>(text); }
void LISTAppend(LIST *seq, void *element) { slots::Append<LIST, LISTError>(seq, element); }
void *LISTPop(LIST *seq) { return slots::Pop<LIST, LISTError>(seq); }
void LISTInsert(LIST *seq, void *element, int32_t index) { slots::Insert<LIST, LISTError>(seq, element, index); }
void LISTRemove(LIST *seq, int32_t index) { slots::Remove<LIST, LISTError>(seq, index); }
void *LISTGet(const LIST *seq, int32_t index) { return slots::Get<LIST, LISTError>(seq, index); }
void LISTSet(LIST *seq, void *element, int32_t index) { slots::Set<LIST, LISTError>(seq, element, index); }
int32_t LISTFind(const LIST *seq, const void *element) { return slots::Find<LIST, LISTError>(seq, element); }
LIST *LISTCopyRange(const LIST *seq, int32_t from, int32_t to)
{
    return slots::CopyRange<LIST, LISTError>(seq, from, to);
}
void LISTDeleteRange(LIST *seq, int32_t from, int32_t to) { slots::DeleteRange<LIST, LISTError>(seq, from, to); }
void LISTInsertRange(const LIST *source, LIST *destination, int32_t from, int32_t to, int32_t at)
{
    slots::InsertRange<LIST, LISTError>(source, destination, from, to, at);
}
bool LISTGrow(LIST *seq) { return slots::Grow<LIST, LISTError>(seq); }
void LISTError() { ModuleReport(listReporting, "LIST error\n"); }
