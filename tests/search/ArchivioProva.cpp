#include "ArchivioProva.h"

#include "AmbienteProva.h"
#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "settings/Impostazioni.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {
void Riuscito(const ErroreArchivio& errore)
{
    if (errore.presente())
        qFatal("%s", qPrintable(errore.testo()));
}
} // namespace

ArchivioProva::ArchivioProva(const AmbienteProva& ambiente, const QList<DocumentoProva>& documenti)
    : database(ambiente.percorso(QStringLiteral("server/dati.mdb"))),
      cartellaPdf(ambiente.percorso(QStringLiteral("server/pdf")))
{
    QDir().mkpath(cartellaPdf);
    Riuscito(CreaArchivio(database));
    ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("DataBase"), ambiente.percorso(QStringLiteral("server")));
    ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("CartellaPDF"), cartellaPdf);
    Inserisci(documenti);
}

void ArchivioProva::Inserisci(const QList<DocumentoProva>& documenti) const
{
    Connessione connessione;
    Riuscito(connessione.Apri(StringaConnessione(database)));
    Riuscito(connessione.IniziaTransazione());
    ErroreArchivio errore;
    auto comando = connessione.Prepara(
        QStringLiteral("insert into Posta (Stampa, Tipo, NumDoc, Data, Codice, email) values (?, ?, ?, ?, ?, ?)"),
        errore);
    Riuscito(errore);
    for (const DocumentoProva& d : documenti)
        Riuscito(comando->Esegui({d.stampa, d.tipo, d.numero, d.data, d.codice, d.email}));
    comando.reset();
    Riuscito(connessione.Conferma());
}

void ArchivioProva::ScriviPdf(const QStringList& nomi) const
{
    for (const QString& nome : nomi) {
        QFile file(cartellaPdf + QLatin1Char('/') + nome);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n" + nome.toUtf8() + "\n%%EOF\n");
    }
}

DocumentoProva Documento(const QString& stampa, const QString& tipo, const QString& numero, const QDate& data,
                         const QString& codice)
{
    return {stampa, tipo, numero, data, codice, QStringLiteral("ufficio@esempio.it")};
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
