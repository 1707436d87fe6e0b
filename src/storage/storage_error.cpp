// Messages of the storage errors.
#include "storage/storage_error.h"

namespace vellora::storage {

std::string_view StorageErrorMessage(StorageError error) {
    switch (error) {
        case StorageError::Ok:
            return "操作成功。";
        case StorageError::NotFound:
            return "文件不存在！";
        case StorageError::NotAFile:
            return "所选路径不是文件！";
        case StorageError::OpenFailed:
            return "无法打开文件！";
        case StorageError::ReadFailed:
            return "读取文件失败！";
        case StorageError::WrongSize:
            return "文件大小不正确，不是有效的音响配置文件！";
        case StorageError::WriteFailed:
            return "写入文件失败！原文件未被改动。";
        case StorageError::WrongLayout:
            return "文件中的参数类型与设备不符，不是有效的音响配置文件！";
    }
    return "未知错误！";
}

std::string_view StorageErrorText(StorageError error) {
    switch (error) {
        case StorageError::Ok:
            return "ok";
        case StorageError::NotFound:
            return "no such file";
        case StorageError::NotAFile:
            return "not a regular file";
        case StorageError::OpenFailed:
            return "cannot open the file";
        case StorageError::ReadFailed:
            return "read error";
        case StorageError::WrongSize:
            return "wrong size for a settings file (must be 252000 bytes)";
        case StorageError::WriteFailed:
            return "write error (nothing was replaced)";
        case StorageError::WrongLayout:
            return "not a settings file of this processor (an entry's FilterType differs from "
                   "the processor's)";
    }
    return "unknown error";
}

}  // namespace vellora::storage
