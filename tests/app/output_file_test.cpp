// The output files of vellora-cli: a write that finds the disk full says so in plain words.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "cli/output_file.h"

namespace {

TEST(OutputFile, AFullDiskIsNamedAsSuch) {
    // The system's full device answers every write with "no space left".
    QFile full(QStringLiteral("/dev/full"));
    if (!QFileInfo::exists(full.fileName())) GTEST_SKIP() << "no /dev/full on this system";
    ASSERT_TRUE(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    std::string error;
    EXPECT_FALSE(vellora::cli::WriteAll(full, QByteArray(4096, 'x'), error));
    EXPECT_EQ(error, "the disk is full");
    // Buffered, the failure shows at the flush; the reason is the same.
    QFile buffered(full.fileName());
    ASSERT_TRUE(buffered.open(QIODevice::WriteOnly));
    EXPECT_FALSE(vellora::cli::WriteAll(buffered, QByteArray(10, 'x'), error));
    EXPECT_EQ(error, "the disk is full");
}

}  // namespace
