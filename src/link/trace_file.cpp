// The trace file on the C library's stdio: plain bytes, UTF-8 as given, flushed per line.
#include "link/trace_file.h"

#include <cerrno>
#include <cstring>

namespace vellora::link {

std::unique_ptr<TraceFile> TraceFile::Open(const std::string& path, std::string& error) {
    if (path.empty()) {
        error = "no trace file given";
        return nullptr;
    }
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        error = "cannot write the trace file " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    error.clear();
    return std::unique_ptr<TraceFile>(new TraceFile(file));
}

TraceFile::~TraceFile() {
    std::fclose(file_);
}

void TraceFile::WriteLine(std::string_view line) {
    if (failed_) return;
    const bool written = std::fwrite(line.data(), 1, line.size(), file_) == line.size() &&
                         std::fputc('\n', file_) != EOF && std::fflush(file_) == 0;
    failed_ = !written;
}

}  // namespace vellora::link
