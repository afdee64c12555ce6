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
    void chiusaSenzaScelta();
    void richiamoEsterno();
    void documentoNonApribile();

private:
    // Sets the criteria as a user does and clicks "Cerca".
    void Cerca(int opzione, const QString& tipo, const QString& anno, const QString& numero, const QString& codice);

    std::unique_ptr<AmbienteProva> ambiente_;
    std::unique_ptr<ArchivioProva> archivio_;
    std::unique_ptr<frmRistampa> finestra_;
};

void TestRistampa::init()
{
    ambiente_ = std::make_unique<AmbienteProva>();
    ambiente_->fermaOrologio(QDateTime(QDate(2014, 4, 10), QTime(9, 0)));
    const auto doc = [](const char* stampa, const char* tipo, const char* numero, QDate data, const char* codice) {
        return Documento(QString::fromUtf8(stampa), QString::fromUtf8(tipo), QString::fromUtf8(numero), data,
                         QString::fromUtf8(codice));
    };
    archivio_ = std::make_unique<ArchivioProva>(
        *ambiente_, QList<DocumentoProva>{
                        doc("fat123-2014.pdf", "FAT", "123", QDate(2014, 3, 31), "C01"),
                        doc("bol7.pdf", "BOL", "7", QDate(2014, 3, 1), "D'ANGELO"),
                        doc("fat9.pdf", "FAT", "9", QDate(2014, 3, 15), "C01"),
                        doc("fat123-2013.pdf", "FAT", "123", QDate(2013, 3, 10), "C01"),
                        doc("bol123-2014.pdf", "BOL", "123", QDate(2014, 6, 1), "C02"),
                        doc("aprile.pdf", "FAT", "10", QDate(2014, 4, 1), "C01"),
                    });
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

void TestRistampa::Cerca(int opzione, const QString& tipo, const QString& anno, const QString& numero,
                         const QString& codice)
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
    scrivi(p->txtAnno, anno);
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
    QTest::newRow("numero 123 del 2014") << 1 << "FAT" << " 123 " << ""
        << "Select Stampa, NumDoc as Num_Documento, year(data) as anno, Codice as Clien_Forn, email from Posta where  year(data) =2014 and NumDoc='123' and tipo='FAT' order by data, NumDoc;"
        << QStringList{"fat123-2014.pdf"};
    QTest::newRow("numero 123, tutti") << 1 << "Tutti" << "123" << ""
        << "Select Stampa, Tipo, NumDoc as Num_Documento, year(data) as anno, Codice as Clien_Forn, email from Posta where year(data) =2014 and NumDoc='123' order by tipo,data;"
        << QStringList{"bol123-2014.pdf", "fat123-2014.pdf"};
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
    Cerca(opzione, tipo, QStringLiteral("2014"), numero, codice);

    QVERIFY(ambiente_->dialoghi.messaggi.isEmpty());
    Tabulario* lista = finestra_->Trova();
    QVERIFY(lista);
    QVERIFY(lista->isVisible());
    QCOMPARE(lista->Istruzione(), istruzione);
    QCOMPARE(lista->StringaConnessione(),
             QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + archivio_->database
                 + QStringLiteral(";Persist Security Info=False"));
    QCOMPARE(lista->windowTitle(), QStringLiteral("Seleziona Documento"));
    QStringList elencate;
    for (int i = 0; i < lista->RigheElencate(); ++i)
        elencate.append(lista->RigaElencata(i).first());
    QCOMPARE(elencate, righe);
}

void TestRistampa::sceltaApreIlDocumento()
{
    Cerca(0, QStringLiteral("Tutti"), {}, {}, {});
    Tabulario* lista = finestra_->Trova();
    QVERIFY(lista);
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

void TestRistampa::chiusaSenzaScelta()
{
    Cerca(0, QStringLiteral("Tutti"), {}, {}, {});
    Tabulario* lista = finestra_->Trova();
    QVERIFY(lista);
    QTest::keyClick(lista, Qt::Key_Escape);
    QVERIFY(ambiente_->apertore.aperti.isEmpty());
    QVERIFY(!finestra_->Trova());
}

void TestRistampa::richiamoEsterno()
{
    finestra_->setRichiamoExt(true);
    QSignalSpy valore(finestra_.get(), &frmRistampa::Valore);
    Cerca(0, QStringLiteral("Tutti"), {}, {}, {});
    finestra_->Trova()->Scegli(0);
    QCOMPARE(valore.size(), 1);
    QCOMPARE(valore.first().first().toString(), QStringLiteral("bol7.pdf"));
    QVERIFY(ambiente_->apertore.aperti.isEmpty());
}

void TestRistampa::documentoNonApribile()
{
    Cerca(0, QStringLiteral("Tutti"), {}, {}, {});
    // fat123-2014.pdf is in the archive but not in the server folder.
    finestra_->Trova()->Scegli(1);
    QCOMPARE(ambiente_->dialoghi.messaggi.size(), 1);
    const auto& messaggio = ambiente_->dialoghi.messaggi.first();
    QCOMPARE(messaggio.testo, QStringLiteral("File Non Trovato"));
    QCOMPARE(messaggio.icona, Icona::Esclamazione);
    QCOMPARE(messaggio.titolo, TitoloApplicazione);
}

QTEST_MAIN(TestRistampa)
#include "tst_ristampa.moc"
