#include "ArchivioDiProva.h"
#include "ArchivioProva.h"
#include "archive/Archivio.h"
#include "search/frmRistampa.h"
#include "search/frmSelStampe.h"
#include "settings/Impostazioni.h"

#include <QAccessible>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>

class TestPannello : public QObject
{
    Q_OBJECT

private slots:
    // The settings are read at every load: a path put right in the file
    // between two windows is the one the second window works on.
    void archivioMancante()
    {
        ArchivioProva ambiente;
        ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("DataBase"), ambiente.percorso(QStringLiteral("nessuno")));
        QPointer<frmRistampa> finestra = new frmRistampa;
        QCOMPARE(Messaggi(ambiente.dialoghi), QStringList{Messaggio(Icona::Critica, MessaggioImpostazioniAssenti,
                                                                    QStringLiteral("Seleziona Documenti"))});
        // Nobody works with an unprepared panel: it closes as it comes up.
        finestra->show();
        QTRY_VERIFY(finestra.isNull());

        ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("DataBase"), ambiente.percorso(QStringLiteral("server")));
        frmRistampa seconda;
        QCOMPARE(seconda.Pannello()->contesto().strDatabase, ambiente.database);

        // An archive file without its tables: the window stays usable; a search says why it finds nothing.
        QVERIFY(QFile::resize(ambiente.database, 0));
        frmRistampa terza;
        QTest::mouseClick(terza.Pannello()->cmdCerca, Qt::LeftButton);
        const auto& messaggi = ambiente.dialoghi.messaggi;
        QCOMPARE(messaggi.size(), 3);
        QVERIFY(messaggi.last().testo.startsWith(QStringLiteral("Impossibile eseguire la ricerca nell'archivio:\n")));
        QVERIFY(!terza.Trova());
    }

    // Types that cannot all be read: the walk breaks off after the empty
    // types, before the first real one. That is said, not taken for an
    // archive without types.
    void tipiIlleggibili()
    {
        if (ProvaSuServer())
            QSKIP("a damaged file is the embedded engine's fault; a server keeps its own pages");
        ArchivioProva archivio({"a.pdf - 1 2014-03-01 -", "b.pdf FAT 2 2014-03-01 C1"});
        qint64 pagina = 0;
        qint64 dimensione = 0;
        SuArchivio(archivio.database, [&](QSqlDatabase& db) {
            QSqlQuery q(db);
            QVERIFY(q.exec("with recursive n(i) as (select 1 union all select i + 1 from n where i < 20000) "
                           "insert into Posta (Stampa, Tipo) select 'vuoto' || i || '.pdf', '' from n"));
            QVERIFY(q.exec("select pageno from dbstat where name = 'Posta_Tipo' and pagetype = 'leaf' order by pageno"));
            QList<qint64> foglie;
            while (q.next())
                foglie.append(q.value(0).toLongLong());
            QVERIFY(foglie.size() > 4);
            pagina = foglie[foglie.size() / 2];
            QVERIFY(q.exec("pragma page_size") && q.next());
            dimensione = q.value(0).toLongLong();
        });
        QFile file(archivio.database);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.seek((pagina - 1) * dimensione));
        file.write(QByteArray(dimensione, '\xA5'));
        file.close();

        frmRistampa finestra;
        const auto& messaggi = archivio.dialoghi.messaggi;
        QCOMPARE(messaggi.size(), 1);
        QCOMPARE(messaggi.first().icona, Icona::Critica);
        QVERIFY2(messaggi.first().testo.startsWith(QStringLiteral("Impossibile leggere i tipi di documento dall'archivio ")),
                 qPrintable(messaggi.first().testo));
        // The searches by number and code stay at hand.
        QCOMPARE(finestra.Pannello()->intModoRicerca(), 1);
        QVERIFY(finestra.Pannello()->optRicerca[1]->isEnabled());
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
        QVERIFY(!p->txtCodice->isEnabled()); // as opened, with types or without, the code cannot be typed

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
        QTest::addColumn<QString>("uscita"); // how the user tries to go on
        QTest::addColumn<QString>("esito");  // searches run, messages, window still open
        QTest::newRow("lettere, Cerca") << false << "abcd" << "cerca" << "0 1 1";
        // The window's own frame is not another control: no message there,
        // but closing afterwards still wants a good year.
        QTest::newRow("due cifre, cornice e poi Chiudi") << false << "14" << "cornice" << "0 1 1";
        QTest::newRow("due cifre, Alt+C") << false << "14" << "alt+c" << "0 1 1";
        // Pressed without the focus moving: by a program, by a screen reader.
        QTest::newRow("lettere, lettore su Chiudi") << false << "abcd" << "lettore chiudi" << "0 1 1";
        QTest::newRow("due cifre, lettore su Cerca") << false << "14" << "lettore cerca" << "0 1 1";
        // A good year lets the search go: only the copy window takes a fifth
        // character, and refuses it.
        QTest::newRow("ristampa, quinta cifra non presa") << false << "20145" << "cerca" << "1 0 1";
        QTest::newRow("copia, cinque cifre, Tab") << true << "20145" << "tab" << "0 1 1";
    }

    void anno()
    {
        QFETCH(bool, copia);
        QFETCH(QString, anno);
        QFETCH(QString, uscita);
        QFETCH(QString, esito);
        ArchivioProva archivio({"a.pdf FAT 1 2014-03-01 C1"});
        QMdiArea area;
        QPointer<QWidget> finestra = copia ? static_cast<QWidget*>(new frmSelStampe) : new frmRistampa;
        QMdiSubWindow* cornice = area.addSubWindow(finestra);
        area.resize(900, 700);
        QVERIFY(MostraAttiva(&area));
        auto* p = finestra->findChild<PannelloRicerca*>();
        QSignalSpy cerca(p, &PannelloRicerca::Cerca);
        QTest::mouseClick(p->optRicerca[1], Qt::LeftButton);
        QTest::mouseClick(p->txtAnno, Qt::LeftButton);
        Riscrivi(p->txtAnno, anno);
        QPushButton* pulsante = uscita.endsWith("cerca") ? p->cmdCerca : p->cmdAnnulla;
        if (uscita == "tab") {
            QTest::keyClick(p->txtAnno, Qt::Key_Tab);
        } else if (uscita.startsWith("alt+")) {
            QTest::keyClick(p->txtAnno, uscita.back().toLatin1(), Qt::AltModifier);
            QTest::qWait(300); // a mnemonic presses its button for a moment
        } else if (uscita.startsWith("lettore ")) {
            QAccessible::queryAccessibleInterface(pulsante)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
            QTest::qWait(300);
        } else {
            if (uscita == "cornice") {
                QTest::mouseClick(cornice, Qt::LeftButton, {}, QPoint(cornice->width() / 2, 8));
                QCOMPARE(archivio.dialoghi.messaggi.size(), 0);
            }
            QTest::mouseClick(pulsante, Qt::LeftButton);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(cerca.size()).arg(archivio.dialoghi.messaggi.size()).arg(!finestra.isNull()),
                 esito);
        const QString annoNonValido = Messaggio(Icona::Nessuna, QStringLiteral("Anno documento non valido"));
        if (archivio.dialoghi.messaggi.isEmpty())
            return;
        QCOMPARE(Messaggi(archivio.dialoghi), QStringList{annoNonValido});
        QVERIFY(p->txtAnno->hasFocus());
        QCOMPARE(p->txtAnno->selectedText(), anno);
        QVERIFY(!p->cmdCerca->isDown() && !p->cmdAnnulla->isDown());
        // A second bad year is refused as well; a good one lets the user go on.
        for (const char* altro : {"14", "2013"}) {
            QTest::keyClicks(p->txtAnno, QString::fromLatin1(altro));
            QTest::keyClick(p->txtAnno, Qt::Key_Tab);
        }
        QCOMPARE(Messaggi(archivio.dialoghi), (QStringList{annoNonValido, annoNonValido}));
        QVERIFY(!p->txtAnno->hasFocus());
        QTest::mouseClick(p->cmdCerca, Qt::LeftButton);
        QCOMPARE(cerca.size(), 1);
    }

    // A search that finds a great many documents: the first rows are there
    // at once, the others follow without a wait.
    void moltissimeRighe()
    {
        QStringList righe;
        for (int i = 0; i < 100000; ++i)
            righe.append(QStringLiteral("d%1.pdf FAT %2 2014-01-01 C9").arg(i, 6, 10, QLatin1Char('0')).arg(i));
        ArchivioProva archivio(righe);
        frmRistampa finestra;
        Cerca(finestra.Pannello(), 0, QDate(2014, 1, 1), QDate(2014, 1, 1));
        const Tabulario* lista = finestra.Trova();
        QVERIFY(lista->RigheElencate() > 0);
        QVERIFY(lista->RigheElencate() < 100000);
        QTRY_COMPARE_WITH_TIMEOUT(lista->RigheElencate(), 100000, 60000);
        QCOMPARE(lista->RigaElencata(99999).first(), QStringLiteral("d099999.pdf"));
    }
};

QTEST_MAIN(TestPannello)
#include "tst_pannello.moc"
