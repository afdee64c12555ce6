#include "ArchivioProva.h"
#include "archive/Archivio.h"
#include "search/frmRistampa.h"
#include "search/frmSelStampe.h"
#include "settings/Impostazioni.h"

#include <QPointer>
#include <QSignalSpy>

class TestPannello : public QObject
{
    Q_OBJECT

private slots:
    void archivioMancante()
    {
        AmbienteProva ambiente;
        ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("DataBase"), ambiente.percorso(QStringLiteral("nessuno")));
        QPointer<frmRistampa> finestra = new frmRistampa;
        QCOMPARE(Messaggi(ambiente.dialoghi), QStringList{Messaggio(Icona::Critica, MessaggioImpostazioniAssenti,
                                                                    QStringLiteral("Seleziona Documenti"))});
        // Nobody works with an unprepared panel: it closes as it comes up.
        finestra->show();
        QTRY_VERIFY(finestra.isNull());
    }

    void archivioSenzaPosta()
    {
        ArchivioProva archivio;
        QVERIFY(QFile::resize(archivio.database, 0));
        frmRistampa finestra;
        QTest::mouseClick(finestra.Pannello()->cmdCerca, Qt::LeftButton);
        // The window stays usable; a search says why it finds nothing.
        const auto& messaggi = archivio.dialoghi.messaggi;
        QCOMPARE(messaggi.size(), 2);
        QCOMPARE(messaggi.first().icona, Icona::Critica);
        QVERIFY(messaggi.last().testo.startsWith(QStringLiteral("Impossibile eseguire la ricerca nell'archivio:\n")));
        QVERIFY(!finestra.Trova());
    }

    void caricamentoEModi_data()
    {
        QTest::addColumn<QStringList>("voci");
        QTest::addColumn<QStringList>("documenti");
        QTest::addColumn<QString>("istruzione"); // of a search right after opening
        QTest::newRow("archivio vuoto") << QStringList{} << QStringList{}
            << "Select Stampa, Tipo, data, email from Posta where data between(#03/15/2014#) and (#03/15/2014#) order by tipo,data;";
        QTest::newRow("tipi e tipi nulli") << QStringList{"Tutti", "BOL", "FAT"}
            << QStringList{"a.pdf FAT 1 2014-03-01 C1", "b.pdf - 2 2014-03-01 -", "c.pdf BOL 3 2014-03-01 C1"}
            << "Select Stampa, Tipo, NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta where data between(#03/15/2014#) and (#03/15/2014#) order by tipo, stampa, data;";
        QTest::newRow("solo tipi nulli o vuoti") << QStringList{"Tutti", ""}
            << QStringList{"a.pdf - 1 2014-03-01 -", "b.pdf '' 2 2014-03-01 -"}
            << "Select Stampa, Tipo, data, email from Posta where data between(#03/15/2014#) and (#03/15/2014#) order by tipo,data;";
    }

    void caricamentoEModi()
    {
        QFETCH(QStringList, voci);
        QFETCH(QStringList, documenti);
        QFETCH(QString, istruzione);
        ArchivioProva archivio(documenti);
        QPointer<frmRistampa> finestra = new frmRistampa;
        PannelloRicerca* p = finestra->Pannello();
        QStringList visto{p->cmbTipo->currentText(), p->dtData->text(), p->dtDataFin->text(), p->txtAnno->text()};
        for (int i = 0; i < p->cmbTipo->count(); ++i)
            visto.append(p->cmbTipo->itemText(i));
        QCOMPARE(visto, QStringList({"Tutti", "15/03/2014", "15/03/2014", "2014"}) + voci);
        QTest::mouseClick(p->cmdCerca, Qt::LeftButton);
        QCOMPARE(finestra->Trova()->Istruzione(), istruzione);
        QVERIFY(archivio.dialoghi.messaggi.isEmpty());

        // Searches by number or code need types; "Ricerca per data" is always there.
        const bool conTipi = voci.size() > 1 && !voci[1].isEmpty();
        QCOMPARE(p->optRicerca[1]->isEnabled(), conTipi);
        QCOMPARE(p->optRicerca[2]->isEnabled(), conTipi);
        const QColor sfondo = finestra->palette().color(QPalette::Window);
        const QStringList attivi{"dtData dtDataFin cmbTipo", "txtDoc txtAnno cmbTipo", "dtData dtDataFin cmbTipo txtCodice"};
        // Each option is reached from the number search, so every control changes.
        for (int opzione : {1, 2, 1, 0}) {
            if (!p->optRicerca[opzione]->isEnabled())
                continue;
            QTest::mouseClick(p->optRicerca[opzione], Qt::LeftButton);
            QStringList stato;
            for (QWidget* w : std::initializer_list<QWidget*>{p->dtData, p->dtDataFin, p->txtDoc, p->txtAnno, p->cmbTipo, p->txtCodice})
                if (w->isEnabled())
                    stato.append(w->objectName());
            QCOMPARE(stato.join(' '), attivi[opzione]);
            // The number and the code turn white when they can be typed in; the year keeps its colour.
            QCOMPARE(p->txtDoc->palette().color(QPalette::Disabled, QPalette::Base), opzione == 1 ? Qt::white : sfondo);
            QCOMPARE(p->txtCodice->palette().color(QPalette::Active, QPalette::Base), opzione == 2 ? Qt::white : sfondo);
            QVERIFY(!p->txtAnno->testAttribute(Qt::WA_SetPalette));
        }
        QTest::mouseClick(p->cmdAnnulla, Qt::LeftButton);
        QTRY_VERIFY(finestra.isNull());
    }

    void anno_data()
    {
        QTest::addColumn<bool>("copia");    // the copy window, else the reprint one
        QTest::addColumn<QString>("anno");  // typed in place of the year shown
        QTest::addColumn<bool>("uscendo");  // leaving the field, else clicking "Cerca"
        QTest::addColumn<bool>("accettato");
        QTest::newRow("quattro cifre") << false << "2014" << false << true;
        QTest::newRow("due cifre") << false << "14" << false << false;
        QTest::newRow("lettere") << false << "abcd" << false << false;
        // Only the copy window takes a fifth character, and refuses it.
        QTest::newRow("ristampa, quinta cifra non presa") << false << "20145" << false << true;
        QTest::newRow("copia, cinque cifre uscendo") << true << "20145" << true << false;
    }

    void anno()
    {
        QFETCH(bool, copia);
        QFETCH(QString, anno);
        QFETCH(bool, uscendo);
        QFETCH(bool, accettato);
        ArchivioProva archivio({"a.pdf FAT 1 2014-03-01 C1"});
        std::unique_ptr<QWidget> finestra(copia ? static_cast<QWidget*>(new frmSelStampe) : new frmRistampa);
        QVERIFY(MostraAttiva(finestra.get()));
        auto* p = finestra->findChild<PannelloRicerca*>();
        QSignalSpy cerca(p, &PannelloRicerca::Cerca);
        QTest::mouseClick(p->optRicerca[1], Qt::LeftButton);
        p->txtAnno->setFocus();
        Riscrivi(p->txtAnno, anno);
        uscendo ? QTest::keyClick(p->txtAnno, Qt::Key_Tab) : QTest::mouseClick(p->cmdCerca, Qt::LeftButton);
        QCOMPARE(cerca.size(), accettato && !uscendo ? 1 : 0);
        const QString annoNonValido = Messaggio(Icona::Nessuna, QStringLiteral("Anno documento non valido"));
        QCOMPARE(Messaggi(archivio.dialoghi), accettato ? QStringList{} : QStringList{annoNonValido});
        if (accettato)
            return;
        QVERIFY(p->txtAnno->hasFocus());
        QCOMPARE(p->txtAnno->selectedText(), anno);
        // A second bad year is refused as well; a good one lets the user go on.
        for (const char* altro : {"14", "2013"}) {
            QTest::keyClicks(p->txtAnno, QString::fromLatin1(altro));
            QTest::keyClick(p->txtAnno, Qt::Key_Tab);
        }
        QCOMPARE(Messaggi(archivio.dialoghi), (QStringList{annoNonValido, annoNonValido}));
        QVERIFY(!p->txtAnno->hasFocus());
    }
};

QTEST_MAIN(TestPannello)
#include "tst_pannello.moc"
