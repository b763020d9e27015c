#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace tamvek::platform {

// The system calls the record layer rests on, one implementation a platform
// (platform_posix.cpp, platform_win32.cpp). Files are C-library descriptors
// on both; a failing call returns its error as an errno value, so that the
// run's messages come from one table.

// What OPEN asks for: read-write first, then the fallbacks.
// create_new makes a file that is not there yet, write-only, and fails with
// EEXIST when the name is taken: a companion program's temporaries never
// take over a file that is already there.
enum class OpenMode { read_write_create, read_only, write_only, create_new };

// Why a file could not be opened, as far as OPEN's fallbacks and messages
// need to tell (missing: the file or its directory does not exist;
// read_only_medium: a medium that cannot be written).
enum class OpenFailure { none, missing, access_refused, read_only_medium, directory, other };

// Both platforms' C libraries report through errno; Windows reports a
// directory, like a read-only file, as access refused.
inline OpenFailure open_failure_of(int error) {
  switch (error) {
    case ENOENT: return OpenFailure::missing;
    case EACCES: return OpenFailure::access_refused;
    case EROFS: return OpenFailure::read_only_medium;
    case EISDIR: return OpenFailure::directory;
    default: return OpenFailure::other;
  }
}

struct Opened {
  int fd = -1;
  OpenFailure failure = OpenFailure::none;
  int error = 0;  // errno value of the failure
};

// Opens `path` in binary mode: the system translates nothing. A file created
// by read_write_create is an ordinary writable file; an existing one is never
// truncated.
Opened open_file(const std::string& path, OpenMode mode);

// The system's device that takes every byte written to it and keeps none.
extern const char* const null_device;

// Bytes read, 0 at the end of the file, or -1 with `error` set. An interrupted
// call is repeated.
std::int64_t read_some(int fd, char* data, std::size_t size, int& error);
std::int64_t write_some(int fd, const char* data, std::size_t size, int& error);

// The new file position, or -1 with `error` set.
enum class SeekFrom { start, current };
std::int64_t seek(int fd, std::int64_t offset, SeekFrom from, int& error);

// The file status that tells a regular file (buffered, cut off after its
// first write) from a console or pipe (written record by record).
struct FileStatus {
  bool regular = false;
  std::int64_t size = 0;
  std::int64_t modified = 0;  // the time of the last change, in the system's own unit
};

// These return 0 or the error. cut_off_at ends the file at `size` bytes; the
// file position stays where it was.
int cut_off_at(int fd, std::int64_t size);
int file_status(int fd, FileStatus& status);
int close_file(int fd);

// Measured: in small pages a whole run on the largest data set takes 1.05 to 1.36 times as long.
//
// Memory for the run's large tables, aligned for any type; nullptr when there
// is none. On Linux it comes in huge pages where the system grants them: one
// first touch per 2 MB instead of per 4 kB, each costly on a virtual machine.
void* allocate_large(std::size_t size);
inline void free_large(void* block) { std::free(block); }

// The text of an error, as the run's messages show it.
inline std::string error_text(int error) { return std::strerror(error); }

// The path of a file name as the run forms it (backslashes for directories;
// a leading backslash for the root of the current drive). `root`, when not
// empty, stands for that root; `workdir`, when not empty, is where relative
// names lie instead of the working directory.
std::string path_of(std::string_view name, std::string_view root, std::string_view workdir);

// Standard output and standard error in binary mode, so that their bytes are
// exactly those written; standard input in the platform's text mode, in which a
// typed CR LF arrives as LF.
void set_up_standard_streams();

// Writes the calling thread's call frames to `fd`, a line each, with calls
// that a signal handler may make; prepare_call_frames, called beforehand,
// loads what that needs.
void prepare_call_frames();
void write_call_frames(int fd);

inline constexpr int stdin_fd = 0;
inline constexpr int stdout_fd = 1;
inline constexpr int stderr_fd = 2;

// Writes all of `text`: 0, or the error of the call that failed (a device
// that takes nothing and reports nothing is full; asking again would never end).
inline int write_all(int fd, std::string_view text) {
  while (!text.empty()) {
    int error = 0;
    const std::int64_t put = write_some(fd, text.data(), text.size(), error);
    if (put <= 0) return put < 0 ? error : ENOSPC;
    text.remove_prefix(static_cast<std::size_t>(put));
  }
  return 0;
}

}  // namespace tamvek::platform
