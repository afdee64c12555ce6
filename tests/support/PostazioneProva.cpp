#include "PostazioneProva.h"

#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "import/cImporta.h"
#include "settings/Impostazioni.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {
void Riuscito(const Errore& errore)
{
    if (errore.presente())
        qFatal("%s", qPrintable(errore.testo()));
}

QVariant Campo(const QString& testo)
{
    return testo == QLatin1String("-") ? QVariant() : QVariant(testo == QLatin1String("''") ? QString("") : testo);
}

// The first column of every row a statement gives on the archive; the error's text when it fails.
QStringList Colonna(const QString& database, const QString& istruzione)
{
    QStringList valori;
    SuArchivio(database, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        if (!q.exec(istruzione))
            valori.append(q.lastError().text());
        while (q.next())
            valori.append(q.value(0).toString());
    });
    return valori;
}
} // namespace

PostazioneProva::PostazioneProva(const QStringList& righe, const QStringList& pdf)
    : server(percorso(QStringLiteral("server"))),
      database(server + QStringLiteral("/dati.mdb")),
      cartellaPdf(server + QStringLiteral("/pdf")),
      fileIni(server + QStringLiteral("/spooling.ini"))
{
    fermaOrologio(QDateTime(QDate(2014, 3, 15), QTime(10, 30)));
    QDir().mkpath(cartellaPdf);
    scriviLunghezze(6, 3, 7);
    Riuscito(CreaArchivioProva(database));
    ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("DataBase"), server);
    ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("CartellaPDF"), cartellaPdf);

    Connessione connessione;
    Riuscito(connessione.Apri(StringaConnessione(database)));
    Riuscito(connessione.IniziaTransazione());
    auto preparato = connessione.Prepara(
        QStringLiteral("insert into Posta (Stampa, Tipo, NumDoc, Data, Codice, email) values (?, ?, ?, ?, ?, ?)"));
    Riuscito(preparato.errore());
    auto comando = std::move(*preparato);
    for (const QString& riga : righe) {
        const QStringList c = riga.split(QLatin1Char(' '));
        Riuscito(comando->Esegui({c[0], Campo(c[1]), c[2], QDate::fromString(c[3], Qt::ISODate), Campo(c[4]),
                                  QStringLiteral("ufficio@esempio.it")}));
    }
    comando.reset();
    Riuscito(connessione.Conferma());
    documenti(pdf);
}

void PostazioneProva::documenti(const QStringList& nomi) const
{
    for (const QString& nome : nomi)
        scriviFile(QStringLiteral("server/pdf/") + nome, "%PDF-1.4\n" + nome.toUtf8() + "\n%%EOF\n");
}

void PostazioneProva::scriviLunghezze(int codice, int tipo, int numero) const
{
    scriviFile(QStringLiteral("server/spooling.ini"),
               "[AS/400]\r\nLunCodCli=" + QByteArray::number(codice) + "\r\nLunTipDoc=" + QByteArray::number(tipo)
                   + "\r\nLunNumDoc=" + QByteArray::number(numero) + "\r\n");
}

void PostazioneProva::prepara(cImporta& importazione, const QString& cartella) const
{
    importazione.CartellaPDF(cartella.isEmpty() ? cartellaPdf : cartella);
    importazione.Database(database);
    importazione.FileIni(fileIni);
}

QStringList PostazioneProva::importa(const QString& cartella, const std::function<void()>& durante) const
{
    cImporta importazione;
    prepara(importazione, cartella);
    bool primo = true;
    QObject::connect(
        &importazione, &cImporta::Avanzamento, &importazione,
        [&](qsizetype, qsizetype) {
            if (std::exchange(primo, false) && durante)
                durante();
        },
        Qt::DirectConnection);
    QSignalSpy fine(&importazione, &cImporta::Terminata);
    importazione.AvviaInSottofondo();
    if (!fine.wait(120000))
        return {QStringLiteral("<importazione non terminata>")};
    return elenco();
}

QStringList PostazioneProva::opzioni(const QString& programma, const QString& altro) const
{
    return {QStringLiteral("--cartella-pdf"), cartellaPdf, QStringLiteral("--database"), altro.isEmpty() ? database : altro,
            QStringLiteral("--file-ini"), fileIni, QStringLiteral("--cartella-programma"),
            programma.isEmpty() ? cartella() : programma};
}

QStringList PostazioneProva::elenco() const
{
    QFile file(PercorsoElencoImportazione());
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("<nessun elenco>")};
    const QByteArray testo = file.readAll();
    if (!testo.endsWith("\r\n") || testo.count('\n') != testo.count("\r\n"))
        return {QStringLiteral("<righe non terminate da CR LF>")};
    QStringList righe = QString::fromUtf8(testo).split(QStringLiteral("\r\n"));
    righe.removeLast();
    return righe;
}

QStringList PostazioneProva::archivio() const
{
    QStringList righe = Colonna(database, QStringLiteral("select Stampa || '|' || Codice || '|' || Tipo || '|' || NumDoc "
                                                         "|| '|' || Data || '|' || coalesce(email, 'NULL') from Posta order by Id"));
    // Sorted here: the engines' case-blind orders differ on punctuation.
    std::stable_sort(righe.begin(), righe.end(), [](const QString& a, const QString& b) {
        return a.section(QLatin1Char('|'), 0, 0) < b.section(QLatin1Char('|'), 0, 0);
    });
    return righe;
}

QStringList Elenco(const QStringList& voci)
{
    QStringList righe{QStringLiteral("elenco file elaborati:")};
    for (const QString& voce : voci)
        righe << QString() << voce.split(QLatin1Char('\n'));
    return righe;
}

QString Problema(const QString& nome, const QString& motivo)
{
    return QStringLiteral("Problemi nell'archiviazione del file: %1.\n%2").arg(nome, motivo);
}

QString Tolte(int righe)
{
    return QStringLiteral("Righe tolte dall'archivio perché il loro file non è più nella cartella: %1.").arg(righe);
}

QString Archiviati(qsizetype quanti)
{
    return quanti == 0 ? QStringLiteral("Nessun nuovo file archiviato.")
                       : QStringLiteral("Archiviati n.%1 nuovi files.").arg(quanti);
}

QStringList Numerati(int quanti)
{
    QStringList nomi;
    for (int i = 1; i <= quanti; ++i)
        nomi.append(QStringLiteral("000001FAT%1%2").arg(i, 7, 10, QLatin1Char('0')).arg("20150101.pdf"));
    return nomi;
}

QString StatoArchivio(const QString& database)
{
    const QString verdetto = ProvaSuServer() ? QStringLiteral("'ok'") : QStringLiteral("(select * from pragma_integrity_check)");
    return Colonna(database, QStringLiteral("select %1 || ' ' || count(*) || ' ' || count(distinct Data || '|' || Codice "
                                            "|| '|' || Tipo || '|' || NumDoc) || ' ' || count(Stampa || Tipo || NumDoc "
                                            "|| Data || Codice || email) from Posta")
                                 .arg(verdetto))
        .join(QLatin1Char('\n'));
}

QSet<QString> StampeArchiviate(const QString& database)
{
    const QStringList stampe = Colonna(database, QStringLiteral("select Stampa from Posta"));
    return QSet<QString>(stampe.begin(), stampe.end());
}
