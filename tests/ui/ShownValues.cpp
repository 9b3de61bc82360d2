#include "ShownValues.h"

#include "ui/ColourButton.h"
#include "ui/ConfigControls.h"
#include "ui/ConfigDialog.h"
#include "ui/LayerDialog.h"
#include "ui/ShapeSlotGroup.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>

#include <sstream>

namespace lumivane::test {
namespace {

template <typename Control> Control* find(const QWidget* dialog, int id) {
    return dialog->findChild<Control*>(QStringLiteral("id%1").arg(id));
}

std::optional<int> number(const QWidget* dialog, int id, int lo, int hi) {
    bool ok = false;
    const int value = find<QLineEdit>(dialog, id)->text().trimmed().toInt(&ok);
    return ok && value >= lo && value <= hi ? std::optional<int>(value) : std::nullopt;
}

void takeListIndex(std::int32_t& field, const QWidget* dialog, int id) {
    const int index = find<QComboBox>(dialog, id)->currentIndex();
    if (index >= 0)
        field = index;
}

void takeChoice(std::int32_t& field, int value) {
    if (value >= 0)
        field = value;
}

int choiceOf(const QWidget* dialog, std::span<const int> ids) {
    for (std::size_t value = 0; value < ids.size(); ++value) {
        if (find<QAbstractButton>(dialog, ids[value])->isChecked())
            return int(value);
    }
    return -1;
}

} // namespace

std::optional<Pattern> shownPattern(const ConfigDialog& dialog) {
    Pattern shown = dialog.workingPattern();
    const std::optional<int> symmetry = number(&dialog, 1000, 3, 20);
    const std::optional<int> resetTime = number(&dialog, 1126, 1, 1000000);
    if (!symmetry || !resetTime)
        return std::nullopt;
    shown.symmetry = *symmetry;
    shown.resetTime = *resetTime;
    for (const SliderDef& slider : SLIDERS)
        slider.of(shown) = find<QSlider>(&dialog, slider.id)->value();
    takeListIndex(shown.screenShape, &dialog, 1112);
    shown.darkBorders = find<QAbstractButton>(&dialog, 1129)->isChecked() ? 1 : 0;
    return shown;
}

int shownChoice(const QWidget* dialog, std::initializer_list<int> ids) {
    return choiceOf(dialog, std::span<const int>(ids.begin(), ids.size()));
}

HelpCursor helpCursorOver(const QWidget* dialog) {
    int shown = dialog->cursor().shape() == Qt::WhatsThisCursor ? 1 : 0;
    int all = 1;
    for (const QWidget* control : dialog->findChildren<QWidget*>()) {
        if (control->window() != dialog) // a list's pop-up, a child dialog
            continue;
        ++all;
        shown += control->cursor().shape() == Qt::WhatsThisCursor ? 1 : 0;
    }
    return shown == all ? HelpCursor::Everywhere
                        : (shown == 0 ? HelpCursor::Nowhere : HelpCursor::Partly);
}

Layer shownLayer(const LayerDialog& dialog) {
    Layer shown = dialog.layer();
    for (int slot = 0; slot < SLOTS_PER_LAYER; ++slot) {
        const ShapeSlotGroup::Ids& ids = ShapeSlotGroup::idsOf(slot);
        takeListIndex(shown.shape[slot], &dialog, ids.shapeList);
        shown.colour[slot] = find<ColourButton>(&dialog, ids.colourButton)->colour();
        shown.ratio[slot] = find<QSlider>(&dialog, ids.ratio)->value();
        shown.size[slot] = find<QSlider>(&dialog, ids.size)->value();
        shown.animate[slot] = find<QSlider>(&dialog, ids.animate)->value();
        takeChoice(shown.colourMode[slot], choiceOf(&dialog, ids.colourModes));
        takeChoice(shown.sizeMode[slot], choiceOf(&dialog, ids.sizeModes));
        takeChoice(shown.angleMode[slot], choiceOf(&dialog, ids.angleModes));
        shown.border[slot] = find<QAbstractButton>(&dialog, ids.border)->isChecked() ? 1 : 0;
    }
    return shown;
}

QStringList entriesOf(const QComboBox* list) {
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->itemText(i);
    return names;
}

std::string describe(const Pattern& p) {
    std::ostringstream text;
    text << "symmetry " << p.symmetry << " reset " << p.resetTime << " shape " << p.screenShape
         << " borders " << p.darkBorders << " sliders";
    for (const SliderDef& slider : SLIDERS)
        text << ' ' << slider.of(p);
    return text.str();
}

std::string describe(const Layer& l) {
    std::ostringstream text;
    for (int i = 0; i < SLOTS_PER_LAYER; ++i)
        text << '[' << l.shape[i] << ' ' << l.ratio[i] << ' ' << l.size[i] << ' ' << l.animate[i]
             << ' ' << l.colourMode[i] << ' ' << l.sizeMode[i] << ' ' << l.angleMode[i] << ' '
             << l.border[i] << ' ' << l.colour[i] << ']';
    return text.str();
}

} // namespace lumivane::test
