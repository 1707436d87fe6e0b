// Errors of the storage layer: what went wrong reading or writing a settings file.
#pragma once

#include <string_view>

namespace vellora::storage {

enum class StorageError {
    Ok = 0,
    NotFound,    ///< no file of that name
    NotAFile,    ///< the name is a folder or a device, not a regular file
    OpenFailed,  ///< the file (or the temporary beside it) could not be opened
    ReadFailed,
    WrongSize,    ///< not exactly 252000 bytes: not a settings file, nothing was loaded
    WriteFailed,  ///< writing failed; whatever stood under that name is unchanged
    /// 252000 bytes, but an entry's FilterType is not this processor's: its blocks would
    /// reach the device shifted, so nothing of it is used
    WrongLayout,
};

/// The message shown to the user (Simplified Chinese, UTF-8).
std::string_view StorageErrorMessage(StorageError error);
/// The same in English, for command-line error lines.
std::string_view StorageErrorText(StorageError error);

}  // namespace vellora::storage
