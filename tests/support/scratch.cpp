#include "support/scratch.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "runtime/platform.hpp"

namespace tamvek::testing {
namespace fs = std::filesystem;

std::string read_whole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

#ifndef _WIN32
namespace {

constexpr uid_t nobody = 65534;

}  // namespace

int open_scratch_file(const std::string& path, std::string_view content, bool /*input*/) {
  {
    std::ofstream out(path, std::ios::binary);
    out << content;
  }
  return ::open(path.c_str(), O_RDWR);
}

bool become_ordinary_user() {
  return geteuid() != 0 || (setgid(nobody) == 0 && setuid(nobody) == 0);
}

std::string as_ordinary_user(const std::function<std::string()>& body) {
  if (geteuid() != 0) return body();
  int channel[2];
  if (pipe(channel) != 0) throw std::runtime_error("pipe failed");
  const pid_t child = fork();
  if (child == 0) {
    ::close(channel[0]);
    std::string result = "(could not become an ordinary user)";
    if (become_ordinary_user()) result = body();
    const char* next = result.data();
    std::size_t left = result.size();
    while (left > 0) {
      const ssize_t put = ::write(channel[1], next, left);
      if (put <= 0) break;
      next += put, left -= static_cast<std::size_t>(put);
    }
    _exit(0);
  }
  ::close(channel[1]);
  std::string result;
  char buffer[4096];
  ssize_t got;
  while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0)
    result.append(buffer, static_cast<std::size_t>(got));
  ::close(channel[0]);
  waitpid(child, nullptr, 0);
  return result;
}

#endif

bool read_only_is_disregarded(const std::string& path) {
  return as_ordinary_user([&] {
    const platform::Opened opened = platform::open_file(path, platform::OpenMode::write_only);
    if (opened.fd < 0) return std::string("refused");
    platform::close_file(opened.fd);
    return std::string("opened");
  }) == "opened";
}

ScratchDir::ScratchDir() {
  // A name no other test process picks at the same time.
  static std::mt19937_64 names{std::random_device{}()};
  const fs::path temp = fs::temp_directory_path();
  for (int attempt = 0; path_.empty(); ++attempt) {
    if (attempt == 100) throw std::runtime_error("no scratch directory could be made");
    const fs::path candidate = temp / ("tamvek-test-" + std::to_string(names() % 1'000'000'000));
    if (fs::create_directory(candidate)) path_ = candidate.string();
  }
  // Open to everyone, so that tests that act as an ordinary user can work in it.
  fs::permissions(path_, fs::perms::all);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  // Read-only files and directories made by a test must not survive it.
  for (auto it = fs::recursive_directory_iterator(path_, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored))
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

void ScratchDir::write(std::string_view relative, std::string_view bytes) const {
  const fs::path target = file(relative);
  fs::create_directories(target.parent_path());
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ScratchDir::read(std::string_view relative) const { return read_whole(file(relative)); }

bool ScratchDir::exists(std::string_view relative) const { return fs::exists(file(relative)); }

ScratchIo::ScratchIo(std::string_view stdin_text) {
  stdout_fd_ = open_scratch_file(dir.file(".stdout"), "");
  stderr_fd_ = open_scratch_file(dir.file(".stderr"), "");
  stdin_fd_ = open_scratch_file(dir.file(".stdin"), stdin_text, true);
  IoSetup setup;
  setup.root = dir.path();
  setup.workdir = dir.path();
  setup.stdout_fd = stdout_fd_;
  setup.stderr_fd = stderr_fd_;
  setup.stdin_fd = stdin_fd_;
  io_ = std::make_unique<Io>(setup);
}

ScratchIo::~ScratchIo() {
  io_.reset();
  platform::close_file(stdout_fd_);
  platform::close_file(stderr_fd_);
  platform::close_file(stdin_fd_);
}

std::string ScratchIo::console() {
  io_->stream(Io::console_unit).flush(0);
  return read_whole(dir.file(".stdout"));
}

std::string ScratchIo::errors() const { return read_whole(dir.file(".stderr")); }

#ifndef _WIN32

ProgramRun run_program(const std::vector<std::string>& arguments, const std::string& workdir,
                       const std::string& root, std::string_view stdin_text,
                       const std::function<void()>& in_child, const std::string& program) {
  char pattern[] = "/tmp/tamvek-program-XXXXXX";
  if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
  const std::string capture = pattern;
  const int in = open_scratch_file(capture + "/in", stdin_text);
  const int out = open_scratch_file(capture + "/out", "");
  const int err = open_scratch_file(capture + "/err", "");

  const pid_t child = fork();
  if (child == 0) {
    dup2(in, 0), dup2(out, 1), dup2(err, 2);
    if (in_child) in_child();
    if (chdir(workdir.c_str()) != 0) _exit(127);
    setenv("TAMVEK_ROOT", root.c_str(), 1);
    std::vector<char*> argv;
    std::string name = program;
    argv.push_back(name.data());
    std::vector<std::string> copies(arguments);
    for (std::string& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int wait_status = 0;
  waitpid(child, &wait_status, 0);
  ::close(in), ::close(out), ::close(err);
  ProgramRun result;
  result.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status);
  result.out = read_whole(capture + "/out");
  result.err = read_whole(capture + "/err");
  std::error_code ignored;
  fs::remove_all(capture, ignored);
  return result;
}

#endif

}  // namespace tamvek::testing
