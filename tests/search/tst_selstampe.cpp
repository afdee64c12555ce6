#include "ArchivioProva.h"
#include "DiscoPiccolo.h"
#include "search/frmSelStampe.h"
#include "settings/Impostazioni.h"

#include <QDir>

namespace {
QStringList FileIn(const QString& cartella)
{
    return QDir(cartella).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

const QDate Giorno(2014, 3, 3);
} // namespace

class TestSelStampe : public QObject
{
    Q_OBJECT

    std::unique_ptr<ArchivioProva> archivio_;
    std::unique_ptr<frmSelStampe> finestra_;
    QString destinazione_;

    QString Elenco() const { return archivio_->percorso(QStringLiteral("elenchi/ElencoStampe15_03_2014.txt")); }

private slots:
    void init()
    {
        // fat2.pdf is archived but gone from the server folder.
        archivio_ = std::make_unique<ArchivioProva>(
            QStringList{"fat2.pdf FAT 2 2014-03-03 C01", "bol1.pdf BOL 1 2014-03-03 C02", "fat1.pdf FAT 1 2014-03-03 C01",
                        "fat5.pdf FAT 5 2014-02-05 C01"},
            QStringList{"bol1.pdf", "fat1.pdf", "fat5.pdf"});
        destinazione_ = archivio_->percorso(QStringLiteral("locale"));
        QDir().mkpath(destinazione_);
        ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("CartellaLocale"), destinazione_);
        finestra_.reset(new frmSelStampe);
    }

    void cleanup()
    {
        finestra_.reset();
        archivio_.reset();
    }

    void copiaTuttiEdElenco()
    {
        archivio_->dialoghi.RispondiPoi(Risposta::Si);
        Cerca(finestra_->Pannello(), 0, Giorno, Giorno);
        QCOMPARE(FileIn(destinazione_), (QStringList{"bol1.pdf", "fat1.pdf"}));
        // In the statement's order (type, file name, date), the missing one left out.
        QCOMPARE(LeggiFile(Elenco()), QByteArray("03/03/2014 - bol1.pdf - C02 - BOL - 1\r\n"
                                                 "03/03/2014 - fat1.pdf - C01 - FAT - 1\r\n"));
        QCOMPARE(Messaggi(archivio_->dialoghi),
                 QStringList{Messaggio(Icona::Informazione, "Operazione conclusa, i documenti si trovano nella cartella "
                                                                + destinazione_
                                                                + ". Visualizzare l'elenco stampe selezionate?")});
        QCOMPARE(archivio_->dialoghi.messaggi.first().pulsanti, Pulsanti::SiNo);
        QCOMPARE(archivio_->apertore.aperti, QStringList{Elenco()});

        // A second run the same day starts the list afresh (and No opens
        // nothing); with one type chosen the list still names it.
        Cerca(finestra_->Pannello(), 0, QDate(2014, 2, 1), QDate(2014, 2, 28), QStringLiteral("FAT"));
        QCOMPARE(LeggiFile(Elenco()), QByteArray("05/02/2014 - fat5.pdf - C01 - FAT - 5\r\n"));
        QCOMPARE(archivio_->apertore.aperti.size(), 1);
    }

    // Every way a copy-all run ends short, before or while it copies. "%1"
    // stands for the program folder (which holds the destination "locale").
    void guastiCopiaTutti_data()
    {
        QTest::addColumn<QString>("guasto");
        QTest::addColumn<int>("icona");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QStringList>("copiati");
        const int esclamazione = int(Icona::Esclamazione);
        const QString velmira = QStringLiteral("ClientVelmira");
        QTest::newRow("nessun documento") << "giorno" << esclamazione << velmira
            << "Non ci sono documenti presenti relativamente ai parametri di ricerca formulati." << QStringList{};
        QTest::newRow("tutti mancanti dal server") << "pdf" << esclamazione << "Seleziona Documenti"
            << "Documenti non copiati. Controllare il percorso della cartella dei documenti PDF sul server" << QStringList{};
        QTest::newRow("destinazione vuota") << "destinazione" << esclamazione << velmira
            << "Indicare in \"Percorso destinazione documenti\" la cartella dove copiare i documenti." << QStringList{};
        // The first copy stays, the second fails and nothing half-written is left.
        QTest::newRow("una cartella al posto della copia") << "cartella" << int(Icona::Informazione) << velmira
            << "%1/server/pdf/fat1.pdfNon trovato" << QStringList{"bol1.pdf"};
        QTest::newRow("elenchi impossibile da creare") << "elenchi" << esclamazione << velmira
            << "Impossibile creare la cartella degli elenchi %1/elenchi: nessun documento è stato copiato." << QStringList{};
        QTest::newRow("elenco del giorno impossibile da eliminare") << "elenco" << esclamazione << velmira
            << "Impossibile eliminare l'elenco precedente %1/elenchi/ElencoStampe15_03_2014.txt: nessun documento "
               "è stato copiato."
            << QStringList{};
        QTest::newRow("archivio danneggiato") << "archivio" << int(Icona::Informazione) << velmira
            << "Non trovato" << QStringList{};
        QTest::newRow("disco pieno") << "disco" << esclamazione << velmira
            << "Spazio esaurito nella cartella %1/locale: fat1.pdf non è stato copiato. I documenti copiati prima restano "
               "nella cartella e nell'elenco."
            << QStringList{"bol1.pdf"};
    }

    void guastiCopiaTutti()
    {
        QFETCH(QString, guasto);
        QFETCH(int, icona);
        QFETCH(QString, titolo);
        QFETCH(QString, messaggio);
        QFETCH(QStringList, copiati);
        std::unique_ptr<DiscoPiccolo> disco;
        QDate giorno = Giorno;
        if (guasto == "giorno") {
            giorno = QDate(2015, 1, 1);
        } else if (guasto == "pdf") {
            QVERIFY(QDir(archivio_->cartellaPdf).removeRecursively());
        } else if (guasto == "destinazione") {
            finestra_->txtPercorso->clear();
        } else if (guasto == "cartella") {
            QDir().mkpath(destinazione_ + QStringLiteral("/fat1.pdf"));
        } else if (guasto == "elenchi") {
            archivio_->scriviFile(QStringLiteral("elenchi"), "un file al posto della cartella");
        } else if (guasto == "elenco") {
            archivio_->scriviFile(QStringLiteral("elenchi/ElencoStampe15_03_2014.txt/dentro"), "x");
        } else if (guasto == "archivio") {
            QFile database(archivio_->database);
            QVERIFY(database.open(QIODevice::ReadWrite));
            database.write(QByteArray(4096, '\xA5'));
        } else {
            // 64 KiB of room: the first document fits, the second does not.
            archivio_->scriviFile(QStringLiteral("server/pdf/fat1.pdf"), QByteArray(200000, 'p'));
            disco = std::make_unique<DiscoPiccolo>(destinazione_, 64);
            if (!disco->montato())
                QSKIP(qPrintable(disco->motivo()));
        }
        Cerca(finestra_->Pannello(), 0, giorno, giorno);
        QCOMPARE(Messaggi(archivio_->dialoghi),
                 QStringList{Messaggio(Icona(icona), messaggio.replace("%1", archivio_->cartella()), titolo)});
        QCOMPARE(FileIn(destinazione_), copiati);
        if (!copiati.isEmpty())
            QCOMPARE(LeggiFile(Elenco()), QByteArray("03/03/2014 - bol1.pdf - C02 - BOL - 1\r\n"));
    }

    // One document chosen from the list, each time over an older, longer
    // fat5.pdf in the destination: copied, refused by a missing folder,
    // refused once the source has gone after the search.
    void sceltaSingola()
    {
        const std::tuple<QString, bool, QString> casi[] = {
            {"locale", false, "Operazione conclusa, Documento fat5.pdf copiato nella cartella %1"},
            {"manca", false, "Impossibile copiare fat5.pdf nella cartella %1."},
            {"locale", true, "Impossibile copiare fat5.pdf nella cartella %1."}};
        for (const auto& [cartella, sorgenteSparita, messaggio] : casi) {
            archivio_->dialoghi.messaggi.clear();
            const QString vecchia = archivio_->scriviFile(QStringLiteral("locale/fat5.pdf"), QByteArray(100000, 'x'));
            const QString destinazione = archivio_->percorso(cartella);
            finestra_->txtPercorso->setText(destinazione);
            Cerca(finestra_->Pannello(), 1, Giorno, Giorno, {}, QStringLiteral("5"));
            if (sorgenteSparita)
                QVERIFY(QFile::remove(archivio_->pdf("fat5.pdf")));
            const QByteArray originale = LeggiFile(archivio_->pdf("fat5.pdf"));
            finestra_->Trova()->Scegli(0);

            const bool copiato = messaggio.startsWith(QStringLiteral("Operazione"));
            QCOMPARE(Messaggi(archivio_->dialoghi),
                     QStringList{Messaggio(copiato ? Icona::Informazione : Icona::Esclamazione, messaggio.arg(destinazione))});
            // Whole old copy or whole new one, nothing else beside it; a single
            // document copied by choice is not listed.
            QCOMPARE(FileIn(destinazione_), QStringList{"fat5.pdf"});
            QCOMPARE(LeggiFile(vecchia), copiato ? originale : QByteArray(100000, 'x'));
            QVERIFY(!QFile::exists(Elenco()));
        }
    }

    void sfoglia()
    {
        // Cancelling the picker keeps what was typed; a chosen folder is shown and saved.
        finestra_->txtPercorso->setText(QStringLiteral("/scritta/a/mano"));
        QTest::mouseClick(finestra_->cmdPercorso, Qt::LeftButton);
        QCOMPARE(finestra_->txtPercorso->text(), QStringLiteral("/scritta/a/mano"));
        archivio_->selettore.risposte.enqueue(QStringLiteral("/dati/documenti"));
        QTest::mouseClick(finestra_->cmdPercorso, Qt::LeftButton);
        QCOMPARE(finestra_->txtPercorso->text() + '|' + LeggiIni(QStringLiteral("Percorsi"), QStringLiteral("CartellaLocale")),
                 QStringLiteral("/dati/documenti|/dati/documenti"));
        QCOMPARE(archivio_->selettore.richieste,
                 QStringList(2, QStringLiteral("Seleziona una cartella esistente dove salvare i documenti:")));
    }
};

QTEST_MAIN(TestSelStampe)
#include "tst_selstampe.moc"
