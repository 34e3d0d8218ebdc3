// Runs a fuzz target over saved inputs, with no fuzzing: every file of the
// folders named (the seed corpus, the regression files) goes through
// LLVMFuzzerTestOneInput once. The host tests run it under the sanitizers.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        if (!std::filesystem::is_directory(argv[i])) continue;   // no regression files yet
        for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<char> read((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            // Exactly as long as the input, as libFuzzer hands it over: a read one past the end is one
            // past the allocation, where the sanitizer sees it (the read's growth leaves spare room).
            const std::vector<std::uint8_t> bytes(read.begin(), read.end());
            std::fprintf(stderr, "replaying %s\n", entry.path().c_str());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++inputs;
        }
    }
    std::printf("%d inputs replayed\n", inputs);
    return inputs > 0 ? 0 : 1;   // an empty corpus proves nothing
}
