// The front-end window of frontlite: two conversion rows for the local backend, Clash above and
// Base64 (the backend's "mixed" target) below, and the terms of use over a tiled picture.
#pragma once

#include "core/conversion.h"
#include "winlayer/window_template.h"

namespace frontlite {

inline constexpr core::ConversionRow clashRow{"编辑框1", "按钮1", "编辑框2", core::localClash};
inline constexpr core::ConversionRow base64Row{"编辑框3", "按钮2", "编辑框4", core::localMixed};

const winlayer::WindowTemplate& frontEndWindow();

}  // namespace frontlite
