// The open list of a list box: a floating window owned by the control that may reach beyond
// the host window. The row under the pointer becomes the selection; a press picks it.
#pragma once

#include <QStringList>
#include <QWidget>

namespace vellora::controls {

class ComboDropList : public QWidget {
    Q_OBJECT

public:
    /// `owner` is the list box; the list is a tool window that never takes the focus.
    explicit ComboDropList(QWidget* owner);

    void SetItems(const QStringList& items);
    [[nodiscard]] const QStringList& Items() const { return items_; }
    [[nodiscard]] int Selection() const { return selection_; }
    void SetSelection(int index);
    [[nodiscard]] int TopItem() const { return 0; }

signals:
    /// The pointer moved onto a row (no event of the list box follows).
    void Hovered(int index);
    /// A press inside the list.
    void Pressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QStringList items_;
    int selection_ = 0;
};

}  // namespace vellora::controls
