#include "AmbienteProva.h"
#include "ArchivioProva.h"
#include "Finestre.h"
#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "search/PannelloRicerca.h"
#include "search/frmRistampa.h"
#include "search/frmSelStampe.h"
#include "settings/Impostazioni.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

namespace {
const QDate Giorno(2014, 3, 1);
const QString AnnoNonValido = Messaggio(Icona::Nessuna, QStringLiteral("Anno documento non valido"));
}

class TestPannello : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void archivioMancante();
    void modoInizialeETipi_data();
    void modoInizialeETipi();
    void modi_data();
    void modi();
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

void TestPannello::cleanup()
{
    // The environment puts the program's seams back when it goes.
    ambiente_.reset();
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

void TestPannello::modoInizialeETipi_data()
{
    QTest::addColumn<QList<DocumentoProva>>("documenti");
    QTest::addColumn<int>("modo");
    QTest::addColumn<QStringList>("voci");

    QTest::newRow("archivio vuoto") << QList<DocumentoProva>{} << 5 << QStringList{};
    QTest::newRow("tipi e tipi nulli")
        << QList<DocumentoProva>{Documento("a.pdf", "FAT", "1", Giorno, "C1"), {"b.pdf", {}, "2", Giorno, {}, {}},
                                 Documento("c.pdf", "BOL", "3", Giorno, "C1")}
        << 1 << QStringList{"Tutti", "BOL", "FAT"};
    QTest::newRow("solo tipi nulli o vuoti")
        << QList<DocumentoProva>{{"a.pdf", {}, "1", Giorno, {}, {}}, {"b.pdf", QString(""), "2", Giorno, {}, {}}}
        << 5 << QStringList{"Tutti", ""};
}

void TestPannello::modoInizialeETipi()
{
    QFETCH(QList<DocumentoProva>, documenti);
    QFETCH(int, modo);
    QFETCH(QStringList, voci);
    ArchivioProva archivio(*ambiente_, documenti);
    std::unique_ptr<frmRistampa> finestra(new frmRistampa);
    PannelloRicerca* p = finestra->Pannello();

    QVERIFY(ambiente_->dialoghi.messaggi.isEmpty());
    QCOMPARE(p->intModoRicerca(), modo);
    QCOMPARE(p->optRicerca[1]->isEnabled(), modo == 1);
    QCOMPARE(p->optRicerca[2]->isEnabled(), modo == 1);
    QStringList elencate;
    for (int i = 0; i < p->cmbTipo->count(); ++i)
        elencate.append(p->cmbTipo->itemText(i));
    QCOMPARE(elencate, voci);
    QCOMPARE(p->cmbTipo->currentText(), QStringLiteral("Tutti"));
    QCOMPARE(p->dtData->date(), QDate(2014, 3, 15));
    QCOMPARE(p->dtDataFin->date(), QDate(2014, 3, 15));
    QCOMPARE(p->txtAnno->text(), QStringLiteral("2014"));

    // "Ricerca per data" always leads to the date search.
    QTest::mouseClick(p->optRicerca[0], Qt::LeftButton);
    QCOMPARE(p->intModoRicerca(), 1);
}

void TestPannello::modi_data()
{
    QTest::addColumn<int>("opzione");
    QTest::addColumn<bool>("periodo");
    QTest::addColumn<bool>("numero");
    QTest::addColumn<bool>("codice");
    QTest::newRow("per data") << 0 << true << false << false;
    QTest::newRow("per numero") << 1 << false << true << false;
    QTest::newRow("per codice") << 2 << true << false << true;
}

void TestPannello::modi()
{
    QFETCH(int, opzione);
    QFETCH(bool, periodo);
    QFETCH(bool, numero);
    QFETCH(bool, codice);
    ArchivioProva archivio(*ambiente_, {Documento("a.pdf", "FAT", "1", Giorno, "C1")});
    std::unique_ptr<frmRistampa> finestra(new frmRistampa);
    PannelloRicerca* p = finestra->Pannello();
    // From another mode, so that every control has to change.
    QTest::mouseClick(p->optRicerca[opzione == 1 ? 2 : 1], Qt::LeftButton);
    QTest::mouseClick(p->optRicerca[opzione], Qt::LeftButton);

    QCOMPARE(p->intModoRicerca(), opzione + 1);
    QCOMPARE(p->dtData->isEnabled(), periodo);
    QCOMPARE(p->dtDataFin->isEnabled(), periodo);
    QCOMPARE(p->txtDoc->isEnabled(), numero);
    QCOMPARE(p->txtAnno->isEnabled(), numero);
    QCOMPARE(p->txtCodice->isEnabled(), codice);
    QVERIFY(p->cmbTipo->isEnabled());
    const QColor bianco(255, 255, 255);
    const QColor sfondo = finestra->palette().color(QPalette::Window);
    QCOMPARE(p->txtDoc->palette().color(QPalette::Disabled, QPalette::Base), numero ? bianco : sfondo);
    QCOMPARE(p->txtCodice->palette().color(QPalette::Active, QPalette::Base), codice ? bianco : sfondo);
    // The year only changes its enabled state, never its colour.
    QVERIFY(!p->txtAnno->testAttribute(Qt::WA_SetPalette));
}

void TestPannello::annoAlClicSuCerca_data()
{
    QTest::addColumn<QString>("anno");
    QTest::addColumn<bool>("accettato");
    QTest::newRow("quattro cifre") << "2014" << true;
    QTest::newRow("segno e tre cifre") << "-123" << true;
    QTest::newRow("due cifre") << "14" << false;
    QTest::newRow("lettere") << "abcd" << false;
    QTest::newRow("vuoto") << "" << false;
}

void TestPannello::annoAlClicSuCerca()
{
    QFETCH(QString, anno);
    QFETCH(bool, accettato);
    ArchivioProva archivio(*ambiente_, {Documento("a.pdf", "FAT", "1", Giorno, "C1")});
    std::unique_ptr<frmRistampa> finestra(new frmRistampa);
    QVERIFY(MostraAttiva(finestra.get()));
    PannelloRicerca* p = finestra->Pannello();
    QSignalSpy cerca(p, &PannelloRicerca::Cerca);
    QTest::mouseClick(p->optRicerca[1], Qt::LeftButton);
    p->txtAnno->setFocus();
    p->txtAnno->selectAll();
    QTest::keyClick(p->txtAnno, Qt::Key_Backspace);
    QTest::keyClicks(p->txtAnno, anno);
    QTest::mouseClick(p->cmdCerca, Qt::LeftButton);

    QCOMPARE(cerca.size(), accettato ? 1 : 0);
    QCOMPARE(finestra->Trova() != nullptr, accettato);
    if (accettato)
        return;
    QCOMPARE(Messaggi(ambiente_->dialoghi), QStringList{AnnoNonValido});
    QVERIFY(p->txtAnno->hasFocus());
    QCOMPARE(p->txtAnno->selectedText(), anno);
}

void TestPannello::annoUscendoDalCampo()
{
    ArchivioProva archivio(*ambiente_, {Documento("a.pdf", "FAT", "1", Giorno, "C1")});
    // The copy window takes a fifth character and refuses it on leaving;
    // the others do not take it at all.
    std::unique_ptr<frmRistampa> ristampa(new frmRistampa);
    ristampa->Pannello()->txtAnno->setEnabled(true);
    QTest::keyClicks(ristampa->Pannello()->txtAnno, QStringLiteral("5"));
    QCOMPARE(ristampa->Pannello()->txtAnno->text(), QStringLiteral("2014"));

    std::unique_ptr<frmSelStampe> finestra(new frmSelStampe);
    QVERIFY(MostraAttiva(finestra.get()));
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
    QPointer<frmSelStampe> chiusa = finestra.release();
    QTest::mouseClick(chiusa->Pannello()->cmdAnnulla, Qt::LeftButton);
    QTRY_VERIFY(chiusa.isNull());
}

void TestPannello::archivioSenzaPosta()
{
    ArchivioProva archivio(*ambiente_);
    Connessione connessione;
    QVERIFY(!connessione.Apri(StringaConnessione(archivio.database)).presente());
    QVERIFY(!connessione.Esegui(QStringLiteral("drop view qryEmail")).presente());
    QVERIFY(!connessione.Esegui(QStringLiteral("drop table Posta")).presente());
    connessione.Chiudi();

    std::unique_ptr<frmRistampa> finestra(new frmRistampa);
    QCOMPARE(ambiente_->dialoghi.messaggi.size(), 1);
    QCOMPARE(ambiente_->dialoghi.messaggi.first().icona, Icona::Critica);
    // The window stays usable; a search says why it finds nothing.
    QTest::mouseClick(finestra->Pannello()->cmdCerca, Qt::LeftButton);
    QCOMPARE(ambiente_->dialoghi.messaggi.size(), 2);
    QVERIFY(ambiente_->dialoghi.messaggi.last().testo.startsWith(
        QStringLiteral("Impossibile eseguire la ricerca nell'archivio:\n")));
    QVERIFY(!finestra->Trova());
}

QTEST_MAIN(TestPannello)
#include "tst_pannello.moc"
