#include "AmbienteProva.h"

#include "common/AttivazioneProgramma.h"
#include "common/EliminaFileTemp.h"
#include "settings/Impostazioni.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// Sets or clears the immutable attribute, which makes a file impossible to
// delete even for the administrator. False where the file system refuses.
bool Immutabile(const QString& percorso, bool acceso)
{
    const int fd = ::open(QFile::encodeName(percorso).constData(), O_RDONLY);
    int attributi = 0;
    bool ok = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &attributi) == 0;
    attributi = acceso ? attributi | FS_IMMUTABLE_FL : attributi & ~FS_IMMUTABLE_FL;
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &attributi) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

// A moment `giorni` calendar days after the file was made, at the same hour
// or just after that day's midnight.
QDateTime DopoGiorni(const QString& file, int giorni, bool aMezzanotte = false)
{
    const QDateTime dopo = DataCreazione(QFileInfo(file)).addDays(giorni);
    return aMezzanotte ? QDateTime(dopo.date(), QTime(0, 1)) : dopo;
}

QByteArray ContenutoIni()
{
    QFile ini(PercorsoVelmiraIni());
    return ini.open(QIODevice::ReadOnly) ? ini.readAll() : QByteArray();
}

} // namespace

class TestEliminaFileTemp : public QObject
{
    Q_OBJECT

private slots:
    void durataDecideCosaResta_data();
    void durataDecideCosaResta();
    void primoAvvioCreaSoloLaDurata();
    void fileProtettiSaltatiGliAltriPuliti();
    void etaDallaNascitaDelFile();
    void impostazioniNonScrivibili();
};

// A list `eta` calendar days old, with Durata set to the text given: whether
// the list stays, and the Durata left in the file (an empty one is repaired,
// anything else is left as the user wrote it). Age counts midnights, not
// whole days: just after midnight a list made yesterday evening is a day old.
void TestEliminaFileTemp::durataDecideCosaResta_data()
{
    QTest::addColumn<QString>("durata");
    QTest::addColumn<int>("eta");
    QTest::addColumn<bool>("aMezzanotte");
    QTest::addColumn<bool>("resta");
    QTest::addColumn<QString>("durataDopo");
    QTest::newRow("vuota: 7 giorni restano") << "" << 7 << false << true << "7";
    QTest::newRow("vuota: 8 giorni via") << "" << 8 << false << false << "7";
    QTest::newRow("8 giorni appena passati: via") << "7" << 8 << true << false << "7";
    QTest::newRow("30: 8 giorni restano") << "30" << 8 << false << true << "30";
    QTest::newRow("0: ieri via") << "0" << 1 << true << false << "0";
    QTest::newRow("non numero: come 7") << "una settimana" << 8 << false << false
                                        << "una settimana";
    QTest::newRow("negativa: come 7") << "-3" << 7 << false << true << "-3";
    QTest::newRow("oltre 16 bit: come 7") << "99999" << 7 << false << true << "99999";
}

void TestEliminaFileTemp::durataDecideCosaResta()
{
    QFETCH(QString, durata);
    QFETCH(int, eta);
    QFETCH(bool, aMezzanotte);
    QFETCH(bool, resta);
    QFETCH(QString, durataDopo);
    AmbienteProva ambiente;
    ambiente.scriviFile(QStringLiteral("Velmira.ini"), "[EliminaTemp]\nDurata=" + durata.toUtf8());
    const QString lista = ambiente.scriviFile(QStringLiteral("elenchi/copiati_01_03_2026.txt"), "x");

    QVERIFY(AttivazioneProgramma(DopoGiorni(lista, eta, aMezzanotte)));

    QCOMPARE(QFileInfo::exists(lista), resta);
    QCOMPARE(LeggiIni(QStringLiteral("EliminaTemp"), QStringLiteral("Durata")), durataDopo);
    QVERIFY(ambiente.dialoghi.messaggi.isEmpty());
}

void TestEliminaFileTemp::primoAvvioCreaSoloLaDurata()
{
    AmbienteProva ambiente;
    const QString lista = ambiente.scriviFile(QStringLiteral("elenchi/vecchio.txt"), "x");
    QVERIFY(AttivazioneProgramma(DopoGiorni(lista, 100)));
    QVERIFY(QFileInfo::exists(lista));
    QCOMPARE(QString::fromUtf8(ContenutoIni()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             QStringList({QStringLiteral("[EliminaTemp]"), QStringLiteral("Durata=7")}));
    QCOMPARE(QDir(ambiente.cartella()).entryList(QDir::Files),
             QStringList{QStringLiteral("Velmira.ini")});
}

void TestEliminaFileTemp::fileProtettiSaltatiGliAltriPuliti()
{
    AmbienteProva ambiente;
    const QString solaLettura = ambiente.scriviFile(QStringLiteral("elenchi/a_sola_lettura.txt"));
    const QString bloccato = ambiente.scriviFile(QStringLiteral("elenchi/b_bloccato.txt"));
    const QString comune = ambiente.scriviFile(QStringLiteral("elenchi/c_comune.txt"));
    const QString nascosto = ambiente.scriviFile(QStringLiteral("elenchi/.d_nascosto"));
    const QString inSottocartella = ambiente.scriviFile(QStringLiteral("elenchi/vecchi/e.txt"));
    QVERIFY(QFile::setPermissions(solaLettura, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    const bool blocco = Immutabile(bloccato, true);
    const auto sblocca = qScopeGuard([&] { Immutabile(bloccato, false); });

    const int eliminati =
        EliminaFileTemp(ambiente.percorso(QStringLiteral("elenchi")), 7, DopoGiorni(comune, 30));

    QVERIFY(QFileInfo::exists(solaLettura));
    QVERIFY(!QFileInfo::exists(comune));
    QVERIFY(!QFileInfo::exists(nascosto));
    QVERIFY(QFileInfo::exists(inSottocartella));
    QCOMPARE(QFileInfo::exists(bloccato), blocco);
    QCOMPARE(eliminati, blocco ? 2 : 3);
    if (!blocco)
        QSKIP("questo file system non permette di bloccare un file: resta provato il resto");
}

// A list copied here with its old date keeps the day it arrived where the
// file system records it; elsewhere its modification date is all there is.
void TestEliminaFileTemp::etaDallaNascitaDelFile()
{
    AmbienteProva ambiente;
    const QString lista = ambiente.scriviFile(QStringLiteral("elenchi/ritoccato.txt"), "x");
    const QDateTime adesso = QDateTime::currentDateTime();
    QFile file(lista);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(adesso.addDays(-30), QFileDevice::FileModificationTime));
    file.close();
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

    QCOMPARE(ContenutoIni(), binario);
    QCOMPARE(ambiente.dialoghi.messaggi.size(), 1);
    QCOMPARE(ambiente.dialoghi.messaggi.first().icona, Icona::Esclamazione);
}

QTEST_GUILESS_MAIN(TestEliminaFileTemp)
#include "TestEliminaFileTemp.moc"
