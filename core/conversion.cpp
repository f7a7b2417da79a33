#include "core/conversion.h"

namespace core {

void convert(const ConversionRow& row, EditBoxes& boxes) {
    Text link = composeLink(row.link, boxes.readContent(row.sourceBox).get());
    boxes.writeContent(row.resultBox, link.get());
}

}  // namespace core
