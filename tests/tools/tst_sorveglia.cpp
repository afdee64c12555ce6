#include "PostazioneProva.h"
#include "import/cImporta.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#ifndef ESEGUIBILE_VELMIRA
#error "ESEGUIBILE_VELMIRA must name the velmira executable"
#endif

namespace {

QString Documento(int codice, int numero)
{
    return QStringLiteral("%1FAT%2").arg(codice, 6, 10, QLatin1Char('0')).arg(numero, 7, 10, QLatin1Char('0'))
        + QStringLiteral("20150101.pdf");
}

QStringList Stampe(const PostazioneProva& p)
{
    QStringList stampe;
    for (const QString& riga : p.archivio())
        stampe.append(riga.section(QLatin1Char('|'), 0, 0));
    return stampe;
}

} // namespace

class TestSorveglia : public QObject
{
    Q_OBJECT

private slots:
    // A real `velmira sorveglia` on a folder where files appear, grow,
    // vanish and are renamed, and a manual import runs at the same time.
    void cartellaViva()
    {
        PostazioneProva p({}, {Documento(1, 9)});
        p.importa();
        QFile::remove(p.pdf(Documento(1, 9))); // its row must go at the first pass
        p.documenti({Documento(1, 1), Documento(1, 2)});
        // Written an hour ago: complete. A file written just now would wait
        // until it has stopped changing.
        for (const int numero : {1, 2}) {
            QFile file(p.pdf(Documento(1, numero)));
            QVERIFY(file.open(QIODevice::ReadWrite)
                    && file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        }

        QProcess sorveglia;
        sorveglia.start(ESEGUIBILE_VELMIRA, QStringList{"sorveglia", "--intervallo", "1", "--attesa", "1.5"} + p.opzioni());
        QVERIFY(sorveglia.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(Stampe(p), QStringList({Documento(1, 1), Documento(1, 2)}), 10000);

        // Written and closed: archived by its notification.
        p.documenti({Documento(1, 3)});
        // Growing for longer than the settling time: not archived until closed.
        QFile crescente(p.pdf(Documento(1, 4)));
        QVERIFY(crescente.open(QIODevice::WriteOnly));
        for (int i = 0; i < 8; ++i) {
            crescente.write("%PDF-1.4 una parte\n");
            crescente.flush();
            QTest::qWait(400);
        }
        QVERIFY(Stampe(p).contains(Documento(1, 3)));
        QVERIFY(!Stampe(p).contains(Documento(1, 4)));
        crescente.close();
        QTRY_VERIFY_WITH_TIMEOUT(Stampe(p).contains(Documento(1, 4)), 5000);

        // Vanished, renamed to another document, renamed in from a temporary name.
        p.documenti({"in-arrivo.part", "leggimi.txt"});
        QVERIFY(QFile::remove(p.pdf(Documento(1, 1))));
        QVERIFY(QFile::rename(p.pdf(Documento(1, 2)), p.pdf(Documento(1, 5))));
        QVERIFY(QFile::rename(p.pdf("in-arrivo.part"), p.pdf(Documento(1, 6))));
        const QStringList attesi = {Documento(1, 3), Documento(1, 4), Documento(1, 5), Documento(1, 6)};
        QTRY_COMPARE_WITH_TIMEOUT(Stampe(p), attesi, 5000);

        // A burst written while a manual import of the same folder runs.
        QProcess importa;
        for (int i = 1; i <= 600; ++i) {
            p.documenti({Documento(2, i)});
            if (i == 300)
                importa.start(ESEGUIBILE_VELMIRA, QStringList{"importa"} + p.opzioni());
        }
        QVERIFY(importa.waitForFinished(60000));
        QCOMPARE(importa.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(StatoArchivio(p.database), "ok 604 604 604", 30000);

        sorveglia.terminate();
        QVERIFY(sorveglia.waitForFinished(30000));
        QCOMPARE(sorveglia.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sorveglia.exitCode(), 0);
        const QStringList righe = QString::fromUtf8(sorveglia.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QVERIFY(righe.size() > 5);
        QVERIFY2(righe.first().endsWith(" passaggio completo: archiviati 2, non archiviati 0, righe tolte 1, in attesa 0."),
                 qPrintable(righe.first()));
        // Each run on a line, the documents' text read after the runs on lines
        // of their own; the stop may land during a pass, which then says so.
        const QRegularExpression forma(QStringLiteral(
            R"(^\d\d/\d\d/\d{4} \d\d:\d\d:\d\d ((passaggio completo|lotto di \d+ file nuovi e \d+ tolti): archiviati \d+, )"
            R"(non archiviati 0, righe tolte \d+, in attesa \d+(; interrotto dall'arresto)?|testo dei documenti: letti \d+, )"
            R"(senza testo 0, non letti \d+)\.$)"));
        for (const QString& riga : righe)
            QVERIFY2(forma.match(riga).hasMatch(), qPrintable(riga));
        QVERIFY(!righe.filter(" testo dei documenti: letti ").isEmpty());
        // The list of the last run is whole: its heading, one closing line at the end.
        const QStringList elenco = p.elenco();
        QCOMPARE(elenco.first(), "elenco file elaborati:");
        QCOMPARE(elenco.filter(QRegularExpression("^(Archiviati n\\.|Nessun nuovo file)")).size(), 1);
        QVERIFY(elenco.last().startsWith("Archiviati n.") || elenco.last() == "Nessun nuovo file archiviato.");
    }

    // The folder deleted under a running watcher, then made again with new
    // files: said once, waited for at a steady pace, caught up with at once
    // (no periodic pass here), then watched again: a file removed loses its
    // row at once. Then replaced by another folder at once: the rows whose
    // files went with the old one go.
    void cartellaToltaERifatta()
    {
        PostazioneProva p({}, {Documento(1, 1)});
        QProcess sorveglia;
        sorveglia.start(ESEGUIBILE_VELMIRA, QStringList{"sorveglia", "--intervallo", "0", "--attesa", "0.5"} + p.opzioni());
        QTRY_COMPARE_WITH_TIMEOUT(Stampe(p), QStringList({Documento(1, 1)}), 10000);
        QVERIFY(QDir(p.cartellaPdf).removeRecursively());
        QTest::qWait(3000);
        QByteArray uscita = sorveglia.readAllStandardOutput();
        QVERIFY2(uscita.count("non c'è più") == 1 && uscita.count('\n') <= 4, uscita.constData());

        QVERIFY(QDir().mkpath(p.cartellaPdf));
        p.documenti({Documento(2, 1)});
        QTRY_COMPARE_WITH_TIMEOUT(Stampe(p), QStringList({Documento(2, 1)}), 10000);
        p.documenti({Documento(2, 2)});
        QTRY_COMPARE_WITH_TIMEOUT(Stampe(p), QStringList({Documento(2, 1), Documento(2, 2)}), 5000);
        QVERIFY(QFile::remove(p.pdf(Documento(2, 1))));
        QTRY_COMPARE_WITH_TIMEOUT(Stampe(p), QStringList({Documento(2, 2)}), 5000);
        QVERIFY(QDir().rename(p.cartellaPdf, p.cartellaPdf + "-vecchia") && QDir().mkpath(p.cartellaPdf));
        p.documenti({Documento(3, 1)});
        QTRY_COMPARE_WITH_TIMEOUT(Stampe(p), QStringList({Documento(3, 1)}), 10000);
        sorveglia.terminate();
        QVERIFY(sorveglia.waitForFinished(30000));
        uscita += sorveglia.readAllStandardOutput();
        // The replacement may be seen as a moment without the folder.
        QVERIFY2(uscita.count("non c'è più") <= 2 && uscita.count("non c'è più") == uscita.count("è di nuovo presente"),
                 uscita.constData());
    }
};

QTEST_MAIN(TestSorveglia)
#include "tst_sorveglia.moc"
