// vellora --gallery end to end: the real binary renders every panel and the contact sheets
// without a display; each image is there, of a fair size and not blank.
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(Gallery, RendersEveryPanelToPng) {
#ifdef _WIN32
    const QString program = QStringLiteral(VELLORA_BIN_DIR "/vellora.exe");
#else
    const QString program = QStringLiteral(VELLORA_BIN_DIR "/vellora");
#endif
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("gallery"));
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));  // the program chooses offscreen itself
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process.setProcessEnvironment(env);
    process.start(program, {QStringLiteral("--gallery"), out});
    ASSERT_TRUE(process.waitForStarted(30000)) << process.errorString().toStdString();
    ASSERT_TRUE(process.waitForFinished(120000));
    ASSERT_EQ(process.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();

    const QStringList names{"slider_faders",      "slider_band_strips", "slider_bars_by_size",
                            "slider_value_types", "slider_fill_states", "slider_wide_narrow_knob",
                            "flag_buttons",       "list_boxes",         "progress_bar",
                            "contact_sheet",      "contact_sheet@2x"};
    for (const QString& name : names) {
        const QImage image(QDir(out).filePath(name + QStringLiteral(".png")));
        ASSERT_FALSE(image.isNull()) << name.toStdString();
        EXPECT_GE(image.width(), 300) << name.toStdString();
        EXPECT_GE(image.height(), 100) << name.toStdString();
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 3)
            for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
        EXPECT_GT(colours.size(), 200) << name.toStdString();
    }
    const QImage sheet(QDir(out).filePath(QStringLiteral("contact_sheet.png")));
    const QImage sheet2(QDir(out).filePath(QStringLiteral("contact_sheet@2x.png")));
    EXPECT_EQ(sheet2.width(), 2 * sheet.width());

    QProcess bad;
    bad.start(program, {QStringLiteral("--gallery")});
    ASSERT_TRUE(bad.waitForFinished(30000));
    EXPECT_EQ(bad.exitCode(), 2);
}

}  // namespace
