#include "ArchivioProva.h"

#include "ArchivioDiProva.h"
#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "settings/Impostazioni.h"

#include <QDir>
#include <QFile>

namespace {
void Riuscito(const ErroreArchivio& errore)
{
    if (errore.presente())
        qFatal("%s", qPrintable(errore.testo()));
}

QVariant Campo(const QString& testo)
{
    return testo == QLatin1String("-") ? QVariant() : QVariant(testo == QLatin1String("''") ? QString("") : testo);
}
} // namespace

ArchivioProva::ArchivioProva(const QStringList& righe, const QStringList& pdf)
    : database(percorso(QStringLiteral("server/dati.mdb"))), cartellaPdf(percorso(QStringLiteral("server/pdf")))
{
    fermaOrologio(QDateTime(QDate(2014, 3, 15), QTime(10, 30)));
    QDir().mkpath(cartellaPdf);
    Riuscito(CreaArchivioProva(database));
    ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("DataBase"), percorso(QStringLiteral("server")));
    ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("CartellaPDF"), cartellaPdf);

    Connessione connessione;
    Riuscito(connessione.Apri(StringaConnessione(database)));
    Riuscito(connessione.IniziaTransazione());
    ErroreArchivio errore;
    auto comando = connessione.Prepara(
        QStringLiteral("insert into Posta (Stampa, Tipo, NumDoc, Data, Codice, email) values (?, ?, ?, ?, ?, ?)"),
        errore);
    Riuscito(errore);
    for (const QString& riga : righe) {
        const QStringList c = riga.split(QLatin1Char(' '));
        Riuscito(comando->Esegui({c[0], Campo(c[1]), c[2], QDate::fromString(c[3], Qt::ISODate), Campo(c[4]),
                                  QStringLiteral("ufficio@esempio.it")}));
    }
    comando.reset();
    Riuscito(connessione.Conferma());
    for (const QString& nome : pdf)
        scriviFile(QStringLiteral("server/pdf/") + nome, "%PDF-1.4\n" + nome.toUtf8() + "\n%%EOF\n");
}

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
