// A push button whose face is a colour: the layer editor's "Colour" buttons,
// each showing its shape's colour under the caption. The button holds the
// colour word itself, so what it shows is what the layer takes.
#pragma once

#include "patterns/Pattern.h"

#include <QPushButton>

namespace lumivane {

class ColourButton : public QPushButton {
    Q_OBJECT

  public:
    explicit ColourButton(const QString& text, QWidget* parent = nullptr);

    ColourRef colour() const { return colour_; }
    void setColour(ColourRef colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    ColourRef colour_ = 0;
};

} // namespace lumivane
