// The shape every module shares: identity records, error reporters and trace lines.
//
// A module is one plain record type and the free functions named after it
// (IMGNew, LISTAppend, ...). Each module carries:
//   - an identity record: a constexpr array of short texts in its header, eight
//     characters a field in the current form ("IMG     ", "20120409", ...);
//   - an error reporter M`Error` that prints its fixed line only while the
//     module's build-time reporting switch allows it;
//   - the standard operations New, Free, ToASCII, FromASCII, Equal, Copy, CopyTo.
//
// Conventions of every module:
//   - New returns a zero-filled record (new (std::nothrow) T{}) with defaults, or null.
//   - Free takes the address of the caller's handle and sets the handle to null.
//   - Operations check pointers, indices and ranges first; on failure they call
//     the reporter and return a neutral result (null, false, -1 or 0) and change nothing.
//   - Texts returned by to-text operations are allocated with new[]; the caller
//     releases them with delete[].
#pragma once

#include <cstddef>

// The build-time switch of a module's error reporter. Off and On are switch
// values of this build; Never and Always stand for modules that test a constant.
enum class Reporting { Never, Off, On, Always };

// Whether a reporter with this switch prints.
constexpr bool ReportingPrints(Reporting reporting)
{
    return reporting == Reporting::On || reporting == Reporting::Always;
}

// Prints message to standard output when the switch lets the module report.
void ModuleReport(Reporting reporting, const char *message);

// Prints a trace line to standard output when the module's trace switch is on.
void ModuleTrace(bool enabled, const char *line);

// Number of fields in an identity record.
template <std::size_t N>
constexpr std::size_t IdentityFields(const char *const (&)[N])
{
    return N;
}

// The Free of a record that owns one array: reports a null handle or record
// through error; otherwise releases the array and the record and sets the
// caller's handle to null.
template <typename T, typename E>
void ModuleFreeOwning(T **handle, E *T::*array, void (*error)())
{
    if (handle == nullptr || *handle == nullptr) {
        error();
        return;
    }
    E *owned = (*handle)->*array;
    delete[] owned;
    delete *handle;
    *handle = nullptr;
}
