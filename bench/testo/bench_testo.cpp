// Times the search by words and the indexing behind it:
//  - indexing of PDFs like the demo's (a page of invoice: company, client,
//    articles, totals) read by the real velmira-testo, documents per second
//    of wall time and per second of processor time (this process and the
//    reader together);
//  - on 100,000 indexed documents, a two-word search (every row) and a word
//    found in 10,000 documents (its count and the first rows' text pieces);
//  - the archive's growth per 1,000 documents indexed.
//
//   velmira_bench_testo [--server PARAMETERS]
// In a temporary folder. With --server (libpq terms naming an empty
// database) the searches and the growth are measured there too, on a copy
// of the same archive made by the program's own transfer.
#include "GeneraArchivio.h"

#include "archive/Archivio.h"
#include "archive/ArchivioServer.h"
#include "archive/Connessione.h"
#include "archive/SchemaArchivio.h"
#include "indice/Indicizzazione.h"
#include "indice/Parole.h"
#include "search/RicercaTesto.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const char* const clienti[] = {"Ferramenta Bellotti S.r.l.", "Idraulica Sala & Figli", "Cooperativa Agricola Valsassina",
                               "Studio Tecnico Arch. Riva", "Edilizia Fumagalli", "Carpenteria Crippa"};
const char* const citta[] = {"Bergamo", "Lecco", "Barzio", "Como", "Forlì", "Città di Castello"};
const char* const articoli[] = {"Viti autofilettanti 4x30", "Tassello nylon 8 mm", "Raccordo ottone 1/2\"",
                                "Tubo multistrato 16 mm", "Guanti da lavoro taglia 9", "Silicone sigillante",
                                "Bulloni zincati M8", "Rondelle inox", "Cavo elettrico 3x2,5"};

void fallito(const Errore& errore)
{
    if (errore.presente()) {
        std::fprintf(stderr, "velmira_bench_testo: %s\n", qPrintable(errore.testo()));
        std::exit(1);
    }
}

// The value, or the end of the run with its error.
template <typename T>
T ottenuto(Risultato<T> risultato)
{
    fallito(risultato.errore());
    return std::move(*risultato);
}

// The text of document `i`: every tenth carries "bulloni", a sixth of them
// the client Bellotti of Bergamo.
QString testoDocumento(int i)
{
    QRandomGenerator caso{quint32(i)};
    QStringList righe{QStringLiteral("Velmira Forniture S.p.A. - Via dell'Artigianato 12 - 24100 Bergamo"),
                      QStringLiteral("Fattura n. %1 del %2/03/2024").arg(i).arg(1 + i % 28),
                      QStringLiteral("Spett.le %1, %2").arg(QString::fromUtf8(clienti[i % 6]), QString::fromUtf8(citta[i % 6]))};
    for (int r = 0; r < 6; ++r) {
        const int a = i % 10 == 0 && r == 0 ? 6 : int(caso.bounded(9));
        const QString articolo = QString::fromUtf8(articoli[a == 6 && i % 10 != 0 ? 7 : a]);
        righe.append(QStringLiteral("%1   %2   %3 €").arg(articolo).arg(1 + caso.bounded(50)).arg(caso.bounded(10000) / 100.0));
    }
    righe.append(QStringLiteral("Imponibile %1 €  IVA 22%  Totale %2 €").arg(i * 7 % 1000).arg(i * 7 % 1000 * 1.22));
    return righe.join(QLatin1Char('\n'));
}

double millisecondi(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

double processore()
{
    double secondi = 0;
    for (int chi : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage uso{};
        getrusage(chi, &uso);
        secondi += double(uso.ru_utime.tv_sec + uso.ru_stime.tv_sec) + double(uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1e6;
    }
    return secondi;
}

void misuraIndicizzazione(const QString& cartella)
{
    constexpr int documenti = 1000;
    const QString database = cartella + QStringLiteral("/pdf.mdb");
    const QString pdf = cartella + QStringLiteral("/pdf");
    QDir().mkpath(pdf);
    fallito(GeneraArchivio(database, documenti));
    Connessione c;
    fallito(c.Apri(StringaConnessione(database)));
    const auto nomi = ottenuto(c.Prepara(QStringLiteral("select Stampa from Posta order by Id")));
    fallito(nomi->Esegui());
    for (int i = 0; ottenuto(nomi->Successiva()); ++i) {
        QPdfWriter scrittore(pdf + QLatin1Char('/') + nomi->Valore(0).toString());
        QPainter p(&scrittore);
        int y = 300;
        for (const QString& riga : testoDocumento(i).split(QLatin1Char('\n')))
            p.drawText(300, y += 250, riga);
    }
    c.Chiudi();
    const double prima = processore();
    QElapsedTimer tempo;
    tempo.start();
    ConteggiIndice conteggi;
    fallito(Indicizza({database, pdf, 10000, QStringLiteral(ESEGUIBILE_TESTO)}, conteggi, false));
    const double secondi = millisecondi(tempo) / 1000;
    std::printf("indicizzazione di %d PDF: %.2f s, %.0f documenti al secondo, %.0f per secondo di processore\n",
                conteggi.conTesto, secondi, conteggi.conTesto / secondi, conteggi.conTesto / (processore() - prima));
}

// Fills the text table of `database` (whose Posta has `documenti` rows) as
// indexing would, without reading PDFs.
void riempiTesti(const QString& database, int documenti)
{
    constexpr int perIstruzione = 500;
    Connessione c;
    fallito(c.Apri(StringaConnessione(database)));
    fallito(c.Esegui(QStringLiteral("BEGIN")));
    const QString righe = QStringList(perIstruzione, QStringLiteral("(?, 0, 0, ?, ?, ?)")).join(u',');
    const auto metti = ottenuto(c.Prepara(
        QStringLiteral("insert into %1 (Id, Dimensione, Modificato, Stato, Testo, Parole) values %2").arg(TabellaTesti, righe)));
    QVariantList valori;
    for (int i = 1; i <= documenti; ++i) {
        const QString testo = testoDocumento(i);
        valori << i << StatoConTesto << testo << ParoleDelTesto(testo);
        if (i % perIstruzione == 0) {
            fallito(metti->Esegui(valori));
            valori.clear();
        }
    }
    fallito(c.Conferma());
    c.AggiornaStatistiche();
}

double mediana(const std::function<double()>& prova)
{
    std::vector<double> tempi;
    for (int i = 0; i < 9; ++i)
        tempi.push_back(prova());
    std::sort(tempi.begin(), tempi.end());
    return tempi[tempi.size() / 2];
}

void misuraRicerche(const char* motore, const QString& database, qint64 dimensionePrima,
                    const std::function<qint64()>& dimensione, int documenti)
{
    // One archive for every search, as the window keeps it.
    ArchivioTesti archivio;
    const auto cerca = [&database, &archivio](const QString& parole, int& trovati) {
        QElapsedTimer tempo;
        tempo.start();
        QList<qint64> primi;
        trovati = 0;
        fallito(archivio.Cerca(database, *LeggiRicerca(parole), std::nullopt, {}, [&](const DocumentoTrovato& d) {
            if (trovati++ < 30)
                primi.append(d.id);
        }));
        fallito(archivio.Testi(database, primi, [&](qint64, const QString& testo) {
            EstrattoTesto(testo, *LeggiRicerca(parole));
        }));
        return millisecondi(tempo);
    };
    int trovati = 0;
    for (const char* parole : {"fattura 4711", "bellotti tassello"}) {
        const double dueParole = mediana([&] { return cerca(QString::fromUtf8(parole), trovati); });
        std::printf("%s: due parole, \"%s\" (%d documenti): mediana %.1f ms\n", motore, parole, trovati, dueParole);
    }
    const double diecimila = mediana([&] { return cerca(QStringLiteral("bulloni"), trovati); });
    std::printf("%s: una parola in %d documenti, conteggio e prime righe: mediana %.1f ms\n", motore, trovati, diecimila);
    const double prefisso = mediana([&] { return cerca(QStringLiteral("\"citta di\" cast*"), trovati); });
    std::printf("%s: frase e prefisso (%d documenti): mediana %.1f ms\n", motore, trovati, prefisso);
    std::printf("%s: crescita dell'archivio per 1.000 documenti indicizzati: %.0f KB\n", motore,
                double(dimensione() - dimensionePrima) / 1024 / (documenti / 1000.0));
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList argomenti = app.arguments();
    const QString server = argomenti.size() == 3 && argomenti[1] == QLatin1String("--server") ? argomenti[2] : QString();
    QTemporaryDir cartella;
    misuraIndicizzazione(cartella.path());

    constexpr int documenti = 100000; // a multiple of riempiTesti's rows per statement
    const QString database = cartella.path() + QStringLiteral("/dati.mdb");
    fallito(GeneraArchivio(database, documenti));
    const qint64 prima = QFileInfo(database).size();
    const QString collegamento = cartella.path() + QStringLiteral("/server.mdb");
    if (!server.isEmpty()) {
        fallito(CreaArchivioServer(collegamento, server));
        fallito(TrasferisciArchivio(database, collegamento));
    }
    riempiTesti(database, documenti);
    misuraRicerche("incorporato", database, prima, [&database] { return QFileInfo(database).size(); }, documenti);
    if (server.isEmpty())
        return 0;
    const auto dimensioneServer = [&collegamento] {
        Connessione c;
        fallito(c.Apri(StringaConnessione(collegamento)));
        const auto q = ottenuto(c.Prepara(QStringLiteral("select pg_total_relation_size('testidocumenti')")));
        fallito(q->Esegui());
        return ottenuto(q->Successiva()) ? q->Valore(0).toLongLong() : qint64(0);
    };
    const qint64 primaServer = dimensioneServer();
    riempiTesti(collegamento, documenti);
    misuraRicerche("server", collegamento, primaServer, dimensioneServer, documenti);
    return 0;
}
