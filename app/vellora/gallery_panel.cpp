// Layout and painting of a gallery panel.
#include "vellora/gallery_panel.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

#include "controls/bound_control.h"

namespace vellora::app {

namespace {
constexpr int kMargin = 18;
constexpr int kTitleHeight = 34;
constexpr int kGap = 22;
constexpr int kCaptionHeight = 28;

QFont CaptionFont() {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Arial"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(10);
    return font;
}

// Lines with Chinese characters are set in the taller CJK face; each line gets its height.
int CaptionHeight(const QString& caption) {
    QFont cjk(QStringLiteral("Noto Sans CJK SC"));
    cjk.setPixelSize(CaptionFont().pixelSize());
    const QFontMetrics latin(CaptionFont()), wide(cjk);
    int height = 0;
    for (const QString& line : caption.split(QLatin1Char('\n'))) {
        const bool hasWide =
            std::any_of(line.begin(), line.end(), [](QChar c) { return c.unicode() > 0x2E7F; });
        height += std::max(latin.lineSpacing(), hasWide ? wide.lineSpacing() : 0);
    }
    return height;
}
}  // namespace

GalleryPanel::GalleryPanel(const QString& title, int maxWidth, QWidget* parent)
    : QWidget(parent), title_(title), max_width_(maxWidth) {
    x_ = kMargin;
    y_ = kTitleHeight + 6;
}

void GalleryPanel::Add(QWidget* control, const QString& caption) {
    control->setParent(this);
    // Named in the accessibility tree (and its tooltip) by its caption on this panel.
    if (auto* bound = qobject_cast<controls::BoundControl*>(control))
        bound->SetAccessibleContext(caption.section(QLatin1Char('\n'), 0, 0), title_);
    const QFontMetrics fm(CaptionFont());
    int captionWidth = 0;
    for (const QString& line : caption.split(QLatin1Char('\n')))
        captionWidth = std::max(captionWidth, fm.horizontalAdvance(line));
    const int cell = std::max(control->width(), captionWidth);
    if (x_ > kMargin && x_ + cell > max_width_ - kMargin) NewRow();
    control->move(x_ + (cell - control->width()) / 2, y_);
    last_ = control->geometry();
    const int captionHeight = std::max(kCaptionHeight - 5, CaptionHeight(caption));
    captions_.push_back({QRect(x_, y_ + control->height() + 5, cell, captionHeight), caption});
    row_height_ = std::max(row_height_, control->height() + 5 + captionHeight);
    x_ += cell + kGap;
    right_ = std::max(right_, x_ - kGap);
    control->show();
}

void GalleryPanel::AddBeside(QWidget* extra, QPoint offsetFromLast) {
    extra->move(last_.topLeft() + offsetFromLast);
    // The last control's caption moves down under the extra widget.
    if (!captions_.empty()) {
        QRect& box = captions_.back().box;
        box.moveTop(std::max(box.top(), extra->geometry().bottom() + 6));
        row_height_ = std::max(row_height_, box.bottom() - y_ + 1);
    }
    row_height_ = std::max(row_height_, extra->geometry().bottom() - y_ + kCaptionHeight);
    extra->show();
}

void GalleryPanel::NewRow() {
    if (row_height_ == 0) return;
    y_ += row_height_ + 10;
    x_ = kMargin;
    row_height_ = 0;
}

void GalleryPanel::Finish() {
    const QFontMetrics fm(QFont(QStringLiteral("DejaVu Sans"), 13));
    const int w = std::max(right_ + kMargin, fm.horizontalAdvance(title_) + 2 * kMargin);
    const int h = y_ + row_height_ + 8;
    setFixedSize(w, h);
}

void GalleryPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient base(0, 0, 0, height());
    base.setColorAt(0.0, QColor(31, 35, 43));
    base.setColorAt(1.0, QColor(19, 22, 27));
    p.fillRect(rect(), base);
    p.fillRect(QRect(0, 0, width(), 1), QColor(255, 255, 255, 22));
    p.fillRect(QRect(0, height() - 1, width(), 1), QColor(0, 0, 0, 160));
    // Title strip.
    p.fillRect(QRect(0, 0, width(), kTitleHeight - 6), QColor(0, 0, 0, 60));
    p.fillRect(QRect(kMargin - 8, 9, 3, kTitleHeight - 24), QColor(56, 160, 255));
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(13);
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    p.setFont(title);
    p.setPen(QColor(214, 220, 228));
    p.drawText(QRect(kMargin, 0, width() - kMargin, kTitleHeight - 6),
               Qt::AlignVCenter | Qt::AlignLeft, title_);
    p.setFont(CaptionFont());
    p.setPen(QColor(128, 136, 148));
    for (const Caption& c : captions_) p.drawText(c.box, Qt::AlignHCenter | Qt::AlignTop, c.text);
}

}  // namespace vellora::app
