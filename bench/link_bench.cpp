// How fast core::composeLink turns a source link into a conversion link, beside the fastest any
// composition could be: one memcpy of the same bytes into a buffer obtained for it. Sources are
// 100 B, 1 MB and 64 MB of ordinary link bytes, none of which needs escaping, so the two do the
// same work apart from the composition's own scan. scripts/bench divides the two times.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "core/link.h"

namespace {

// Letters, digits and the URL punctuation a subscription link is made of; "&", "%", "#", "+"
// and blanks are left out because they would be escaped and make the result longer than a copy.
std::string ordinaryLink(std::size_t bytes) {
    static constexpr char head[] = "https://sub.example.net/api/v1/client/subscribe?token=";
    static constexpr char alphabet[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-._~/:?=";
    std::string link(head, std::min(bytes, sizeof head - 1));
    // A linear congruential sequence, so that the bytes are not one repeated short pattern.
    unsigned state = 12345;
    while (link.size() < bytes) {
        state = state * 1103515245u + 12345u;
        link.push_back(alphabet[(state >> 16) % (sizeof alphabet - 1)]);
    }
    return link;
}

const std::string& source(std::size_t bytes) {
    // Built once per size: a 64 MB source takes longer to make than to compose.
    static std::string small = ordinaryLink(100), medium = ordinaryLink(1 << 20),
                       large = ordinaryLink(64 << 20);
    return bytes == 100 ? small : bytes == (1 << 20) ? medium : large;
}

void composition(benchmark::State& state) {
    const std::string& link = source(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        core::Text composed = core::composeLink(core::localClash, link.c_str());
        benchmark::DoNotOptimize(composed.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * link.size()));
}

void plainCopy(benchmark::State& state) {
    const std::string& link = source(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        // A new buffer each time, as composition obtains one: at 64 MB the fresh pages' first
        // touch is part of the cost of both.
        char* copy = new char[link.size()];
        std::memcpy(copy, link.data(), link.size());
        benchmark::DoNotOptimize(copy);
        benchmark::ClobberMemory();
        delete[] copy;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * link.size()));
}

// Each composition runs right beside the copy of its size, so that a change in the machine's
// load during the run (another build, say) touches both halves of a ratio alike.
BENCHMARK(composition)->Arg(100);
BENCHMARK(plainCopy)->Arg(100);
BENCHMARK(composition)->Arg(1 << 20);
BENCHMARK(plainCopy)->Arg(1 << 20);
BENCHMARK(composition)->Arg(64 << 20);
BENCHMARK(plainCopy)->Arg(64 << 20);

}  // namespace

BENCHMARK_MAIN();
