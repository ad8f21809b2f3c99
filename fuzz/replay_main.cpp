// Runs a fuzz entry point over files, without libFuzzer: every file given,
// and every file of every folder given (not recursively). The normal builds
// use it to replay the seed corpora, crash reproducers included, as ordinary
// tests under their own sanitizers.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void RunFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t count = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path arg(argv[i]);
    if (std::filesystem::is_directory(arg)) {
      std::vector<std::filesystem::path> files;
      for (const auto& entry : std::filesystem::directory_iterator(arg)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
      std::sort(files.begin(), files.end());
      for (const auto& file : files) RunFile(file), ++count;
    } else if (std::filesystem::is_regular_file(arg)) {
      RunFile(arg);
      ++count;
    } else {
      std::cerr << "no such file or folder: " << arg << "\n";
      return 2;
    }
  }
  // An empty input must be harmless too.
  LLVMFuzzerTestOneInput(nullptr, 0);
  std::cout << "replayed " << count << " inputs\n";
  return count > 0 ? 0 : 1;
}
