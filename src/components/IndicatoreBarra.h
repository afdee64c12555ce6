#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QStatusBar;

// A text and a progress bar among the main window's status bar panels, for
// work that goes on in the background; hidden while there is none.
class IndicatoreBarra : public QWidget
{
    Q_OBJECT

public:
    // The object names of the indicator, its text and its bar.
    IndicatoreBarra(const QString& nome, const QString& nomeTesto, const QString& nomeBarra, QWidget* parent);

    // Puts the indicator at the left of the bar's permanent panels.
    void Inserisci(QStatusBar* barra);
    // `fatti` of `totale` done, said by `testo`; a busy bar while `totale` is 0.
    void Avanza(const QString& testo, int fatti, int totale);

    QLabel* const testo;
    QProgressBar* const barra;
};
