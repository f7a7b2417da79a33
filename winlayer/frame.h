// The window manager's frame around a top-level window. A window's size is its outer size, frame
// and title bar included, but under a window manager the frame is known only once the window is
// mapped; this asks for it before, so the window can be mapped at its exact outer size and place.
#pragma once

#include <QMargins>
#include <QWidget>

namespace winlayer {

// The frame that `window`, created but not yet shown, will get: zero when no window manager runs.
QMargins expectedFrame(QWidget* window);

}  // namespace winlayer
