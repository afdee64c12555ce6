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
    void attivazione_data();
    void attivazione();
    void qualiFileVanno();
    void impostazioniNonScrivibili();
};

// Velmira.ini as found (none for a first start) and a list `eta` calendar
// days old: whether the list stays, and the settings file left behind (an
// empty Durata is repaired, anything else is left as the user wrote it). Age
// counts midnights, not whole days: just after midnight a list made
// yesterday evening is a day old.
void TestEliminaFileTemp::attivazione_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("eta");
    QTest::addColumn<bool>("aMezzanotte");
    QTest::addColumn<QString>("atteso");
    const QByteArray durata = "[EliminaTemp]\nDurata=";
    QTest::newRow("primo avvio: solo la durata") << QByteArray() << 100 << false
                                                 << "resta|[EliminaTemp] Durata=7";
    QTest::newRow("vuota: 7 giorni restano") << durata << 7 << false << "resta|[EliminaTemp] Durata=7";
    QTest::newRow("vuota: 8 giorni via") << durata << 8 << false << "via|[EliminaTemp] Durata=7";
    QTest::newRow("8 giorni appena passati: via") << durata + "7" << 8 << true
                                                  << "via|[EliminaTemp] Durata=7";
    QTest::newRow("30: 8 giorni restano") << durata + "30" << 8 << false
                                          << "resta|[EliminaTemp] Durata=30";
    QTest::newRow("0: ieri via") << durata + "0" << 1 << true << "via|[EliminaTemp] Durata=0";
    QTest::newRow("non numero: come 7") << durata + "una settimana" << 8 << false
                                        << "via|[EliminaTemp] Durata=una settimana";
    QTest::newRow("negativa: come 7") << durata + "-3" << 7 << false << "resta|[EliminaTemp] Durata=-3";
    QTest::newRow("oltre 16 bit: come 7") << durata + "99999" << 7 << false
                                          << "resta|[EliminaTemp] Durata=99999";
}

void TestEliminaFileTemp::attivazione()
{
    QFETCH(QByteArray, ini);
    QFETCH(int, eta);
    QFETCH(bool, aMezzanotte);
    QFETCH(QString, atteso);
    AmbienteProva ambiente;
    if (!ini.isNull())
        ambiente.scriviFile(QStringLiteral("Velmira.ini"), ini);
    const QString lista = ambiente.scriviFile(QStringLiteral("elenchi/copiati_01_03_2026.txt"), "x");
    const QDateTime dopo = DataCreazione(QFileInfo(lista)).addDays(eta);

    QVERIFY(AttivazioneProgramma(aMezzanotte ? QDateTime(dopo.date(), QTime(0, 1)) : dopo));

    const QStringList righe = QString::fromUtf8(ContenutoIni()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE((QFileInfo::exists(lista) ? "resta|" : "via|") + righe.join(' '), atteso);
    QCOMPARE(QDir(ambiente.cartella()).entryList(QDir::Files), QStringList{"Velmira.ini"});
    QVERIFY(ambiente.dialoghi.messaggi.isEmpty());
}

// Read-only and undeletable lists are skipped and the rest still cleaned;
// only the folder's own files count. A list's age runs from its birth where
// the file system records one, so a late edit does not keep an old list.
void TestEliminaFileTemp::qualiFileVanno()
{
    AmbienteProva ambiente;
    const QStringList nomi{"a_sola_lettura.txt", "b_bloccato.txt", "c_comune.txt", ".d_nascosto",
                           "e_ritoccato.txt", "vecchi/f.txt"};
    for (const QString& nome : nomi)
        ambiente.scriviFile("elenchi/" + nome);
    const QString cartella = ambiente.percorso(QStringLiteral("elenchi"));
    const QDateTime adesso = DataCreazione(QFileInfo(cartella + "/c_comune.txt")).addDays(30);
    QVERIFY(QFile::setPermissions(cartella + "/a_sola_lettura.txt", QFileDevice::ReadOwner));
    const bool blocco = Immutabile(cartella + "/b_bloccato.txt", true);
    const auto sblocca = qScopeGuard([&] { Immutabile(cartella + "/b_bloccato.txt", false); });
    QFile ritoccato(cartella + "/e_ritoccato.txt");
    QVERIFY(ritoccato.open(QIODevice::ReadWrite)
            && ritoccato.setFileTime(adesso, QFileDevice::FileModificationTime));
    const bool nascita = QFileInfo(ritoccato).birthTime().isValid();

    const int eliminati = EliminaFileTemp(cartella, 7, adesso);

    QStringList restano;
    for (const QString& nome : nomi)
        if (QFileInfo::exists(cartella + '/' + nome))
            restano << nome;
    QCOMPARE(eliminati, nomi.size() - restano.size());
    QStringList attesi{"a_sola_lettura.txt"};
    if (blocco)
        attesi << "b_bloccato.txt";
    if (!nascita)
        attesi << "e_ritoccato.txt";
    QCOMPARE(restano, attesi << "vecchi/f.txt");
    if (!blocco || !nascita)
        QSKIP("questo file system non blocca i file o non registra la nascita: provato il resto");
}

// A settings file that is not text is left alone and the user told once.
void TestEliminaFileTemp::impostazioniNonScrivibili()
{
    AmbienteProva ambiente;
    const QByteArray binario("\x00\x01\x02[EliminaTemp]", 16);
    ambiente.scriviFile(QStringLiteral("Velmira.ini"), binario);
    QVERIFY(!AttivazioneProgramma(QDateTime::currentDateTime().addDays(100)));
    QCOMPARE(ContenutoIni(), binario);
    QCOMPARE(ambiente.dialoghi.messaggi.size(), 1);
    QCOMPARE(ambiente.dialoghi.messaggi.first().icona, Icona::Esclamazione);
}

QTEST_GUILESS_MAIN(TestEliminaFileTemp)
#include "TestEliminaFileTemp.moc"
