// Speed and memory of the import on a large folder, beside the floors
// measured on the same machine in the same run.
//
//   bench_importa [N] [CARTELLA] [--server PARAMETRI]
//   bench_importa genera CARTELLA N      only makes the N files
//
// With --server (libpq terms naming an empty database) the same three runs
// are made again into an archive on that PostgreSQL server (the files the
// embedded runs deleted are made again first). Goals there: a first run at
// least 20,000 files/s, a run with nothing new at least 100,000 files/s.
//
// N empty files named by the convention (widths 6, 3, 7) are made in a
// temporary folder (or CARTELLA); then: a first run into an empty archive,
// a second run with nothing new, a run after 1% of the files were deleted.

#include "../PostazioneBench.h"
#include "archive/Archivio.h"
#include "archive/ArchivioServer.h"
#include "common/CartellaProgramma.h"
#include "import/NomeDocumento.h"
#include "import/cImporta.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <dirent.h>
#include <sys/resource.h>

namespace {

const LunghezzeCampi lunghezze{6, 3, 7};

QString nomeDocumento(int i)
{
    static const char* const tipi[] = {"FAT", "BOL", "NCR", "DDT"};
    return QStringLiteral("%1%2%3%4%5%6.pdf")
        .arg(i % 4000 + 1, 6, 10, QLatin1Char('0'))
        .arg(QLatin1String(tipi[i % 4]))
        .arg(i + 1, 7, 10, QLatin1Char('0'))
        .arg(2010 + i % 15)
        .arg(i % 12 + 1, 2, 10, QLatin1Char('0'))
        .arg(i % 28 + 1, 2, 10, QLatin1Char('0'));
}

void genera(const QString& cartella, int da, int a)
{
    QDir().mkpath(cartella);
    for (int i = da; i < a; ++i) {
        QFile file(cartella + QLatin1Char('/') + nomeDocumento(i));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("impossibile creare %s", qPrintable(file.fileName()));
    }
}

double secondi(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

// Floor 1: only reading the names of the folder.
double tempoElenco(const QString& cartella)
{
    QElapsedTimer t;
    t.start();
    DIR* d = opendir(QFile::encodeName(cartella).constData());
    long voci = 0;
    while (readdir(d))
        ++voci;
    closedir(d);
    return secondi(t);
}

// Floor 2: the sqlite3 shell inserting the same rows in one transaction.
double tempoSqlite(const QString& lavoro, int n)
{
    const QString archivio = lavoro + QStringLiteral("/pavimento.mdb");
    const QString istruzioni = lavoro + QStringLiteral("/righe.sql");
    if (CreaArchivio(archivio).presente())
        qFatal("archivio non creato");
    QFile sql(istruzioni);
    sql.open(QIODevice::WriteOnly);
    sql.write("BEGIN;\n");
    for (int i = 0; i < n; ++i) {
        const QString nome = nomeDocumento(i);
        const RigaPosta r = RigaDocumento(nome, ScomponiNomeFile(nome, lunghezze));
        sql.write(QStringLiteral("insert into Posta (Stampa, email, Data, Tipo, NumDoc, Codice) "
                                 "values ('%1', '', '%2', '%3', '%4', '%5');\n")
                      .arg(r.Stampa, r.Data.toString(Qt::ISODate), r.Tipo, r.NumDoc, r.Codice)
                      .toUtf8());
    }
    sql.write("COMMIT;\n");
    sql.close();
    QProcess sqlite;
    sqlite.setStandardInputFile(istruzioni);
    QElapsedTimer t;
    t.start();
    sqlite.start(QStringLiteral("sqlite3"), {archivio});
    if (!sqlite.waitForFinished(-1) || sqlite.exitCode() != 0)
        qFatal("sqlite3 non riuscito: %s", sqlite.readAllStandardError().constData());
    return secondi(t);
}

double tempoImportazione(const QString& pdf, const QString& database, const QString& fileIni)
{
    QElapsedTimer t;
    t.start();
    cImporta importazione;
    importazione.CartellaPDF(pdf);
    importazione.Database(database);
    importazione.FileIni(fileIni);
    importazione.Avvia();
    const double s = secondi(t);
    if (importazione.Esito() != EsitoImportazione::Eseguita)
        qFatal("importazione non eseguita");
    return s;
}

long piccoMemoriaKiB()
{
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss;
}

void riga(const char* cosa, int file, double s, const char* pavimento, double sp)
{
    std::printf("%-34s %9d file %8.3f s %10.0f file/s", cosa, file, s, file / s);
    if (pavimento)
        std::printf("   pavimento (%s) %.3f s = %.0f file/s, rapporto %.2f", pavimento, sp,
                    file / sp, s / sp);
    std::printf("\n");
    std::fflush(stdout);
}

// A first run into an empty archive (beside the embedded floor, when given),
// a second with nothing new, a third after 1% of the files were deleted.
void tre(const QString& pdf, const QString& database, const QString& fileIni, int n, double elenco,
         double pavimentoPrimo)
{
    riga("prima importazione (archivio vuoto)", n, tempoImportazione(pdf, database, fileIni),
         pavimentoPrimo > 0 ? "elenco + sqlite3" : nullptr, pavimentoPrimo);
    riga("seconda importazione (niente nuovo)", n, tempoImportazione(pdf, database, fileIni),
         "elenco", elenco);
    int rimasti = n;
    for (int i = 0; i < n; i += 100) {
        QFile::remove(pdf + QLatin1Char('/') + nomeDocumento(i));
        --rimasti;
    }
    riga("dopo aver tolto l'1% dei file", rimasti, tempoImportazione(pdf, database, fileIni),
         "elenco", tempoElenco(pdf));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList a = app.arguments();
    QString server;
    if (const qsizetype i = a.indexOf(QStringLiteral("--server")); i > 0 && i + 1 < a.size()) {
        server = a[i + 1];
        a.remove(i, 2);
    }
    if (a.value(1) == QLatin1String("genera")) {
        genera(a.value(2), 0, a.value(3).toInt());
        return 0;
    }
    const int n = a.size() > 1 ? a[1].toInt() : 100000;
    QTemporaryDir temporanea;
    const QString lavoro = a.size() > 2 ? a[2] : temporanea.path();
    const QString pdf = lavoro + QStringLiteral("/pdf");
    const QString database = lavoro + QStringLiteral("/dati.mdb");
    const QString fileIni = lavoro + QStringLiteral("/spooling.ini");
    ImpostaCartellaProgramma(lavoro);

    std::printf("Generazione di %d file vuoti in %s...\n", n, qPrintable(pdf));
    genera(pdf, 0, n);
    PreparaPostazione(fileIni, database);

    const double elenco = tempoElenco(pdf);
    const double sqlite = tempoSqlite(lavoro, n);
    QFile::remove(lavoro + QStringLiteral("/righe.sql"));
    QFile::remove(lavoro + QStringLiteral("/pavimento.mdb"));
    const double pavimentoPrimo = elenco + sqlite;

    riga("elenco della cartella (readdir)", n, elenco, nullptr, 0);
    riga("sqlite3, stesse righe, 1 transaz.", n, sqlite, nullptr, 0);
    std::printf("== motore incorporato (SQLite) ==\n");
    tre(pdf, database, fileIni, n, elenco, pavimentoPrimo);
    if (!server.isEmpty()) {
        const QString collegamento = lavoro + QStringLiteral("/server.mdb");
        if (const Errore errore = CreaArchivioServer(collegamento, server); errore.presente())
            qFatal("%s", qUtf8Printable(errore.testo()));
        for (int i = 0; i < n; i += 100)
            genera(pdf, i, i + 1); // the files the embedded run's last step took away
        std::printf("== PostgreSQL (%s) ==\n", qUtf8Printable(server));
        tre(pdf, collegamento, fileIni, n, tempoElenco(pdf), 0);
    }
    std::printf("picco di memoria: %.1f MiB\n", double(piccoMemoriaKiB()) / 1024.0);
    return 0;
}
