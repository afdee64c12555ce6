#include "ArchivioProva.h"
#include "search/SceltaStampante.h"
#include "search/ServizioStampa.h"
#include "search/frmRistampa.h"

#include <QCheckBox>
#include <QDir>
#include <QProgressDialog>
#include <QRandomGenerator>

namespace {

// The private scheduler's folder, written by the fixture that started it.
QString CartellaCups()
{
    return QString::fromUtf8(LeggiFile(qEnvironmentVariable("VELMIRA_CUPS")).trimmed());
}

// A document of well over a hundred kilobytes of bytes of every value, so
// that it reaches the printer in many pieces (the queues are raw: bytes are bytes).
QByteArray CreaPdf(const QString& percorso)
{
    QList<quint32> casuali(50000);
    QRandomGenerator::global()->fillRange(casuali.data(), casuali.size());
    const QByteArray dati = "%PDF-1.4\n" + QByteArray(reinterpret_cast<const char*>(casuali.constData()), 200000);
    QFile file(percorso);
    return file.open(QIODevice::WriteOnly) && file.write(dati) == dati.size() ? dati : QByteArray();
}

// What reached a queue's device, one entry per job in the order they came.
QList<QByteArray> Catturati(const QString& coda, int attesi)
{
    const QDir cartella(CartellaCups() + QStringLiteral("/catture/") + coda);
    for (int prova = 0; prova < 200 && cartella.entryList(QDir::Files).size() < attesi; ++prova)
        QTest::qWait(100);
    QTest::qWait(500); // a job still being copied, or one too many
    QFileInfoList file = cartella.entryInfoList(QDir::Files);
    std::sort(file.begin(), file.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return a.fileName().mid(7).toInt() < b.fileName().mid(7).toInt(); // "lavoro-N"
    });
    QList<QByteArray> lavori;
    for (const QFileInfo& info : file) {
        lavori.append(LeggiFile(info.filePath()));
        QFile::remove(info.filePath());
    }
    return lavori;
}

class SceltaFissa : public SceltaStampante
{
public:
    Scelta Scegli(QWidget*) override
    {
        ++richieste;
        return risposta;
    }
    Scelta risposta{QStringLiteral("prova"), 1};
    int richieste = 0;
};

// Takes every document and, at the document given, presses Annulla on the
// progress window as a user would while the batch runs.
class StampaRegistrata : public ServizioStampa
{
public:
    QString StampaFile(const QString& stampante, const QString& percorso, const QString&, int copie) override
    {
        inviati.append(QStringLiteral("%1 %2 %3").arg(stampante, QFileInfo(percorso).fileName()).arg(copie));
        if (inviati.size() == annullaAl) {
            auto* avanzamento = finestra->findChild<QProgressDialog*>(QStringLiteral("prgStampa"));
            if (avanzamento)
                QTest::mouseClick(avanzamento->findChild<QPushButton*>(), Qt::LeftButton);
        }
        return {};
    }
    QStringList inviati;
    int annullaAl = -1;
    QWidget* finestra = nullptr;
};

} // namespace

class TestStampa : public QObject
{
    Q_OBJECT

    SceltaFissa scelta_;

private slots:
    void initTestCase()
    {
        const QString cups = CartellaCups();
        if (cups.isEmpty())
            QSKIP("Lo scheduler CUPS di prova non è stato avviato (fixture cups_avvio).");
        qputenv("CUPS_SERVER", (cups + QStringLiteral("/run/cups.sock")).toUtf8());
        SceltaStampanteAttuale::Installa(&scelta_);
    }

    void cleanupTestCase() { SceltaStampanteAttuale::Installa(nullptr); }

    // The library against the real scheduler: the queue gets the file's own bytes.
    void cupsReale()
    {
        AmbienteProva ambiente;
        const QString pdf = ambiente.percorso(QStringLiteral("fattura.pdf"));
        const QByteArray contenuto = CreaPdf(pdf);
        StampaCups cups;
        const std::tuple<QString, QString, QString> casi[] = {
            {"prova", pdf, ""},
            {"spenta", pdf, "la stampante spenta non ha accettato il documento: "},
            {"prova", ambiente.percorso("manca.pdf"), "impossibile leggere il file " + ambiente.percorso("manca.pdf")}};
        for (const auto& [stampante, file, errore] : casi) {
            const QString esito = cups.StampaFile(stampante, file, QStringLiteral("fattura.pdf"), 2);
            QVERIFY2(errore.isEmpty() ? esito.isEmpty() : esito.startsWith(errore), qPrintable(stampante + ": " + esito));
        }
        // One job only: the missing file left no empty job behind.
        const QList<QByteArray> lavori = Catturati(QStringLiteral("prova"), 1);
        QCOMPARE(lavori.size(), 1);
        QVERIFY(lavori.first() == contenuto);
    }

    // "Stampa tutti" prints what the search finds, through the real scheduler,
    // reports the missing document at the end and lists each one printed.
    // Then, with the box ticked, the chosen document is printed instead of
    // opened; a batch can be cancelled between documents; an empty search,
    // or a printer dialog closed, prints nothing.
    void stampaTuttiSceltoAnnullatoVuoto()
    {
        ArchivioProva archivio({"fat123-2014.pdf FAT 123 2014-03-31 C01", "bol7.pdf BOL 7 2014-03-01 C02",
                                "fat9.pdf FAT 9 2014-03-15 C01", "fat10.pdf FAT 10 2014-03-16 C01",
                                "aprile.pdf FAT 10 2014-04-01 C01"},
                               {"bol7.pdf", "fat9.pdf", "fat10.pdf", "aprile.pdf"});
        frmRistampa finestra;
        QVERIFY(MostraAttiva(&finestra));
        PannelloRicerca* p = finestra.Pannello();
        QTest::mouseClick(p->optRicerca[0], Qt::LeftButton);
        p->dtData->setDate(QDate(2014, 3, 1));
        p->dtDataFin->setDate(QDate(2014, 3, 31));

        // No at the question: nothing is printed, no printer is asked for.
        QTest::mouseClick(finestra.cmdStampaTutti, Qt::LeftButton);
        QCOMPARE(scelta_.richieste, 0);
        archivio.dialoghi.RispondiPoi(Risposta::Si);
        QTest::mouseClick(finestra.cmdStampaTutti, Qt::LeftButton);
        const QString domanda = Messaggio(Icona::Domanda, "Stampare i 4 documenti trovati?");
        QCOMPARE(Catturati(QStringLiteral("prova"), 3),
                 QList<QByteArray>({"%PDF-1.4\nbol7.pdf\n%%EOF\n", "%PDF-1.4\nfat10.pdf\n%%EOF\n",
                                    "%PDF-1.4\nfat9.pdf\n%%EOF\n"}));
        const QString elenco = archivio.percorso("elenchi/ElencoRistampe15_03_2014.txt");
        QCOMPARE(LeggiFile(elenco), QByteArray("15/03/2014 - 10:30:00 - Ristampa - prova, copie 1 - bol7.pdf\r\n"
                                               "15/03/2014 - 10:30:00 - Ristampa - prova, copie 1 - fat10.pdf\r\n"
                                               "15/03/2014 - 10:30:00 - Ristampa - prova, copie 1 - fat9.pdf\r\n"));

        StampaRegistrata servizio;
        ServizioStampaAttuale::Installa(&servizio);
        scelta_.risposta = {QStringLiteral("ufficio"), 3};
        finestra.chkStampaScelto->setFocus();
        QTest::keyClick(finestra.chkStampaScelto, Qt::Key_Space);
        Cerca(p, 0, QDate(2014, 3, 1), QDate(2014, 3, 31), QStringLiteral("FAT"));
        QVERIFY(finestra.Trova());
        finestra.Trova()->Scegli(1); // fat10.pdf, after fat9.pdf by date

        servizio.annullaAl = 2;
        servizio.finestra = &finestra;
        archivio.dialoghi.RispondiPoi(Risposta::Si);
        Riscrivi(p->cmbTipo->lineEdit(), QStringLiteral("Tutti"));
        QTest::mouseClick(finestra.cmdStampaTutti, Qt::LeftButton);

        scelta_.risposta = {};
        archivio.dialoghi.RispondiPoi(Risposta::Si);
        QTest::mouseClick(finestra.cmdStampaTutti, Qt::LeftButton);

        p->dtData->setDate(QDate(2015, 1, 1));
        p->dtDataFin->setDate(QDate(2015, 1, 31));
        QTest::mouseClick(finestra.cmdStampaTutti, Qt::LeftButton);
        ServizioStampaAttuale::Installa(nullptr);

        QCOMPARE(servizio.inviati, QStringList({"ufficio fat10.pdf 3", "ufficio bol7.pdf 3"}));
        QCOMPARE(Messaggi(archivio.dialoghi),
                 QStringList({domanda, domanda,
                              Messaggio(Icona::Esclamazione,
                                        "Documenti stampati su prova: 3 di 4.\nNon stampati:\nfat123-2014.pdf: il file "
                                            + archivio.pdf("fat123-2014.pdf")
                                            + " non si trova nella cartella dei documenti"),
                              Messaggio(Icona::Informazione, "Documenti stampati su ufficio: 1 di 1."), domanda,
                              Messaggio(Icona::Esclamazione, "Documenti stampati su ufficio: 1 di 4.\nStampa "
                                                             "interrotta dall'operatore: 3 documenti non inviati."),
                              domanda,
                              Messaggio(Icona::Esclamazione, "Non ci sono documenti presenti relativamente ai "
                                                             "parametri di ricerca formulati.")}));
        QVERIFY(archivio.apertore.aperti.isEmpty());
    }
};

QTEST_MAIN(TestStampa)
#include "tst_stampa.moc"
