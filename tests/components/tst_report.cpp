#include "AmbienteProva.h"
#include "components/LayoutReport.h"

#include <QTest>

// Report files: what a valid one gives, and the reason a broken one is refused.
class TestReport : public QObject
{
    Q_OBJECT

    static constexpr const char* valido = "# commento\n"
                                          "formato: velmira-report 1\n"
                                          "pagina: A4 orizzontale\n"
                                          "margini: 10 12 10 8\n"
                                          "carattere: 8.5\n"
                                          "dati: ELENCOMAIL MARVENA\n"
                                          "titolo:  {TITOLO} #1 \n"
                                          "gruppo: Codice | Cliente: {Codice}\n"
                                          "colonna: data | Data | 30 | 1\n"
                                          "colonna: Esito | Esito | 247 | 3\n"
                                          "piede: {DATA} | Pagina {PAGINA} di {PAGINE}\n";

private slots:
    void layoutValido()
    {
        AmbienteProva ambiente;
        const auto l = LeggiLayoutReport(ambiente.scriviFile("r.rep", valido));
        QVERIFY2(l, qPrintable(l.errore().testo()));
        QStringList colonne;
        for (const auto& c : l->colonne)
            colonne << QString("%1|%2|%3|%4").arg(c.campo, c.intestazione).arg(c.larghezza).arg(c.righeMassime);
        QCOMPARE(QStringList({QString("%1x%2 %3,%4,%5,%6 %7").arg(l->larghezzaPagina).arg(l->altezzaPagina)
                                  .arg(l->margineSinistro).arg(l->margineAlto).arg(l->margineDestro)
                                  .arg(l->margineBasso).arg(l->carattere),
                              l->dataset + ' ' + l->alias, l->titolo, l->campoGruppo + '>' + l->testoGruppo,
                              colonne.join(' '), l->piedeSinistra + '>' + l->piedeDestra}),
                 QStringList({"297x210 10,12,10,8 8.5", "ELENCOMAIL MARVENA", "{TITOLO} #1", "Codice>Cliente: {Codice}",
                              "data|Data|30|1 Esito|Esito|247|3", "{DATA}>Pagina {PAGINA} di {PAGINE}"}));
        const auto valore = [](const QString& nome) { return nome == "A" ? QString("uno") : QString(); };
        QCOMPARE(SostituisciSegnaposti("{A}-{B}-{ A}-{A}", valore), "uno--{ A}-uno");
    }

    void rifiutati_data()
    {
        QTest::addColumn<QByteArray>("da");   // a piece of the valid file...
        QTest::addColumn<QByteArray>("con");  // ...replaced by this
        QTest::addColumn<QString>("motivo");
        QTest::newRow("vuoto") << QByteArray(valido) << QByteArray("\n# solo commenti\n") << "(riga 3): file vuoto";
        QTest::newRow("senza firma") << QByteArray("formato: velmira-report 1\n") << QByteArray() << "(riga 2): manca \"formato: velmira-report 1\"";
        QTest::newRow("non testo") << QByteArray("commento") << QByteArray("com\0ento", 8) << "(riga 0): non è un file di testo";
        QTest::newRow("non UTF-8") << QByteArray("commento") << QByteArray("comm\xe8nto") << "non è un file di testo";
        QTest::newRow("voce sconosciuta") << QByteArray("carattere:") << QByteArray("font:") << "(riga 5): voce sconosciuta \"font\"";
        QTest::newRow("riga senza voce") << QByteArray("carattere: 8.5") << QByteArray("8.5") << "(riga 5): attesa una riga";
        QTest::newRow("carta") << QByteArray("A4 orizzontale") << QByteArray("B5 orizzontale") << "formato della carta sconosciuto";
        QTest::newRow("orientamento") << QByteArray("A4 orizzontale") << QByteArray("A4 obliquo") << "orientamento sconosciuto";
        QTest::newRow("margini") << QByteArray("10 12 10 8") << QByteArray("10 12 10") << "quattro margini";
        QTest::newRow("margine negativo") << QByteArray("10 12 10 8") << QByteArray("10 -1 10 8") << "quattro margini";
        QTest::newRow("carattere") << QByteArray("8.5") << QByteArray("otto") << "dimensione del carattere";
        QTest::newRow("colonna corta") << QByteArray("| 30 | 1") << QByteArray("| 30") << "(riga 9): attesi campo";
        QTest::newRow("righe") << QByteArray("247 | 3") << QByteArray("247 | 1.5") << "(riga 10): larghezza";
        // toDouble takes "nan", which no range check by < and > turns away.
        QTest::newRow("righe nan") << QByteArray("247 | 3") << QByteArray("247 | nan") << "(riga 10): larghezza";
        QTest::newRow("larghezza nan") << QByteArray("247 | 3") << QByteArray("nan | 3") << "(riga 10): larghezza";
        QTest::newRow("margine nan") << QByteArray("10 12 10 8") << QByteArray("10 nan 10 8") << "quattro margini";
        QTest::newRow("troppo larga") << QByteArray("247 | 3") << QByteArray("248 | 3") << "le colonne (278 mm) superano la larghezza utile della pagina (277 mm)";
        QTest::newRow("senza colonne") << QByteArray("colonna:") << QByteArray("# colonna:") << "nessuna colonna";
        QTest::newRow("senza dati") << QByteArray("dati:") << QByteArray("#") << "manca la voce \"dati\"";
        QTest::newRow("margini enormi") << QByteArray("10 12 10 8") << QByteArray("10 90 10 90") << "i margini non lasciano spazio";
    }

    void rifiutati()
    {
        QFETCH(QByteArray, da);
        QFETCH(QByteArray, con);
        QFETCH(QString, motivo);
        AmbienteProva ambiente;
        const QString percorso = ambiente.scriviFile("r.rep", QByteArray(valido).replace(da, con));
        QString errore = LeggiLayoutReport(percorso).errore().testo();
        QVERIFY2(errore.startsWith("Il file del report " + percorso + " è danneggiato") && errore.contains(motivo),
                 qPrintable(errore));
        QCOMPARE(LeggiLayoutReport(ambiente.percorso("assente.rep")).errore().testo(), "Il file del report " + ambiente.percorso("assente.rep") + " non esiste.");
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
