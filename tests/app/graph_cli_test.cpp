// vellora-cli curve and render end to end: the real binary on settings files written here;
// the curves checked against an independent double-precision evaluation of the same sections.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cmath>
#include <numbers>

#include "graph/reference_biquad.h"
#include "model/workspace.h"
#include "storage/settings_file.h"
#include "app/cli_runner.h"

#if VELLORA_CLI_GUI
#include <QImage>
#endif

namespace {

using vellora::graph::test::Ref;

using Result = vellora::testing::CliResult;
using vellora::testing::RunCli;

void ExpectError(const Result& r, const char* mention) {
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(mention)) << r.err.toStdString();
}

QJsonObject Json(const Result& r) {
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    return QJsonDocument::fromJson(r.out).object();
}

// The reference dB of one band from the fields the JSON reports, at `hz`.
double ReferenceDb(const QJsonObject& band, int page, double hz) {
    const double f0 = band["freqHz"].toDouble();
    if (band["eqDisabled"].toBool()) return 0.0;
    if (band["filterType"].toInt() == 1) {
        const double gain = (band["gainStep"].toInt() - 250) / 10.0;
        switch (band["qType"].toInt()) {
            case 0: return vellora::graph::test::RefDb(vellora::graph::test::RefPeaking(f0, band["q"].toDouble(), gain), hz);
            case 2: return vellora::graph::test::RefDb(vellora::graph::test::RefShelf(true, f0, band["shelfQ"].toDouble(), gain), hz);
            default: return vellora::graph::test::RefDb(vellora::graph::test::RefShelf(false, f0, band["shelfQ"].toDouble(), gain), hz);
        }
    }
    const int index = band["freqIndex"].toInt();
    if (index == 0 || index == 362) return 0.0;
    const int type = band["crossoverType"].toInt();
    int sections = 1;
    double q = 1 / std::sqrt(2.0);
    if (page == 7) {
        const int counts[] = {4, 2, 1, 2, 1};
        sections = type >= 0 && type <= 4 ? counts[type] : 1;
        if (type >= 3 || type < 0) q = 1 / std::sqrt(3.0);
    } else {
        sections = type == 0 ? 1 : 2;
    }
    const bool high = band["filterType"].toInt() == 2;
    return sections * vellora::graph::test::RefDb(vellora::graph::test::RefPass(high, f0, q), hz);
}

class GraphCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        defaults = Save("defaults.VL", vellora::model::Workspace{});
    }

    QString Save(const QString& name, const vellora::model::Workspace& ws) {
        const QString path = dir.filePath(name);
        EXPECT_EQ(vellora::storage::SaveSettingsFile(path, ws.ParamStore), vellora::storage::StorageError::Ok);
        return path;
    }

    // Every column of a curve --json answer against the reference; the sum against the columns.
    void ExpectMatchesReference(const QJsonObject& curve) {
        const int page = curve["page"].toInt();
        const QJsonArray freq = curve["freq"].toArray();
        const QJsonArray bands = curve["bands"].toArray();
        const QJsonArray columns = curve["columns"].toArray();
        const QJsonArray sum = curve["sum"].toArray();
        ASSERT_EQ(bands.size(), columns.size());
        for (qsizetype b = 0; b < bands.size(); ++b) {
            const QJsonArray column = columns[b].toArray();
            ASSERT_EQ(column.size(), freq.size());
            double worst = 0;
            for (qsizetype j = 0; j < freq.size(); ++j) {
                const double expected = ReferenceDb(bands[b].toObject(), page, freq[j].toDouble());
                if (expected < -120) continue;
                worst = std::max(worst, std::abs(column[j].toDouble() - expected));
            }
            EXPECT_LT(worst, 0.02) << "page " << page << " band " << b;
        }
        for (qsizetype j = 0; j < freq.size(); ++j) {
            double total = 0;
            for (const QJsonValue& c : columns) total += c.toArray()[j].toDouble();
            ASSERT_NEAR(sum[j].toDouble(), total, 1e-3);
        }
    }

    QTemporaryDir dir;
    QString defaults;
};

TEST_F(GraphCliTest, CurvesOfEveryDefaultPageAgreeWithTheReference) {
    for (int page = 0; page <= 7; ++page) {
        const QJsonObject curve = Json(RunCli({"curve", defaults, "--page", QString::number(page), "--json"}));
        EXPECT_EQ(curve["schema"].toString(), "vellora.curve/1");
        EXPECT_EQ(curve["points"].toInt(), 600);
        EXPECT_NEAR(curve["freq"].toArray()[0].toDouble(), 10.0, 1e-4);
        ExpectMatchesReference(curve);
    }
    const QJsonObject music = Json(RunCli({"curve", defaults, "--page", "0", "--json"}));
    EXPECT_EQ(music["bands"].toArray().size(), 17);
    EXPECT_EQ(music["bands"].toArray()[7].toObject()["gainStep"].toInt(), 400);
    const QJsonObject dance = Json(RunCli({"curve", defaults, "--page", "0", "--scene", "1", "--json"}));
    EXPECT_EQ(dance["bands"].toArray()[7].toObject()["gainStep"].toInt(), 250);
}

TEST_F(GraphCliTest, CrossoverTypesOfTheSubwooferPage) {
    vellora::model::Workspace ws;
    ws.ParamStore.Slot(1792 + 7, 0)->Value = 0;   // high-pass "LinkWitz 48dB"
    ws.ParamStore.Slot(1792 + 8, 0)->Value = 205; // at 1000 Hz
    ws.ParamStore.Slot(1792 + 9, 0)->Value = 3;   // low-pass "Bessel 24dB"
    ws.ParamStore.Slot(1792 + 10, 0)->Value = 205;
    ws.ParamStore.Slot(2590, 0)->Value = 0;
    const QString file = Save("sub.VL", ws);
    const QJsonObject curve = Json(RunCli({"curve", file, "--page", "7", "--json", "--width", "1645"}));
    ExpectMatchesReference(curve);
    // The grid point nearest 1000 Hz.
    const QJsonArray freq = curve["freq"].toArray();
    qsizetype at = 0;
    for (qsizetype j = 0; j < freq.size(); ++j)
        if (std::abs(freq[j].toDouble() - 1000) < std::abs(freq[at].toDouble() - 1000)) at = j;
    ASSERT_NEAR(freq[at].toDouble(), 1000, 3);
    EXPECT_NEAR(curve["columns"].toArray()[5].toArray()[at].toDouble(), -12.04, 0.1);
    EXPECT_NEAR(curve["columns"].toArray()[6].toArray()[at].toDouble(), -9.54, 0.1);
}

TEST_F(GraphCliTest, CsvAndTextHaveOneRowPerGridPoint) {
    const Result csv = RunCli({"curve", defaults, "--page", "4", "--csv", "--width", "1000"});
    ASSERT_EQ(csv.code, 0) << csv.err.toStdString();
    const QList<QByteArray> lines = csv.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1 + 955);
    EXPECT_EQ(lines[0], "x,freq,p0_1032,p1_1033,p2_1034,p3_1035,p4_1036,p5_1037,p6_1038,p7_1039,p8_1040,"
                        "p9_1041,p10_1030,sum");
    EXPECT_TRUE(lines[1].startsWith("40,10,"));
    EXPECT_TRUE(lines.back().startsWith("994,"));
    const Result text = RunCli({"curve", defaults, "--page", "3", "--view", "2"});
    ASSERT_EQ(text.code, 0);
    EXPECT_TRUE(text.out.contains("p0_799")) << text.out.left(300).toStdString();
    EXPECT_EQ(text.out.count('\n'), 2 + 600);
}

TEST_F(GraphCliTest, BassAutoControlInTheFileGreysItsPages) {
    vellora::model::Workspace ws;
    ws.ParamStore.Slot(2591, 0)->Value = 1;
    const QString file = Save("auto.VL", ws);
    EXPECT_TRUE(Json(RunCli({"curve", file, "--page", "0", "--json"}))["pageGreyed"].toBool());
    EXPECT_FALSE(Json(RunCli({"curve", file, "--page", "1", "--json"}))["pageGreyed"].toBool());
    EXPECT_FALSE(Json(RunCli({"curve", defaults, "--page", "0", "--json"}))["pageGreyed"].toBool());
}

#if VELLORA_CLI_GUI
TEST_F(GraphCliTest, RenderWritesThePicture) {
    const QString png = dir.filePath("main.png");
    const Result r = RunCli({"render", defaults, "--page", "6", "--out", png});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(1000, 400));
    // The flat centre channel: the yellow sum lies on the 0 dB row between two handles.
    const QColor sum = image.pixelColor(600, 152);
    EXPECT_GT(sum.red(), 220);
    EXPECT_GT(sum.green(), 170);
    EXPECT_LT(sum.blue(), 90);

    const QString dense = dir.filePath("dense.png");
    ASSERT_EQ(RunCli({"render", defaults, "--page", "0", "--width", "1600", "--height", "600", "--scale", "2",
                      "--select", "16", "--out", dense})
                  .code,
              0);
    EXPECT_EQ(QImage(dense).size(), QSize(3200, 1200));

    vellora::model::Workspace ws;
    ws.ParamStore.Slot(2582 + 6, 0)->Value = 1;
    const QString bypassed = dir.filePath("bypassed.png");
    ASSERT_EQ(RunCli({"render", Save("bypass.VL", ws), "--page", "6", "--out", bypassed}).code, 0);
    EXPECT_NE(QImage(bypassed).pixelColor(500 - 100 + 126, 133 + 22), image.pixelColor(500 - 100 + 126, 133 + 22));
}
#endif

TEST_F(GraphCliTest, BadArgumentsAreRefusedWithOneLine) {
    const QString png = dir.filePath("never.png");
    ExpectError(RunCli({"curve", defaults}), "--page");
    ExpectError(RunCli({"curve", defaults, "--page", "11"}), "--page");
    ExpectError(RunCli({"curve", defaults, "--page", "0", "--width", "20"}), "--width");
    ExpectError(RunCli({"curve", defaults, "--page", "0", "--scene", "2"}), "--scene");
    ExpectError(RunCli({"curve", defaults, "--page", "0", "--csv", "--json"}), "exclude");
    ExpectError(RunCli({"curve", defaults, "--page", "0", "--view", "1"}), "--view");
    ExpectError(RunCli({"curve", dir.filePath("missing.VL"), "--page", "0"}), "missing.VL");
#if VELLORA_CLI_GUI
    ExpectError(RunCli({"render", defaults, "--page", "7", "--view", "0", "--out", png}), "--view");
    // 8192 x 8192 at density 4 would be a picture of a billion pixels.
    ExpectError(RunCli({"render", defaults, "--page", "0", "--width", "8192", "--height", "8192",
                        "--scale", "4", "--out", png}),
                "megapixels");
    ExpectError(RunCli({"render", defaults, "--page", "0", "--width", "4097", "--height", "4096",
                        "--scale", "2", "--out", png}),
                "megapixels");
    ExpectError(RunCli({"render", defaults, "--page", "4", "--select", "11", "--out", png}), "11 bands");
    ExpectError(RunCli({"render", defaults, "--page", "4"}), "--out");
    ExpectError(RunCli({"render", defaults, "--page", "4", "--out", dir.filePath("no/dir/x.png")}), "x.png");
#else
    // Built without Qt Gui the program draws nothing: render is no command of it.
    ExpectError(RunCli({"render", defaults, "--page", "4", "--out", png}),
                "unknown command 'render'");
#endif
    EXPECT_FALSE(QFileInfo::exists(png));
    QFile junk(dir.filePath("junk.VL"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not settings");
    junk.close();
#if VELLORA_CLI_GUI
    ExpectError(RunCli({"render", junk.fileName(), "--page", "0", "--out", png}), "252000");
#else
    ExpectError(RunCli({"curve", junk.fileName(), "--page", "0"}), "252000");
#endif
}

}  // namespace
