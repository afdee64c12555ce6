#include "log/cLogProgramma.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestLog : public QObject
{
    Q_OBJECT
private slots:
    void righeAggiunteOSostituite();
    void cartellaMancanteSilenziosa();

private:
    static QByteArray leggi(const QString& percorso)
    {
        QFile f(percorso);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
};

void TestLog::righeAggiunteOSostituite()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ElencoStampe15_03_2014.txt"));
    cLogProgramma vuota;
    vuota.ScriviInFile(file);
    QCOMPARE(leggi(file), QByteArray(" -  -  -  - \r\n"));

    cLogProgramma riga;
    riga.Data = QStringLiteral("18/03/2014");
    riga.Ora = QStringLiteral("000123FAT000045220140318.pdf");
    riga.Procedura = QStringLiteral("123");
    riga.TipoOperazione = QStringLiteral("FAT");
    riga.Descrizione = QStringLiteral("452");
    riga.ScriviInFile(file, true);
    QCOMPARE(leggi(file), QByteArray(" -  -  -  - \r\n18/03/2014 - 000123FAT000045220140318.pdf - 123 - FAT - 452\r\n"));

    riga.ScriviInFile(file, false);
    QCOMPARE(leggi(file), QByteArray("18/03/2014 - 000123FAT000045220140318.pdf - 123 - FAT - 452\r\n"));
}

void TestLog::cartellaMancanteSilenziosa()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("manca/elenco.txt"));
    cLogProgramma riga;
    riga.ScriviInFile(file, true);
    QVERIFY(!QFile::exists(file));
}

QTEST_APPLESS_MAIN(TestLog)
#include "tst_log.moc"
