#include "AmbienteProva.h"
#include "ArchivioProva.h"
#include "Finestre.h"
#include "search/frmSelStampe.h"
#include "settings/Impostazioni.h"

#include <QDir>
#include <QFile>

namespace {
QByteArray Contenuto(const QString& percorso)
{
    QFile file(percorso);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList FileIn(const QString& cartella)
{
    return QDir(cartella).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

const QDate Giorno(2014, 3, 3);
} // namespace

class TestSelStampe : public QObject
{
    Q_OBJECT

    QString ElencoDelGiorno() const { return ambiente_->percorso(QStringLiteral("elenchi/ElencoStampe15_03_2014.txt")); }

    std::unique_ptr<AmbienteProva> ambiente_;
    std::unique_ptr<ArchivioProva> archivio_;
    std::unique_ptr<frmSelStampe> finestra_;
    QString destinazione_;

private slots:
    void init()
    {
        ambiente_ = std::make_unique<AmbienteProva>();
        ambiente_->fermaOrologio(QDateTime(QDate(2014, 3, 15), QTime(11, 0)));
        archivio_ = std::make_unique<ArchivioProva>(
            *ambiente_, QList<DocumentoProva>{Documento("fat2.pdf", "FAT", "2", Giorno, "C01"),
                                              Documento("bol1.pdf", "BOL", "1", Giorno, "C02"),
                                              Documento("fat1.pdf", "FAT", "1", Giorno, "C01"),
                                              Documento("fat5.pdf", "FAT", "5", QDate(2014, 2, 5), "C01")});
        // fat2.pdf is archived but gone from the server folder.
        archivio_->ScriviPdf({QStringLiteral("bol1.pdf"), QStringLiteral("fat1.pdf"), QStringLiteral("fat5.pdf")});
        destinazione_ = ambiente_->percorso(QStringLiteral("locale"));
        QDir().mkpath(destinazione_);
        ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("CartellaLocale"), destinazione_);
        finestra_.reset(new frmSelStampe);
    }

    void cleanup()
    {
        finestra_.reset();
        archivio_.reset();
        ambiente_.reset();
    }

    void copiaTuttiEdElenco()
    {
        QCOMPARE(finestra_->txtPercorso->text(), destinazione_);
        ambiente_->dialoghi.RispondiPoi(Risposta::Si);
        Cerca(finestra_->Pannello(), 0, Giorno, Giorno);

        QCOMPARE(FileIn(destinazione_), (QStringList{"bol1.pdf", "fat1.pdf"}));
        QCOMPARE(Contenuto(destinazione_ + QStringLiteral("/fat1.pdf")),
                 Contenuto(archivio_->cartellaPdf + QStringLiteral("/fat1.pdf")));
        // In the statement's order (type, file name, date), the missing one left out.
        QCOMPARE(Contenuto(ElencoDelGiorno()), QByteArray("03/03/2014 - bol1.pdf - C02 - BOL - 1\r\n"
                                                          "03/03/2014 - fat1.pdf - C01 - FAT - 1\r\n"));
        QCOMPARE(Messaggi(ambiente_->dialoghi),
                 QStringList{Messaggio(Icona::Informazione,
                                       QStringLiteral("Operazione conclusa, i documenti si trovano nella cartella ")
                                           + destinazione_
                                           + QStringLiteral(". Visualizzare l'elenco stampe selezionate?"))});
        QCOMPARE(ambiente_->dialoghi.messaggi.first().pulsanti, Pulsanti::SiNo);
        QCOMPARE(ambiente_->apertore.aperti, QStringList{ElencoDelGiorno()});

        // A second run the same day starts the list afresh (and No opens
        // nothing); with one type chosen the list still names it.
        Cerca(finestra_->Pannello(), 0, QDate(2014, 2, 1), QDate(2014, 2, 28), QStringLiteral("FAT"));
        QCOMPARE(Contenuto(ElencoDelGiorno()), QByteArray("05/02/2014 - fat5.pdf - C01 - FAT - 5\r\n"));
        QCOMPARE(ambiente_->apertore.aperti.size(), 1);
    }

    void esitiSenzaCopie_data()
    {
        QTest::addColumn<QDate>("giorno");
        QTest::addColumn<bool>("destinazioneVuota");
        QTest::addColumn<bool>("pdfAltrove");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("titolo");

        QTest::newRow("nessun documento") << QDate(2015, 1, 1) << false << false
            << "Non ci sono documenti presenti relativamente ai parametri di ricerca formulati." << "ClientVelmira";
        QTest::newRow("tutti mancanti dal server") << Giorno << false << true
            << "Documenti non copiati. Controllare il percorso della cartella dei documenti PDF sul server"
            << "Seleziona Documenti";
        QTest::newRow("destinazione vuota") << Giorno << true << false
            << "Indicare in \"Percorso destinazione documenti\" la cartella dove copiare i documenti." << "ClientVelmira";
    }

    void esitiSenzaCopie()
    {
        QFETCH(QDate, giorno);
        QFETCH(bool, destinazioneVuota);
        QFETCH(bool, pdfAltrove);
        QFETCH(QString, messaggio);
        QFETCH(QString, titolo);
        if (pdfAltrove) {
            ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("CartellaPDF"), ambiente_->percorso(QStringLiteral("x")));
            finestra_.reset(new frmSelStampe);
        }
        if (destinazioneVuota)
            finestra_->txtPercorso->clear();
        Cerca(finestra_->Pannello(), 0, giorno, giorno);

        QCOMPARE(Messaggi(ambiente_->dialoghi), QStringList{Messaggio(Icona::Esclamazione, messaggio, titolo)});
        QVERIFY(FileIn(destinazione_).isEmpty());
    }

    void copiaInterrottaConservaLeCopie()
    {
        // A folder stands where the second document should go: the first copy
        // stays, the second fails and nothing half-written is left.
        QDir().mkpath(destinazione_ + QStringLiteral("/fat1.pdf"));
        Cerca(finestra_->Pannello(), 0, Giorno, Giorno);

        QCOMPARE(Messaggi(ambiente_->dialoghi),
                 QStringList{Messaggio(Icona::Informazione, archivio_->cartellaPdf + QStringLiteral("/fat1.pdfNon trovato"))});
        QCOMPARE(FileIn(destinazione_), QStringList{"bol1.pdf"});
        QCOMPARE(Contenuto(ElencoDelGiorno()), QByteArray("03/03/2014 - bol1.pdf - C02 - BOL - 1\r\n"));
    }

    void sceltaSingola_data()
    {
        QTest::addColumn<QString>("cartella");
        QTest::addColumn<bool>("sorgenteSparita");
        QTest::addColumn<QString>("messaggio");

        // The destination already holds an older, longer fat5.pdf.
        QTest::newRow("copiato sopra la vecchia copia") << "locale" << false
            << "Operazione conclusa, Documento fat5.pdf copiato nella cartella %1";
        QTest::newRow("cartella inesistente") << "manca" << false << "Impossibile copiare fat5.pdf nella cartella %1.";
        QTest::newRow("sorgente sparita dopo la ricerca") << "locale" << true
            << "Impossibile copiare fat5.pdf nella cartella %1.";
    }

    void sceltaSingola()
    {
        QFETCH(QString, cartella);
        QFETCH(bool, sorgenteSparita);
        QFETCH(QString, messaggio);
        const QString vecchia = ambiente_->scriviFile(QStringLiteral("locale/fat5.pdf"), QByteArray(100000, 'x'));
        const QString destinazione = ambiente_->percorso(cartella);
        finestra_->txtPercorso->setText(destinazione);
        Cerca(finestra_->Pannello(), 1, Giorno, Giorno, {}, QStringLiteral("5"));
        QCOMPARE(finestra_->Trova()->RigheElencate(), 1);
        if (sorgenteSparita)
            QVERIFY(QFile::remove(archivio_->cartellaPdf + QStringLiteral("/fat5.pdf")));
        const QByteArray originale = Contenuto(archivio_->cartellaPdf + QStringLiteral("/fat5.pdf"));
        finestra_->Trova()->Scegli(0);

        const bool copiato = messaggio.startsWith(QStringLiteral("Operazione"));
        QCOMPARE(Messaggi(ambiente_->dialoghi),
                 QStringList{Messaggio(copiato ? Icona::Informazione : Icona::Esclamazione, messaggio.arg(destinazione))});
        // Whole old copy or whole new one, nothing else beside it.
        QCOMPARE(FileIn(destinazione_), QStringList{"fat5.pdf"});
        QCOMPARE(Contenuto(vecchia), copiato ? originale : QByteArray(100000, 'x'));
        // One document copied by choice is not listed.
        QVERIFY(!QFile::exists(ElencoDelGiorno()));
    }

    void sfoglia_data()
    {
        QTest::addColumn<QString>("risposta");
        QTest::addColumn<QString>("attesa");
        QTest::newRow("cartella scelta") << "/dati/documenti" << "/dati/documenti";
        QTest::newRow("annullato") << "" << "/scritta/a/mano";
    }

    void sfoglia()
    {
        QFETCH(QString, risposta);
        QFETCH(QString, attesa);
        finestra_->txtPercorso->setText(QStringLiteral("/scritta/a/mano"));
        if (!risposta.isEmpty())
            ambiente_->selettore.risposte.enqueue(risposta);
        QTest::mouseClick(finestra_->cmdPercorso, Qt::LeftButton);
        QCOMPARE(ambiente_->selettore.richieste,
                 QStringList{QStringLiteral("Seleziona una cartella esistente dove salvare i documenti:")});
        QCOMPARE(finestra_->txtPercorso->text(), attesa);
        QCOMPARE(LeggiIni(QStringLiteral("Percorsi"), QStringLiteral("CartellaLocale")), attesa);
    }
};

QTEST_MAIN(TestSelStampe)
#include "tst_selstampe.moc"
