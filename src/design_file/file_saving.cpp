#include "file_saving.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <random>

namespace mirelto {

namespace {

// The temporary file of the save in progress, for the signal handlers: an atomic pointer is all
// a handler may read safely.
std::atomic<const char*> gTemporary{nullptr};

void RemoveTemporaryAndEnd(int signal) {
    if (const char* name = gTemporary.exchange(nullptr)) {
        ::unlink(name);
    }
    // SA_RESETHAND put the default back: the program ends as the signal says once this returns.
    ::raise(signal);
}

// All of `bytes`, or false with errno set.
bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Closes the descriptor, giving the first error: a write's, else the close's.
int CloseAfter(int fd, int error) {
    const int closed = ::close(fd) == 0 ? 0 : errno;
    return error != 0 ? error : closed;
}

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// Where a chain of symbolic links ends whose last file does not exist yet.
std::string FollowLinks(std::string path) {
    constexpr int kMostLinks = 40;  // the system's own limit
    for (int hop = 0; hop < kMostLinks; ++hop) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            break;
        }
        std::string target(static_cast<std::size_t>(status.st_size) + 1, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) >= target.size()) {
            break;
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.starts_with('/') ? target : DirectoryOf(path) + "/" + target;
    }
    return path;
}

int WriteInPlace(const std::string& path, std::string_view bytes) {
    // Opening without waiting: a pipe nobody reads fails (ENXIO) rather than blocking for ever.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return errno;
    }
    // Then written as any output is: a full pipe is waited on while its reader reads.
    const int flags = ::fcntl(fd, F_GETFL);
    const bool written =
        flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0 && WriteAll(fd, bytes);
    return CloseAfter(fd, written ? 0 : errno);
}

int RenameOver(TemporaryName& temporary, const std::string& target) {
    if (::rename(temporary.Name().c_str(), target.c_str()) != 0) {
        return errno;
    }
    temporary.Keep();
    return 0;
}

std::string RandomSuffix() {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::string suffix(6, 'X');
    for (char& c : suffix) {
        c = kLetters[device() % (sizeof kLetters - 1)];
    }
    return suffix;
}

// The save through an unnamed file, linked under a temporary name only once it is whole; nothing
// when the system offers no unnamed files here (another file system, no /proc).
std::optional<int> ReplaceThroughUnnamed(const std::string& target, std::string_view bytes,
                                         std::optional<mode_t> mode) {
#ifdef O_TMPFILE
    const int fd =
        ::open(DirectoryOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode.value_or(0666));
    if (fd < 0) {
        return std::nullopt;
    }
    const bool written =
        (!mode || ::fchmod(fd, *mode) == 0) && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (!written) {
        return CloseAfter(fd, errno);  // unnamed: nothing is left behind
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::string name = target + "." + RandomSuffix();
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            // Named only from here to the rename, and whole already.
            TemporaryName temporary(std::move(name));
            if (const int error = CloseAfter(fd, 0); error != 0) {
                return error;
            }
            return RenameOver(temporary, target);
        }
        if (errno != EEXIST) {
            break;
        }
    }
    ::close(fd);
#else
    (void)target, (void)bytes, (void)mode;
#endif
    return std::nullopt;
}

int ReplaceThroughTemporary(const std::string& target, std::string_view bytes,
                            std::optional<mode_t> mode) {
    if (!mode) {
        // A new file takes the permissions the umask leaves, as any program's would.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    std::string name = target + ".XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        return errno;
    }
    TemporaryName temporary(std::move(name));
    const bool written = ::fchmod(fd, *mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (const int error = CloseAfter(fd, written ? 0 : errno); error != 0) {
        return error;
    }
    return RenameOver(temporary, target);
}

}  // namespace

SaveTarget ClassifySaveTarget(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        // Nothing there, or a link to nothing: the file the links end at is made.
        return {SaveKind::Replace, FollowLinks(path)};
    }
    if (S_ISDIR(status.st_mode)) {
        return {SaveKind::Refuse, path};
    }
    if (!S_ISREG(status.st_mode)) {
        return {SaveKind::InPlace, path};
    }
    std::string target = path;
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        target = real;
        std::free(real);
    }
    return {SaveKind::Replace, target};
}

int SaveFileWhole(const std::string& path, std::string_view bytes) {
    if (path.empty()) {
        return ENOENT;  // as open("") says; nothing is made in the working directory
    }
    const SaveTarget target = ClassifySaveTarget(path);
    switch (target.kind) {
        case SaveKind::Refuse:
            return EISDIR;
        case SaveKind::InPlace:
            return WriteInPlace(target.path, bytes);
        case SaveKind::Replace:
            break;
    }
    std::optional<mode_t> mode;  // an existing file's permissions stay
    if (struct stat status{}; ::stat(target.path.c_str(), &status) == 0) {
        mode = status.st_mode & 07777;
    }
    if (const std::optional<int> done = ReplaceThroughUnnamed(target.path, bytes, mode)) {
        return *done;
    }
    return ReplaceThroughTemporary(target.path, bytes, mode);
}

void RemoveTemporariesOnSignals() {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction old {};
        if (::sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = RemoveTemporaryAndEnd;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        ::sigaction(signal, &action, nullptr);
    }
}

TemporaryName::TemporaryName(std::string name) : name_(std::move(name)) {
    gTemporary.store(name_.c_str());
}

TemporaryName::~TemporaryName() {
    // Taken back first, so that a signal now cannot remove a name already renamed.
    const char* const name = gTemporary.exchange(nullptr);
    if (!kept_ && name != nullptr) {
        ::unlink(name_.c_str());
    }
}

void TemporaryName::Keep() {
    gTemporary.store(nullptr);
    kept_ = true;
}

}  // namespace mirelto
