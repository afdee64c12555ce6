#include "AmbienteProva.h"

#include "common/AttivazioneProgramma.h"
#include "common/EliminaFileTemp.h"
#include "settings/FileIni.h"
#include "settings/Impostazioni.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// Makes a file impossible to delete, even for the administrator, for as long
// as the guard lives.
class Immutabile
{
public:
    explicit Immutabile(const QString& percorso) : percorso_(percorso) { attivo_ = imposta(true); }
    ~Immutabile()
    {
        if (attivo_)
            imposta(false);
    }
    bool attivo() const { return attivo_; }

private:
    bool imposta(bool acceso)
    {
        const int fd = ::open(QFile::encodeName(percorso_).constData(), O_RDONLY);
        if (fd < 0)
            return false;
        int attributi = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &attributi) == 0;
        attributi = acceso ? attributi | FS_IMMUTABLE_FL : attributi & ~FS_IMMUTABLE_FL;
        ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &attributi) == 0;
        ::close(fd);
        return ok;
    }
    QString percorso_;
    bool attivo_ = false;
};

// A moment `giorni` calendar days after the file was made, at the same hour.
QDateTime DopoGiorni(const QString& file, int giorni)
{
    return DataCreazione(QFileInfo(file)).addDays(giorni);
}

} // namespace

class TestEliminaFileTemp : public QObject
{
    Q_OBJECT

private slots:
    void etaInGiorni_data();
    void etaInGiorni();
    void durataDecideCosaResta_data();
    void durataDecideCosaResta();
    void primoAvvioCreaSoloLaDurata();
    void fileProtettiSaltatiGliAltriPuliti();
    void etaDallaNascitaDelFile();
    void impostazioniNonScrivibili();
};

void TestEliminaFileTemp::etaInGiorni_data()
{
    QTest::addColumn<QDateTime>("creazione");
    QTest::addColumn<QDateTime>("adesso");
    QTest::addColumn<qint64>("eta");

    const auto ora = [](int a, int m, int g, int h, int min) {
        return QDateTime(QDate(a, m, g), QTime(h, min));
    };
    QTest::newRow("ieri sera, oggi appena dopo mezzanotte")
        << ora(2026, 3, 9, 23, 59) << ora(2026, 3, 10, 0, 1) << qint64(1);
    QTest::newRow("stesso giorno da mezzanotte a sera")
        << ora(2026, 3, 10, 0, 0) << ora(2026, 3, 10, 23, 59) << qint64(0);
    QTest::newRow("a cavallo dell'anno") << ora(2025, 12, 28, 18, 0) << ora(2026, 1, 5, 8, 0)
                                         << qint64(8);
    QTest::newRow("file datato nel futuro") << ora(2026, 3, 12, 8, 0) << ora(2026, 3, 10, 8, 0)
                                            << qint64(-2);
}

void TestEliminaFileTemp::etaInGiorni()
{
    QFETCH(QDateTime, creazione);
    QFETCH(QDateTime, adesso);
    QFETCH(qint64, eta);
    QCOMPARE(EtaInGiorni(creazione, adesso), eta);
}

void TestEliminaFileTemp::durataDecideCosaResta_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("eta");
    QTest::addColumn<bool>("resta");
    QTest::addColumn<QString>("durataDopo");

    const QByteArray vuota = "[EliminaTemp]\nDurata=\n";
    QTest::newRow("vuota: 7 giorni restano") << vuota << 7 << true << "7";
    QTest::newRow("vuota: 8 giorni via") << vuota << 8 << false << "7";
    QTest::newRow("7: 7 giorni restano") << QByteArray("[EliminaTemp]\nDurata=7\n") << 7 << true
                                         << "7";
    QTest::newRow("7: 8 giorni via") << QByteArray("[EliminaTemp]\nDurata=7\n") << 8 << false
                                     << "7";
    QTest::newRow("0: ieri via") << QByteArray("[EliminaTemp]\nDurata=0\n") << 1 << false << "0";
    QTest::newRow("30: 8 giorni restano") << QByteArray("[EliminaTemp]\nDurata=30\n") << 8 << true
                                          << "30";
    QTest::newRow("non numero: 7, testo lasciato")
        << QByteArray("[EliminaTemp]\nDurata=una settimana\n") << 8 << false << "una settimana";
    QTest::newRow("negativa: oggi resta") << QByteArray("[EliminaTemp]\nDurata=-3\n") << 0 << true
                                          << "-3";
    QTest::newRow("negativa: come 7") << QByteArray("[EliminaTemp]\nDurata=-3\n") << 8 << false
                                      << "-3";
    QTest::newRow("oltre 16 bit: come 7") << QByteArray("[EliminaTemp]\nDurata=99999\n") << 7
                                          << true << "99999";
    QTest::newRow("massimo 16 bit") << QByteArray("[EliminaTemp]\nDurata=32767\n") << 4000 << true
                                    << "32767";
}

void TestEliminaFileTemp::durataDecideCosaResta()
{
    QFETCH(QByteArray, ini);
    QFETCH(int, eta);
    QFETCH(bool, resta);
    QFETCH(QString, durataDopo);

    AmbienteProva ambiente;
    ambiente.scriviFile(QStringLiteral("Velmira.ini"), ini);
    const QString lista = ambiente.scriviFile(QStringLiteral("elenchi/copiati_01_03_2026.txt"),
                                              "Stampa\n");

    QVERIFY(AttivazioneProgramma(DopoGiorni(lista, eta)));

    QCOMPARE(QFileInfo::exists(lista), resta);
    QCOMPARE(LeggiIni(QStringLiteral("EliminaTemp"), QStringLiteral("Durata")), durataDopo);
    QVERIFY(ambiente.dialoghi.messaggi.isEmpty());
}

void TestEliminaFileTemp::primoAvvioCreaSoloLaDurata()
{
    AmbienteProva ambiente;
    const QString lista = ambiente.scriviFile(QStringLiteral("elenchi/vecchio.txt"), "x");
    const QDateTime adesso = DopoGiorni(lista, 100);

    QVERIFY(AttivazioneProgramma(adesso));
    QVERIFY(QFileInfo::exists(lista));
    QFile ini(PercorsoVelmiraIni());
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QStringList righe =
        QString::fromUtf8(ini.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(righe, QStringList({QStringLiteral("[EliminaTemp]"), QStringLiteral("Durata=7")}));
    QCOMPARE(QDir(ambiente.cartella()).entryList(QDir::Files),
             QStringList{QStringLiteral("Velmira.ini")});

    // The next activation cleans with the period just written.
    QVERIFY(AttivazioneProgramma(adesso));
    QVERIFY(!QFileInfo::exists(lista));
}

void TestEliminaFileTemp::fileProtettiSaltatiGliAltriPuliti()
{
    AmbienteProva ambiente;
    const QString cartella = ambiente.percorso(QStringLiteral("elenchi"));
    const QString solaLettura = ambiente.scriviFile(QStringLiteral("elenchi/a_sola_lettura.txt"));
    const QString bloccato = ambiente.scriviFile(QStringLiteral("elenchi/b_bloccato.txt"));
    const QString comune = ambiente.scriviFile(QStringLiteral("elenchi/c_comune.txt"));
    const QString nascosto = ambiente.scriviFile(QStringLiteral("elenchi/.d_nascosto"));
    const QString inSottocartella = ambiente.scriviFile(QStringLiteral("elenchi/vecchi/e.txt"));
    QVERIFY(QFile::setPermissions(solaLettura, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    Immutabile blocco(bloccato);

    const int eliminati = EliminaFileTemp(cartella, 7, DopoGiorni(comune, 30));

    QVERIFY(QFileInfo::exists(solaLettura));
    QVERIFY(!QFileInfo::exists(comune));
    QVERIFY(!QFileInfo::exists(nascosto));
    QVERIFY(QFileInfo::exists(inSottocartella));
    QCOMPARE(QFileInfo::exists(bloccato), blocco.attivo());
    QCOMPARE(eliminati, blocco.attivo() ? 2 : 3);
    if (!blocco.attivo())
        QSKIP("questo file system non permette di bloccare un file: resta provato il resto");
}

void TestEliminaFileTemp::etaDallaNascitaDelFile()
{
    AmbienteProva ambiente;
    const QString lista = ambiente.scriviFile(QStringLiteral("elenchi/ritoccato.txt"), "x");
    const QDateTime adesso = QDateTime::currentDateTime();
    QFile file(lista);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(adesso.addDays(-30), QFileDevice::FileModificationTime));
    file.close();

    // A list copied here with its old date keeps the day it arrived where the
    // file system records it; elsewhere its modification date is all there is.
    const bool nascitaRegistrata = QFileInfo(lista).birthTime().isValid();
    EliminaFileTemp(ambiente.percorso(QStringLiteral("elenchi")), 7, adesso);
    QCOMPARE(QFileInfo::exists(lista), nascitaRegistrata);
}

void TestEliminaFileTemp::impostazioniNonScrivibili()
{
    AmbienteProva ambiente;
    const QByteArray binario("\x00\x01\x02[EliminaTemp]", 16);
    ambiente.scriviFile(QStringLiteral("Velmira.ini"), binario);
    const QString lista = ambiente.scriviFile(QStringLiteral("elenchi/vecchio.txt"), "x");

    QVERIFY(!AttivazioneProgramma(DopoGiorni(lista, 8)));

    QFile ini(PercorsoVelmiraIni());
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll(), binario);
    QCOMPARE(ambiente.dialoghi.messaggi.size(), 1);
    QCOMPARE(ambiente.dialoghi.messaggi.first().icona, Icona::Esclamazione);
}

QTEST_GUILESS_MAIN(TestEliminaFileTemp)
#include "TestEliminaFileTemp.moc"
