// Texts as the conversion core sees them: zero-terminated byte strings in the user interface's
// narrow encoding, never re-encoded. A null Text is an absent text and behaves exactly like an
// empty one. This unit owns obtaining text buffers and the text join; it knows nothing of links.
#pragma once

#include <cstddef>
#include <memory>
#include <span>

namespace core {

using Text = std::unique_ptr<char[]>;

// A new, uninitialised buffer of `bytes` bytes. Running out of memory is not recoverable here:
// it ends the program through the run-time error report, naming the size asked for.
Text obtainText(std::size_t bytes);

// Joins the texts in order into one new text. Each text is measured once; absent texts count as
// empty. The result is exactly as long as the texts together.
Text joinTexts(std::span<const char* const> texts);

}  // namespace core
