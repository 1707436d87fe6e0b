// The trace file on the C library's stdio: plain bytes, UTF-8 as given, flushed per line.
#include "link/trace_file.h"

#include <cerrno>
#include <cstring>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>
#endif

namespace vellora::link {

std::unique_ptr<TraceFile> TraceFile::Open(const std::string& path, std::string& error) {
    if (path.empty()) {
        error = "no trace file given";
        return nullptr;
    }
#if defined(__unix__) || defined(__APPLE__)
    // Opening a pipe that no program reads would wait for a reader, and the program with it,
    // for ever: the file is opened without waiting, then written as usual.
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = "cannot write the trace file " + path + ": " +
                (errno == ENXIO ? std::string("a pipe that no program reads")
                                : std::string(std::strerror(errno)));
        return nullptr;
    }
    (void)::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(fd, "w");
    if (file == nullptr) {
        error = "cannot write the trace file " + path + ": " + std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
#else
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        error = "cannot write the trace file " + path + ": " + std::strerror(errno);
        return nullptr;
    }
#endif
    error.clear();
    return std::unique_ptr<TraceFile>(new TraceFile(file));
}

TraceFile::~TraceFile() {
    std::fclose(file_);
}

void TraceFile::WriteLine(std::string_view line) {
    if (failed_) return;
#if defined(__unix__) || defined(__APPLE__)
    // A pipe whose reader has gone raises SIGPIPE on the write, which would end the whole
    // program: held back for the write, and taken if it came, the write simply fails.
    sigset_t pipe;
    sigset_t before;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, &before);
#endif
    const bool written = std::fwrite(line.data(), 1, line.size(), file_) == line.size() &&
                         std::fputc('\n', file_) != EOF && std::fflush(file_) == 0;
#if defined(__unix__) || defined(__APPLE__)
    if (!written && errno == EPIPE) {
        const timespec now{0, 0};
        (void)sigtimedwait(&pipe, nullptr, &now);
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
#endif
    failed_ = !written;
}

}  // namespace vellora::link
