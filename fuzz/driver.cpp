// Runs a fuzz target over files and folders of inputs once each, without libFuzzer: the test suite's way to
// replay the corpora in every build, sanitized or not.
#include "fuzz/fuzz.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

namespace fs = std::filesystem;

static int RunFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        fprintf(stderr, "cannot read %s\n", path.c_str());
        return 0;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // An exact-sized block of its own, so that a read past the input is caught
    // as under libFuzzer; like libFuzzer, an empty input is a valid pointer too.
    std::unique_ptr<uint8_t[]> exact(new uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), exact.get());
    LLVMFuzzerTestOneInput(exact.get(), bytes.size());
    return 1;
}

int main(int argc, char** argv)
{
    int inputs = 0;
    for (int i = 1; i < argc; i++) {
        std::error_code error;
        if (fs::is_directory(argv[i], error)) {
            std::vector<fs::path> files;
            for (const fs::directory_entry& entry : fs::directory_iterator(argv[i], error))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            for (const fs::path& file : files) {
                if (!RunFile(file))
                    return 1;
                inputs++;
            }
        } else if (!RunFile(argv[i])) {
            return 1;
        } else {
            inputs++;
        }
    }
    if (!inputs) {
        fprintf(stderr, "no inputs\n");
        return 1;
    }
    printf("%d inputs run\n", inputs);
    return 0;
}
