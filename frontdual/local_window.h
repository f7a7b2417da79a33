// The local conversion window of frontdual: the Clash and Base64 rows for the backend that the
// user runs on the same machine, on a white window with button-face captions.
#pragma once

#include <array>

#include "core/conversion.h"
#include "winlayer/window_template.h"

namespace frontdual {

inline constexpr std::array localRows{
    core::ConversionRow{"编辑框1", "按钮1", "编辑框2", core::localClash},
    core::ConversionRow{"编辑框3", "按钮2", "编辑框4", core::localMixed},
};

const winlayer::WindowTemplate& localWindow();

}  // namespace frontdual
