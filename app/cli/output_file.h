// Files the commands write: the checks a target must pass before any work starts, and the
// write itself through a temporary file, with a one-line reason when it fails.
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <optional>
#include <span>
#include <string>

namespace vellora::cli {

/// Why `path` may not be written, or nullopt when it may: the name must not be empty, its
/// folder must exist, and nothing but a regular file may stand under it (a folder, device,
/// pipe or socket is never replaced); nor may it name one of `inputs` (the same file under
/// any name). Called before the command does any work.
[[nodiscard]] std::optional<std::string> OutputPathProblem(
    const std::string& path, std::span<const std::string> inputs = {});

/// The reason of the last failure on `file`: "the disk is full" when the system ran out of
/// space, otherwise the system's own text.
[[nodiscard]] std::string WriteErrorText(const QFileDevice& file);

/// Writes all of `bytes` to the open `file`; false with `error` (WriteErrorText) on failure.
[[nodiscard]] bool WriteAll(QFileDevice& file, const QByteArray& bytes, std::string& error);

/// Writes `bytes` under `path` through a temporary file that replaces it only once complete;
/// false with a one-line `error` on failure, and whatever stood under `path` is unchanged.
[[nodiscard]] bool WriteOutputFile(const QString& path, const QByteArray& bytes,
                                   std::string& error);

}  // namespace vellora::cli
