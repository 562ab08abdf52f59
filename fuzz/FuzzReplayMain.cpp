// Replays every file below the given corpus folders through a libFuzzer entry point, so the
// sanitizer test build checks the committed seeds and crashes without a fuzzing compiler. An
// input that takes the process past the fuzzer's memory limit fails the replay, as it fails
// the fuzzer.
#include <sys/resource.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// libFuzzer's default -rss_limit_mb.
constexpr long kMemoryLimitKb = 2048L * 1024;

long peakMemoryKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv) {
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[i])) {
            if (!entry.is_regular_file()) {
                continue;
            }
            std::ifstream in(entry.path(), std::ios::binary);
            std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++replayed;
            if (peakMemoryKb() > kMemoryLimitKb) {
                std::cerr << entry.path().string() << " took the memory in use past "
                          << kMemoryLimitKb / 1024 << " MB\n";
                return 1;
            }
        }
    }
    std::cout << replayed << " inputs replayed\n";
    return replayed > 0 ? 0 : 1;
}
