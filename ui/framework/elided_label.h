#pragma once

#include <QLabel>

namespace ui {

// A one-line label that keeps its whole text (text() reads it) but paints as much as fits, ending
// in "…" where the text is cut; resting the pointer on a cut text shows it whole, unless the
// label has a tooltip of its own.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // The text as painted at the label's present width: its first line, the only one there is
    // room for.
    QString ShownText() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString FirstLine() const;
};

} // namespace ui
