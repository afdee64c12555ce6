// Times what a user waits for on a large archive: the type list when a search
// window opens, the first rows of the lookup list for the three searches, and
// the copy of 1,000 documents against `cp` of the same files.
//
//   velmira_bench_ricerca [ARCHIVE] [--server PARAMETERS]
// ARCHIVE defaults to archivio-bench/dati.mdb in the current folder and is
// generated (1,000,000 rows) when missing. With --server (libpq terms naming
// an empty database) the same searches are timed on a PostgreSQL copy of it,
// made the first time in archivio-bench-server/ by the program's own transfer.
#include "GeneraArchivio.h"

#include "archive/Archivio.h"
#include "archive/ArchivioServer.h"
#include "archive/Connessione.h"
#include "common/CartellaProgramma.h"
#include "common/Dialoghi.h"
#include "components/Tabulario.h"
#include "search/PannelloRicerca.h"
#include "search/frmRistampa.h"
#include "search/frmSelStampe.h"
#include "settings/Impostazioni.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int Ripetizioni = 7;

// Answers No to every question and keeps the last message for the report.
class DialoghiMuti : public Dialoghi
{
public:
    Risposta Messaggio(const QString& testo, Icona, const QString&, Pulsanti pulsanti) override
    {
        ultimo = testo;
        return pulsanti == Pulsanti::Ok ? Risposta::Ok : Risposta::No;
    }
    QString Input(const QString&, const QString&, const QString&) override { return {}; }
    QString ultimo;
};

double Mediana(std::vector<double> tempi)
{
    std::sort(tempi.begin(), tempi.end());
    return tempi[tempi.size() / 2];
}

// Milliseconds of each run of `prova`, median and worst printed.
double Misura(const char* nome, const std::function<double()>& prova, int volte = Ripetizioni)
{
    std::vector<double> tempi;
    for (int i = 0; i < volte; ++i)
        tempi.push_back(prova());
    const double mediana = Mediana(tempi);
    std::printf("%-42s mediana %8.1f ms   peggiore %8.1f ms\n", nome, mediana,
                *std::max_element(tempi.begin(), tempi.end()));
    return mediana;
}

double Millisecondi(const QElapsedTimer& tempo)
{
    return double(tempo.nsecsElapsed()) / 1e6;
}

void Scrivi(QLineEdit* casella, const QString& testo)
{
    casella->setText(testo);
}

// Clicks "Cerca" and waits for the lookup list's first rows.
double TempoPrimeRighe(frmRistampa& finestra, int& righeMostrate)
{
    QElapsedTimer tempo;
    tempo.start();
    finestra.Pannello()->cmdCerca->click();
    const double ms = Millisecondi(tempo);
    Tabulario* lista = finestra.Trova();
    righeMostrate = lista ? lista->RigheElencate() : -1;
    if (lista)
        lista->reject();
    QApplication::processEvents();
    return ms;
}

void BenchRicerche(const QString& cartellaArchivio)
{
    ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("DataBase"), cartellaArchivio);

    int tipi = 0;
    Misura("elenco dei tipi all'apertura", [&] {
        QElapsedTimer tempo;
        tempo.start();
        frmRistampa finestra;
        const double ms = Millisecondi(tempo);
        tipi = finestra.Pannello()->cmbTipo->count();
        return ms;
    });
    std::printf("    (voci dell'elenco: %d)\n", tipi);

    frmRistampa finestra;
    PannelloRicerca* p = finestra.Pannello();
    int righe = 0;

    p->optRicerca[0]->click();
    p->dtData->setDate(QDate(2017, 3, 1));
    p->dtDataFin->setDate(QDate(2017, 3, 31));
    Misura("ricerca di un mese, prime righe", [&] { return TempoPrimeRighe(finestra, righe); });
    std::printf("    (righe mostrate subito: %d)\n", righe);

    p->cmbTipo->setEditText(QStringLiteral("FAT"));
    Misura("ricerca di un mese, un tipo, prime righe", [&] { return TempoPrimeRighe(finestra, righe); });
    std::printf("    (righe mostrate subito: %d)\n", righe);
    p->cmbTipo->setEditText(QStringLiteral("Tutti"));

    p->optRicerca[1]->click();
    Scrivi(p->txtAnno, QStringLiteral("2017"));
    Scrivi(p->txtDoc, QStringLiteral("1234"));
    Misura("ricerca per numero e anno, prime righe", [&] { return TempoPrimeRighe(finestra, righe); });
    std::printf("    (righe mostrate subito: %d)\n", righe);

    p->optRicerca[2]->click();
    p->dtData->setDate(QDate(2017, 1, 1));
    p->dtDataFin->setDate(QDate(2017, 12, 31));
    Scrivi(p->txtCodice, QStringLiteral("1234"));
    Misura("ricerca per codice (un anno), prime righe", [&] { return TempoPrimeRighe(finestra, righe); });
    std::printf("    (righe mostrate subito: %d)\n", righe);

    p->dtData->setDate(QDate(2010, 1, 1));
    p->dtDataFin->setDate(QDate(2025, 12, 31));
    Misura("ricerca per codice (tutto), prime righe", [&] { return TempoPrimeRighe(finestra, righe); });
    std::printf("    (righe mostrate subito: %d)\n", righe);
}

bool Prepara1000Documenti(const QString& cartella, QString& cartellaPdf)
{
    cartellaPdf = cartella + QStringLiteral("/pdf");
    QDir().mkpath(cartellaPdf);
    const QString database = cartella + QStringLiteral("/dati.mdb");
    if (CreaArchivio(database).presente())
        return false;
    Connessione connessione;
    if (connessione.Apri(StringaConnessione(database)).presente() || connessione.IniziaTransazione().presente())
        return false;
    auto preparato = connessione.Prepara(
        QStringLiteral("insert into Posta (Stampa, Tipo, NumDoc, Data, Codice) values (?, 'FAT', ?, ?, 'C1')"));
    if (!preparato)
        return false;
    auto comando = std::move(*preparato);
    Errore errore;
    QRandomGenerator caso(7);
    for (int i = 0; i < 1000 && !errore.presente(); ++i) {
        const QString nome = QStringLiteral("doc%1.pdf").arg(i, 4, 10, QLatin1Char('0'));
        // Office documents: a few tens to a few hundred kilobytes.
        QByteArray dati(int(20000 + caso.bounded(300000)), Qt::Uninitialized);
        caso.fillRange(reinterpret_cast<quint32*>(dati.data()), dati.size() / 4);
        QFile file(cartellaPdf + QLatin1Char('/') + nome);
        if (!file.open(QIODevice::WriteOnly) || file.write(dati) != dati.size())
            return false;
        errore = comando->Esegui({nome, QString::number(i), QDate(2014, 3, 3)});
    }
    comando.reset();
    return !errore.presente() && !connessione.Conferma().presente();
}

void BenchCopia(const QString& cartellaLavoro, DialoghiMuti& dialoghi)
{
    QString cartellaPdf;
    if (!Prepara1000Documenti(cartellaLavoro + QStringLiteral("/copia"), cartellaPdf)) {
        std::printf("preparazione dei 1.000 documenti non riuscita\n");
        return;
    }
    ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("DataBase"), cartellaLavoro + QStringLiteral("/copia"));
    ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("CartellaPDF"), cartellaPdf);
    const QString destinazione = cartellaLavoro + QStringLiteral("/destinazione");
    const auto svuota = [&] {
        QDir(destinazione).removeRecursively();
        QDir().mkpath(destinazione);
    };

    const double cp = Misura("cp di 1.000 documenti", [&] {
        svuota();
        QElapsedTimer tempo;
        tempo.start();
        QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("cp \"$0\"/*.pdf \"$1\""),
                                                 cartellaPdf, destinazione});
        return Millisecondi(tempo);
    }, 5);

    frmSelStampe finestra;
    const QString istruzione = QStringLiteral(
        "Select Stampa, Tipo, NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta where "
        "data between(#03/03/2014#) and (#03/03/2014#) order by tipo, stampa, data;");
    const double nostra = Misura("copia di 1.000 documenti (PrelevaDoc)", [&] {
        svuota();
        QElapsedTimer tempo;
        tempo.start();
        finestra.PrelevaDoc(istruzione, destinazione);
        return Millisecondi(tempo);
    }, 5);
    std::printf("    (copiati: %lld, ultimo messaggio: %s)\n",
                qint64(QDir(destinazione).entryList(QDir::Files).size()), qUtf8Printable(dialoghi.ultimo));
    std::printf("%-42s %8.2f volte cp\n", "rapporto copia / cp", nostra / cp);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList argomenti = app.arguments();
    QString server;
    if (const qsizetype i = argomenti.indexOf(QStringLiteral("--server")); i > 0 && i + 1 < argomenti.size()) {
        server = argomenti[i + 1];
        argomenti.remove(i, 2);
    }
    const QString archivio = QFileInfo(argomenti.size() > 1 ? argomenti[1]
                                                            : QStringLiteral("archivio-bench/dati.mdb"))
                                 .absoluteFilePath();
    if (!QFileInfo::exists(archivio)) {
        std::printf("genero %s (1.000.000 righe)...\n", qUtf8Printable(archivio));
        std::fflush(stdout);
        QDir().mkpath(QFileInfo(archivio).path());
        const Errore errore = GeneraArchivio(archivio, 1000000);
        if (errore.presente()) {
            std::fprintf(stderr, "%s\n", qUtf8Printable(errore.testo()));
            return 1;
        }
    }

    QTemporaryDir lavoro;
    ImpostaCartellaProgramma(lavoro.path());
    DialoghiMuti dialoghi;
    Dialoghi::Installa(&dialoghi);

    std::printf("== motore incorporato (SQLite) ==\n");
    BenchRicerche(QFileInfo(archivio).path());
    if (!server.isEmpty()) {
        const QString cartellaServer = QFileInfo(QFileInfo(archivio).path() + QStringLiteral("-server")).absoluteFilePath();
        const QString collegamento = cartellaServer + QStringLiteral("/dati.mdb");
        if (!QFileInfo::exists(collegamento)) {
            QDir().mkpath(cartellaServer);
            QElapsedTimer tempo;
            tempo.start();
            Errore errore = CreaArchivioServer(collegamento, server);
            if (!errore.presente())
                errore = TrasferisciArchivio(archivio, collegamento);
            if (errore.presente()) {
                std::fprintf(stderr, "%s\n", qUtf8Printable(errore.testo()));
                return 1;
            }
            std::printf("trasferimento dell'archivio sul server: %.1f s\n", double(tempo.elapsed()) / 1000);
        }
        std::printf("== PostgreSQL (%s) ==\n", qUtf8Printable(server));
        BenchRicerche(cartellaServer);
    }
    BenchCopia(lavoro.path(), dialoghi);
    Dialoghi::Installa(nullptr);
    return 0;
}
