// addin/win32/penwright_ids.cpp: defines the identifiers of the type library, its classes and interfaces
// once.
#include <initguid.h>

#include "addin/win32/penwright.h"
