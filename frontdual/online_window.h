// The online conversion window of frontdual: four sections from top to bottom, Clash, mixed,
// Surfboard and quanx, for the public conversion service.
#pragma once

#include <array>

#include "core/conversion.h"
#include "winlayer/window_template.h"

namespace frontdual {

// In the quanx row the source box is 编辑框8 and the result box 编辑框7, against their numbering.
inline constexpr std::array onlineRows{
    core::ConversionRow{"编辑框1", "按钮1", "编辑框2", core::onlineClash},
    core::ConversionRow{"混合1", "按钮2", "混合2", core::onlineMixed},
    core::ConversionRow{"冲1", "按钮3", "冲2", core::onlineSurfboard},
    core::ConversionRow{"编辑框8", "按钮4", "编辑框7", core::onlineQuanx},
};

const winlayer::WindowTemplate& onlineWindow();

}  // namespace frontdual
