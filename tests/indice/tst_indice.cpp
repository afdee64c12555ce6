#include "ArchivioDiProva.h"
#include "ArchivioProva.h"
#include "PdfProva.h"

#include <QProcess>
#include <QSqlQuery>
#include <QtTest>

#include <csignal>

#ifndef ESEGUIBILE_VELMIRA
#error "ESEGUIBILE_VELMIRA must name the velmira executable"
#endif

namespace {

QString velmira(const QStringList& argomenti)
{
    QProcess processo;
    processo.start(ESEGUIBILE_VELMIRA, argomenti);
    processo.waitForFinished(300000);
    return QString::fromUtf8(processo.readAllStandardOutput()) + "esito " + QString::number(processo.exitCode());
}

// The files `cerca --testo` finds, in its order.
QString trovati(const ArchivioProva& a, const QString& parole)
{
    QStringList file;
    for (const QString& riga : velmira({"cerca", "--database", a.database, "--testo", parole}).split('\n'))
        file.append(riga.section('\t', 0, 0));
    return file.join(' ');
}

} // namespace

// `velmira indicizza` on real PDFs, and `velmira cerca --testo` on what it
// stored, on each engine.
class TestIndice : public QObject
{
    Q_OBJECT

private slots:
    void indicizzaECerca()
    {
        ArchivioProva a({"a.pdf FAT 1 2014-03-01 C1", "b.pdf DDT 2 2014-03-02 C2", "c.pdf FAT 3 2014-03-03 C1",
                         "d.pdf FAT 4 2014-03-04 C3", "e.pdf FAT 5 2014-03-05 C3", "f.pdf FAT 6 2014-03-06 C3"});
        ScriviPdf(a.pdf("a.pdf"), {"Fattura Ditta Rossi\nVia Roma 3, Città di Forlì"});
        ScriviPdf(a.pdf("b.pdf"), {"Bolla di consegna", "Bulloni zincati M8\nDitta Bianchi"});
        ScriviScansione(a.pdf("c.pdf"));
        ScriviPdf(a.percorso("integro.pdf"), {"Fattura danneggiata"});
        QCOMPARE(QProcess::execute("dd", {"if=" + a.percorso("integro.pdf"), "of=" + a.pdf("d.pdf"), "bs=64", "count=1",
                                          "status=none"}), 0);
        QCOMPARE(QProcess::execute("qpdf", {"--encrypt", "utente", "proprietario", "256", "--",
                                            a.percorso("integro.pdf"), a.pdf("e.pdf")}), 0);
        const QStringList indicizza{"indicizza", "--database", a.database, "--cartella-pdf", a.cartellaPdf};

        QCOMPARE(velmira(indicizza),
                 "Non letto: " + a.pdf("d.pdf") + ": PDF danneggiato o non valido\n"
                 "Non letto: " + a.pdf("e.pdf") + ": PDF protetto da password: il testo non si può leggere\n"
                 "Documenti letti: 5 (con testo 2, senza testo 1, non letti 2); già indicizzati: 0; PDF mancanti: 1.\n"
                 "esito 0");
        // Words on another page, and a phrase whose words are there in another order.
        const struct { const char* parole; const char* file; } ricerche[] = {
            {"ditta", "b.pdf a.pdf"}, {"\"rossi ditta\"", ""}, {"ditta zincati", "b.pdf"}};
        for (const auto& r : ricerche)
            QVERIFY2(trovati(a, r.parole) == (QString(r.file) + " esito 0").trimmed(), r.parole);

        // Nothing read again, not even the files that failed, until they change.
        QCOMPARE(velmira(indicizza), "Documenti letti: 0 (con testo 0, senza testo 0, non letti 0); già indicizzati: 5; "
                                     "PDF mancanti: 1.\nesito 0");
        ScriviPdf(a.pdf("a.pdf"), {"Nota di credito Verdi"});
        QVERIFY(velmira(indicizza).startsWith("Documenti letti: 1 (con testo 1, senza testo 0, non letti 0); già "
                                              "indicizzati: 4;"));
        QCOMPARE(trovati(a, "rossi"), "esito 0");
        QCOMPARE(trovati(a, "verdi"), "a.pdf esito 0");

        // A document the import takes out of the archive leaves the index.
        SuArchivio(a.database, [](QSqlDatabase& db) {
            QSqlQuery q(db);
            QVERIFY(q.exec("delete from Posta where NumDoc = '2'"));
            QVERIFY(q.exec("select count(*) from TestiDocumenti") && q.next() && q.value(0).toInt() == 4);
        });

        // The missing document comes, and takes longer to read than allowed.
        ScriviPdf(a.pdf("f.pdf"), QStringList(3000, "Pagina lunghissima da leggere"));
        QCOMPARE(velmira(indicizza + QStringList{"--limite", "0.2"}),
                 "Non letto: " + a.pdf("f.pdf") + ": lettura del testo troppo lunga (oltre 0,2 secondi)\n"
                 "Documenti letti: 1 (con testo 0, senza testo 0, non letti 1); già indicizzati: 4; PDF mancanti: 0.\n"
                 "esito 0");
    }

    // The same documents and searches give the same rows in the same order
    // on the server and on the embedded engine: days newest first, a day's
    // documents by file name (lower case, then code points), a missing date last.
    void motoriConcordi()
    {
        if (!ProvaSuServer())
            QSKIP("il confronto tra i motori gira nella prova sul server");
        const QStringList righe{"Àbc.pdf FAT 1 2014-03-01 C1", "abd.pdf FAT 2 2014-03-01 C1", "ABC.pdf DDT 3 2014-03-01 C2",
                                "zeta.pdf FAT 4 2014-03-05 C2", "senza.pdf FAT 5 - C3",     "abc.pdf FAT 6 2014-03-01 C3"};
        const auto indicizzato = [&righe](ArchivioProva& a) {
            int n = 0;
            for (const QString& riga : righe)
                ScriviPdf(a.pdf(riga.section(' ', 0, 0)),
                          {QString("Documento comune %1\nCittà di Forlì, perché sì\nVia Roma %1").arg(++n % 3),
                           n % 2 ? "Bulloni zincati" : "bullone ZINCATO"});
            velmira({"indicizza", "--database", a.database, "--cartella-pdf", a.cartellaPdf});
        };
        ArchivioProva server(righe);
        indicizzato(server);
        qputenv("VELMIRA_MOTORE_PROVA", "");
        ArchivioProva incorporato(righe);
        qputenv("VELMIRA_MOTORE_PROVA", "postgres");
        indicizzato(incorporato);
        for (const char* parole : {"comune", "CITTA forli", "perche si", "\"via roma 1\"", "bullon*", "zincat* comune",
                                   "\"roma 2\" bullon*", "assente"}) {
            const QStringList cerca{"cerca", "--testo", QString::fromUtf8(parole), "--database"};
            const QString atteso = velmira(cerca + QStringList{incorporato.database});
            QCOMPARE(velmira(cerca + QStringList{server.database}), atteso);
            QVERIFY2(atteso.count('\n') > 1 || QByteArray(parole) == "assente", parole);
        }
    }

    void fermataERipresa()
    {
        constexpr int documenti = 400;
        QStringList righe;
        for (int i = 0; i < documenti; ++i)
            righe.append(QString("%1.pdf FAT %1 2014-03-01 C1").arg(i, 3, 10, QChar('0')));
        ArchivioProva a(righe);
        for (int i = 0; i < documenti; ++i)
            ScriviPdf(a.pdf(QString("%1.pdf").arg(i, 3, 10, QChar('0'))), {QString("Articolo comune numero %1").arg(i)});
        const QStringList indicizza{"indicizza", "--database", a.database, "--cartella-pdf", a.cartellaPdf};
        // Stopped by SIGTERM after `letti` documents, or killed outright.
        const auto ferma = [&](int letti, int segnale) {
            QProcess processo;
            processo.start(ESEGUIBILE_VELMIRA, indicizza);
            processo.setReadChannel(QProcess::StandardError);
            QByteArray avanzamento;
            while (!avanzamento.contains(QString(" %1 di ").arg(letti).toUtf8()) && processo.waitForReadyRead(60000))
                avanzamento += processo.readAllStandardError();
            ::kill(pid_t(processo.processId()), segnale);
            processo.waitForFinished();
            return QString::fromUtf8(processo.readAllStandardOutput()) + "esito " + QString::number(processo.exitCode());
        };
        const QString fermata = ferma(50, SIGTERM);
        QVERIFY2(fermata.endsWith("Indicizzazione fermata: la prossima riprenderà da qui.\nesito 3"), qPrintable(fermata));
        // What the index holds: every document in it has both words.
        const auto indicizzati = [&a] { return trovati(a, "articolo comune").count(".pdf"); };
        const qint64 dopoFermata = indicizzati();
        QVERIFY2(dopoFermata >= 50 && dopoFermata < 100, qPrintable(QString::number(dopoFermata)));
        // Killed: what went in stays, and only the rest is read again.
        ferma(250, SIGKILL);
        const qint64 dopoUccisione = indicizzati();
        QVERIFY2(dopoUccisione > dopoFermata && dopoUccisione < documenti, qPrintable(QString::number(dopoUccisione)));
        QVERIFY(velmira(indicizza).startsWith(QString("Documenti letti: %1 ").arg(documenti - dopoUccisione)));
        QCOMPARE(indicizzati(), documenti);
        if (!ProvaSuServer())
            SuArchivio(a.database, [](QSqlDatabase& db) {
                QSqlQuery q(db);
                QVERIFY(q.exec("select * from pragma_integrity_check") && q.next() && q.value(0) == "ok");
                QVERIFY(q.exec("insert into TestiDocumenti_Parole (TestiDocumenti_Parole) values ('integrity-check')"));
            });
    }
};

QTEST_MAIN(TestIndice)
#include "tst_indice.moc"
