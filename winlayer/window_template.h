// Window templates: every window of the programs described as data. A template holds what its
// window sets itself; everything else is the default of the window layer, the same in every
// window (fixed single frame, minimise and close but no maximise, centred on the primary screen,
// Esc closes, Enter does nothing at window level, the program's icon). A control entry states only
// what differs from its kind's defaults. This unit knows the data and checks it; it draws nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace winlayer {

class Window;

enum class ControlKind {
    Button,      // push button, caption centred, never a default button
    EditBox,     // single-line edit box with a sunken edge, black on white, no length limit
    Label,       // opaque: fills its rectangle with the button-face colour, one line of text
    TransLabel,  // transparent: draws only its text, whatever lies behind shows through
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// Whole pixels, never scaled. A control's place is measured from the top-left corner of its
// window's client area and may reach beyond it, to the left too.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ControlEntry {
    std::string_view name;
    ControlKind kind = ControlKind::Label;
    Rect place;
    std::optional<std::string_view> text = {};  // caption or label text; else the kind's default
    std::optional<Rgb> textColour = {};         // transparent labels; black when not given
    bool wordWrap = false;  // transparent labels: wrap at the width and at each CR LF
    bool visible = true;
    bool enabled = true;
    int tabValue = 0;  // orders the focus cycle; ties go to the control stored later
    // What a screen reader announces for an edit box or push button: a sighted user knows a box
    // by the heading and caption beside it, a screen reader user only by this name. Empty: the
    // toolkit's own (a push button's caption, nothing for an edit box). Labels are always
    // announced by their text.
    std::string accessibleName = {};
};

using Handler = std::function<void(Window&)>;

struct ClickBinding {
    std::string_view button;
    Handler handler;
};

struct WindowTemplate {
    std::string_view title;
    int outerWidth = 0;  // frame and title bar included
    int outerHeight = 0;
    std::optional<Rgb> background = {};           // the desktop's button face when not given
    std::span<const unsigned char> picture = {};  // a PNG tiled over the background, if any
    std::vector<ControlEntry> controls;           // in stored order: the first lies on top
    Handler created = {};  // runs once per opening, after the controls exist, before showing
    std::vector<ClickBinding> clicks = {};
};

std::string_view defaultText(ControlKind kind);
bool takesFocus(ControlKind kind);

// What keeps the template from being turned into a window, or nothing when it is sound:
// a non-positive size, an unknown kind, two controls of the window sharing a name, a click bound
// to a control that is missing or not a push button, a picture that does not decode.
std::optional<std::string> findTemplateFault(const WindowTemplate& window);

}  // namespace winlayer
