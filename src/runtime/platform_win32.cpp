#ifdef _WIN32
#include "runtime/platform.hpp"

#include <algorithm>
#include <climits>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace tamvek::platform {
namespace {

// The C library's reads and writes take a count of type unsigned int.
constexpr std::size_t largest_transfer = INT_MAX / 2 + 1;

// The errno value that stands for the failure of a system call outside the C library.
int errno_of_system_error(DWORD code) {
  switch (code) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_LOCK_VIOLATION: return EACCES;
    case ERROR_INVALID_HANDLE: return EBADF;
    default: return EIO;
  }
}

}  // namespace

const char* const null_device = "NUL";

Opened open_file(const std::string& path, OpenMode mode) {
  int flags = _O_BINARY | _O_NOINHERIT;
  switch (mode) {
    case OpenMode::read_write_create: flags |= _O_RDWR | _O_CREAT; break;
    case OpenMode::read_only: flags |= _O_RDONLY; break;
    case OpenMode::write_only: flags |= _O_WRONLY; break;
    case OpenMode::create_new: flags |= _O_WRONLY | _O_CREAT | _O_EXCL; break;
  }
  Opened opened{::_open(path.c_str(), flags, _S_IREAD | _S_IWRITE)};
  if (opened.fd < 0) opened.failure = open_failure_of(opened.error = errno);
  return opened;
}

std::int64_t read_some(int fd, char* data, std::size_t size, int& error) {
  const int got = ::_read(fd, data, static_cast<unsigned>(std::min(size, largest_transfer)));
  if (got < 0) error = errno;
  return got;
}

std::int64_t write_some(int fd, const char* data, std::size_t size, int& error) {
  const int put = ::_write(fd, data, static_cast<unsigned>(std::min(size, largest_transfer)));
  if (put < 0) error = errno;
  return put;
}

std::int64_t seek(int fd, std::int64_t offset, SeekFrom from, int& error) {
  const __int64 at = ::_lseeki64(fd, offset, from == SeekFrom::start ? SEEK_SET : SEEK_CUR);
  if (at < 0) error = errno;
  return at;
}

// The system ends a file at the position of its handle: the position moves
// there for the cut and back after it.
int cut_off_at(int fd, std::int64_t size) {
  // A file that already ends there keeps its handle untouched: a handle that
  // may only append (standard output sent on to a file) refuses SetEndOfFile.
  if (::_filelengthi64(fd) == size) return 0;
  const __int64 here = ::_lseeki64(fd, 0, SEEK_CUR);
  if (here < 0 || ::_lseeki64(fd, size, SEEK_SET) < 0) return errno;
  const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
  int error = 0;
  if (handle == INVALID_HANDLE_VALUE) error = EBADF;
  else if (!SetEndOfFile(handle)) error = errno_of_system_error(GetLastError());
  if (::_lseeki64(fd, here, SEEK_SET) < 0 && error == 0) error = errno;
  return error;
}

int file_status(int fd, FileStatus& status) {
  struct _stat64 info {};
  if (::_fstat64(fd, &info) != 0) return errno;
  status.regular = (info.st_mode & _S_IFMT) == _S_IFREG && !::_isatty(fd);
  status.size = info.st_size;
  status.modified = info.st_mtime;
  return 0;
}

void* allocate_large(std::size_t size) { return std::malloc(size); }

int close_file(int fd) { return ::_close(fd) == 0 ? 0 : errno; }

// Names are used as formed, backslashes and all; the system puts a name that
// begins with a backslash on the current drive. `root` moves such names below
// another directory.
std::string path_of(std::string_view name, std::string_view root, std::string_view workdir) {
  std::string path;
  if (!name.empty() && name.front() == '\\') {
    path = root;
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  } else if (!workdir.empty()) {
    path = workdir;
    if (path.back() != '\\' && path.back() != '/') path += '\\';
  }
  path += name;
  return path;
}

void set_up_standard_streams() {
  ::_setmode(stdout_fd, _O_BINARY);
  ::_setmode(stderr_fd, _O_BINARY);
  ::_setmode(stdin_fd, _O_TEXT);
}

void prepare_call_frames() {}

// The return addresses, in hexadecimal, innermost first; the system keeps no
// names of the program's functions to show beside them.
void write_call_frames(int fd) {
  void* frames[64];
  const USHORT count = RtlCaptureStackBackTrace(0, 64, frames, nullptr);
  for (USHORT i = 0; i < count; ++i) {
    char line[] = "#   0x0000000000000000\n";
    line[1] = static_cast<char>('0' + i / 10);
    line[2] = static_cast<char>('0' + i % 10);
    auto address = reinterpret_cast<std::uintptr_t>(frames[i]);
    for (std::size_t digit = 21; digit >= 6; --digit, address >>= 4)
      line[digit] = "0123456789abcdef"[address & 15];
    write_all(fd, {line, sizeof line - 1});
  }
}

}  // namespace tamvek::platform
#endif
