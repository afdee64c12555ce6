#pragma once

#include <QIcon>

// The toolbar's pictures, drawn rather than loaded so that the program needs
// no image files beside it. An unknown key gives an empty icon.
QIcon IconaBarra(const QString& chiave);
