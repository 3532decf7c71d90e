// bench/safe_edit_floor.c: the disk work of one safe in-place edit and nothing else, as the
// yardstick for a whole scrivlet run. With the same calls and flags scrivlet makes: open and lock
// the file, read it, write a temporary file in its folder with the new text (the old text and one
// line more), flush it, swap it with the file, read the file it swapped out again through the
// descriptor held and compare, remove it, flush the folder.
//
//   safe_edit_floor FILE...   edits each FILE in turn; exit status 0 when every edit was made.
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

static const char kAdded[] = "' One line more, as an edit adds.\r\n";

static int Fail(const char* what, const char* path) {
  perror(path);
  fprintf(stderr, "safe_edit_floor: %s failed\n", what);
  return 1;
}

static int ReadWhole(int fd, char* buffer, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = read(fd, buffer + done, size - done);
    if (n <= 0) return -1;
    done += (size_t)n;
  }
  return 0;
}

static int Edit(const char* path, char* scratch, size_t scratchSize) {
  const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return Fail("open", path);
  struct stat info;
  if (flock(fd, LOCK_EX) != 0 || fstat(fd, &info) != 0) return Fail("lock", path);
  const size_t size = (size_t)info.st_size;
  char* bytes = malloc(size + 1);
  if (bytes == NULL || ReadWhole(fd, bytes, size) != 0) return Fail("read", path);

  // The temporary file beside the original, with its permissions.
  char temporary[4096];
  const char* slash = strrchr(path, '/');
  const int folderLength = slash == NULL ? 1 : (int)(slash - path);
  const char* folder = slash == NULL ? "." : path;
  snprintf(temporary, sizeof temporary, "%.*s/.scrivlet-XXXXXX", folderLength, folder);
  const int out = mkstemp(temporary);
  if (out < 0) return Fail("mkstemp", temporary);
  if (fchmod(out, info.st_mode & 07777) != 0) return Fail("fchmod", temporary);
  struct iovec pieces[2] = {{bytes, size}, {(void*)kAdded, sizeof kAdded - 1}};
  if (writev(out, pieces, 2) != (ssize_t)(size + sizeof kAdded - 1)) return Fail("write", temporary);
  if (fsync(out) != 0 || close(out) != 0) return Fail("fsync", temporary);

  // The swap, then the comparison: what was swapped out is the file that was read, as it was read.
  if (renameat2(AT_FDCWD, temporary, AT_FDCWD, path, RENAME_EXCHANGE) != 0) return Fail("swap", path);
  struct stat swapped;
  if (lstat(temporary, &swapped) != 0 || swapped.st_ino != info.st_ino || swapped.st_size != info.st_size)
    return Fail("compare", path);
  for (size_t offset = 0; offset < size;) {
    const ssize_t n = pread(fd, scratch, scratchSize, (off_t)offset);
    if (n <= 0 || offset + (size_t)n > size || memcmp(scratch, bytes + offset, (size_t)n) != 0)
      return Fail("compare", path);
    offset += (size_t)n;
  }
  if (unlink(temporary) != 0) return Fail("unlink", temporary);

  char folderPath[4096];
  snprintf(folderPath, sizeof folderPath, "%.*s", folderLength, folder);
  const int directory = open(folderPath, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory < 0 || fsync(directory) != 0) return Fail("fsync folder", folderPath);
  close(directory);
  close(fd);
  free(bytes);
  return 0;
}

int main(int argc, char** argv) {
  // The same size of reading buffer as scrivlet's comparison.
  static char scratch[65536];
  if (argc < 2) {
    fprintf(stderr, "usage: safe_edit_floor FILE...\n");
    return 2;
  }
  for (int i = 1; i < argc; ++i) {
    if (Edit(argv[i], scratch, sizeof scratch) != 0) return 1;
  }
  return 0;
}
