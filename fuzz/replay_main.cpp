// The main of a fuzz target in a build without libFuzzer: every file of the
// folders (or the files) given runs once through LLVMFuzzerTestOneInput, in
// name order, so that the kept corpus and every crash reproducer are checked
// by the ordinary tests. A broken invariant aborts, which fails the test.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const fs::path arg(argv[i]);
    std::error_code ec;
    if (fs::is_directory(arg, ec)) {
      for (const fs::directory_entry& e : fs::directory_iterator(arg))
        if (e.is_regular_file()) inputs.push_back(e.path());
    } else if (fs::is_regular_file(arg, ec)) {
      inputs.push_back(arg);
    } else {
      std::fprintf(stderr, "%s: no such file or folder\n", argv[i]);
      return 2;
    }
  }
  if (inputs.empty()) {
    std::fprintf(stderr, "usage: %s FOLDER_OR_FILE...: nothing to replay\n", argv[0]);
    return 2;
  }
  std::sort(inputs.begin(), inputs.end());
  for (const fs::path& p : inputs) {
    // Named before it runs: an abort leaves the culprit as the last line.
    std::fprintf(stderr, "%s\n", p.string().c_str());
    std::fflush(stderr);
    const std::vector<uint8_t> bytes = ReadAll(p);
    // An empty file still runs, as the empty input; data() of an empty vector
    // may be null, which the targets take with size 0.
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  std::printf("%zu inputs replayed\n", inputs.size());
  return 0;
}
