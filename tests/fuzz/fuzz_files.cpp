#include "fuzz_files.hpp"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace tamvek::fuzzing {

FuzzDir::FuzzDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tamvek-fuzz-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  null_fd_ = ::open("/dev/null", O_RDWR);
  write(".go", "go\n");
  go_fd_ = ::open((path_ + "/.go").c_str(), O_RDONLY);
}

void FuzzDir::write(std::string_view relative, std::string_view bytes) const {
  const std::filesystem::path target = path_ + "/" + std::string(relative);
  std::filesystem::create_directories(target.parent_path());
  const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put <= 0) break;
    done += static_cast<std::size_t>(put);
  }
  ::close(fd);
}

IoSetup FuzzDir::setup() const {
  IoSetup setup;
  setup.root = path_;
  setup.workdir = path_;
  setup.stdout_fd = null_fd_;
  setup.stderr_fd = null_fd_;
  // Every run's pause reads the answer from the start.
  ::lseek(go_fd_, 0, SEEK_SET);
  setup.stdin_fd = go_fd_;
  return setup;
}

const FuzzDir& fuzz_dir() {
  static const FuzzDir dir;
  return dir;
}

std::string_view next_part(std::string_view& input, std::string_view mark) {
  const std::size_t at = input.find(mark);
  const std::string_view part = input.substr(0, at);
  input = at == std::string_view::npos ? std::string_view{} : input.substr(at + mark.size());
  return part;
}

}  // namespace tamvek::fuzzing
