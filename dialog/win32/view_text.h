// dialog/win32/view_text.h: what the Windows view derives from the model's texts and places, kept apart
// from the window code so that it can be checked on its own.
#pragma once

#include <string>
#include <string_view>

#include "dialog/controls.h"

namespace dialog::win32 {

// The text a static control shows for a label's caption: each lone CR (one not followed by LF)
// becomes CR LF, so that the paragraphs of a caption written with CR alone break as they should.
std::wstring LabelText(std::wstring_view caption);

// Whether `caption` has `key` as its mnemonic: an '&' followed by that character, compared without
// regard to case; "&&" is a literal ampersand and marks nothing.
bool HasMnemonic(std::wstring_view caption, wchar_t key) noexcept;

// The control's place in twips relative to the window's client area: a control on a page stands
// relative to SSTab1's top-left corner, a control in Frame1 relative to Frame1.
Place WindowPlace(ControlId id) noexcept;

// Twips to pixels at `dotsPerInch`, as MulDiv does (rounded to the nearest).
int Pixels(long twips, int dotsPerInch) noexcept;

}  // namespace dialog::win32
