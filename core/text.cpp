#include "core/text.h"

#include <cstring>
#include <new>
#include <vector>

#include "core/fatal.h"

namespace core {

Text obtainText(std::size_t bytes) {
    Text text{new (std::nothrow) char[bytes]};
    if (!text) fatal(allocationFailureMessage(bytes));
    return text;
}

Text joinTexts(std::span<const char* const> texts) {
    std::vector<std::size_t> lengths(texts.size());
    std::size_t total = 1;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        lengths[i] = texts[i] ? std::strlen(texts[i]) : 0;
        total += lengths[i];
    }
    Text joined = obtainText(total);
    char* end = joined.get();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (lengths[i] == 0) continue;
        std::memcpy(end, texts[i], lengths[i]);
        end += lengths[i];
    }
    *end = '\0';
    return joined;
}

}  // namespace core
