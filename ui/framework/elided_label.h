#pragma once

#include <QLabel>

namespace ui {

// A one-line label that keeps its whole text (text() and a tooltip read it) but paints as much
// as fits, ending in "…" where the text is cut.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // The text as painted at the label's present width.
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ui
