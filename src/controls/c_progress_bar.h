// C_ProgressBar: the busy indicator shown while modes or all settings travel to or from the
// device: a red-to-blue gradient over a grey rest, a yellow border and one line of text.
#pragma once

#include <QWidget>

#include <cstdint>

namespace vellora::controls {

class C_ProgressBar : public QWidget {
    Q_OBJECT

public:
    explicit C_ProgressBar(QWidget* parent = nullptr);

    [[nodiscard]] int16_t Value() const { return value_; }
    /// Values above MaxValue (1 when MaxValue is 0 or less) are cut to it, below 0 to 0; repaints.
    void SetValue(int value);
    [[nodiscard]] int16_t MaxValue() const { return max_value_; }
    /// Full scale; 0 or less is drawn as 1. Cuts Value to the new scale and repaints.
    void SetMaxValue(int value);
    [[nodiscard]] uint8_t ShowContent() const { return show_content_; }
    /// 0: the waiting text; otherwise the percentage text.
    void SetShowContent(int value);

    [[nodiscard]] QString Text() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int16_t value_ = 0;
    int16_t max_value_ = 100;
    uint8_t show_content_ = 0;
};

}  // namespace vellora::controls
