#include "winlayer/window_template.h"

#include <algorithm>

#include "winlayer/picture.h"

namespace winlayer {
namespace {

bool isKnownKind(ControlKind kind) {
    switch (kind) {
    case ControlKind::Button:
    case ControlKind::EditBox:
    case ControlKind::Label:
    case ControlKind::TransLabel:
        return true;
    }
    return false;
}

std::string quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

}  // namespace

std::string_view defaultText(ControlKind kind) {
    switch (kind) {
    case ControlKind::Button: return "按钮";
    case ControlKind::EditBox: return "";
    case ControlKind::Label: return "标签";
    case ControlKind::TransLabel: return "透明标签";
    }
    return "";
}

bool takesFocus(ControlKind kind) {
    switch (kind) {
    case ControlKind::Button:
    case ControlKind::EditBox:
        return true;
    case ControlKind::Label:
    case ControlKind::TransLabel:
        return false;
    }
    return false;
}

std::optional<std::string> findTemplateFault(const WindowTemplate& window) {
    const std::string where = "window " + quoted(window.title) + ": ";
    if (window.outerWidth <= 0 || window.outerHeight <= 0) return where + "size is not positive";
    const auto& controls = window.controls;
    for (auto entry = controls.begin(); entry != controls.end(); ++entry) {
        const std::string control = where + "control " + quoted(entry->name);
        if (!isKnownKind(entry->kind)) return control + " is of an unknown kind";
        if (entry->place.width <= 0 || entry->place.height <= 0)
            return control + " has a size that is not positive";
        if (std::any_of(controls.begin(), entry,
                        [&](const ControlEntry& earlier) { return earlier.name == entry->name; }))
            return control + " appears twice";
    }
    for (const ClickBinding& click : window.clicks) {
        auto button = std::find_if(controls.begin(), controls.end(), [&](const ControlEntry& c) {
            return c.name == click.button;
        });
        if (button == controls.end())
            return where + "click bound to missing control " + quoted(click.button);
        if (button->kind != ControlKind::Button)
            return where + "click bound to " + quoted(click.button) + ", which is no push button";
    }
    if (!window.picture.empty() && decodePicture(window.picture).isNull())
        return where + "picture does not decode";
    return std::nullopt;
}

}  // namespace winlayer
