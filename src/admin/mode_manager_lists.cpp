// The mode manager's lists: texts, folder scan, assignments.
#include "admin/mode_manager_lists.h"

#include <QDir>
#include <QStringEncoder>
#include <algorithm>

#include "storage/mode_files.h"

namespace vellora::admin {

int GbkByteCount(const QString& text) {
    QStringEncoder gbk("GBK", QStringConverter::Flag::Stateless);
    if (gbk.isValid()) {
        const QByteArray bytes = gbk.encode(text);
        if (!gbk.hasError()) return static_cast<int>(bytes.size());
    }
    int count = 0;
    for (const QChar c : text) count += c.unicode() < 0x80 ? 1 : 2;
    return count;
}

QString PadModeName(const QString& name) {
    const int bytes = GbkByteCount(name);
    if (bytes >= kNameColumnBytes) return name.left(kNameColumnBytes);
    return name + QString(kNameColumnBytes - bytes, QLatin1Char(' '));
}

QString ModeListHeader() {
    return QStringLiteral("模式号\t| 原配置        | 新配置");
}

QString FileListHeader() {
    return QStringLiteral("文件号\t| 名称");
}

QString ModeRowText(int row, const QString& name, const QString& assigned) {
    return QStringLiteral("模式 %1\t| %2  | %3").arg(row + 1).arg(PadModeName(name), assigned);
}

QString FileRowText(int n, const QString& file) {
    return QStringLiteral("文件%1\t| %2").arg(n).arg(file);
}

FolderScan ScanModeFolder(const QString& folder) {
    FolderScan scan;
    if (folder.isEmpty()) return scan;
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    const QString extension =
        QString::fromUtf8(storage::kModeFileExtension.data(),
                          static_cast<qsizetype>(storage::kModeFileExtension.size()));
    for (const QString& name : names) {
        if (!name.endsWith(extension, Qt::CaseInsensitive) || name.size() <= extension.size())
            continue;
        if (scan.Files.size() < kMaxModeFiles) {
            scan.Files << name.chopped(static_cast<int>(extension.size()));
            scan.FileNames << name;
        } else
            ++scan.Left;
    }
    return scan;
}

std::vector<int> AssignFiles(ModeAssign& assign, const QStringList& selectedFiles,
                             const std::vector<int>& selectedRows) {
    std::vector<int> given;
    for (const QString& file : selectedFiles) {
        for (int row = 0; row < kModeRows; ++row) {
            const bool selected =
                std::find(selectedRows.begin(), selectedRows.end(), row) != selectedRows.end();
            if (!assign[static_cast<std::size_t>(row)].isEmpty() ||
                (!selectedRows.empty() && !selected))
                continue;
            assign[static_cast<std::size_t>(row)] = file;
            given.push_back(row);
            break;
        }
    }
    return given;
}

namespace {

MoveResult Move(ModeAssign& assign, std::vector<int> rows, int step) {
    MoveResult result;
    std::sort(rows.begin(), rows.end());
    if (step > 0) std::reverse(rows.begin(), rows.end());
    const int edge = step < 0 ? 0 : kModeRows - 1;
    if (rows.empty() || std::find(rows.begin(), rows.end(), edge) != rows.end()) return result;
    for (const int row : rows) {
        std::swap(assign[static_cast<std::size_t>(row)],
                  assign[static_cast<std::size_t>(row + step)]);
        result.Selected.push_back(row + step);
    }
    std::sort(result.Selected.begin(), result.Selected.end());
    result.Moved = true;
    return result;
}

}  // namespace

MoveResult MoveUp(ModeAssign& assign, const std::vector<int>& selectedRows) {
    return Move(assign, selectedRows, -1);
}

MoveResult MoveDown(ModeAssign& assign, const std::vector<int>& selectedRows) {
    return Move(assign, selectedRows, +1);
}

std::vector<QString> DownloadBaseNames(const std::array<QString, 11>& names,
                                       const std::vector<int>& rows) {
    std::vector<QString> bases;
    for (const int row : rows) {
        const std::string name = names[static_cast<std::size_t>(row)].toStdString();
        bases.push_back(storage::UniqueBaseName(storage::ModeFileBaseName(name, row), bases));
    }
    return bases;
}

}  // namespace vellora::admin
