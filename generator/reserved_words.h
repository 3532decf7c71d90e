// generator/reserved_words.h: the words Visual Basic keeps for itself, which no name it declares may be.
#pragma once

#include <string_view>

namespace generator {

// Whether `word` is one of VB's reserved words, in any case.
bool IsReservedWord(std::string_view word) noexcept;

// Whether `word` is a reserved word that names a built-in type (Boolean, Byte, Currency, Date,
// Double, Integer, Long, LongLong, LongPtr, Single, String, Variant), and so may stand as a type.
bool IsBuiltInTypeName(std::string_view word) noexcept;

}  // namespace generator
