// Runs the link fuzzer's entry over kept inputs without libFuzzer, so an ordinary g++ tree (and
// the sanitizer tree) checks the corpus on every test run: `link_fuzzer_replay dir-or-file...`.
// A violation aborts inside the entry; the file name printed just before says which input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    std::fprintf(stderr, "%s (%zu bytes)\n", file.c_str(), bytes.size());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t inputs = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::filesystem::is_directory(argv[i])) {
            for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
                replay(entry.path());
                ++inputs;
            }
        } else {
            replay(argv[i]);
            ++inputs;
        }
    }
    // An empty or missing corpus would pass without checking anything.
    if (inputs == 0) {
        std::fprintf(stderr, "no inputs\n");
        return 1;
    }
    return 0;
}
