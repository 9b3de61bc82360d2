// Colours between the pattern store and Qt's colour chooser: the store keeps
// 0x00BBGGRR words (red in the low byte), and its 16 custom colours are the
// ones every chooser of the configuration dialogs offers.
#pragma once

#include "patterns/Pattern.h"

#include <QColor>

namespace lumivane {

class DataStore;

QColor toQColor(ColourRef colour);
ColourRef toColourRef(const QColor& colour);

// Qt's custom colours are process-wide: a chooser shows the store's when they
// are handed over just before it opens, and the ones the user added there are
// taken back into the store when it closes, whichever way it closed.
void handCustomColoursToQt(const DataStore& store);
void takeCustomColoursFromQt(DataStore& store);

} // namespace lumivane
