// Replays fuzz inputs through a fuzz target without the fuzzing engine: each
// argument is a file or a folder of files (not recursive). A crash or a
// sanitizer report fails the run.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool Replay(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> inputs;
  for (int i = 1; i < argc; ++i) {
    std::error_code error;
    if (std::filesystem::is_directory(argv[i], error)) {
      for (const auto& entry : std::filesystem::directory_iterator(argv[i], error)) {
        if (entry.is_regular_file()) inputs.push_back(entry.path());
      }
    } else {
      inputs.emplace_back(argv[i]);
    }
  }
  std::sort(inputs.begin(), inputs.end());
  if (inputs.empty()) {
    std::fprintf(stderr, "fuzz replay: no inputs\n");
    return 1;
  }
  size_t failed = 0;
  for (const auto& path : inputs) {
    if (!Replay(path)) {
      std::fprintf(stderr, "fuzz replay: cannot read %s\n", path.string().c_str());
      ++failed;
    }
  }
  std::printf("fuzz replay: %zu inputs, %zu unreadable\n", inputs.size(), failed);
  return failed == 0 ? 0 : 1;
}
