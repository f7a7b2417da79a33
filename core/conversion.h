// The conversion action that every convert button runs for its conversion row. It reaches the
// window holding the row only through the two edit-box operations below, so it runs the same
// against a live window and against a plain table in a test.
#pragma once

#include <string_view>

#include "core/link.h"
#include "core/text.h"

namespace core {

// The edit boxes of one window, addressed by the control names the window gives them.
class EditBoxes {
public:
    // The box's whole content as a new text, or an absent text when the box is empty.
    virtual Text readContent(std::string_view box) const = 0;
    // Replaces the box's whole content with a copy of `text`; an absent text empties it.
    virtual void writeContent(std::string_view box, const char* text) = 0;

protected:
    ~EditBoxes() = default;
};

// A source edit box, a convert button and a result edit box of one window, bound to one template.
struct ConversionRow {
    std::string_view sourceBox;
    std::string_view button;
    std::string_view resultBox;
    const LinkTemplate& link;
};

// Reads the row's source box, composes the link and writes it into the row's result box.
// Nothing else: the source box and the focus stay as they were.
void convert(const ConversionRow& row, EditBoxes& boxes);

// The clicked handler of the row's convert button, for the window that holds the row.
inline auto conversionAction(const ConversionRow& row) {
    return [&row](EditBoxes& boxes) { convert(row, boxes); };
}

}  // namespace core
