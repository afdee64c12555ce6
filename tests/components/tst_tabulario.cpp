#include "AmbienteProva.h"
#include "ArchivioProva.h"
#include "Finestre.h"
#include "archive/Archivio.h"
#include "components/Tabulario.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

namespace {
const QString Istruzione = QStringLiteral(
    "Select Stampa, Tipo, NumDoc as Num_Documento, data from Posta order by Stampa;");
}

class TestTabulario : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void righeEIntestazioni();
    void filtroERiordino();
    void sceltaDaTastiera_data();
    void sceltaDaTastiera();
    void doppioClic();
    void istruzioneErrata();
    void moltissimeRighe();

private:
    std::unique_ptr<Tabulario> Apri(const QString& istruzione = Istruzione);
    std::unique_ptr<AmbienteProva> ambiente_;
    std::unique_ptr<ArchivioProva> archivio_;
};

void TestTabulario::init()
{
    ambiente_ = std::make_unique<AmbienteProva>();
    archivio_ = std::make_unique<ArchivioProva>(
        *ambiente_, QList<DocumentoProva>{
                        Documento(QStringLiteral("c.pdf"), QStringLiteral("FAT"), QStringLiteral("10"),
                                  QDate(2014, 3, 2), QStringLiteral("C1")),
                        Documento(QStringLiteral("a.pdf"), QStringLiteral("BOL"), QStringLiteral("30"),
                                  QDate(2014, 3, 1), QStringLiteral("C2")),
                        Documento(QStringLiteral("b.pdf"), QStringLiteral("FAT"), QStringLiteral("20"),
                                  QDate(2013, 12, 31), QStringLiteral("C1"))});
}

void TestTabulario::cleanup()
{
    archivio_.reset();
    ambiente_.reset();
}

std::unique_ptr<Tabulario> TestTabulario::Apri(const QString& istruzione)
{
    auto lista = std::make_unique<Tabulario>();
    lista->Connessione(StringaConnessione(archivio_->database));
    lista->Sql(istruzione);
    lista->Titolo(QStringLiteral("Seleziona Documento"));
    lista->Mostra();
    return lista;
}

void TestTabulario::righeEIntestazioni()
{
    auto lista = Apri();
    QVERIFY(lista->isVisible());
    QCOMPARE(lista->windowTitle(), QStringLiteral("Seleziona Documento"));
    auto* tabella = Controllo<QTableView>(lista.get(), QStringLiteral("tabRighe"));
    QStringList intestazioni;
    for (int i = 0; i < tabella->model()->columnCount(); ++i)
        intestazioni.append(tabella->model()->headerData(i, Qt::Horizontal).toString());
    QCOMPARE(intestazioni, (QStringList{QStringLiteral("Stampa"), QStringLiteral("Tipo"),
                                        QStringLiteral("Num_Documento"), QStringLiteral("Data")}));
    QCOMPARE(lista->RigheElencate(), 3);
    QCOMPARE(lista->RigaElencata(0), (QStringList{QStringLiteral("a.pdf"), QStringLiteral("BOL"),
                                                  QStringLiteral("30"), QStringLiteral("01/03/2014")}));
    QCOMPARE(lista->RigaElencata(2).first(), QStringLiteral("c.pdf"));
}

void TestTabulario::filtroERiordino()
{
    auto lista = Apri();
    auto* filtro = Controllo<QLineEdit>(lista.get(), QStringLiteral("txtFiltro"));
    QTest::keyClicks(filtro, QStringLiteral("fat"));
    QCOMPARE(lista->RigheElencate(), 2);
    QCOMPARE(lista->RigaElencata(0).first(), QStringLiteral("b.pdf"));

    // Dates sort as dates, not as the text dd/mm/yyyy.
    auto* tabella = Controllo<QTableView>(lista.get(), QStringLiteral("tabRighe"));
    filtro->clear();
    QHeaderView* intestazione = tabella->horizontalHeader();
    QTest::mouseClick(intestazione->viewport(), Qt::LeftButton, {},
                      QPoint(intestazione->sectionViewportPosition(3) + 5, intestazione->height() / 2));
    QStringList ordine;
    for (int i = 0; i < lista->RigheElencate(); ++i)
        ordine.append(lista->RigaElencata(i).first());
    QCOMPARE(ordine, (QStringList{QStringLiteral("b.pdf"), QStringLiteral("a.pdf"), QStringLiteral("c.pdf")}));
}

void TestTabulario::sceltaDaTastiera_data()
{
    QTest::addColumn<int>("tasto");
    QTest::addColumn<QString>("scelto");
    QTest::newRow("Invio sulla seconda riga") << int(Qt::Key_Return) << "b.pdf";
    QTest::newRow("Esc") << int(Qt::Key_Escape) << "";
}

void TestTabulario::sceltaDaTastiera()
{
    QFETCH(int, tasto);
    QFETCH(QString, scelto);
    auto lista = Apri();
    QSignalSpy valore(lista.get(), &Tabulario::ValoreDiRitorno);
    QVERIFY(QTest::qWaitForWindowActive(lista.get()));
    auto* filtro = Controllo<QLineEdit>(lista.get(), QStringLiteral("txtFiltro"));
    QTest::keyClick(filtro, Qt::Key_Down);
    auto* tabella = Controllo<QTableView>(lista.get(), QStringLiteral("tabRighe"));
    QVERIFY(tabella->hasFocus());
    QTest::keyClick(tabella, Qt::Key_Down);
    QTest::keyClick(tabella, Qt::Key(tasto));
    QCOMPARE(valore.size(), 1);
    QCOMPARE(valore.first().first().toStringList().value(0), scelto);
    QVERIFY(!lista->isVisible());
}

void TestTabulario::doppioClic()
{
    auto lista = Apri();
    QSignalSpy valore(lista.get(), &Tabulario::ValoreDiRitorno);
    auto* tabella = Controllo<QTableView>(lista.get(), QStringLiteral("tabRighe"));
    const QPoint punto = tabella->visualRect(tabella->model()->index(2, 1)).center();
    // A double click is a press and release followed by a double-click event.
    QTest::mouseClick(tabella->viewport(), Qt::LeftButton, {}, punto);
    QTest::mouseDClick(tabella->viewport(), Qt::LeftButton, {}, punto);
    QCOMPARE(valore.size(), 1);
    QCOMPARE(valore.first().first().toStringList(),
             (QStringList{QStringLiteral("c.pdf"), QStringLiteral("FAT"), QStringLiteral("10"),
                          QStringLiteral("02/03/2014")}));
}

void TestTabulario::istruzioneErrata()
{
    auto lista = std::make_unique<Tabulario>();
    QSignalSpy valore(lista.get(), &Tabulario::ValoreDiRitorno);
    lista->Connessione(StringaConnessione(archivio_->database));
    lista->Sql(QStringLiteral("Select Stampa from Mancante;"));
    lista->Mostra();
    QVERIFY(!lista->isVisible());
    QCOMPARE(valore.size(), 1);
    QCOMPARE(valore.first().first().toStringList(), QStringList{QString()});
    QCOMPARE(ambiente_->dialoghi.messaggi.size(), 1);
    QCOMPARE(ambiente_->dialoghi.messaggi.first().icona, Icona::Critica);
    QCOMPARE(ambiente_->dialoghi.messaggi.first().titolo, TitoloApplicazione);
}

void TestTabulario::moltissimeRighe()
{
    QList<DocumentoProva> documenti;
    for (int i = 0; i < 100000; ++i)
        documenti.append(Documento(QStringLiteral("d%1.pdf").arg(i, 6, 10, QLatin1Char('0')), QStringLiteral("FAT"),
                                   QString::number(i), QDate(2014, 1, 1).addDays(i % 365), QStringLiteral("C9")));
    archivio_->Inserisci(documenti);
    auto lista = Apri(QStringLiteral("Select Stampa, NumDoc from Posta where Codice='C9' order by Stampa;"));
    // The first rows are there at once; the others follow without a wait.
    QVERIFY(lista->RigheElencate() > 0);
    QVERIFY(lista->RigheElencate() < 100000);
    QTRY_COMPARE_WITH_TIMEOUT(lista->RigheElencate(), 100000, 60000);
    QCOMPARE(lista->RigaElencata(99999).first(), QStringLiteral("d099999.pdf"));
}

QTEST_MAIN(TestTabulario)
#include "tst_tabulario.moc"
