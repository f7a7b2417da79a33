// The libFuzzer entry for link composition: any bytes, read as a zero-terminated source (up to the
// first NUL, as a source box hands it over), composed with each of the six link templates, must
// give a link whose url value decodes back to the source and cannot be misread by a backend or a
// proxy client. A violation aborts, so libFuzzer keeps the input as a crash; the same entry
// replays the kept corpus in every ordinary test run (replay_main.cpp).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "core/link.h"

namespace {

// Bytes that must reach the url value only as %XX: a raw "&" would end the value, "#" would cut
// the link for the proxy client, "+" would read as a blank, "%" would start an escape, and blanks,
// control bytes and DEL are not allowed in a URL.
bool mustBeEscaped(unsigned char c) {
    return c <= 0x20 || c == 0x7F || c == '%' || c == '&' || c == '#' || c == '+';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Form decoding as a backend's query parser does it ("+" as a blank, "%XX" as the byte); none
// when a "%" is not followed by two hex digits, e.g. "%zz".
std::optional<std::string> percentDecoded(std::string_view value) {
    std::string decoded;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '+') {
            decoded += ' ';
        } else if (value[i] != '%') {
            decoded += value[i];
        } else if (i + 2 < value.size() && hexValue(value[i + 1]) >= 0 &&
                   hexValue(value[i + 2]) >= 0) {
            decoded += static_cast<char>(hexValue(value[i + 1]) * 16 + hexValue(value[i + 2]));
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    return decoded;
}

[[noreturn]] void violated(const core::LinkTemplate& link, const std::string& source,
                           std::string_view composed, const char* what) {
    std::fprintf(stderr, "%.*s: %s\nsource (%zu bytes): %s\nlink: %.*s\n",
                 static_cast<int>(link.name.size()), link.name.data(), what, source.size(),
                 source.c_str(), static_cast<int>(composed.size()), composed.data());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An empty input may come with a null pointer, which memchr must not be given.
    const auto* end =
        size ? static_cast<const std::uint8_t*>(std::memchr(data, 0, size)) : nullptr;
    const std::string source(size ? reinterpret_cast<const char*>(data) : "",
                             end ? static_cast<std::size_t>(end - data) : size);
    std::size_t escapes = 0;
    for (unsigned char c : source) escapes += mustBeEscaped(c);

    for (const core::LinkTemplate* link : core::linkTemplates) {
        const core::Text text = core::composeLink(*link, source.c_str());
        const std::string_view composed(text.get());
        const std::size_t expected =
            link->prefix.size() + source.size() + 2 * escapes + link->suffix.size();
        // A length check by strlen also catches a stray NUL written into the link.
        if (composed.size() != expected) violated(*link, source, composed, "wrong length");
        if (!composed.starts_with(link->prefix)) violated(*link, source, composed, "lost prefix");
        if (!composed.ends_with(link->suffix)) violated(*link, source, composed, "lost suffix");

        const std::string_view value = composed.substr(
            link->prefix.size(), composed.size() - link->prefix.size() - link->suffix.size());
        for (unsigned char c : value) {
            if (c != '%' && mustBeEscaped(c)) {
                violated(*link, source, composed, "raw & # + blank or control byte in url value");
            }
        }
        if (percentDecoded(value) != source) {
            violated(*link, source, composed, "url value does not decode to the source");
        }
    }
    return 0;
}
