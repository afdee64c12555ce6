#include "ArchivioProva.h"

#include "AmbienteProva.h"
#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "settings/Impostazioni.h"

#include <QDir>
#include <QFile>
#include <QTest>

ArchivioProva::ArchivioProva(const AmbienteProva& ambiente, const QList<DocumentoProva>& documenti)
    : database(ambiente.percorso(QStringLiteral("server/dati.mdb"))),
      cartellaPdf(ambiente.percorso(QStringLiteral("server/pdf")))
{
    QDir().mkpath(cartellaPdf);
    const ErroreArchivio errore = CreaArchivio(database);
    if (errore.presente())
        qFatal("%s", qPrintable(errore.testo()));
    ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("DataBase"), ambiente.percorso(QStringLiteral("server")));
    ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("CartellaPDF"), cartellaPdf);
    Inserisci(documenti);
}

void ArchivioProva::Inserisci(const QList<DocumentoProva>& documenti) const
{
    if (documenti.isEmpty())
        return;
    Connessione connessione;
    ErroreArchivio errore = connessione.Apri(StringaConnessione(database));
    if (!errore.presente())
        errore = connessione.IniziaTransazione();
    std::unique_ptr<Comando> comando;
    if (!errore.presente())
        comando = connessione.Prepara(
            QStringLiteral("insert into Posta (Stampa, Tipo, NumDoc, Data, Codice, email) values (?, ?, ?, ?, ?, ?)"),
            errore);
    for (const DocumentoProva& d : documenti) {
        if (errore.presente())
            break;
        errore = comando->Esegui({d.stampa, d.tipo, d.numero, d.data, d.codice, d.email});
    }
    comando.reset();
    if (!errore.presente())
        errore = connessione.Conferma();
    if (errore.presente())
        qFatal("%s", qPrintable(errore.testo()));
}

void ArchivioProva::ScriviPdf(const QStringList& nomi) const
{
    for (const QString& nome : nomi) {
        QFile file(cartellaPdf + QLatin1Char('/') + nome);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n" + nome.toUtf8() + "\n%%EOF\n");
    }
}

DocumentoProva Documento(const char* stampa, const char* tipo, const char* numero, const QDate& data,
                         const char* codice)
{
    return {stampa, QString::fromUtf8(tipo), numero, data, QString::fromUtf8(codice),
            QStringLiteral("ufficio@esempio.it")};
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
