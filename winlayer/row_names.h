// The screen-reader names of the controls of conversion rows, made from the captions that the
// windows show around each row: the row's heading and the words 原链接 and 转换后 beside its boxes.
// In the row headed "Clash" the source box is announced as "Clash 原链接", the convert button as
// "Clash 转换" and the result box as "Clash 转换后", so a user who cannot see the layout still
// knows which of four alike boxes the cursor is in.
#pragma once

#include <initializer_list>
#include <string_view>
#include <vector>

#include "winlayer/window_template.h"

namespace winlayer {

// The captions beside a row's source box and result box.
inline constexpr char sourceCaption[] = "原链接";
inline constexpr char resultCaption[] = "转换后";

// A row's three controls by name, and its heading as the window shows it, without its blanks.
// Made from any row that names its controls the way the conversion rows do.
struct RowHeading {
    template <class Row>
    RowHeading(const Row& row, std::string_view heading)
        : sourceBox(row.sourceBox), button(row.button), resultBox(row.resultBox), heading(heading) {}

    std::string_view sourceBox;
    std::string_view button;
    std::string_view resultBox;
    std::string_view heading;
};

// `controls` with the accessible names of each row's source box, convert button and result box
// filled in; the other entries are returned as they were.
std::vector<ControlEntry> withRowNames(std::vector<ControlEntry> controls,
                                       std::initializer_list<RowHeading> rows);

}  // namespace winlayer
