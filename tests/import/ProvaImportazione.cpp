#include "ProvaImportazione.h"

#include "archive/Archivio.h"
#include "import/cImporta.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSignalSpy>
#include <QTest>

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
    return QStringLiteral("Righe tolte dall'archivio perché il loro file non è più nella cartella: %1.")
        .arg(righe);
}

ProvaImportazione::ProvaImportazione(AmbienteProva& a, const QStringList& nomi)
    : ambiente(a),
      pdf(a.percorso(QStringLiteral("server/pdf"))),
      marvena(a.percorso(QStringLiteral("server/marvena"))),
      database(marvena + QStringLiteral("/dati.mdb")),
      fileIni(marvena + QStringLiteral("/spooling.ini"))
{
    QDir().mkpath(pdf);
    scriviLunghezze(6, 3, 7);
    const Errore errore = CreaArchivioProva(database);
    if (errore.presente())
        qFatal("%s", qPrintable(errore.testo()));
    documenti(nomi);
}

void ProvaImportazione::scriviLunghezze(int codice, int tipo, int numero) const
{
    ambiente.scriviFile(QStringLiteral("server/marvena/spooling.ini"),
                        "[AS/400]\r\nLunCodCli=" + QByteArray::number(codice) + "\r\nLunTipDoc="
                            + QByteArray::number(tipo) + "\r\nLunNumDoc=" + QByteArray::number(numero) + "\r\n");
}

void ProvaImportazione::documenti(const QStringList& nomi) const
{
    for (const QString& nome : nomi)
        ambiente.scriviFile(QStringLiteral("server/pdf/") + nome);
}

QStringList Numerati(int quanti)
{
    QStringList nomi;
    for (int i = 1; i <= quanti; ++i)
        nomi.append(QStringLiteral("000001FAT%1%2").arg(i, 7, 10, QLatin1Char('0')).arg("20150101.pdf"));
    return nomi;
}

void ProvaImportazione::prepara(cImporta& importazione, const QString& cartella) const
{
    importazione.CartellaPDF(cartella.isEmpty() ? pdf : cartella);
    importazione.Database(database);
    importazione.FileIni(fileIni);
}

QStringList ProvaImportazione::importa(const QString& cartella, const std::function<void()>& durante) const
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

QStringList ProvaImportazione::elenco() const
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

QStringList ProvaImportazione::archivio() const
{
    QStringList righe;
    SuArchivio(database, [&righe](QSqlDatabase& db) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("select Stampa || '|' || Codice || '|' || Tipo || '|' || NumDoc || '|' "
                                   "|| Data || '|' || coalesce(email, 'NULL') from Posta order by Id")))
            righe.append(q.lastError().text());
        while (q.next())
            righe.append(q.value(0).toString());
    });
    // Sorted here: the engines' case-blind orders differ on punctuation.
    std::stable_sort(righe.begin(), righe.end(), [](const QString& a, const QString& b) {
        return a.section(QLatin1Char('|'), 0, 0) < b.section(QLatin1Char('|'), 0, 0);
    });
    return righe;
}
