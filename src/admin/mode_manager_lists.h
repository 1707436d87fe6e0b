// The mode manager's lists as plain data: the name column of the mode rows, the row texts, the
// mode folder scan, and the assignment of mode files to mode rows with its moves.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <string>
#include <vector>

namespace vellora::admin {

inline constexpr int kModeRows = 10;       ///< 模式1 .. 模式10 (mode 11 is not managed here)
inline constexpr int kMaxModeFiles = 100;  ///< ModeFiles
inline constexpr int kNameColumnBytes = 12;

/// ModeAssign, entries 0..9: the file (base name) for each mode row; empty means none.
using ModeAssign = std::array<QString, kModeRows>;

/// Bytes of `text` in GBK, the device's code page (a Chinese character is two bytes). Without a
/// GBK converter, or for characters GBK lacks, ASCII counts one byte and anything else two.
[[nodiscard]] int GbkByteCount(const QString& text);
/// The name column: `name` padded with spaces to 12 GBK bytes, or cut to its first 12
/// characters when it is 12 bytes or longer.
[[nodiscard]] QString PadModeName(const QString& name);

/// The header rows of List2 and List3.
[[nodiscard]] QString ModeListHeader();
[[nodiscard]] QString FileListHeader();
/// Mode row `row` (0..9) of List1.
[[nodiscard]] QString ModeRowText(int row, const QString& name, const QString& assigned);
/// File row `n` (counted from 1) of List4.
[[nodiscard]] QString FileRowText(int n, const QString& file);

struct FolderScan {
    QStringList Files;      ///< base names of the mode files, at most kMaxModeFiles
    QStringList FileNames;  ///< their whole names, extension as found, in the same order
    int Left = 0;           ///< further mode files that are not listed
};
/// The mode files (extension ".vl" in any case: the settings files' ".VL" are mode files too,
/// and on Windows the case never mattered) directly in `folder`, without the extension, in
/// name order. A missing folder lists nothing.
[[nodiscard]] FolderScan ScanModeFolder(const QString& folder);

/// "<<": each selected file (rising order) goes to the first empty row that is selected, or to
/// any empty row when no row is selected; a file no row takes is dropped. Returns the rows
/// given a file.
std::vector<int> AssignFiles(ModeAssign& assign, const QStringList& selectedFiles,
                             const std::vector<int>& selectedRows);

struct MoveResult {
    bool Moved = false;         ///< false: a selected row was at the edge, nothing changed
    std::vector<int> Selected;  ///< the rows to select afterwards
};
/// 上移 / 下移: moves the assignments of the selected rows one row up (down); nothing when a
/// selected row is the first (last) row.
[[nodiscard]] MoveResult MoveUp(ModeAssign& assign, const std::vector<int>& selectedRows);
[[nodiscard]] MoveResult MoveDown(ModeAssign& assign, const std::vector<int>& selectedRows);

/// ">>": the base names of the files the selected modes are downloaded to: each mode name made
/// safe as a file name ("模式N" for an empty one), equal names within the batch told apart.
[[nodiscard]] std::vector<QString> DownloadBaseNames(const std::array<QString, 11>& names,
                                                     const std::vector<int>& rows);

}  // namespace vellora::admin
