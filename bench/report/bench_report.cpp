// Times the list of sent e-mails on 10,000 messages sent: from the click on
// "Cerca" to the first page painted in the preview, and the PDF of every page.
//
//   velmira_bench_report [SENT [PDF]]
// Works in a temporary folder; SENT defaults to 10,000. The last PDF made is
// kept as PDF when given, to look at.
#include "GeneraArchivio.h"

#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "common/CartellaProgramma.h"
#include "common/Dialoghi.h"
#include "common/Orologio.h"
#include "components/DocumentoReport.h"
#include "components/ReportManX.h"
#include "components/frmAnteprimaReport.h"
#include "mail/frmListaMail.h"
#include "search/PannelloRicerca.h"
#include "settings/Impostazioni.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int Ripetizioni = 5;

class DialoghiMuti : public Dialoghi
{
public:
    Risposta Messaggio(const QString& testo, Icona, const QString&, Pulsanti) override
    {
        std::fprintf(stderr, "messaggio: %s\n", qPrintable(testo));
        return Risposta::No;
    }
    QString Input(const QString&, const QString&, const QString&) override { return {}; }
};

bool Riuscito(const Errore& errore)
{
    if (errore.presente())
        std::fprintf(stderr, "%s\n", qPrintable(errore.testo()));
    return !errore.presente();
}

// One message sent for each archived document, at a time of day of its own.
bool RegistraInvii(const QString& database, int invii)
{
    if (!Riuscito(GeneraArchivio(database, invii)))
        return false;
    Connessione c;
    if (!Riuscito(c.Apri(StringaConnessione(database))))
        return false;
    return Riuscito(c.Esegui(QStringLiteral(
        "insert into EmailInviate (Stampa, dtinvio, EmailDest, Esito) select Stampa, "
        "Data || ' ' || printf('%02d:%02d:00', rowid % 10 + 8, rowid % 60), lower(Codice) || '@clienti.esempio.it', "
        "'250 Messaggio accettato per la consegna' from Posta")));
}

double Mediana(QList<double> tempi)
{
    std::sort(tempi.begin(), tempi.end());
    return tempi[tempi.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    FissaFusoOrario(); // as the program does
    QApplication applicazione(argc, argv);
    const int invii = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    DialoghiMuti dialoghi;
    Dialoghi::Installa(&dialoghi);
    ReportManX::Registra();

    QTemporaryDir cartella;
    ImpostaCartellaProgramma(cartella.path());
    QFile::copy(QStringLiteral(VELMIRA_REPORT_ELENCO), cartella.filePath(QStringLiteral("ElencoInvioMail.rep")));
    const QString database = cartella.filePath(QStringLiteral("dati.mdb"));
    if (!RegistraInvii(database, invii))
        return 1;
    ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("DataBase"), cartella.path());

    QList<double> primaPagina, pdf;
    int pagine = 0;
    qint64 byte = 0;
    for (int i = 0; i < Ripetizioni; ++i) {
        frmListaMail finestra;
        finestra.show();
        QApplication::setActiveWindow(&finestra);
        auto* pannello = finestra.Pannello();
        pannello->dtData->setDate(QDate(1990, 1, 1));
        pannello->dtDataFin->setDate(QDate(2099, 12, 31));
        QElapsedTimer orologio;
        orologio.start();
        pannello->cmdCerca->click();
        auto* anteprima = finestra.findChild<frmAnteprimaReport*>();
        if (!anteprima)
            return 1;
        // What the screen shows of the first page.
        anteprima->areaPagine->viewport()->grab();
        primaPagina.append(orologio.nsecsElapsed() / 1e6);

        const QString file = cartella.filePath(QStringLiteral("elenco.pdf"));
        orologio.restart();
        if (!anteprima->EsportaPdf(file))
            return 1;
        pdf.append(orologio.nsecsElapsed() / 1e6);
        pagine = anteprima->Documento().NumeroPagine();
        byte = QFileInfo(file).size();
    }
    if (argc > 2) {
        QFile::remove(QString::fromLocal8Bit(argv[2]));
        QFile::copy(cartella.filePath(QStringLiteral("elenco.pdf")), QString::fromLocal8Bit(argv[2]));
    }
    std::printf("%d e-mail inviate, %d pagine, PDF di %lld KiB\n", invii, pagine, byte / 1024);
    std::printf("dal clic su Cerca alla prima pagina: mediana %.0f ms, peggiore %.0f ms (obiettivo < 1000 ms)\n",
                Mediana(primaPagina), *std::max_element(primaPagina.begin(), primaPagina.end()));
    std::printf("PDF di tutte le pagine:            mediana %.0f ms, peggiore %.0f ms (obiettivo < 5000 ms)\n",
                Mediana(pdf), *std::max_element(pdf.begin(), pdf.end()));
    Dialoghi::Installa(nullptr);
    return 0;
}
