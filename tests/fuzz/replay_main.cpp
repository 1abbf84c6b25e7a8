// The corpus replay: runs every file of the folders (or the files) named on the command
// line through a fuzz target's LLVMFuzzerTestOneInput, each in a child process of its
// own, so that one failing input is reported by name and the others still run. Built
// with the ordinary compilers into the normal builds, where the sanitizers of the build
// watch every input; ctest runs it once per target over that target's corpus.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> readFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Runs one input in a child; true when the child ended normally with status 0.
bool replay(const fs::path& path) {
  const std::vector<std::uint8_t> bytes = readFile(path);
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) {
    std::perror("fork");
    return false;
  }
  if (child == 0) {
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    std::exit(0);  // through exit, so that the leak check runs
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const fs::path given(argv[i]);
    if (fs::is_directory(given)) {
      for (const fs::directory_entry& entry : fs::directory_iterator(given)) {
        if (entry.is_regular_file()) inputs.push_back(entry.path());
      }
    } else if (fs::is_regular_file(given)) {
      inputs.push_back(given);
    } else {
      std::fprintf(stderr, "replay: %s is neither a file nor a folder\n", argv[i]);
      return 2;
    }
  }
  std::sort(inputs.begin(), inputs.end());
  std::size_t failed = 0;
  for (const fs::path& input : inputs) {
    if (replay(input)) continue;
    ++failed;
    std::printf("FAILED %s\n", input.filename().string().c_str());
    std::fflush(stdout);
  }
  std::printf("replay: %zu inputs, %zu failed\n", inputs.size(), failed);
  return inputs.empty() || failed != 0 ? 1 : 0;
}
