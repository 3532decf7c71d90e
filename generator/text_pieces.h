// generator/text_pieces.h: the line separator of generated text.
#pragma once

namespace generator {

// Generated lines are separated by a carriage return alone, never followed by a line feed.
inline constexpr char kCr = '\r';

}  // namespace generator
