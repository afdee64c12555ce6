#include "ArchivioProva.h"

QString Messaggio(Icona icona, const QString& testo, const QString& titolo)
{
    return QString::number(int(icona)) + QLatin1Char('|') + titolo + QLatin1Char('|') + testo;
}

QStringList Messaggi(const DialoghiRegistratore& dialoghi)
{
    QStringList messaggi;
    for (const auto& voce : dialoghi.messaggi)
        messaggi.append(Messaggio(voce.icona, voce.testo, voce.titolo));
    return messaggi;
}
