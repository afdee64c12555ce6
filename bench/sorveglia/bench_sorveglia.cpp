// Speed of the automatic import, with a real `velmira sorveglia` process:
// how soon a new PDF in a large archived folder can be found, and how fast
// a burst of new files is archived beside `velmira importa` on the same files.
//
//   bench_sorveglia [N] [LOTTO]        defaults 100000 and 10000

#include "../PostazioneBench.h"
#include "archive/Archivio.h"
#include "archive/Recordset.h"
#include "common/CartellaProgramma.h"
#include "import/cImporta.h"
#include "search/IstruzioniRicerca.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

// Client i % 5000, invoices numbered from 1, dated through 2015.
QString Documento(int i)
{
    return QStringLiteral("%1FAT%2%3.pdf")
        .arg(i % 5000 + 1, 6, 10, QLatin1Char('0'))
        .arg(i + 1, 7, 10, QLatin1Char('0'))
        .arg(QDate(2015, 1, 1).addDays(i % 365).toString(QStringLiteral("yyyyMMdd")));
}

void Scrivi(const QString& percorso)
{
    QFile file(percorso);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("impossibile creare %s", qPrintable(percorso));
    file.write("%PDF-1.4\n%%EOF\n");
}

struct Cartella
{
    explicit Cartella(const QString& base) : pdf(base + QStringLiteral("/pdf")), database(base + QStringLiteral("/dati.mdb")),
          fileIni(base + QStringLiteral("/spooling.ini")), programma(base)
    {
        QDir().mkpath(pdf);
        PreparaPostazione(fileIni, database);
    }
    QStringList Opzioni() const
    {
        return {QStringLiteral("--cartella-pdf"), pdf, QStringLiteral("--database"), database,
                QStringLiteral("--file-ini"), fileIni, QStringLiteral("--cartella-programma"), programma};
    }
    QString pdf, database, fileIni, programma;
};

// A `velmira sorveglia` on the folder, once its first full pass is done.
void AvviaSorveglia(QProcess& processo, const Cartella& c)
{
    processo.start(QStringLiteral(ESEGUIBILE_VELMIRA),
                   QStringList{QStringLiteral("sorveglia")} + c.Opzioni() + QStringList{QStringLiteral("--intervallo"), QStringLiteral("0")});
    while (!processo.canReadLine())
        if (!processo.waitForReadyRead(600000))
            qFatal("sorveglia non risponde");
    std::printf("  %s", processo.readLine().constData());
}

void Ferma(QProcess& processo)
{
    processo.terminate();
    processo.waitForFinished(120000);
}

// The reprint window's number-and-year search.
bool Trovato(const Cartella& c, int i)
{
    CriteriRicerca criteri;
    criteri.tipo = QStringLiteral("Tutti");
    criteri.anno = QStringLiteral("2015");
    criteri.numero = QString::number(i + 1);
    Recordset righe;
    const QString istruzione = IstruzioneDocumenti(ModoRicerca::NumeroEAnno, criteri, false);
    return !righe.ApriSql(StringaConnessione(c.database), istruzione).presente()
        && !righe.FineFile();
}

qint64 Righe(const Cartella& c)
{
    Recordset righe;
    righe.ApriSql(StringaConnessione(c.database), QStringLiteral("select count(*) from Posta"));
    return righe.FineFile() ? 0 : righe.Valore(0).toLongLong();
}

double Secondi(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

// Processor time of the child processes ended so far: unlike the clock, it
// does not depend on what else the machine is doing.
double CpuFigli()
{
    rusage uso{};
    getrusage(RUSAGE_CHILDREN, &uso);
    return double(uso.ru_utime.tv_sec + uso.ru_stime.tv_sec) + double(uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    const int lotto = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 10000;
    QTemporaryDir lavoro;

    // 1. A new PDF in a watched folder of n archived files.
    {
        Cartella grande(lavoro.path() + QStringLiteral("/grande"));
        ImpostaCartellaProgramma(grande.programma);
        for (int i = 0; i < n; ++i)
            Scrivi(grande.pdf + QLatin1Char('/') + Documento(i));
        {
            // Released before sorveglia starts: an engine keeps its turn while it lives.
            cImporta importazione;
            importazione.CartellaPDF(grande.pdf);
            importazione.Database(grande.database);
            importazione.FileIni(grande.fileIni);
            importazione.Avvia();
        }
        std::printf("Cartella di %d documenti archiviati (%lld righe). Avvio di sorveglia:\n", n,
                    static_cast<long long>(Righe(grande)));
        QProcess sorveglia;
        QElapsedTimer primo;
        primo.start();
        AvviaSorveglia(sorveglia, grande);
        std::printf("primo passaggio completo: %.2f s\n", Secondi(primo));
        QList<double> attese;
        for (int k = 0; k < 5; ++k) {
            const int i = n + k;
            QElapsedTimer t;
            t.start();
            Scrivi(grande.pdf + QLatin1Char('/') + Documento(i));
            while (!Trovato(grande, i)) {
                if (t.elapsed() > 60000)
                    qFatal("documento non trovato dopo 60 s");
                QThread::msleep(5);
            }
            attese.append(Secondi(t));
        }
        Ferma(sorveglia);
        std::sort(attese.begin(), attese.end());
        std::printf("nuovo PDF trovato dalla ricerca dopo: minimo %.3f s, mediano %.3f s, massimo %.3f s "
                    "(obiettivo < 2 s)\n",
                    attese.first(), attese[attese.size() / 2], attese.last());
    }

    // 2. A burst of new files: velmira importa, then sorveglia.
    {
        Cartella manuale(lavoro.path() + QStringLiteral("/manuale"));
        for (int i = 0; i < lotto; ++i)
            Scrivi(manuale.pdf + QLatin1Char('/') + Documento(i));
        QProcess importa;
        QElapsedTimer t;
        double cpu = CpuFigli();
        t.start();
        importa.start(QStringLiteral(ESEGUIBILE_VELMIRA), QStringList{QStringLiteral("importa")} + manuale.Opzioni());
        importa.waitForFinished(600000);
        const double sImporta = Secondi(t);
        const double cpuImporta = CpuFigli() - cpu;
        std::printf("velmira importa: %d file in %.2f s = %.0f file/s, %.2f s di processore (%lld righe)\n", lotto,
                    sImporta, lotto / sImporta, cpuImporta, static_cast<long long>(Righe(manuale)));

        // Written one by one into the folder (the writer's own time counts),
        // then made elsewhere and moved in at once, as a copy program does.
        for (const bool spostati : {false, true}) {
            Cartella sorvegliata(lavoro.path() + (spostati ? QStringLiteral("/spostati") : QStringLiteral("/scritti")));
            const QString arrivo = sorvegliata.programma + QStringLiteral("/arrivo");
            QDir().mkpath(arrivo);
            if (spostati)
                for (int i = 0; i < lotto; ++i)
                    Scrivi(arrivo + QLatin1Char('/') + Documento(i));
            QProcess sorveglia;
            cpu = CpuFigli();
            AvviaSorveglia(sorveglia, sorvegliata);
            t.restart();
            for (int i = 0; i < lotto; ++i) {
                const QString nome = QLatin1Char('/') + Documento(i);
                if (spostati)
                    std::rename(QFile::encodeName(arrivo + nome).constData(),
                                QFile::encodeName(sorvegliata.pdf + nome).constData());
                else
                    Scrivi(sorvegliata.pdf + nome);
            }
            const double sArrivo = Secondi(t);
            while (Righe(sorvegliata) < lotto) {
                if (t.elapsed() > 600000)
                    qFatal("lotto non archiviato dopo 600 s");
                QThread::msleep(20);
            }
            const double sSorveglia = Secondi(t);
            Ferma(sorveglia);
            const double cpuSorveglia = CpuFigli() - cpu;
            const QByteArray righe = sorveglia.readAllStandardOutput();
            std::printf("sorveglia, %d file %s in %.2f s, tutti archiviati dopo %.2f s (%.2f s dopo l'ultimo) "
                        "= %.0f file/s, %lld passaggi, %.2f s di processore; rapporto sorveglia/importa: "
                        "velocità %.2f, velocità per tempo di processore %.2f (obiettivo >= 0.5)\n",
                        lotto, spostati ? "spostati nella cartella" : "scritti nella cartella", sArrivo, sSorveglia,
                        sSorveglia - sArrivo, lotto / sSorveglia, static_cast<long long>(righe.count('\n')),
                        cpuSorveglia, sImporta / sSorveglia, cpuImporta / cpuSorveglia);
        }
    }
    return 0;
}
