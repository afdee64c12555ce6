#include "ProvaImportazione.h"

#include "archive/Archivio.h"
#include "archive/Recordset.h"
#include "import/cImporta.h"

#include <QDir>
#include <QFile>
#include <QTest>

ProvaImportazione::ProvaImportazione(AmbienteProva& a)
    : ambiente(a),
      pdf(a.percorso(QStringLiteral("server/pdf"))),
      marvena(a.percorso(QStringLiteral("server/marvena"))),
      database(marvena + QStringLiteral("/dati.mdb")),
      fileIni(marvena + QStringLiteral("/spooling.ini"))
{
    QDir().mkpath(pdf);
    QDir().mkpath(marvena);
    scriviLunghezze(6, 3, 7);
    const ErroreArchivio errore = CreaArchivio(database);
    if (errore.presente())
        qFatal("%s", qPrintable(errore.testo()));
}

void ProvaImportazione::scriviLunghezze(int codice, int tipo, int numero) const
{
    QFile file(fileIni);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("spooling.ini non scrivibile");
    file.write(QStringLiteral("[AS/400]\r\nLunCodCli=%1\r\nLunTipDoc=%2\r\nLunNumDoc=%3\r\n")
                   .arg(codice)
                   .arg(tipo)
                   .arg(numero)
                   .toLatin1());
}

void ProvaImportazione::documenti(const QStringList& nomi) const
{
    for (const QString& nome : nomi) {
        QFile file(pdf + QLatin1Char('/') + nome);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("impossibile creare %s", qPrintable(nome));
    }
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
    Recordset rs;
    const ErroreArchivio errore = rs.ApriSql(
        StringaConnessione(database),
        QStringLiteral("select Stampa, Codice, Tipo, NumDoc, Data, email from Posta order by Stampa"));
    if (errore.presente())
        return {errore.testo()};
    QStringList righe;
    for (; !rs.FineFile(); rs.MoveNext()) {
        const QVariant email = rs.Valore(5);
        righe.append(QStringList{rs.Valore(0).toString(), rs.Valore(1).toString(),
                                 rs.Valore(2).toString(), rs.Valore(3).toString(),
                                 rs.Valore(4).toDate().toString(Qt::ISODate),
                                 email.isNull() ? QStringLiteral("NULL") : email.toString()}
                         .join(QLatin1Char('|')));
    }
    return righe;
}
