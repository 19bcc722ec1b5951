#include "output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "arguments.h"

namespace mirelto::cli {

namespace {

[[noreturn]] void Fail(const std::string& path, int error) {
    throw Refused("cannot-write",
                  Concat("cannot write ", Printable(path), ": ", std::strerror(error)));
}

// All of `text`, or false with errno set.
bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void WriteInPlace(const std::string& path, std::string_view text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        Fail(path, errno);
    }
    if (!WriteAll(fd, text)) {
        const int error = errno;
        ::close(fd);
        Fail(path, error);
    }
    if (::close(fd) != 0) {
        Fail(path, errno);
    }
}

}  // namespace

void WriteOutputFile(const std::string& path, std::string_view text) {
    struct stat status {};
    const bool exists = ::stat(path.c_str(), &status) == 0;
    if (exists && !S_ISREG(status.st_mode)) {
        // Nothing to replace, and a device node must never be renamed over.
        WriteInPlace(path, text);
        return;
    }
    // A symbolic link keeps pointing at the file it named: the new file goes beside that one.
    std::string target = path;
    if (exists) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const mode_t mode = exists ? (status.st_mode & 07777) : (0666 & ~mask);

    std::string temporary = target + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        Fail(path, errno);
    }
    const auto discard = [&](int error) {
        ::close(fd);
        ::unlink(temporary.c_str());
        Fail(path, error);
    };
    if (::fchmod(fd, mode) != 0 || !WriteAll(fd, text) || ::fsync(fd) != 0) {
        discard(errno);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        Fail(path, error);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        Fail(path, error);
    }
}

}  // namespace mirelto::cli
