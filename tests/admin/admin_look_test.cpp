// The administration look as drawn offscreen: on the rights window and the launcher's menus
// every text stands out from its own background, disabled text is clearly dimmer yet still
// readable, the focused control shows the editor's accent, and the pictures it names load.
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <map>

#include "admin/admin_fixture.h"
#include "admin/admin_look.h"
#include "admin/frm_program2.h"
#include "controls/control_art.h"

namespace vellora::admin::test {
namespace {

double Channel(int v) {
    const double c = v / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(QRgb c) {
    return 0.2126 * Channel(qRed(c)) + 0.7152 * Channel(qGreen(c)) + 0.0722 * Channel(qBlue(c));
}

// The contrast ratio of two colours, 1 (same) to 21 (black on white).
double Contrast(QRgb a, QRgb b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Text is grey in this look; the accent (indicators, focus) is not.
bool Grey(QRgb c) {
    const int hi = std::max({qRed(c), qGreen(c), qBlue(c)});
    const int lo = std::min({qRed(c), qGreen(c), qBlue(c)});
    return hi - lo <= 24;
}

// The contrast of the text in `r` against the commonest colour there (its background): the
// grey pixel that stands out most.
double InkContrast(const QImage& image, const QRect& r) {
    std::map<QRgb, int> counts;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) ++counts[image.pixel(x, y)];
    const QRgb background =
        std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
            return a.second < b.second;
        })->first;
    double best = 1.0;
    for (const auto& [colour, n] : counts)
        if (Grey(colour)) best = std::max(best, Contrast(colour, background));
    return best;
}

int AccentPixels(const QImage& image, const QRect& r) {
    const QColor accent = controls::art::kAccent;
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            n += std::abs(qRed(c) - accent.red()) + std::abs(qGreen(c) - accent.green()) +
                     std::abs(qBlue(c) - accent.blue()) <
                 40;
        }
    return n;
}

QImage Picture(QWidget& w) {
    QApplication::processEvents();
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

constexpr double kReadable = 7.0;          // enabled text
constexpr double kDisabledReadable = 3.0;  // disabled text: still legible
constexpr double kDimmer = 0.7;            // disabled at most this share of enabled contrast

// Each control drawn enabled and disabled, in the window's own picture.
TEST_F(LauncherTest, RightsWindowTextReadableDisabledDimmerFocusInAccent) {
    FrmProgram2 window(ws, session, prompts);
    const ControlMap& c = window.Controls();
    for (const char* edit : {"Text9", "Text2"})
        c.Get<QLineEdit>(QString::fromLatin1(edit))->setText(QStringLiteral("1234"));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    for (const char* name :
         {"Command6", "Command5", "Text2", "Option2_1", "lblOld1", "lblAdminPassword"}) {
        QWidget* w = c.Get<QWidget>(QString::fromLatin1(name));
        ASSERT_NE(w, nullptr) << name;
        const bool was = w->isEnabled();
        const QRect at(w->mapTo(&window, QPoint(0, 0)), w->size());
        w->setEnabled(true);
        const double on = InkContrast(Picture(window), at);
        w->setEnabled(false);
        const double off = InkContrast(Picture(window), at);
        w->setEnabled(was);
        EXPECT_GE(on, kReadable) << name;
        EXPECT_GE(off, kDisabledReadable) << name;
        EXPECT_LE(off, on * kDimmer) << name;
    }

    auto* edit = c.Get<QWidget>(QStringLiteral("Text9"));
    auto* key = c.Get<QWidget>(QStringLiteral("Command5"));
    const QRect editAt(edit->mapTo(&window, QPoint(0, 0)), edit->size());
    const QRect keyAt(key->mapTo(&window, QPoint(0, 0)), key->size());
    edit->setFocus();
    QImage picture = Picture(window);
    EXPECT_GE(AccentPixels(picture, editAt), edit->width()) << "the focused edit's border";
    EXPECT_EQ(AccentPixels(picture, keyAt), 0);
    key->setFocus();
    picture = Picture(window);
    EXPECT_EQ(AccentPixels(picture, editAt), 0);
    EXPECT_GE(AccentPixels(picture, keyAt), key->width()) << "the focused key's border";
}

// With the editor closed only the switch is live; the other entries are drawn disabled.
TEST_F(LauncherTest, MenuEntriesReadableDisabledDimmer) {
    QMenu* menu = frame->DeviceMenu();
    menu->popup(QPoint(0, 0));
    const QImage picture = Picture(*menu);
    const double on = InkContrast(picture, menu->actionGeometry(frame->Entry("mnuEditor")));
    const double off = InkContrast(picture, menu->actionGeometry(frame->Entry("CmdProgramSetup")));
    menu->hide();
    EXPECT_GE(on, kReadable);
    EXPECT_GE(off, kDisabledReadable);
    EXPECT_LE(off, on * kDimmer);
}

// A picture the style sheet names but the program does not carry is silently left out.
TEST(AdminLook, EveryPictureTheStyleSheetNamesLoads) {
    const QString sheet = AdminStyleSheet();
    int named = 0;
    for (const auto& m :
         QRegularExpression(QStringLiteral(R"(url\(([^)]+)\))")).globalMatch(sheet)) {
        ++named;
        EXPECT_FALSE(QImage(m.captured(1)).isNull()) << m.captured(1).toStdString();
    }
    EXPECT_GE(named, 3);
}

}  // namespace
}  // namespace vellora::admin::test
