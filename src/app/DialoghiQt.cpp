#include "app/DialoghiQt.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon iconaQt(Icona icona)
{
    switch (icona) {
    case Icona::Critica:
        return QMessageBox::Critical;
    case Icona::Esclamazione:
        return QMessageBox::Warning;
    case Icona::Informazione:
        return QMessageBox::Information;
    case Icona::Domanda:
        return QMessageBox::Question;
    case Icona::Nessuna:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

Risposta DialoghiQt::Messaggio(const QString& testo, Icona icona, const QString& titolo,
                               Pulsanti pulsanti)
{
    const bool domanda = pulsanti == Pulsanti::SiNo;
    QMessageBox box(iconaQt(icona), titolo, testo,
                    domanda ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    QApplication::activeWindow());
    // Yes is the first button and the default one, as users expect.
    box.setDefaultButton(domanda ? QMessageBox::Yes : QMessageBox::Ok);
    if (domanda)
        box.setEscapeButton(QMessageBox::No);
    const int scelta = box.exec();
    if (!domanda)
        return Risposta::Ok;
    return scelta == QMessageBox::Yes ? Risposta::Si : Risposta::No;
}

QString DialoghiQt::Input(const QString& richiesta, const QString& titolo,
                          const QString& predefinito)
{
    bool confermato = false;
    const QString testo = QInputDialog::getText(QApplication::activeWindow(), titolo, richiesta,
                                                QLineEdit::Normal, predefinito, &confermato);
    return confermato ? testo : QString();
}
