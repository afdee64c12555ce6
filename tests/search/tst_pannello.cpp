#include "AmbienteProva.h"
#include "ArchivioProva.h"
#include "Finestre.h"
#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "search/frmRistampa.h"
#include "search/frmSelStampe.h"
#include "settings/Impostazioni.h"

#include <QPointer>
#include <QSignalSpy>

namespace {
const QDate Giorno(2014, 3, 1);
}

class TestPannello : public QObject
{
    Q_OBJECT

    std::unique_ptr<AmbienteProva> ambiente_;

private slots:
    void init()
    {
        ambiente_ = std::make_unique<AmbienteProva>();
        ambiente_->fermaOrologio(QDateTime(QDate(2014, 3, 15), QTime(10, 30)));
    }

    void cleanup() { ambiente_.reset(); }

    void archivioMancante()
    {
        ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("DataBase"), ambiente_->percorso(QStringLiteral("nessuno")));
        QPointer<frmRistampa> finestra = new frmRistampa;
        QCOMPARE(Messaggi(ambiente_->dialoghi), QStringList{Messaggio(Icona::Critica, MessaggioImpostazioniAssenti,
                                                                      QStringLiteral("Seleziona Documenti"))});
        QCOMPARE(finestra->Pannello()->cmbTipo->count(), 0);
        // Nobody works with an unprepared panel: it closes as it comes up.
        finestra->show();
        QTRY_VERIFY(finestra.isNull());
    }

    void caricamentoEModi_data()
    {
        QTest::addColumn<QList<DocumentoProva>>("documenti");
        QTest::addColumn<QStringList>("voci");
        QTest::addColumn<QString>("istruzione"); // of a search right after opening

        QTest::newRow("archivio vuoto") << QList<DocumentoProva>{} << QStringList{}
            << "Select Stampa, Tipo, data, email from Posta where data between(#03/15/2014#) and (#03/15/2014#) order by tipo,data;";
        QTest::newRow("tipi e tipi nulli")
            << QList<DocumentoProva>{Documento("a.pdf", "FAT", "1", Giorno, "C1"), {"b.pdf", {}, "2", Giorno, {}, {}},
                                     Documento("c.pdf", "BOL", "3", Giorno, "C1")}
            << QStringList{"Tutti", "BOL", "FAT"}
            << "Select Stampa, Tipo, NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta where data between(#03/15/2014#) and (#03/15/2014#) order by tipo, stampa, data;";
        QTest::newRow("solo tipi nulli o vuoti")
            << QList<DocumentoProva>{{"a.pdf", {}, "1", Giorno, {}, {}}, {"b.pdf", QString(""), "2", Giorno, {}, {}}}
            << QStringList{"Tutti", ""}
            << "Select Stampa, Tipo, data, email from Posta where data between(#03/15/2014#) and (#03/15/2014#) order by tipo,data;";
    }

    void caricamentoEModi()
    {
        QFETCH(QList<DocumentoProva>, documenti);
        QFETCH(QStringList, voci);
        QFETCH(QString, istruzione);
        ArchivioProva archivio(*ambiente_, documenti);
        std::unique_ptr<frmRistampa> finestra(new frmRistampa);
        PannelloRicerca* p = finestra->Pannello();

        QVERIFY(ambiente_->dialoghi.messaggi.isEmpty());
        QStringList elencate;
        for (int i = 0; i < p->cmbTipo->count(); ++i)
            elencate.append(p->cmbTipo->itemText(i));
        QCOMPARE(elencate, voci);
        QCOMPARE(p->cmbTipo->currentText(), QStringLiteral("Tutti"));
        QCOMPARE(p->dtData->date(), QDate(2014, 3, 15));
        QCOMPARE(p->dtDataFin->date(), QDate(2014, 3, 15));
        QCOMPARE(p->txtAnno->text(), QStringLiteral("2014"));
        QTest::mouseClick(p->cmdCerca, Qt::LeftButton);
        QCOMPARE(finestra->Trova()->Istruzione(), istruzione);

        // Searches by number or code need types; "Ricerca per data" is always there.
        const bool conTipi = voci.size() > 1 && !voci[1].isEmpty();
        QCOMPARE(p->optRicerca[1]->isEnabled(), conTipi);
        QCOMPARE(p->optRicerca[2]->isEnabled(), conTipi);
        const QColor bianco(255, 255, 255);
        const QColor sfondo = finestra->palette().color(QPalette::Window);
        // Each option is reached from the number search, so every control changes.
        for (int opzione : {1, 2, 1, 0}) {
            if (!p->optRicerca[opzione]->isEnabled())
                continue;
            QTest::mouseClick(p->optRicerca[opzione], Qt::LeftButton);
            QCOMPARE(p->intModoRicerca(), opzione + 1);
            QCOMPARE(p->dtData->isEnabled(), opzione != 1);
            QCOMPARE(p->dtDataFin->isEnabled(), opzione != 1);
            QCOMPARE(p->txtDoc->isEnabled(), opzione == 1);
            QCOMPARE(p->txtAnno->isEnabled(), opzione == 1);
            QCOMPARE(p->txtCodice->isEnabled(), opzione == 2);
            QVERIFY(p->cmbTipo->isEnabled());
            QCOMPARE(p->txtDoc->palette().color(QPalette::Disabled, QPalette::Base), opzione == 1 ? bianco : sfondo);
            QCOMPARE(p->txtCodice->palette().color(QPalette::Active, QPalette::Base), opzione == 2 ? bianco : sfondo);
            // The year only changes its enabled state, never its colour.
            QVERIFY(!p->txtAnno->testAttribute(Qt::WA_SetPalette));
        }

        // The close button unloads the window.
        QPointer<frmRistampa> chiusa = finestra.release();
        QTest::mouseClick(p->cmdAnnulla, Qt::LeftButton);
        QTRY_VERIFY(chiusa.isNull());
    }

    void anno_data()
    {
        QTest::addColumn<bool>("copia");    // the copy window, else the reprint one
        QTest::addColumn<QString>("anno");  // typed in place of the year shown
        QTest::addColumn<bool>("uscendo");  // leaving the field, else clicking "Cerca"
        QTest::addColumn<bool>("accettato");
        QTest::newRow("quattro cifre") << false << "2014" << false << true;
        QTest::newRow("segno e tre cifre") << false << "-123" << false << true;
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
        ArchivioProva archivio(*ambiente_, {Documento("a.pdf", "FAT", "1", Giorno, "C1")});
        std::unique_ptr<QWidget> finestra(copia ? static_cast<QWidget*>(new frmSelStampe) : new frmRistampa);
        QVERIFY(MostraAttiva(finestra.get()));
        auto* p = finestra->findChild<PannelloRicerca*>();
        QSignalSpy cerca(p, &PannelloRicerca::Cerca);
        QTest::mouseClick(p->optRicerca[1], Qt::LeftButton);
        p->txtAnno->setFocus();
        Riscrivi(p->txtAnno, anno);
        if (uscendo)
            QTest::keyClick(p->txtAnno, Qt::Key_Tab);
        else
            QTest::mouseClick(p->cmdCerca, Qt::LeftButton);

        QCOMPARE(cerca.size(), accettato && !uscendo ? 1 : 0);
        const QString annoNonValido = Messaggio(Icona::Nessuna, QStringLiteral("Anno documento non valido"));
        QCOMPARE(Messaggi(ambiente_->dialoghi), accettato ? QStringList{} : QStringList{annoNonValido});
        if (accettato)
            return;
        QVERIFY(p->txtAnno->hasFocus());
        QCOMPARE(p->txtAnno->selectedText(), anno);
        // A second bad year is refused as well; a good one lets the user go on.
        for (const char* altro : {"14", "2013"}) {
            QTest::keyClicks(p->txtAnno, QString::fromLatin1(altro));
            QTest::keyClick(p->txtAnno, Qt::Key_Tab);
        }
        QCOMPARE(Messaggi(ambiente_->dialoghi), (QStringList{annoNonValido, annoNonValido}));
        QVERIFY(!p->txtAnno->hasFocus());
    }

    void archivioSenzaPosta()
    {
        ArchivioProva archivio(*ambiente_);
        Connessione connessione;
        QVERIFY(!connessione.Apri(StringaConnessione(archivio.database)).presente());
        QVERIFY(!connessione.Esegui(QStringLiteral("drop view qryEmail")).presente());
        QVERIFY(!connessione.Esegui(QStringLiteral("drop table Posta")).presente());
        connessione.Chiudi();

        frmRistampa finestra;
        QCOMPARE(ambiente_->dialoghi.messaggi.size(), 1);
        QCOMPARE(ambiente_->dialoghi.messaggi.first().icona, Icona::Critica);
        // The window stays usable; a search says why it finds nothing.
        QTest::mouseClick(finestra.Pannello()->cmdCerca, Qt::LeftButton);
        QCOMPARE(ambiente_->dialoghi.messaggi.size(), 2);
        QVERIFY(ambiente_->dialoghi.messaggi.last().testo.startsWith(
            QStringLiteral("Impossibile eseguire la ricerca nell'archivio:\n")));
        QVERIFY(!finestra.Trova());
    }
};

QTEST_MAIN(TestPannello)
#include "tst_pannello.moc"
