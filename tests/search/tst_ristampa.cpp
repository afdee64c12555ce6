#include "AmbienteProva.h"
#include "ArchivioProva.h"
#include "Finestre.h"
#include "components/Tabulario.h"
#include "search/PannelloRicerca.h"
#include "search/frmRistampa.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

class TestRistampa : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void ricerche_data();
    void ricerche();
    void sceltaApreIlDocumento();
    void esitiDellaScelta_data();
    void esitiDellaScelta();

private:
    // Sets the criteria as a user does and clicks "Cerca".
    void Cerca(int opzione, const QString& tipo = QStringLiteral("Tutti"), const QString& numero = {},
               const QString& codice = {});

    std::unique_ptr<AmbienteProva> ambiente_;
    std::unique_ptr<ArchivioProva> archivio_;
    std::unique_ptr<frmRistampa> finestra_;
};

void TestRistampa::init()
{
    ambiente_ = std::make_unique<AmbienteProva>();
    ambiente_->fermaOrologio(QDateTime(QDate(2014, 4, 10), QTime(9, 0)));
    archivio_ = std::make_unique<ArchivioProva>(
        *ambiente_, QList<DocumentoProva>{Documento("fat123-2014.pdf", "FAT", "123", QDate(2014, 3, 31), "C01"),
                                          Documento("bol7.pdf", "BOL", "7", QDate(2014, 3, 1), "D'ANGELO"),
                                          Documento("fat9.pdf", "FAT", "9", QDate(2014, 3, 15), "C01"),
                                          Documento("fat123-2013.pdf", "FAT", "123", QDate(2013, 3, 10), "C01"),
                                          Documento("bol123-2014.pdf", "BOL", "123", QDate(2014, 6, 1), "C02"),
                                          Documento("aprile.pdf", "FAT", "10", QDate(2014, 4, 1), "C01")});
    archivio_->ScriviPdf({QStringLiteral("bol7.pdf"), QStringLiteral("fat9.pdf")});
    finestra_.reset(new frmRistampa);
    QVERIFY(MostraAttiva(finestra_.get()));
}

void TestRistampa::cleanup()
{
    finestra_.reset();
    archivio_.reset();
    ambiente_.reset();
}

void TestRistampa::Cerca(int opzione, const QString& tipo, const QString& numero, const QString& codice)
{
    PannelloRicerca* p = finestra_->Pannello();
    QTest::mouseClick(p->optRicerca[opzione], Qt::LeftButton);
    p->dtData->setDate(QDate(2014, 3, 1));
    p->dtDataFin->setDate(QDate(2014, 3, 31));
    const auto scrivi = [](QLineEdit* casella, const QString& testo) {
        if (!casella->isEnabled())
            return;
        casella->selectAll();
        QTest::keyClick(casella, Qt::Key_Backspace);
        QTest::keyClicks(casella, testo);
    };
    scrivi(p->txtDoc, numero);
    scrivi(p->txtCodice, codice);
    scrivi(p->cmbTipo->lineEdit(), tipo);
    QTest::mouseClick(p->cmdCerca, Qt::LeftButton);
}

void TestRistampa::ricerche_data()
{
    QTest::addColumn<int>("opzione");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("numero");
    QTest::addColumn<QString>("codice");
    QTest::addColumn<QString>("istruzione");
    QTest::addColumn<QStringList>("righe");

    QTest::newRow("marzo, tutti i tipi") << 0 << "Tutti" << "" << ""
        << "Select Stampa, Tipo, NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta where data between(#03/01/2014#) and (#03/31/2014#) order by tipo, stampa, data;"
        << QStringList{"bol7.pdf", "fat123-2014.pdf", "fat9.pdf"};
    QTest::newRow("marzo, fatture") << 0 << "FAT" << "" << ""
        << "Select Stampa, NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta where  data between(#03/01/2014#) and (#03/31/2014#) and tipo='FAT' order by data, NumDoc;"
        << QStringList{"fat9.pdf", "fat123-2014.pdf"};
    QTest::newRow("numero 123 del 2014, fatture") << 1 << "FAT" << " 123 " << ""
        << "Select Stampa, NumDoc as Num_Documento, year(data) as anno, Codice as Clien_Forn, email from Posta where  year(data) =2014 and NumDoc='123' and tipo='FAT' order by data, NumDoc;"
        << QStringList{"fat123-2014.pdf"};
    QTest::newRow("codice con apice") << 2 << "Tutti" << "" << "D'ANGELO"
        << "Select Stampa, Tipo, NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta where data between(#03/01/2014#) and (#03/31/2014#)and Codice='D''ANGELO' order by tipo,data;"
        << QStringList{"bol7.pdf"};
    QTest::newRow("numero con apice") << 1 << "Tutti" << "12'3" << ""
        << "Select Stampa, Tipo, NumDoc as Num_Documento, year(data) as anno, Codice as Clien_Forn, email from Posta where year(data) =2014 and NumDoc='12''3' order by tipo,data;"
        << QStringList{};
}

void TestRistampa::ricerche()
{
    QFETCH(int, opzione);
    QFETCH(QString, tipo);
    QFETCH(QString, numero);
    QFETCH(QString, codice);
    QFETCH(QString, istruzione);
    QFETCH(QStringList, righe);
    Cerca(opzione, tipo, numero, codice);

    QVERIFY(ambiente_->dialoghi.messaggi.isEmpty());
    Tabulario* lista = finestra_->Trova();
    QVERIFY(lista && lista->isVisible());
    QCOMPARE(lista->Istruzione(), istruzione);
    QCOMPARE(lista->StringaConnessione(), QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=")
                                              + archivio_->database + QStringLiteral(";Persist Security Info=False"));
    QCOMPARE(lista->windowTitle(), QStringLiteral("Seleziona Documento"));
    QStringList elencate;
    for (int i = 0; i < lista->RigheElencate(); ++i)
        elencate.append(lista->RigaElencata(i).first());
    QCOMPARE(elencate, righe);
}

void TestRistampa::sceltaApreIlDocumento()
{
    Cerca(0);
    Tabulario* lista = finestra_->Trova();
    QVERIFY(QTest::qWaitForWindowActive(lista));
    // The user goes down to the third row and presses Enter.
    auto* tabella = Controllo<QTableView>(lista, QStringLiteral("tabRighe"));
    QTest::keyClick(Controllo<QLineEdit>(lista, QStringLiteral("txtFiltro")), Qt::Key_Down);
    QTest::keyClick(tabella, Qt::Key_Down);
    QTest::keyClick(tabella, Qt::Key_Down);
    QTest::keyClick(tabella, Qt::Key_Return);

    QCOMPARE(ambiente_->apertore.aperti, QStringList{archivio_->cartellaPdf + QStringLiteral("/fat9.pdf")});
    QCOMPARE(ambiente_->apertore.verbi, QStringList{QStringLiteral("open")});
    QVERIFY(ambiente_->dialoghi.messaggi.isEmpty());
    QVERIFY(!finestra_->Trova());
}

void TestRistampa::esitiDellaScelta_data()
{
    QTest::addColumn<int>("riga"); // -1: closed without choosing
    QTest::addColumn<bool>("richiamoExt");
    QTest::addColumn<QString>("valore");
    QTest::addColumn<QString>("messaggio");

    QTest::newRow("chiusa senza scelta") << -1 << false << "" << "";
    QTest::newRow("aperta da un altro programma") << 0 << true << "bol7.pdf" << "";
    // fat123-2014.pdf is archived but missing from the server folder.
    QTest::newRow("documento mancante") << 1 << false << "" << "File Non Trovato";
}

void TestRistampa::esitiDellaScelta()
{
    QFETCH(int, riga);
    QFETCH(bool, richiamoExt);
    QFETCH(QString, valore);
    QFETCH(QString, messaggio);
    finestra_->setRichiamoExt(richiamoExt);
    QSignalSpy spiaValore(finestra_.get(), &frmRistampa::Valore);
    Cerca(0);
    if (riga < 0)
        QTest::keyClick(finestra_->Trova(), Qt::Key_Escape);
    else
        finestra_->Trova()->Scegli(riga);

    QVERIFY(!finestra_->Trova());
    QCOMPARE(spiaValore.size(), valore.isEmpty() ? 0 : 1);
    QCOMPARE(spiaValore.value(0).value(0).toString(), valore);
    QVERIFY(ambiente_->apertore.aperti.isEmpty());
    QCOMPARE(Messaggi(ambiente_->dialoghi),
             messaggio.isEmpty() ? QStringList{} : QStringList{Messaggio(Icona::Esclamazione, messaggio)});
}

QTEST_MAIN(TestRistampa)
#include "tst_ristampa.moc"
