// The four control kinds as widgets: how each one is built from its control entry and how the
// two label kinds draw themselves. Push buttons and edit boxes are the toolkit's own.
#pragma once

#include <QWidget>

#include "winlayer/window_template.h"

namespace winlayer {

// A new control of the entry's kind, placed and sized in `window`'s client area.
QWidget* createControl(const ControlEntry& entry, QWidget* window);

}  // namespace winlayer
