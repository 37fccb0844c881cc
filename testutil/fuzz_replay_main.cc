// Replays fuzz inputs through LLVMFuzzerTestOneInput without libFuzzer: each
// argument is a file or a folder of files, each file one input. A fault shows
// up as a crash or a sanitizer report; a clean run prints how many inputs it
// replayed and exits 0.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc,
                                                          char*** argv);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  // Paths are made absolute first: a target's initialisation may change the
  // working folder.
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    fs::path arg = fs::absolute(argv[i]);
    if (fs::is_directory(arg)) {
      for (const auto& entry : fs::directory_iterator(arg)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
    } else {
      files.push_back(arg);
    }
  }
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "fuzz_replay: cannot read %s\n", file.c_str());
      return 1;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  std::fprintf(stderr, "fuzz_replay: replayed %zu inputs\n", files.size());
  return files.empty() ? 1 : 0;
}
