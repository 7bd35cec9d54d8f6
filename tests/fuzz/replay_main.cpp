// Runs the fuzz target over every file in a folder, so that the corpus (seeds and the inputs
// the fuzzer found) is a regression test under the sanitizers with any compiler.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  std::error_code error;
  std::vector<std::filesystem::path> inputs;
  for (std::filesystem::recursive_directory_iterator it(argv[1], error), end; !error && it != end;
       it.increment(error)) {
    if (it->is_regular_file()) inputs.push_back(it->path());
  }
  if (error || inputs.empty()) {
    std::fprintf(stderr, "no inputs in %s%s%s\n", argv[1], error ? ": " : "",
                 error ? error.message().c_str() : "");
    return 1;
  }
  std::sort(inputs.begin(), inputs.end());
  for (const auto& input : inputs) {
    std::ifstream file(input, std::ios::binary);
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    std::fprintf(stderr, "%s\n", input.filename().c_str());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  std::printf("replayed %zu inputs\n", inputs.size());
  return 0;
}
