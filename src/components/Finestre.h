#pragma once

class QWidget;

// Conventions shared by the child windows of the main window.

// Lengths given in twips (1440 to the inch), at the 96 dots per inch the
// forms were drawn for.
constexpr int Twip(int twips)
{
    return twips / 15;
}

// Puts the window at the top-left corner of the main window's work area
// (or of the screen when it stands alone); its size is unchanged.
void SpostaInAltoASinistra(QWidget* finestra);

// Unloads the window: closes it together with its frame in the main window
// and releases it.
void ScaricaFinestra(QWidget* finestra);

// Takes the window off the screen without unloading it: it keeps its
// contents, and the main window still counts it as open.
void NascondiFinestra(QWidget* finestra);

// Brings a window that is open (hidden, minimised or behind others) back to
// the front as the active one, keeping its size: a maximised window stays
// maximised.
void RiprendiFinestra(QWidget* finestra);
