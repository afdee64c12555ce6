#include "log/cLogProgramma.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestLog : public QObject
{
    Q_OBJECT
private slots:
    // A line added or the file replaced; an empty entry keeps its separators;
    // a folder that is not there is no error and makes no file.
    void righeAggiunteOSostituite()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("ElencoStampe15_03_2014.txt");
        const auto leggi = [&file] {
            QFile f(file);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<nessun file>");
        };
        cLogProgramma().ScriviInFile(file);
        QCOMPARE(leggi(), " -  -  -  - \r\n");

        cLogProgramma riga;
        riga.Data = "18/03/2014";
        riga.Ora = "000123FAT000045220140318.pdf";
        riga.Procedura = "123";
        riga.TipoOperazione = "FAT";
        riga.Descrizione = "452";
        riga.ScriviInFile(file, true);
        QCOMPARE(leggi(), " -  -  -  - \r\n18/03/2014 - 000123FAT000045220140318.pdf - 123 - FAT - 452\r\n");
        riga.ScriviInFile(file, false);
        QCOMPARE(leggi(), "18/03/2014 - 000123FAT000045220140318.pdf - 123 - FAT - 452\r\n");

        riga.ScriviInFile(dir.filePath("manca/elenco.txt"), true);
        QVERIFY(!QFile::exists(dir.filePath("manca")));
    }
};

QTEST_APPLESS_MAIN(TestLog)
#include "tst_log.moc"
