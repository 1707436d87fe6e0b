// vellora: the tuning terminal. For now it shows the controls gallery; with --gallery DIR it
// renders every control form, value type and state to PNG files without a display.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#include <cstdio>
#include <cstring>
#include <memory>

#include "controls/control_context.h"
#include "controls/control_pictures.h"
#include "controls/m_btn_flag.h"
#include "controls/m_combo_box.h"
#include "controls/m_scroll_bar.h"
#include "controls/workspace_look_source.h"
#include "graph/graph_pictures.h"
#include "graph/picture_store.h"
#include "link/qt_clock.h"
#include "model/clock.h"
#include "model/workspace.h"
#include "vellora/control_gallery.h"
#include "vellora/gallery_panel.h"

namespace {

using namespace vellora;

int Usage() {
    std::fputs("usage: vellora [--gallery DIR]\n", stderr);
    return 2;
}

// Shows the gallery's panels live; every event of a control is written to the status line.
int ShowWindow(app::ControlGallery& gallery) {
    auto* window = new QWidget;
    window->setWindowTitle(QStringLiteral("Vellora"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea;
    auto* content = new QWidget;
    content->setStyleSheet(QStringLiteral("background: #0a0c0f;"));
    auto* column = new QVBoxLayout(content);
    column->setSpacing(12);
    auto* status = new QLabel(QStringLiteral(" "));
    status->setStyleSheet(QStringLiteral("background: #111418; color: #b8c0cc; padding: 4px 8px;"));
    auto panels = gallery.BuildPanels(true);
    for (auto& panel : panels) {
        auto* p = panel.release();
        column->addWidget(p, 0, Qt::AlignLeft);
        for (auto* s : p->findChildren<controls::MScrollBar*>()) {
            QObject::connect(s, &controls::MScrollBar::Scroll, status, [s, status] {
                status->setText(
                    QStringLiteral(
                        "Scroll  Value %1  Freq %2  Q %3  sQ %4  QType %5  EQdisabled %6")
                        .arg(s->Value())
                        .arg(s->Freq())
                        .arg(s->Q())
                        .arg(s->sQ())
                        .arg(s->QType())
                        .arg(s->EQdisabled()));
            });
        }
        for (auto* b : p->findChildren<controls::MBtnFlag*>())
            QObject::connect(b, &controls::MBtnFlag::Click, status, [b, status] {
                status->setText(QStringLiteral("Click  Value %1").arg(b->Value()));
            });
        for (auto* c : p->findChildren<controls::MComboBox*>())
            QObject::connect(c, &controls::MComboBox::Click, status, [status](int i) {
                status->setText(QStringLiteral("Click  index %1").arg(i));
            });
    }
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    outer->addWidget(scroll, 1);
    outer->addWidget(status);
    window->resize(1240, 860);
    window->show();
    for (auto* s : content->findChildren<controls::MScrollBar*>()) s->BkGround_Init(false);
    for (auto* b : content->findChildren<controls::MBtnFlag*>()) b->BkGround_Init(false);
    for (auto* c : content->findChildren<controls::MComboBox*>()) c->BkGround_Init(false);
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    QString galleryDir;
    bool gallery = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--gallery") == 0) {
            if (i + 1 >= argc) return Usage();
            gallery = true;
            galleryDir = QString::fromLocal8Bit(argv[++i]);
        } else if (argv[i][0] == '-' && argv[i][1] == '-') {
            return Usage();
        }
    }
    // Rendering to files needs no display.
    if (gallery && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    model::Workspace ws;
    ws.LoadDefaults();
    controls::WorkspaceLookSource look(ws);
    graph::PictureStore pictures(gallery ? 1.0 : application.devicePixelRatio());
    graph::RegisterGraphPictures(pictures);
    controls::RegisterControlPictures(pictures);

    if (gallery) {
        model::VirtualClock clock;
        app::ControlGallery g(ws, controls::ControlContext{clock, pictures, look});
        QString error;
        const QStringList written = g.RenderTo(galleryDir, error);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "vellora: %s\n", qPrintable(error));
            return 1;
        }
        for (const QString& path : written)
            std::printf("%s\n", qPrintable(QDir::toNativeSeparators(path)));
        return 0;
    }
    link::QtClock clock;
    app::ControlGallery g(ws, controls::ControlContext{clock, pictures, look});
    return ShowWindow(g);
}
