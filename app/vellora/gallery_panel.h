// A dark console panel that lays out controls in rows, each with a caption underneath, so
// the controls can be seen together on the background they are made for.
#pragma once

#include <QString>
#include <QWidget>

#include <vector>

namespace vellora::app {

class GalleryPanel : public QWidget {
    Q_OBJECT

public:
    GalleryPanel(const QString& title, int maxWidth, QWidget* parent = nullptr);

    /// Places `control` (reparented to the panel) in the current row with its caption.
    void Add(QWidget* control, const QString& caption);
    /// Places `extra` (already a child) at an offset from the last added control; that
    /// control's caption moves under it.
    void AddBeside(QWidget* extra, QPoint offsetFromLast);
    /// Starts a new row.
    void NewRow();
    /// Sizes the panel to its content.
    void Finish();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Caption {
        QRect box;
        QString text;
    };
    QString title_;
    int max_width_;
    int x_ = 0, y_ = 0, row_height_ = 0, right_ = 0;
    QRect last_;
    std::vector<Caption> captions_;
};

}  // namespace vellora::app
