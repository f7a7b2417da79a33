// What a top-level window settles with the window manager before it is first shown: the frame it
// will get, and whether it has a taskbar button. Outside X11 (the offscreen platform of the tests)
// the toolkit knows the frame itself and there is no taskbar.
#pragma once

#include <QMargins>
#include <QWidget>

namespace winlayer {

// The frame that `window`, created but not yet shown, will get: zero when no window manager runs.
// A window's size is its outer size, frame and title bar included, but under a window manager the
// frame is known only once the window is mapped; this asks for it before, so that the window can
// be mapped at its exact outer size and place.
QMargins expectedFrame(QWidget* window);

// Asks that `window`, created but not yet shown, get no taskbar button of its own.
void keepOffTaskbar(QWidget* window);

}  // namespace winlayer
