#include "AmbienteProva.h"
#include "ArchivioProva.h"
#include "Finestre.h"
#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "components/Tabulario.h"
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
    void dataRiportaDalModoSenzaTipi();
    void annoAlClicSuCerca_data();
    void annoAlClicSuCerca();
    void annoUscendoDalCampo();
    void lunghezzaAnno();
    void archivioDanneggiato_data();
    void archivioDanneggiato();

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
    QCOMPARE(ambiente_->dialoghi.messaggi.size(), 1);
    const auto& messaggio = ambiente_->dialoghi.messaggi.first();
    QCOMPARE(messaggio.testo, MessaggioImpostazioniAssenti);
    QCOMPARE(messaggio.icona, Icona::Critica);
    QCOMPARE(messaggio.titolo, QStringLiteral("Seleziona Documenti"));
    QVERIFY(finestra->Pannello()->blnImpostazioniAssenti());
    QCOMPARE(Controllo<QComboBox>(finestra, QStringLiteral("cmbTipo"))->count(), 0);
    // Nobody works with an unprepared panel: it closes as it comes up.
    finestra->show();
    QTRY_VERIFY(finestra.isNull());
}

void TestPannello::modoInizialeETipi_data()
{
    QTest::addColumn<QList<DocumentoProva>>("documenti");
    QTest::addColumn<int>("modo");
    QTest::addColumn<QStringList>("voci");

    const QDate giorno(2014, 3, 1);
    QTest::newRow("archivio vuoto") << QList<DocumentoProva>{} << 5 << QStringList{};
    QTest::newRow("tipi e tipi nulli")
        << QList<DocumentoProva>{Documento(QStringLiteral("a.pdf"), QStringLiteral("FAT"), QStringLiteral("1"), giorno,
                                           QStringLiteral("C1")),
                                 {QStringLiteral("b.pdf"), {}, QStringLiteral("2"), giorno, {}, {}},
                                 Documento(QStringLiteral("c.pdf"), QStringLiteral("BOL"), QStringLiteral("3"), giorno,
                                           QStringLiteral("C1"))}
        << 1 << QStringList{QStringLiteral("Tutti"), QStringLiteral("BOL"), QStringLiteral("FAT")};
    QTest::newRow("solo tipi nulli o vuoti")
        << QList<DocumentoProva>{{QStringLiteral("a.pdf"), {}, QStringLiteral("1"), giorno, {}, {}},
                                 {QStringLiteral("b.pdf"), QString(QLatin1String("")), QStringLiteral("2"), giorno, {}, {}}}
        << 5 << QStringList{QStringLiteral("Tutti"), QString()};
}

void TestPannello::modoInizialeETipi()
{
    QFETCH(QList<DocumentoProva>, documenti);
    QFETCH(int, modo);
    QFETCH(QStringList, voci);
    ArchivioProva archivio(*ambiente_, documenti);
    std::unique_ptr<frmRistampa> finestra(new frmRistampa);
    PannelloRicerca* pannello = finestra->Pannello();

    QVERIFY(ambiente_->dialoghi.messaggi.isEmpty());
    QCOMPARE(pannello->intModoRicerca(), modo);
    QCOMPARE(pannello->optRicerca[0]->isChecked(), true);
    QCOMPARE(pannello->optRicerca[1]->isEnabled(), modo == 1);
    QCOMPARE(pannello->optRicerca[2]->isEnabled(), modo == 1);
    QStringList elencate;
    for (int i = 0; i < pannello->cmbTipo->count(); ++i)
        elencate.append(pannello->cmbTipo->itemText(i));
    QCOMPARE(elencate, voci);
    QCOMPARE(pannello->cmbTipo->currentText(), QStringLiteral("Tutti"));
    QCOMPARE(pannello->dtData->date(), QDate(2014, 3, 15));
    QCOMPARE(pannello->dtDataFin->date(), QDate(2014, 3, 15));
    QCOMPARE(pannello->txtAnno->text(), QStringLiteral("2014"));
    QCOMPARE(pannello->dtData->displayFormat(), QStringLiteral("dd/MM/yyyy"));
    QVERIFY(pannello->dtData->calendarPopup());
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
    ArchivioProva archivio(*ambiente_, {Documento(QStringLiteral("a.pdf"), QStringLiteral("FAT"), QStringLiteral("1"),
                                                   QDate(2014, 3, 1), QStringLiteral("C1"))});
    std::unique_ptr<frmRistampa> finestra(new frmRistampa);
    PannelloRicerca* pannello = finestra->Pannello();
    // From another mode, so that every control has to change.
    QTest::mouseClick(pannello->optRicerca[opzione == 1 ? 2 : 1], Qt::LeftButton);
    QTest::mouseClick(pannello->optRicerca[opzione], Qt::LeftButton);

    QCOMPARE(pannello->intModoRicerca(), opzione + 1);
    QCOMPARE(pannello->dtData->isEnabled(), periodo);
    QCOMPARE(pannello->dtDataFin->isEnabled(), periodo);
    QCOMPARE(pannello->txtDoc->isEnabled(), numero);
    QCOMPARE(pannello->txtAnno->isEnabled(), numero);
    QCOMPARE(pannello->txtCodice->isEnabled(), codice);
    QVERIFY(pannello->cmbTipo->isEnabled());
    const QColor bianco(255, 255, 255);
    const QColor sfondo = finestra->palette().color(QPalette::Window);
    QCOMPARE(pannello->txtDoc->palette().color(QPalette::Disabled, QPalette::Base), numero ? bianco : sfondo);
    QCOMPARE(pannello->txtDoc->palette().color(QPalette::Active, QPalette::Base), numero ? bianco : sfondo);
    QCOMPARE(pannello->txtCodice->palette().color(QPalette::Disabled, QPalette::Base), codice ? bianco : sfondo);
    // The year only changes its enabled state, never its colour.
    QVERIFY(!pannello->txtAnno->testAttribute(Qt::WA_SetPalette));
}

void TestPannello::dataRiportaDalModoSenzaTipi()
{
    ArchivioProva archivio(*ambiente_);
    std::unique_ptr<frmRistampa> finestra(new frmRistampa);
    PannelloRicerca* pannello = finestra->Pannello();
    QCOMPARE(pannello->intModoRicerca(), 5);
    QTest::mouseClick(pannello->optRicerca[0], Qt::LeftButton);
    QCOMPARE(pannello->intModoRicerca(), 1);
    QVERIFY(pannello->dtData->isEnabled());
    QVERIFY(!pannello->txtDoc->isEnabled());
    QVERIFY(!pannello->optRicerca[1]->isEnabled());
}

void TestPannello::annoAlClicSuCerca_data()
{
    QTest::addColumn<QString>("anno");
    QTest::addColumn<bool>("accettato");

    QTest::newRow("quattro cifre") << "2014" << true;
    QTest::newRow("due cifre") << "14" << false;
    QTest::newRow("lettere") << "abcd" << false;
    QTest::newRow("vuoto") << "" << false;
    QTest::newRow("segno e tre cifre") << "-123" << true;
}

void TestPannello::annoAlClicSuCerca()
{
    QFETCH(QString, anno);
    QFETCH(bool, accettato);
    ArchivioProva archivio(*ambiente_, {Documento(QStringLiteral("a.pdf"), QStringLiteral("FAT"), QStringLiteral("1"),
                                                   QDate(2014, 3, 1), QStringLiteral("C1"))});
    std::unique_ptr<frmRistampa> finestra(new frmRistampa);
    QVERIFY(MostraAttiva(finestra.get()));
    PannelloRicerca* pannello = finestra->Pannello();
    QSignalSpy cerca(pannello, &PannelloRicerca::Cerca);
    QTest::mouseClick(pannello->optRicerca[1], Qt::LeftButton);
    pannello->txtAnno->setFocus();
    pannello->txtAnno->selectAll();
    QTest::keyClick(pannello->txtAnno, Qt::Key_Backspace);
    QTest::keyClicks(pannello->txtAnno, anno);
    QTest::keyClicks(pannello->txtDoc, QStringLiteral("1"));
    pannello->txtAnno->setFocus();
    QTest::mouseClick(pannello->cmdCerca, Qt::LeftButton);

    if (accettato) {
        QCOMPARE(cerca.size(), 1);
        QVERIFY(ambiente_->dialoghi.messaggi.isEmpty());
        QVERIFY(finestra->Trova());
        return;
    }
    QCOMPARE(cerca.size(), 0);
    QVERIFY(!finestra->Trova());
    QCOMPARE(ambiente_->dialoghi.messaggi.size(), 1);
    const auto& messaggio = ambiente_->dialoghi.messaggi.first();
    QCOMPARE(messaggio.testo, QStringLiteral("Anno documento non valido"));
    QCOMPARE(messaggio.icona, Icona::Nessuna);
    QCOMPARE(messaggio.titolo, TitoloApplicazione);
    QCOMPARE(messaggio.pulsanti, Pulsanti::Ok);
    QVERIFY(pannello->txtAnno->hasFocus());
    QCOMPARE(pannello->txtAnno->selectedText(), anno);
}

void TestPannello::annoUscendoDalCampo()
{
    ArchivioProva archivio(*ambiente_, {Documento(QStringLiteral("a.pdf"), QStringLiteral("FAT"), QStringLiteral("1"),
                                                   QDate(2014, 3, 1), QStringLiteral("C1"))});
    std::unique_ptr<frmRistampa> finestra(new frmRistampa);
    QVERIFY(MostraAttiva(finestra.get()));
    PannelloRicerca* pannello = finestra->Pannello();
    QTest::mouseClick(pannello->optRicerca[1], Qt::LeftButton);
    pannello->txtAnno->setFocus();
    pannello->txtAnno->selectAll();
    QTest::keyClicks(pannello->txtAnno, QStringLiteral("14"));
    QTest::keyClick(pannello->txtAnno, Qt::Key_Tab);

    QCOMPARE(ambiente_->dialoghi.messaggi.size(), 1);
    QCOMPARE(ambiente_->dialoghi.messaggi.first().testo, QStringLiteral("Anno documento non valido"));
    QVERIFY(pannello->txtAnno->hasFocus());
    QCOMPARE(pannello->txtAnno->selectedText(), QStringLiteral("14"));

    // A good year lets the user go on.
    QTest::keyClicks(pannello->txtAnno, QStringLiteral("2013"));
    QTest::keyClick(pannello->txtAnno, Qt::Key_Tab);
    QCOMPARE(ambiente_->dialoghi.messaggi.size(), 1);
    QVERIFY(!pannello->txtAnno->hasFocus());
}

void TestPannello::lunghezzaAnno()
{
    ArchivioProva archivio(*ambiente_, {Documento(QStringLiteral("a.pdf"), QStringLiteral("FAT"), QStringLiteral("1"),
                                                   QDate(2014, 3, 1), QStringLiteral("C1"))});
    std::unique_ptr<frmRistampa> ristampa(new frmRistampa);
    std::unique_ptr<frmSelStampe> copia(new frmSelStampe);
    for (QWidget* finestra : {static_cast<QWidget*>(ristampa.get()), static_cast<QWidget*>(copia.get())}) {
        auto* anno = Controllo<QLineEdit>(finestra, QStringLiteral("txtAnno"));
        anno->setEnabled(true);
        anno->clear();
        QTest::keyClicks(anno, QStringLiteral("20145"));
    }
    QCOMPARE(Controllo<QLineEdit>(ristampa.get(), QStringLiteral("txtAnno"))->text(), QStringLiteral("2014"));
    QCOMPARE(Controllo<QLineEdit>(copia.get(), QStringLiteral("txtAnno"))->text(), QStringLiteral("20145"));

    // The copy window still refuses five characters on leaving.
    QVERIFY(MostraAttiva(copia.get()));
    auto* pannello = copia->Pannello();
    QTest::mouseClick(pannello->optRicerca[1], Qt::LeftButton);
    pannello->txtAnno->setFocus();
    QTest::keyClick(pannello->txtAnno, Qt::Key_Tab);
    QCOMPARE(ambiente_->dialoghi.messaggi.size(), 1);
    QVERIFY(pannello->txtAnno->hasFocus());
}

void TestPannello::archivioDanneggiato_data()
{
    QTest::addColumn<bool>("senzaPosta");
    QTest::newRow("senza la tabella Posta") << true;
    QTest::newRow("non è un archivio") << false;
}

void TestPannello::archivioDanneggiato()
{
    QFETCH(bool, senzaPosta);
    ArchivioProva archivio(*ambiente_);
    if (senzaPosta) {
        Connessione connessione;
        QVERIFY(!connessione.Apri(StringaConnessione(archivio.database)).presente());
        QVERIFY(!connessione.Esegui(QStringLiteral("drop view qryEmail")).presente());
        QVERIFY(!connessione.Esegui(QStringLiteral("drop table Posta")).presente());
    } else {
        ambiente_->scriviFile(QStringLiteral("server/dati.mdb"), "questo non è un archivio");
    }
    std::unique_ptr<frmRistampa> finestra(new frmRistampa);
    QCOMPARE(ambiente_->dialoghi.messaggi.size(), 1);
    QCOMPARE(ambiente_->dialoghi.messaggi.first().icona, Icona::Critica);
    QVERIFY(!finestra->Pannello()->blnImpostazioniAssenti());

    // The window stays usable; a search says why it finds nothing.
    QTest::mouseClick(finestra->Pannello()->cmdCerca, Qt::LeftButton);
    QCOMPARE(ambiente_->dialoghi.messaggi.size(), 2);
    QVERIFY(ambiente_->dialoghi.messaggi.last().testo.startsWith(
        QStringLiteral("Impossibile eseguire la ricerca nell'archivio:\n")));
    QVERIFY(!finestra->Trova());
}

QTEST_MAIN(TestPannello)
#include "tst_pannello.moc"
