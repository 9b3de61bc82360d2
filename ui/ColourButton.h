// A push button whose face is a colour: the layer editor's "Colour" buttons,
// each showing its shape's colour under the caption.
#pragma once

#include <QColor>
#include <QPushButton>

namespace lumivane {

class ColourButton : public QPushButton {
    Q_OBJECT

  public:
    explicit ColourButton(const QString& text, QWidget* parent = nullptr);

    QColor colour() const { return colour_; }
    void setColour(const QColor& colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor colour_ = Qt::black;
};

} // namespace lumivane
