// The move sound as a library of its own, loaded by the program once its window is on
// the screen, so the multimedia libraries are not loaded before the board is shown.

#include "qtmovesound.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT quorin::MoveSound* QuorinCreateMoveSound() {
    return new quorin::QtMoveSound();
}
