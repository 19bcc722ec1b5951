// Saving a file so that a failure never passes for success and never leaves a partial file.
// Shared by the window and mirelto-cli, no Qt.
//
// A regular file, or a new one, is written beside its name and renamed over it: under no name at
// all where the system offers unnamed files (Linux O_TMPFILE, then linked and renamed), else
// under a temporary name removed on failure and, once RemoveTemporariesOnSignals is set up, on
// SIGINT, SIGTERM and SIGHUP. A special file (a pipe, a device) is written in place, never
// replaced and never waited for: a pipe nobody reads is refused. A directory is refused. A
// symbolic link keeps pointing where it pointed: the file it names is written, also when that
// file does not exist yet.
#pragma once

#include <string>
#include <string_view>

namespace mirelto {

enum class SaveKind {
    Replace,  // a regular file or none: written beside it and renamed over it
    InPlace,  // a pipe, device or socket: opened and written as it is
    Refuse,   // a directory
};

struct SaveTarget {
    SaveKind kind = SaveKind::Replace;
    std::string path;  // the file that is written: the one a symbolic link names
};

// What a save to `path` does, decided without opening anything.
SaveTarget ClassifySaveTarget(const std::string& path);

// Writes `bytes` to `path` as described above; 0 when it is all written (and, for a regular file,
// on disk), else the errno that stopped it (EISDIR for a directory, ENXIO for a pipe nobody
// reads). Any file that was there stays whole when it fails.
int SaveFileWhole(const std::string& path, std::string_view bytes);

// From now on SIGINT, SIGTERM and SIGHUP remove the temporary file of a save in progress, then
// end the program as the signal would have. Signals ignored at start stay ignored. For programs
// without handlers of their own (mirelto-cli).
void RemoveTemporariesOnSignals();

// A temporary file's name, removed when it goes out of scope unless kept, and by the signal
// handlers above while it lives. One at a time.
class TemporaryName {
  public:
    explicit TemporaryName(std::string name);
    ~TemporaryName();
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;
    const std::string& Name() const { return name_; }
    void Keep();  // renamed into place: nothing to remove

  private:
    std::string name_;
    bool kept_ = false;
};

}  // namespace mirelto
