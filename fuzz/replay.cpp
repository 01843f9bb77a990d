// Replays saved inputs through a fuzz target, one file an argument, on the platform itself: the
// fuzz targets are built this way for both word sizes by the test command, so that they compile
// against the real platform header, and a crash input found natively can be tried under Windows.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size);

int main(int argc, char** argv) {
    for (int i = 1; i < argc; i++) {
        std::ifstream file(argv[i], std::ios::binary);
        if (!file)
            return std::fprintf(stderr, "replay: cannot read %s\n", argv[i]), 2;
        std::vector<std::uint8_t> input(std::istreambuf_iterator<char>(file), {});
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    return 0;
}
