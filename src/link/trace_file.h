// Where the HID trace goes: a sink of text lines, and the file behind --trace.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace vellora::link {

class TraceSink {
public:
    virtual ~TraceSink() = default;
    /// One line, without its line break.
    virtual void WriteLine(std::string_view line) = 0;
};

/// A trace file, emptied when opened; every line is flushed at once, so the trace is complete
/// up to the last report even when the program is killed.
class TraceFile : public TraceSink {
public:
    /// nullptr and a one-line English `error` naming the file when it cannot be written.
    [[nodiscard]] static std::unique_ptr<TraceFile> Open(const std::string& path,
                                                         std::string& error);
    ~TraceFile() override;
    TraceFile(const TraceFile&) = delete;
    TraceFile& operator=(const TraceFile&) = delete;

    void WriteLine(std::string_view line) override;
    /// A write failed (disk full); later lines are dropped.
    [[nodiscard]] bool Failed() const { return failed_; }

private:
    explicit TraceFile(std::FILE* file) : file_(file) {}

    std::FILE* file_;
    bool failed_ = false;
};

}  // namespace vellora::link
