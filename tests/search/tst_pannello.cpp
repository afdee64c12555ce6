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
const QString AnnoNonValido = Messaggio(Icona::Nessuna, QStringLiteral("Anno documento non valido"));
}

class TestPannello : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { ambiente_.reset(); }
    void archivioMancante();
    void caricamentoEModi_data();
    void caricamentoEModi();
    void annoAlClicSuCerca_data();
    void annoAlClicSuCerca();
    void annoUscendoDalCampo();
    void archivioSenzaPosta();

private:
    std::unique_ptr<AmbienteProva> ambiente_;
};

void TestPannello::init()
{
    ambiente_ = std::make_unique<AmbienteProva>();
    ambiente_->fermaOrologio(QDateTime(QDate(2014, 3, 15), QTime(10, 30)));
}

void TestPannello::archivioMancante()
{
    ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("DataBase"), ambiente_->percorso(QStringLiteral("nessuno")));
    QPointer<frmRistampa> finestra = new frmRistampa;
    QCOMPARE(Messaggi(ambiente_->dialoghi),
             QStringList{Messaggio(Icona::Critica, MessaggioImpostazioniAssenti, QStringLiteral("Seleziona Documenti"))});
    QCOMPARE(finestra->Pannello()->cmbTipo->count(), 0);
    // Nobody works with an unprepared panel: it closes as it comes up.
    finestra->show();
    QTRY_VERIFY(finestra.isNull());
}

void TestPannello::caricamentoEModi_data()
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

void TestPannello::caricamentoEModi()
{
    QFETCH(QList<DocumentoProva>, documenti);
    QFETCH(QStringList, voci);
    QFETCH(QString, istruzione);
    ArchivioProva archivio(*ambiente_, documenti);
    frmRistampa finestra;
    PannelloRicerca* p = finestra.Pannello();

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
    QCOMPARE(finestra.Trova()->Istruzione(), istruzione);

    // Searches by number or code need types; "Ricerca per data" is always there.
    const bool conTipi = voci.size() > 1 && !voci[1].isEmpty();
    QCOMPARE(p->optRicerca[1]->isEnabled(), conTipi);
    QCOMPARE(p->optRicerca[2]->isEnabled(), conTipi);
    const QColor bianco(255, 255, 255);
    const QColor sfondo = finestra.palette().color(QPalette::Window);
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
}

void TestPannello::annoAlClicSuCerca_data()
{
    QTest::addColumn<QString>("anno");
    QTest::addColumn<bool>("accettato");
    QTest::newRow("quattro cifre") << "2014" << true;
    QTest::newRow("segno e tre cifre") << "-123" << true;
    QTest::newRow("due cifre") << "14" << false;
    QTest::newRow("lettere") << "abcd" << false;
}

void TestPannello::annoAlClicSuCerca()
{
    QFETCH(QString, anno);
    QFETCH(bool, accettato);
    ArchivioProva archivio(*ambiente_, {Documento("a.pdf", "FAT", "1", Giorno, "C1")});
    frmRistampa finestra;
    QVERIFY(MostraAttiva(&finestra));
    PannelloRicerca* p = finestra.Pannello();
    QSignalSpy cerca(p, &PannelloRicerca::Cerca);
    QTest::mouseClick(p->optRicerca[1], Qt::LeftButton);
    p->txtAnno->setFocus();
    Riscrivi(p->txtAnno, anno);
    QTest::mouseClick(p->cmdCerca, Qt::LeftButton);

    QCOMPARE(cerca.size(), accettato ? 1 : 0);
    QCOMPARE(finestra.Trova() != nullptr, accettato);
    QCOMPARE(Messaggi(ambiente_->dialoghi), accettato ? QStringList{} : QStringList{AnnoNonValido});
    if (!accettato) {
        QVERIFY(p->txtAnno->hasFocus());
        QCOMPARE(p->txtAnno->selectedText(), anno);
    }
}

void TestPannello::annoUscendoDalCampo()
{
    ArchivioProva archivio(*ambiente_, {Documento("a.pdf", "FAT", "1", Giorno, "C1")});
    // The copy window takes a fifth character and refuses it on leaving;
    // the others do not take it at all.
    frmRistampa ristampa;
    ristampa.Pannello()->txtAnno->setEnabled(true);
    QTest::keyClicks(ristampa.Pannello()->txtAnno, QStringLiteral("5"));
    QCOMPARE(ristampa.Pannello()->txtAnno->text(), QStringLiteral("2014"));

    QPointer<frmSelStampe> finestra = new frmSelStampe;
    QVERIFY(MostraAttiva(finestra));
    PannelloRicerca* p = finestra->Pannello();
    QTest::mouseClick(p->optRicerca[1], Qt::LeftButton);
    p->txtAnno->setFocus();
    p->txtAnno->end(false);
    QTest::keyClicks(p->txtAnno, QStringLiteral("5"));
    QTest::keyClick(p->txtAnno, Qt::Key_Tab);
    QCOMPARE(Messaggi(ambiente_->dialoghi), QStringList{AnnoNonValido});
    QVERIFY(p->txtAnno->hasFocus());
    QCOMPARE(p->txtAnno->selectedText(), QStringLiteral("20145"));

    // A good year lets the user go on.
    QTest::keyClicks(p->txtAnno, QStringLiteral("2013"));
    QTest::keyClick(p->txtAnno, Qt::Key_Tab);
    QCOMPARE(ambiente_->dialoghi.messaggi.size(), 1);
    QVERIFY(!p->txtAnno->hasFocus());

    // The close button unloads the window.
    QTest::mouseClick(p->cmdAnnulla, Qt::LeftButton);
    QTRY_VERIFY(finestra.isNull());
}

void TestPannello::archivioSenzaPosta()
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

QTEST_MAIN(TestPannello)
#include "tst_pannello.moc"
