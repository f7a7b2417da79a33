// The mode window of frontdual, its start window: a greeting, then the choice between local
// conversion and online conversion. Each choice is confirmed in an information box and opens its
// conversion window modally; the mode window waits, disabled, until that window is closed.
#pragma once

#include "winlayer/window_template.h"

namespace frontdual {

const winlayer::WindowTemplate& modeWindow();

}  // namespace frontdual
