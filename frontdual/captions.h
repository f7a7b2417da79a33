// Texts that the conversion windows share: the captions of source and result boxes, the blanks
// that place the headings, and the dashes of the separators.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/conversion.h"
#include "winlayer/row_names.h"
#include "winlayer/window.h"

namespace frontdual {

inline constexpr std::string_view source = winlayer::sourceCaption;
inline constexpr std::string_view result = winlayer::resultCaption;

inline std::string spaces(int count) { return std::string(static_cast<std::size_t>(count), ' '); }

// `pairs` times "- ".
inline std::string dashes(int pairs) {
    std::string text;
    for (int i = 0; i < pairs; ++i) text += "- ";
    return text;
}

// Each row's convert button runs the conversion action for its own row.
inline std::vector<winlayer::ClickBinding> conversionClicks(std::span<const core::ConversionRow> rows) {
    std::vector<winlayer::ClickBinding> clicks;
    for (const core::ConversionRow& row : rows) clicks.push_back({row.button, core::conversionAction(row)});
    return clicks;
}

}  // namespace frontdual
