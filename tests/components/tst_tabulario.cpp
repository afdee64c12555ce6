#include "ArchivioProva.h"
#include "archive/Archivio.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>

namespace {
std::unique_ptr<Tabulario> Apri(const ArchivioProva& archivio, const QString& istruzione)
{
    auto lista = std::make_unique<Tabulario>();
    lista->Connessione(StringaConnessione(archivio.database));
    lista->Sql(istruzione);
    lista->Mostra();
    return lista;
}
} // namespace

class TestTabulario : public QObject
{
    Q_OBJECT

private slots:
    void righeFiltroERiordino()
    {
        ArchivioProva archivio({"c.pdf FAT 10 2014-03-02 C1", "a.pdf BOL 30 2014-03-01 C2", "b.pdf FAT 20 2013-12-31 C1"});
        auto lista = Apri(archivio, "Select Stampa, Tipo, NumDoc as Num_Documento, data from Posta order by Stampa;");
        QVERIFY(lista->isVisible());
        auto* tabella = lista->findChild<QTableView*>(QStringLiteral("tabRighe"));
        auto* filtro = lista->findChild<QLineEdit*>(QStringLiteral("txtFiltro"));
        QVERIFY(tabella && filtro);
        QHeaderView* intestazione = tabella->horizontalHeader();
        QStringList intestazioni;
        for (int i = 0; i < intestazione->count(); ++i)
            intestazioni.append(tabella->model()->headerData(i, Qt::Horizontal).toString());
        QCOMPARE(intestazioni, (QStringList{"Stampa", "Tipo", "Num_Documento", "Data"}));
        QCOMPARE(PrimeColonne(*lista), (QStringList{"a.pdf", "b.pdf", "c.pdf"}));

        QTest::keyClicks(filtro, QStringLiteral("fat"));
        QCOMPARE(PrimeColonne(*lista), (QStringList{"b.pdf", "c.pdf"}));

        // Dates sort as dates, not as the text dd/mm/yyyy.
        filtro->clear();
        QTest::mouseClick(intestazione->viewport(), Qt::LeftButton, {},
                          QPoint(intestazione->sectionViewportPosition(3) + 5, intestazione->height() / 2));
        QCOMPARE(PrimeColonne(*lista), (QStringList{"b.pdf", "a.pdf", "c.pdf"}));

        QSignalSpy valore(lista.get(), &Tabulario::ValoreDiRitorno);
        const QPoint punto = tabella->visualRect(tabella->model()->index(1, 1)).center();
        QTest::mouseClick(tabella->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseDClick(tabella->viewport(), Qt::LeftButton, {}, punto);
        QCOMPARE(valore.size(), 1);
        QCOMPARE(valore.first().first().toStringList(), (QStringList{"a.pdf", "BOL", "30", "01/03/2014"}));
        QVERIFY(!lista->isVisible());
    }

    void moltissimeRighe()
    {
        QStringList righe;
        for (int i = 0; i < 100000; ++i)
            righe.append(QStringLiteral("d%1.pdf FAT %2 2014-01-01 C9").arg(i, 6, 10, QLatin1Char('0')).arg(i));
        ArchivioProva archivio(righe);
        auto lista = Apri(archivio, "Select Stampa, NumDoc from Posta where Codice='C9' order by Stampa;");
        // The first rows are there at once; the others follow without a wait.
        QVERIFY(lista->RigheElencate() > 0);
        QVERIFY(lista->RigheElencate() < 100000);
        QTRY_COMPARE_WITH_TIMEOUT(lista->RigheElencate(), 100000, 60000);
        QCOMPARE(lista->RigaElencata(99999).first(), QStringLiteral("d099999.pdf"));
    }
};

QTEST_MAIN(TestTabulario)
#include "tst_tabulario.moc"
