#pragma once

#include <QIcon>

namespace orivel {

// The 24 x 24 pictures of the main window's nine speed buttons, painted as vectors:
// 1 a red sun rising over the sea, 2 red shaved ice in a light-blue bowl, 3 a cake with
// candles, 4 a fir tree with a star on a dark ground, 5 a heart, 6 two blue fish among
// water plants, 7 a ticked box, 8 an empty box, 9 a ticked and an empty box with arrows.
QIcon speedButtonIcon(int kind);
QPixmap speedButtonPixmap(int kind, int size = 24);

}  // namespace orivel
