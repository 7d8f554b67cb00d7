// Without libFuzzer the targets are replay programs: every file of the folders and files
// named on the command line goes through the target once. The tests run them over the seeds.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<std::filesystem::path> inputsIn(const std::filesystem::path& place)
{
    std::vector<std::filesystem::path> found;
    if (std::filesystem::is_directory(place)) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(place)) {
            if (entry.is_regular_file())
                found.push_back(entry.path());
        }
        std::sort(found.begin(), found.end());
    } else if (std::filesystem::is_regular_file(place)) {
        found.push_back(place);
    }
    return found;
}

} // namespace

int main(int argc, char** argv)
{
    std::size_t ran = 0;
    for (int i = 1; i < argc; ++i) {
        const std::vector<std::filesystem::path> inputs = inputsIn(argv[i]);
        if (inputs.empty()) {
            std::fprintf(stderr, "no inputs in %s\n", argv[i]);
            return 1;
        }
        for (const auto& input : inputs) {
            std::ifstream file(input, std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
            if (!file.good() && !file.eof()) {
                std::fprintf(stderr, "cannot read %s\n", input.c_str());
                return 1;
            }
            std::fprintf(stderr, "%s (%zu bytes)\n", input.c_str(), bytes.size());
            // A vector's data may be null when empty; libFuzzer never passes null.
            static const uint8_t none = 0;
            LLVMFuzzerTestOneInput(bytes.empty() ? &none
                                                 : reinterpret_cast<const uint8_t*>(bytes.data()),
                                   bytes.size());
            ++ran;
        }
    }
    std::printf("ran %zu inputs\n", ran);
    return ran > 0 ? 0 : 1;
}
