#include "winlayer/row_names.h"

#include <string>
#include <utility>

namespace winlayer {

std::vector<ControlEntry> withRowNames(std::vector<ControlEntry> controls,
                                       std::initializer_list<RowHeading> rows) {
    for (const RowHeading& row : rows) {
        const std::string heading(row.heading);
        const std::pair<std::string_view, std::string> names[] = {
            {row.sourceBox, heading + " " + sourceCaption},
            {row.button, heading + " 转换"},
            {row.resultBox, heading + " " + resultCaption},
        };
        for (ControlEntry& entry : controls) {
            for (const auto& [control, name] : names) {
                if (entry.name == control) entry.accessibleName = name;
            }
        }
    }
    return controls;
}

}  // namespace winlayer
