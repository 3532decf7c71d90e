// host/vb_errors.cpp: the texts of VB's trappable run-time errors.
#include "host/vb_errors.h"

#include <string>

namespace host {
namespace {

struct VbErrorEntry {
  long number;
  std::string_view text;
};

// In order of number.
constexpr VbErrorEntry kVbErrors[] = {
    {3, "Return without GoSub"},
    {5, "Invalid procedure call or argument"},
    {6, "Overflow"},
    {7, "Out of memory"},
    {9, "Subscript out of range"},
    {11, "Division by zero"},
    {13, "Type mismatch"},
    {20, "Resume without error"},
    {28, "Out of stack space"},
    {35, "Sub or Function not defined"},
    {48, "Error in loading DLL"},
    {52, "Bad file name or number"},
    {53, "File not found"},
    {55, "File already open"},
    {57, "Device I/O error"},
    {58, "File already exists"},
    {61, "Disk full"},
    {62, "Input past end of file"},
    {70, "Permission denied"},
    {71, "Disk not ready"},
    {75, "Path/File access error"},
    {76, "Path not found"},
    {91, "Object variable or With block variable not set"},
    {94, "Invalid use of Null"},
    {424, "Object required"},
    {429, "ActiveX component can't create object"},
    {438, "Object doesn't support this property or method"},
    {440, "Automation error"},
    {445, "Object doesn't support this action"},
    {449, "Argument not optional"},
    {450, "Wrong number of arguments or invalid property assignment"},
    {459, "Object or class does not support the set of events"},
};

}  // namespace

std::string_view VbErrorText(long number) noexcept {
  for (const VbErrorEntry& entry : kVbErrors) {
    if (entry.number == number) return entry.text;
  }
  return "Application-defined or object-defined error";
}

HostError VbError(long number) {
  return HostError{number, std::string{VbErrorText(number)}};
}

}  // namespace host
